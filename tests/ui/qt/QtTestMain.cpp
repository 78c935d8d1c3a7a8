// GoogleTest main for the window tests: one QApplication on the offscreen platform.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No sound server unless a test starts its own: the windows then have no audio output.
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        qputenv("PULSE_SERVER", "unix:/nonexistent/brivane-test");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brivane"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
