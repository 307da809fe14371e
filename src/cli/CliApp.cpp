#include "CliApp.h"

#include "render/Fonts.h"

#include <QGuiApplication>

namespace CliApp {

QString usage()
{
    return QStringLiteral("Usage: vlakorys-cli [--help] [--version]\n"
                          "\n"
                          "The headless companion of the Vlakorys timetable editor.\n"
                          "\n"
                          "Options:\n"
                          "  --help     show this text\n"
                          "  --version  show the program's version\n");
}

int run(const QStringList &args, std::FILE *out, std::FILE *err)
{
    if (args.isEmpty() || args.front() == QLatin1String("--help") || args.front() == QLatin1String("-h")) {
        std::fputs(usage().toUtf8().constData(), args.isEmpty() ? err : out);
        return args.isEmpty() ? 1 : 0;
    }
    if (args.front() == QLatin1String("--version")) {
        std::fputs("vlakorys-cli 1.0\n", out);
        return 0;
    }
    std::fprintf(err, "vlakorys-cli: unknown command '%s'; see vlakorys-cli --help\n",
                 args.front().toUtf8().constData());
    return 1;
}

int run(int argc, char *argv[])
{
    // Text measurement and drawing need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Fonts::installSubstitutions();
    QStringList args = QGuiApplication::arguments();
    args.removeFirst();
    return run(args, stdout, stderr);
}

} // namespace CliApp
