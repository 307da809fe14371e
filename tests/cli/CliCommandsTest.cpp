// The commands of vlakorys-cli run in-process: outputs, exit statuses, the
// single error line, and no output file after a failure.
#include "CliTest.h"

#include "../io/FileBytes.h"

#include "cli/CliOutput.h"
#include "cli/ConflictsCommand.h"
#include "cli/DiffCommand.h"
#include "cli/DumpCommand.h"
#include "cli/ImportCommand.h"
#include "cli/ShiftCommand.h"
#include "cli/TableCommand.h"
#include "io/DocumentFile.h"
#include "io/FileMessages.h"
#include "io/json/DocumentJson.h"
#include "model/Document.h"
#include "model/Errors.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using Json = DocumentJson::Json;

class CliCommandsTest : public CliTest
{
protected:
    QStringList labelCalls;
    LabelMakers recording{[this](Document &, double) { labelCalls << QStringLiteral("train"); },
                          [this](Document &, double, ProgressSink &) { labelCalls << QStringLiteral("time"); }};

    // doc.vrs: four stations and two trains, with a train label when asked.
    void smallDocument(bool label)
    {
        Document doc;
        SampleLine::fill(doc, {4, 12, 2, 4});
        if (label)
            doc.newTrainLabel().text = "Os 1";
        FileBytes::write(path("doc.vrs"), FileBytes::of(doc));
    }
    // The one line of a failure about `file`.
    QByteArray says(const char *file, const QString &message) const
    {
        return (QStringLiteral("vlakorys-cli: ") + path(file) + QStringLiteral(": ") + message + u'\n').toUtf8();
    }
    inline static const QString noFile = QStringLiteral("Chyba při otevírání souboru: soubor nebo adresář neexistuje");
};

} // namespace

TEST_F(CliCommandsTest, ImportAppendsTrainsAndSaves)
{
    smallDocument(true);
    FileBytes::write(path("jr.txt"), "Os 77;pp\nStanice 1\t\t 6:00\nStanice 2\t 6:05\t 6:06\n-\n");
    const CommandRun r = capture([&](std::FILE *out, std::FILE *err) {
        return ImportCommand(recording).run({path("doc.vrs"), path("jr.txt"), path("out.vrs")}, out, err);
    });
    EXPECT_EQ(std::pair(r.status, r.err), std::pair(0, QByteArray()));
    // Open (the file has labels: time labels only), then Import's both.
    EXPECT_EQ(labelCalls, (QStringList{"time", "train", "time"}));
    const CommandRun dump = cli({"dump", path("out.vrs")});
    ASSERT_EQ(dump.status, 0);
    const Json json = Json::parse(dump.out.toStdString());
    ASSERT_EQ(json["trains"].size(), 3u);
    EXPECT_EQ(json["trains"][2]["name"], "Os 77");
}

TEST_F(CliCommandsTest, FailuresSayOneLineAndLeaveNoOutput)
{
    smallDocument(false);
    FileBytes::write(path("cut.vrs"), FileBytes::read(path("doc.vrs")).left(100)); // read in part: nothing is dumped
    FileBytes::write(path("bad.json"), R"({"stations": [{"name": 5}]})");
    FileBytes::write(path("ok.json"), "{}");
    FileBytes::write(path("out.vrs"), "old"); // an existing output stays as it was
    ASSERT_TRUE(QFile::copy(example, path("line.vrs")));
    const std::pair<QStringList, QByteArray> cases[] = {
        {{"dump", path("cut.vrs")}, says("cut.vrs", QStringLiteral("Chyba při načítání souboru"))},
        {{"build", path("bad.json"), path("out.vrs")},
         says("bad.json", QStringLiteral("stations[0].name: očekává se text"))},
        {{"build", path("missing.json"), path("out.vrs")}, says("missing.json", noFile)},
        {{"build", path("ok.json"), path("./ok.json")}, says("./ok.json", CliOutput::outputIsInputMessage)},
        {{"build", path("ok.json"), path("no/dir/x.vrs")},
         says("no/dir/x.vrs", QStringLiteral("Chyba při vytváření souboru: soubor nebo adresář neexistuje"))},
        {{"import", path("doc.vrs"), path("missing.txt"), path("out.vrs")},
         says("missing.txt", QStringLiteral("Chyba otevírání souboru: soubor nebo adresář neexistuje"))},
        {{"dump"}, "vlakorys-cli: použití: vlakorys-cli dump SOUBOR.vrs\n"},
        {{"build", "a.json"}, "vlakorys-cli: použití: vlakorys-cli build SOUBOR.json VÝSTUP.vrs\n"},
        {{"import", "a", "b"}, "vlakorys-cli: použití: vlakorys-cli import DOKUMENT.vrs JÍZDNÍ-ŘÁD.txt VÝSTUP.vrs\n"},
        {{"print"}, "vlakorys-cli: neznámý příkaz „print“; viz vlakorys-cli --help\n"},
        {{"--bogus"}, "vlakorys-cli: neznámá volba --bogus\n"},
        {{"dump", "--bogus=1", path("doc.vrs")}, "vlakorys-cli: neznámá volba --bogus\n"},
        {{"render", path("line.vrs"), path("x.gif")},
         says("x.gif", QStringLiteral("název obrázku musí končit .png, .bmp, .pdf nebo .svg"))},
        {{"render", path("line.vrs"), path("no/dir/x.png")},
         says("no/dir/x.png", QStringLiteral("Chyba při ukládání do souboru: soubor nebo adresář neexistuje"))},
        {{"render", path("line.vrs"), path("x.pdf"), "--sheet", "--stations", "3-99"},
         says("line.vrs", QStringLiteral("--stations: dokument má jen 15 stanic"))},
        {{"render", path("line.vrs"), path("x.pdf"), "--sheet", "--stations", "5-2"},
         says("line.vrs", QStringLiteral("--stations: stanice 5 leží nad stanicí 2; zadejte nejprve nižší"))},
        {{"render", path("line.vrs"), path("x.pdf"), "--sheet", "--stations", "4-4"},
         says("line.vrs", QStringLiteral("--stations: úsek od stanice 4 do stanice 4 je prázdný (obě leží na km 7)"))},
        {{"table", path("line.vrs"), path("x.txt")}, says("x.txt", TableCommand::unknownSuffix)},
        {{"table", path("cut.vrs"), path("x.csv")}, says("cut.vrs", QStringLiteral("Chyba při načítání souboru"))},
        {{"table", path("line.vrs"), "--direction", "3", path("x.csv")},
         "vlakorys-cli: použití: " + QByteArray(TableCommand::usage) + '\n'},
    };
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    for (const auto &[args, err] : cases) {
        const CommandRun r = cli(args);
        EXPECT_EQ(std::tuple(r.status, r.err, r.out), std::tuple(1, err, QByteArray())) << args.join(' ').toStdString();
    }
    const CommandRun large =
        cli({"render", path("line.vrs"), path("x.png"), "--sheet", "--scale", "525", "--layers", "30", "--dpi", "360"});
    EXPECT_TRUE(large.err.contains("je pro obrázek s rozlišením 360 DPI příliš velký")) << large.err.constData();
    EXPECT_EQ(std::pair(large.status, large.err.count('\n')), std::pair(1, qsizetype(1)));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), files);
    EXPECT_EQ(FileBytes::read(path("out.vrs")), QByteArray("old"));
    // The table of one direction, for contrast with the failures above.
    EXPECT_EQ(cli({"table", path("line.vrs"), "--direction", "2", path("t.csv")}).status, 0);
    for (const char *option : {"--help", "--version"})
        EXPECT_EQ(std::pair(cliOnFullDisk({option}).status, cliOnFullDisk({option}).err), std::pair(1, fullDiskSaid));
    // A failing label maker of Open.
    LabelMakers failing{[](Document &, double) { throw RangeError(); }, [](Document &, double, ProgressSink &) {}};
    const CommandRun r =
        capture([&](std::FILE *out, std::FILE *err) { return DumpCommand(failing).run({path("doc.vrs")}, out, err); });
    EXPECT_EQ(std::pair(r.status, r.err), std::pair(1, says("doc.vrs", QStringLiteral("Range check error"))));
}

// conflicts: one line a conflict and status 3, nothing and 0, or JSON; a
// damaged track layout is said on standard error and checked as the default.
// diff: the trains that differ, one a line, and the status says whether any
// does.
TEST_F(CliCommandsTest, ConflictsAndDiffSayInTheirStatusWhatTheyFound)
{
    Document doc;
    SampleLine::addStation(doc, "A", 0);
    SampleLine::addStation(doc, "B", 5);
    DocumentFixtures::addTrain(doc, "Os 1", {{1, 10, 0}, {2, 10, 10}});
    FileBytes::write(path("a.vrs"), FileBytes::of(doc));
    DocumentFixtures::addTrain(doc, "Os 2", {{2, 10, 2}, {1, 10, 12}}).podlePotreby = 1;
    FileBytes::write(path("meet.vrs"), FileBytes::of(doc));
    doc.lineTracks.mainTracks = 2;
    const QByteArray doubleTrack = FileBytes::of(doc);
    FileBytes::write(path("double.vrs"), doubleTrack);
    FileBytes::write(path("damaged.vrs"), FileBytes::withLastByteFlipped(doubleTrack));

    const QByteArray meet = "10:02–10:10\tA – B\tOs 1\tOs 2\tkřižování na jednokolejné trati\tvarování\n";
    const std::tuple<QStringList, int, QByteArray, QByteArray> cases[] = {
        {{"conflicts", path("meet.vrs")}, ConflictsCommand::someFound, meet, {}},
        {{"conflicts", path("double.vrs")}, 0, {}, {}},
        {{"conflicts", path("damaged.vrs")},
         ConflictsCommand::someFound,
         meet,
         says("damaged.vrs", FileMessages::damagedTracks)},
        {{"conflicts", path("missing.vrs")}, 1, {}, says("missing.vrs", noFile)},
        {{"conflicts"}, 1, {}, "vlakorys-cli: použití: vlakorys-cli conflicts SOUBOR.vrs [--json]\n"},
        {{"conflicts", path("meet.vrs"), "--svg"}, 1, {}, "vlakorys-cli: neznámá volba --svg\n"},
        {{"diff", path("a.vrs"), path("a.vrs")}, 0, {}, {}},
        {{"diff", path("a.vrs"), path("meet.vrs")}, DiffCommand::differ, "Os 2\tzrušen\n", {}},
        {{"diff", path("a.vrs"), path("missing.vrs")}, 1, {}, says("missing.vrs", noFile)},
        {{"diff", path("a.vrs")}, 1, {}, "vlakorys-cli: použití: " + QByteArray(DiffCommand::usage) + '\n'},
    };
    for (const auto &[args, status, out, err] : cases) {
        const CommandRun r = cli(args);
        EXPECT_EQ(std::tuple(r.status, r.out, r.err), std::tuple(status, out, err)) << args.join(' ').toStdString();
    }
    const Json diff = Json::parse(cli({"diff", path("meet.vrs"), path("a.vrs"), "--json"}).out.toStdString());
    EXPECT_EQ(diff["rows"], Json::parse(R"([{"name": "Os 2", "kind": "added", "word": "přidán", "current": 2,
                                              "compared": null, "occurrence": 1, "sharedName": false}])"));
    EXPECT_EQ(diff["unchanged"], 1);

    const CommandRun json = cli({"conflicts", path("meet.vrs"), "--json"});
    EXPECT_EQ(json.status, ConflictsCommand::someFound);
    EXPECT_EQ(Json::parse(json.out.toStdString()), Json::parse(R"([{"kind": "meet", "severity": "warning",
        "text": "křižování na jednokolejné trati", "from": 602, "to": 610, "time": "10:02–10:10", "trains": [1, 2],
        "names": ["Os 1", "Os 2"], "stations": [1, 2], "place": "A – B", "point": {"minute": 606, "km": 3}}])"));
    EXPECT_EQ(cli({"conflicts", path("double.vrs"), "--json"}).out, "[]\n");

    // 150 trains together: 11,175 headways, the first 10,000 listed.
    doc.clearTrains();
    for (int i = 0; i < 150; ++i)
        DocumentFixtures::addTrain(doc, "Os", {{1, 10, 0}, {2, 10, 10}});
    FileBytes::write(path("many.vrs"), FileBytes::of(doc));
    const Json many = Json::parse(cli({"conflicts", path("many.vrs"), "--json"}).out.toStdString());
    EXPECT_EQ(std::pair(many.size(), many.back()), std::pair(size_t{10001}, Json{{"more", 1175}}));
    EXPECT_TRUE(cli({"conflicts", path("many.vrs")}).out.endsWith("\n… a dalších 1 175\n"));
}

// shift: the named train moved, from a station on when asked; a move its
// rows do not allow, or a train, station or number it cannot read, fails.
TEST_F(CliCommandsTest, ShiftMovesTheNamedTrainOrSaysWhyNot)
{
    Document doc;
    for (auto [name, km] : {std::pair{"A", 0}, {"B", 5}, {"C", 10}})
        SampleLine::addStation(doc, name, km);
    DocumentFixtures::addTrain(doc, "Os 1", {{1, 8, 0}, {2, 8, 5}, {2, 8, 7}, {3, 8, 12}});
    FileBytes::write(path("in.vrs"), FileBytes::of(doc));
    using Rows = DocumentFixtures::Rows;
    const QString in = path("in.vrs");
    const QString out = path("out.vrs");
    const QString fails = QStringLiteral("vlakorys-cli: ") + in + QStringLiteral(": ");
    const struct
    {
        QStringList args;
        QString err;
        Rows rows;
    } cases[] = {
        {{"shift", in, "Os 1", "10", out},
         {},
         {{1, 8, 10, 0, 0, 0}, {2, 8, 15, 0, 0, 0}, {2, 8, 17, 0, 0, 0}, {3, 8, 22, 0, 0, 0}}},
        {{"shift", in, "--from", "B", "Os 1", "-1,5", out},
         {},
         {{1, 8, 0, 0, 0, 0}, {2, 8, 5, 0, 0, 0}, {2, 8, 5, 0, 1, 0}, {3, 8, 10, 0, 1, 0}}},
        {{"shift", in, "Os 1", "-6", "--from=B", out},
         fails + "vlak „Os 1“ nelze posunout o -6 min, nejvýš o -2 min\n",
         {}},
        {{"shift", in, "Os 9", "1", out}, fails + "vlak „Os 9“ v dokumentu není\n", {}},
        {{"shift", in, "Os 1", "1", "--from", "X", out}, fails + "vlak „Os 1“ nejede přes stanici „X“\n", {}},
        {{"shift", in, "Os 1", "0,25", out},
         "vlakorys-cli: neplatný počet minut „0,25“ (celé nebo půl minuty, méně než den)\n",
         {}},
        {{"shift", in, "Os 1", out}, QStringLiteral("vlakorys-cli: použití: ") + ShiftCommand::usage + u'\n', {}},
    };
    for (const auto &[args, err, rows] : cases) {
        QFile::remove(out);
        const CommandRun r = cli(args);
        EXPECT_EQ(std::pair(r.status, QString::fromUtf8(r.err)), std::pair(err.isEmpty() ? 0 : 1, err))
            << args.join(u' ').toStdString();
        Document result;
        EXPECT_EQ(DocumentFile::load(result, out).status == DocumentFile::Status::Ok, err.isEmpty());
        if (err.isEmpty()) {
            EXPECT_EQ(DocumentFixtures::rowsOf(result.trains.at(0)), rows);
        }
    }
}
