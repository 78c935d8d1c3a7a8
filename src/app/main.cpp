#include "platform/ApplicationInfo.h"
#include "ui/main/frm.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt would abort with a page about platform plugins; one line says more.
bool HasDisplay()
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!HasDisplay()) {
        std::fprintf(stderr, "brivane: no display to show the window on; try: xvfb-run %s\n", argv[0]);
        return 1;
    }
    // A file-size limit must show as a failed write the user is told about, not kill us.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(brivane::kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromStdString(brivane::VersionText()));

    brivane::frm window;
    window.show();
    return app.exec();
}
