#include "Application.h"

#include "io/FileMessages.h"
#include "render/Fonts.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <new>

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc &) {
        if (report)
            report(FileMessages::outOfMemoryCommand);
        return false;
    }
}

namespace Application {

void setup(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Vlakorys"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vlakorys 1.0"));
    // The installed desktop entry and icon: desktops match the running
    // windows to the menu entry by this name (vlakorys.desktop).
    QGuiApplication::setDesktopFileName(QStringLiteral("vlakorys"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vlakorys")));

    // Standard buttons read "Ano", "Ne", "Zrušit" whatever the system locale.
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);

    Fonts::installSubstitutions();
}

bool checkDisplay()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    std::fprintf(stderr, "vlakorys: no display found (DISPLAY is not set); run it under a desktop or with "
                         "xvfb-run, for example: xvfb-run -a vlakorys\n");
    return false;
}

} // namespace Application
