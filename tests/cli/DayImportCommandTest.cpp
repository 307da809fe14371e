// vlakorys-cli import-czptt and import-gtfs on the real timetables of
// tests/data: the documents they write, what they print, and the refusals
// of their options (the import's own refusals and notes are the import's
// tests) as one line and no output file.
#include "CliTest.h"

#include "../io/FileBytes.h"
#include "../io/czptt/CzpttTestData.h"

#include "cli/CzpttImportCommand.h"
#include "io/DocumentFile.h"
#include "model/Document.h"

#include "SampleLine.h"

#include <gtest/gtest.h>

namespace {

using CzpttTestData::lineFromVsetin;

const QString caltrain = TestPaths::sourceDir() + QStringLiteral("/tests/data/gtfs/caltrain-2017");

class DayImportCommandTest : public CliTest
{
protected:
    // The document a command wrote, as Open reads it.
    static bool load(Document &doc, const QString &file)
    {
        if (DocumentFile::load(doc, file).status != DocumentFile::Status::Ok)
            return false;
        DocumentReader::finishLoading(doc);
        return true;
    }
};

} // namespace

TEST_F(DayImportCommandTest, CzpttNewLineAndIntoIt)
{
    const QString day = QStringLiteral("2026-03-04");
    // The labels are made as after the text import.
    QStringList labelCalls;
    const LabelMakers recording{[&](Document &, double) { labelCalls << QStringLiteral("train"); },
                               [&](Document &, double, ProgressSink &) { labelCalls << QStringLiteral("time"); }};
    const CommandRun made = capture([&](std::FILE *out, std::FILE *err) {
        return CzpttImportCommand(recording).run({"--sr70", CzpttTestData::sr70Path(), "--from", "Vsetín", "--to",
                                                  "Velké Karlovice", "--day", day, CzpttTestData::lineDir(),
                                                  path("line.vrs")},
                                                 out, err);
    });
    EXPECT_EQ(std::tuple(made.status, made.out, made.err, labelCalls),
              std::tuple(0,
                         QByteArray("Přidáno 37 vlaků.\nZkráceno 1 vlaků, které jezdí i mimo trať, ve stanicích: Vsetín 1.\n"
                                    "Z jízdního řádu odvozeno: jednokolejná trať, koleje stanic podle druhu.\n37 trains, 14 stations\n"),
                         QByteArray(), QStringList{"train", "time"}));
    // What the line and its trains are is the import's own test.
    Document line;
    ASSERT_TRUE(load(line, path("line.vrs")));
    EXPECT_EQ(std::pair(line.stations[0].metres, line.stations[1].metres), std::pair(500, 3365));

    // Into a document of the same stations, without trains.
    Document stations;
    SampleLine::addStations(stations, lineFromVsetin);
    FileBytes::write(path("stations.vrs"), FileBytes::of(stations));
    const CommandRun into =
        cli({"import-czptt", "--into", path("stations.vrs"), "--day", day, CzpttTestData::lineDir(), path("into.vrs")});
    EXPECT_EQ(std::tuple(into.status, into.out, into.err),
              std::tuple(0, QByteArray("Přidáno 37 vlaků.\nPřidané vlaky nemají s tratí žádný konflikt.\n"
                                       "37 trains, 14 stations\n"),
                         QByteArray()));
    Document filled;
    ASSERT_TRUE(load(filled, path("into.vrs")));
    ASSERT_EQ(filled.trains.size(), 37u);
    EXPECT_EQ(filled.trains[5].name.view(), line.trains[5].name.view());
}

TEST_F(DayImportCommandTest, CaltrainWeekday)
{
    const CommandRun r = cli({"import-gtfs", "--day", "2017-07-24", caltrain, path("caltrain.vrs")});
    EXPECT_EQ(std::tuple(r.status, r.out, r.err),
              std::tuple(0,
                         QByteArray("Přidáno 92 vlaků.\nZ jízdního řádu odvozeno: 19 dvoukolejných úseků, 4 úseků "
                                    "se 3 a více kolejemi, 11 úseků s kratším následným intervalem.\nTrať mezi "
                                    "stanicemi „San Francisco Caltrain“ a „Gilroy Caltrain“, celá trasa vlaků "
                                    "dne.\n92 trains, 29 stations\n"),
                         QByteArray()));
    // The whole route, every station, and the tracks inferred so that the
    // real day runs without a conflict.
    EXPECT_EQ(cli({"conflicts", path("caltrain.vrs")}).status, 0);
    Document doc;
    ASSERT_TRUE(load(doc, path("caltrain.vrs")));
    // The line begins at its own first station: Gilroy at 0, San Francisco
    // 123.6 km up the line.
    EXPECT_EQ(std::pair(doc.stations.front().metres, doc.stations.back().metres), std::pair(0, 123550));
    EXPECT_EQ(doc.trainLabels.size(), 92u);
}

TEST_F(DayImportCommandTest, RefusalsSayWhyAndWriteNothing)
{
    Document elsewhere;
    SampleLine::fill(elsewhere, {3, 0, 0, 0});
    FileBytes::write(path("elsewhere.vrs"), FileBytes::of(elsewhere));
    const QString lineDir = CzpttTestData::lineDir();
    const QString out = path("out.vrs");
    const QStringList newLine = {"import-czptt", "--from", "Vsetín", "--to", "Velké Karlovice"};
    const struct
    {
        QStringList args;
        QString err;
    } cases[] = {
        {{"import-czptt", "--to", "Vsetín", "--day", "2026-03-04", lineDir, out},
         "chybí volba --from (nová trať potřebuje --from a --to)"},
        {newLine + QStringList{"--bogus", "--day", "2026-03-04", lineDir, out}, "neznámá volba --bogus"},
        {newLine + QStringList{"--day", "2026-02-30", lineDir, out},
         "--day: očekává se datum RRRR-MM-DD, například 2026-03-04"},
        {newLine + QStringList{lineDir, out}, "chybí volba --day RRRR-MM-DD"},
        {newLine + QStringList{"--day", "2026-03-04", "--day", "2026-03-05", lineDir, out},
         "--day: volba je zadána dvakrát"},
        {newLine + QStringList{"--day", "2026-03-04", path("missing"), out},
         path("missing") + ": Chyba při otevírání souboru: soubor nebo adresář neexistuje"},
        {newLine + QStringList{"--day", "2026-03-04", out}, QStringLiteral("použití: ") + CzpttImportCommand::usage},
        {{"import-czptt", "--into", path("elsewhere.vrs"), "--from", "Vsetín", "--day", "2026-03-04", lineDir, out},
         "--from: nelze s --into (vlaky jdou do stanic dokumentu)"},
        {{"import-gtfs", "--route", "Bu-129", "--route", "Metro", "--day", "2017-07-24", caltrain, out},
         caltrain + ": linka „Metro“ v jízdním řádu není"},
        {{"import-gtfs", "--from", "Gilroy Caltrain", "--day", "2017-07-24", caltrain, out},
         "chybí volba --to (nová trať potřebuje --from a --to)"},
        {{"import-gtfs", "--day", "2017-07-24", lineDir, out}, lineDir + ": routes.txt: soubor chybí"},
    };
    for (const auto &c : cases) {
        const CommandRun r = cli(c.args);
        EXPECT_EQ(std::tuple(r.status, QString::fromUtf8(r.err), r.out),
                  std::tuple(1, QStringLiteral("vlakorys-cli: ") + c.err + u'\n', QByteArray()))
            << c.args.join(u' ').toStdString();
    }
    // The summary on a full disk: an error, and no document either.
    for (const QStringList &args : {newLine + QStringList{"--day", "2026-03-04", lineDir, out},
                                    QStringList{"import-gtfs", "--day", "2017-07-24", caltrain, out}}) {
        const CommandRun r = cliOnFullDisk(args);
        EXPECT_EQ(std::pair(r.status, r.err), std::pair(1, fullDiskSaid)) << args.front().toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}
