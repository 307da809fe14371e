// vlakorys-cli import-czptt and import-gtfs on the real timetables of
// tests/data: the documents they write, what they print, and the refusals
// of their options as one line and no output file (what the import brings
// and refuses is ImportSessionTest's).
#include "CliTest.h"

#include "../io/FileBytes.h"
#include "../io/czptt/CzpttTestData.h"

#include "cli/CzpttImportCommand.h"
#include "cli/DayImportCli.h"
#include "import/ImportSession.h"
#include "io/DocumentFile.h"
#include "model/Document.h"

#include "SampleLine.h"

#include <gtest/gtest.h>

namespace {

using CzpttTestData::lineFromVsetin;

const QString caltrain = TestPaths::sourceDir() + QStringLiteral("/tests/data/gtfs/caltrain-2017");

class DayImportCommandTest : public CliTest
{
};

} // namespace

// Each command writes the document whose counts close its summary, labels
// made as after the text import; the real days raise no conflict.
TEST_F(DayImportCommandTest, WriteTheDocumentTheSummaryCounts)
{
    Document stations;
    SampleLine::addStations(stations, lineFromVsetin);
    FileBytes::write(path("stations.vrs"), FileBytes::of(stations));
    const QString day = QStringLiteral("2026-03-04");
    const QString lineDir = CzpttTestData::lineDir();
    for (const QStringList &args :
         {QStringList{"import-czptt", "--sr70", CzpttTestData::sr70Path(), "--from", "Vsetín", "--to",
                      "Velké Karlovice", "--day", day, lineDir, path("line.vrs")},
          QStringList{"import-czptt", "--into", path("stations.vrs"), "--day", day, lineDir, path("into.vrs")},
          QStringList{"import-gtfs", "--day", "2017-07-24", caltrain, path("caltrain.vrs")}}) {
        const CommandRun r = cli(args);
        Document doc; // as Open reads it
        ASSERT_EQ(DocumentFile::load(doc, args.back()).status, DocumentFile::Status::Ok);
        DocumentReader::finishLoading(doc);
        const QString counts = DayImportCli::countsLine(int(doc.trains.size()), int(doc.stations.size()));
        EXPECT_EQ(std::tuple(r.status, r.err, r.out.endsWith(("\n" + counts + "\n").toUtf8())),
                  std::tuple(0, QByteArray(), true))
            << r.out.toStdString();
        EXPECT_EQ(doc.trainLabels.size(), doc.trains.size());
        EXPECT_EQ(cli({"conflicts", args.back()}).status, 0);
    }

    // What it prints is the import's summary, then its notes.
    QStringList labelCalls;
    const LabelMakers recording{[&](Document &, double) { labelCalls << QStringLiteral("train"); },
                                [&](Document &, double, ProgressSink &) { labelCalls << QStringLiteral("time"); }};
    const CommandRun spaced = capture([&](std::FILE *out, std::FILE *err) {
        return CzpttImportCommand(recording).run({"--day=" + day, lineDir, path("spaced.vrs")}, out, err);
    });
    Document imported;
    const ImportSession::Outcome made =
        ImportSession::importCzptt({lineDir}, nullptr, {QDate(2026, 3, 4), false, {}, {}}, imported);
    const QStringList lines = QStringList{made.result.text()} + made.notes
                              + QStringList{DayImportCli::countsLine(made.result.trains(), made.result.stations)};
    EXPECT_EQ(std::tuple(spaced.status, QString::fromUtf8(spaced.out), labelCalls),
              std::tuple(0, lines.join(u'\n') + u'\n', QStringList{"train", "time"}));
}

TEST_F(DayImportCommandTest, RefusalsSayWhyAndWriteNothing)
{
    Document elsewhere;
    SampleLine::fill(elsewhere, {3, 0, 0, 0});
    FileBytes::write(path("elsewhere.vrs"), FileBytes::of(elsewhere));
    const QString lineDir = CzpttTestData::lineDir();
    const QString out = path("out.vrs");
    const QStringList newLine = {"import-czptt", "--from", "Vsetín", "--to", "Velké Karlovice"};
    const std::pair<QStringList, QString> cases[] = {
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
    };
    for (const auto &[args, err] : cases) {
        const CommandRun r = cli(args);
        EXPECT_EQ(std::tuple(r.status, QString::fromUtf8(r.err), r.out),
                  std::tuple(1, QStringLiteral("vlakorys-cli: ") + err + u'\n', QByteArray()))
            << args.join(u' ').toStdString();
    }
    // The summary on a full disk: an error, and no document either.
    for (const QStringList &args : {newLine + QStringList{"--day", "2026-03-04", lineDir, out},
                                    QStringList{"import-gtfs", "--day", "2017-07-24", caltrain, out}}) {
        const CommandRun r = cliOnFullDisk(args);
        EXPECT_EQ(std::pair(r.status, r.err), std::pair(1, fullDiskSaid)) << args.front().toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}
