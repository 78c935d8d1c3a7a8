#include "platform/ApplicationInfo.h"
#include "settings/SettingsLocation.h"
#include "ui/qt/TextBytes.h"
#include "ui/qt/frm.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string_view>

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

const char* const kUsageText =
    "Usage: brivane [--help | --version]\n"
    "\n"
    "Opens the Brivane window: pick a folder of IMF songs, select some, set the rate they\n"
    "were written at and convert them in place. The command line tool is brivane-cli.\n";

} // namespace

int UsageError(const char* argument)
{
    std::fprintf(stderr, "brivane: unknown option '%s' (see brivane --help)\n", argument);
    return 2;
}

int main(int argc, char* argv[])
{
    // Answered before any display is needed, as a terminal user expects; Qt's own options
    // (-platform, -style) go on to the application.
    if (argc > 1) {
        const std::string_view argument = argv[1];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsageText, stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("brivane %s\n", brivane::VersionText().c_str());
            return 0;
        }
    }
    // Qt's options have one dash; a long option is ours, and we have no others.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]).starts_with("--"))
            return UsageError(argv[i]);
    if (!HasDisplay()) {
        std::fprintf(stderr, "brivane: no display to show the window on; try: xvfb-run %s\n", argv[0]);
        return 1;
    }
    // A file-size limit must show as a failed write the user is told about, not kill us.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication app(argc, argv);
    // Qt has taken the options it knows out of the list.
    if (argc > 1)
        return UsageError(argv[1]);
    QApplication::setApplicationName(QString::fromLatin1(brivane::kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromStdString(brivane::VersionText()));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.brivane"));

    const brivane::WindowSettings settings = brivane::LocateWindowSettings();
    brivane::frm window(brivane::ToText(settings.File), brivane::ToText(settings.DefaultFolder));
    window.show();
    return app.exec();
}
