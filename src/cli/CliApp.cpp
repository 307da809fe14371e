#include "CliApp.h"

#include "BuildCommand.h"
#include "CliOutput.h"
#include "ConflictsCommand.h"
#include "CzpttImportCommand.h"
#include "DiffCommand.h"
#include "DumpCommand.h"
#include "GtfsImportCommand.h"
#include "ImportCommand.h"
#include "RenderCommand.h"
#include "TableCommand.h"
#include "ShiftCommand.h"

#include "render/Fonts.h"

#include <cerrno>

#include <QGuiApplication>

#include <exception>
#include <new>

namespace CliApp {

QString usage()
{
    return QStringLiteral("Použití: vlakorys-cli PŘÍKAZ ARGUMENTY...\n"
                          "         vlakorys-cli [--help] [--version]\n"
                          "\n"
                          "Práce s dokumenty editoru vlakorysů Vlakorys bez okna.\n"
                          "\n"
                          "Příkazy:\n"
                          "  dump SOUBOR.vrs                   vypíše dokument, jak jej otevře editor, jako\n"
                          "                                    JSON na standardní výstup\n"
                          "  build SOUBOR.json VÝSTUP.vrs      zapíše dokument z jeho podoby v JSON\n"
                          "  import DOKUMENT.vrs JÍZDNÍ-ŘÁD.txt VÝSTUP.vrs\n"
                          "                                    importuje textový jízdní řád do dokumentu\n"
                          "                                    a výsledek uloží jako VÝSTUP.vrs\n"
                          "  import-czptt [--sr70 ČÍSELNÍK.csv] [--from STANICE --to STANICE]\n"
                          "       --day RRRR-MM-DD ZDROJ... VÝSTUP.vrs\n"
                          "                                    nová trať z jízdního řádu SŽ (CZPTT: soubory\n"
                          "                                    XML, složky, archivy ZIP) ve zvolený den, bez\n"
                          "                                    --from a --to mezi stanicemi, mezi nimiž\n"
                          "                                    jezdí nejvíc vlaků; kilometry z číselníku\n"
                          "                                    SR70, bez něj odhadnuté z jízdních dob\n"
                          "  import-czptt --into DOKUMENT.vrs --day RRRR-MM-DD ZDROJ... VÝSTUP.vrs\n"
                          "                                    vlaky toho dne do stanic dokumentu\n"
                          "  import-gtfs [--into DOKUMENT.vrs] [--route ID]...\n"
                          "       [--from STANICE --to STANICE] --day RRRR-MM-DD FEED VÝSTUP.vrs\n"
                          "                                    totéž z jízdního řádu GTFS (složka nebo ZIP):\n"
                          "                                    linky --route, jinak všechny železniční; bez\n"
                          "                                    --from a --to celá trasa vlaků dne; koleje\n"
                          "                                    nové trati odvozeny z jízdního řádu; oba vypíší\n"
                          "                                    souhrn a řádek „N trains, M stations“\n"
                          "  render SOUBOR.vrs VÝSTUP.png|.bmp|.pdf|.svg\n"
                          "                                    nakreslí vlakorys, jak jej ukazuje editor:\n"
                          "       [--size ŠxV] [--zoom Z]      plocha v pixelech (1600x900), zvětšení 2..21,\n"
                          "       [--ratio X:Y] [--scroll H,V] poměr os, polohy posuvníků v jejich krocích,\n"
                          "       [--time-labels on|off]       minutové popisky (jinak podle dokumentu),\n"
                          "       [--find TEXT]                vlak nalezený pro TEXT zeleně,\n"
                          "       [--no-conflicts]             bez červených značek střetů vlaků;\n"
                          "       nebo s --sheet list, jak jej chystá dialog tisku:\n"
                          "       [--layers N] [--overlap MIN] vrstvy 1..30, jejich překryv 0..60 minut,\n"
                          "       [--scale PROCENTA]           měřítko 50..525 % po 25 (100),\n"
                          "       [--from H:MM] [--to H:MM]    časový úsek (celý den),\n"
                          "       [--stations I-J | --km A-B]  úsek trati (celá trať),\n"
                          "       [--legend on|off] [--dpi N]  legenda stanic (on), rozlišení obrázku\n"
                          "                                    .png nebo .bmp: 75, 144, 150, 180, 300, 360\n"
                          "  conflicts SOUBOR.vrs [--json]     vypíše střety vlaků (křižování, předjíždění,\n"
                          "                                    následná mezidobí, koleje ve stanicích), jeden\n"
                          "                                    na řádek, nebo jako JSON; skončí s kódem 0,\n"
                          "                                    když žádné nejsou, a 3, když nějaké jsou\n"
                          "  table SOUBOR.vrs [--direction 1|2] VÝSTUP.pdf|.csv|.html\n"
                          "                                    tabulka jízdního řádu obou směrů (nebo\n"
                          "                                    zvoleného): stránky A4, CSV nebo HTML\n"
                          "  shift SOUBOR.vrs VLAK MINUTY [--from STANICE] VÝSTUP.vrs\n"
                          "                                    posune vlak o MINUTY (i záporné, po půl\n"
                          "                                    minutě), s --from jen od odjezdu z té stanice\n"
                          "  diff A.vrs B.vrs [--json]         vypíše vlaky přidané, zrušené a změněné v A\n"
                          "                                    proti B, jeden na řádek, nebo jako JSON; skončí\n"
                          "                                    s kódem 0, když jsou jízdní řády stejné, a 3,\n"
                          "                                    když se liší\n"
                          "\n"
                          "Volby:\n"
                          "  --help     vypíše tento text\n"
                          "  --version  vypíše verzi programu\n"
                          "\n"
                          "Při chybě vypíše jeden řádek na standardní chybový výstup, skončí s kódem 1\n"
                          "a nezanechá žádný výstupní soubor. Podobu dokumentu v JSON popisuje\n"
                          "docs/DOCUMENT-JSON.md.\n");
}

namespace {

int dispatch(const QStringList &args, std::FILE *out, std::FILE *err)
{
    if (args.isEmpty()) {
        std::fputs(usage().toUtf8().constData(), err);
        return CliOutput::failure;
    }
    if (args.front() == QLatin1String("--help") || args.front() == QLatin1String("-h"))
        return CliOutput::wroteAll(out, err, usage().toUtf8()) ? CliOutput::success : CliOutput::failure;
    if (args.front() == QLatin1String("--version"))
        return CliOutput::wroteAll(out, err, "vlakorys-cli " VLAKORYS_VERSION "\n") ? CliOutput::success
                                                                                      : CliOutput::failure;
    const QString command = args.front();
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("dump"))
        return DumpCommand().run(rest, out, err);
    if (command == QLatin1String("build"))
        return BuildCommand().run(rest, out, err);
    if (command == QLatin1String("import"))
        return ImportCommand().run(rest, out, err);
    if (command == QLatin1String("import-czptt"))
        return CzpttImportCommand().run(rest, out, err);
    if (command == QLatin1String("import-gtfs"))
        return GtfsImportCommand().run(rest, out, err);
    if (command == QLatin1String("render"))
        return RenderCommand().run(rest, out, err);
    if (command == QLatin1String("conflicts"))
        return ConflictsCommand().run(rest, out, err);
    if (command == QLatin1String("table"))
        return TableCommand().run(rest, out, err);
    if (command == QLatin1String("shift"))
        return ShiftCommand().run(rest, out, err);
    if (command == QLatin1String("diff"))
        return DiffCommand().run(rest, out, err);
    if (command.startsWith(QLatin1String("--")))
        return CliOutput::unknownOption(err, command);
    return CliOutput::fail(err, QString(), QStringLiteral("neznámý příkaz „%1“; viz vlakorys-cli --help").arg(command));
}

} // namespace

// What a command wrote on standard output must all have arrived for it to
// succeed.
int run(const QStringList &args, std::FILE *out, std::FILE *err)
{
    errno = 0;
    return CliOutput::flushed(out, err, dispatch(args, out, err));
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
    // No command ends the tool without its one line.
    try {
        return run(args, stdout, stderr);
    } catch (const std::bad_alloc &) {
        return CliOutput::fail(stderr, QString(), FileMessages::outOfMemory);
    } catch (const std::exception &e) {
        return CliOutput::fail(stderr, QString(), QString::fromUtf8(e.what()));
    }
}

} // namespace CliApp
