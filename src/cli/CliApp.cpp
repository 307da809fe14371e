#include "CliApp.h"

#include "BuildCommand.h"
#include "DumpCommand.h"
#include "ImportCommand.h"
#include "RenderCommand.h"

#include "render/Fonts.h"

#include <QGuiApplication>

namespace CliApp {

QString usage()
{
    return QStringLiteral("Usage: vlakorys-cli COMMAND ARGUMENTS...\n"
                          "       vlakorys-cli [--help] [--version]\n"
                          "\n"
                          "The headless companion of the Vlakorys timetable editor.\n"
                          "\n"
                          "Commands:\n"
                          "  dump FILE.vrs                        print the document, as the editor opens it,\n"
                          "                                       as JSON on standard output\n"
                          "  build FILE.json OUT.vrs              write a document from its JSON form\n"
                          "  import DOC.vrs TIMETABLE.txt OUT.vrs import a text timetable into a document\n"
                          "                                       and save the result as OUT.vrs\n"
                          "  render FILE.vrs OUT.png|.bmp|.pdf|.svg  draw the diagram as the editor shows it;\n"
                          "       [--size WxH] [--zoom Z]         the paint box in pixels (1600x900), zoom 2..21,\n"
                          "       [--ratio X:Y] [--scroll H,V]    the axis ratio, scroll positions in units,\n"
                          "       [--time-labels on|off]          the minute labels (default: the document's),\n"
                          "       [--find TEXT]                   the train found for TEXT in green;\n"
                          "       or with --sheet the printed sheet of the print dialog:\n"
                          "       [--layers N] [--overlap MIN]    layers 1..30, their overlap 0..60 minutes,\n"
                          "       [--scale PCT]                   50..525 % in steps of 25 (100),\n"
                          "       [--from H:MM] [--to H:MM]       a time range (the whole day),\n"
                          "       [--stations I-J | --km A-B]     a range of the line (all of it),\n"
                          "       [--legend on|off] [--dpi N]     the station legend (on), the resolution of\n"
                          "                                       a .png or .bmp: 75, 144, 150, 180, 300, 360\n"
                          "\n"
                          "Options:\n"
                          "  --help     show this text\n"
                          "  --version  show the program's version\n"
                          "\n"
                          "On an error one line goes to standard error, the exit status is 1 and no\n"
                          "output file is left behind. docs/DOCUMENT-JSON.md describes the JSON form.\n");
}

int run(const QStringList &args, std::FILE *out, std::FILE *err)
{
    if (args.isEmpty() || args.front() == QLatin1String("--help") || args.front() == QLatin1String("-h")) {
        std::fputs(usage().toUtf8().constData(), args.isEmpty() ? err : out);
        return args.isEmpty() ? 1 : 0;
    }
    if (args.front() == QLatin1String("--version")) {
        std::fputs("vlakorys-cli " VLAKORYS_VERSION "\n", out);
        return 0;
    }
    const QString command = args.front();
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("dump"))
        return DumpCommand().run(rest, out, err);
    if (command == QLatin1String("build"))
        return BuildCommand().run(rest, out, err);
    if (command == QLatin1String("import"))
        return ImportCommand().run(rest, out, err);
    if (command == QLatin1String("render"))
        return RenderCommand().run(rest, out, err);
    std::fprintf(err, "vlakorys-cli: unknown command '%s'; see vlakorys-cli --help\n",
                 args.front().toUtf8().constData());
    return 1;
}

namespace {

// Qt's own notes about the environment ("XDG_RUNTIME_DIR not set", missing
// fonts) are not this tool's output: on an error standard error carries
// exactly one line.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
}

} // namespace

int run(int argc, char *argv[])
{
    qInstallMessageHandler(quietMessages);
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
