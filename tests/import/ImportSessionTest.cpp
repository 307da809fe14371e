// The import of a day of real trains as the dialog and the command line run
// it, on the real timetables of tests/data: what comes in, the summary with
// its notes, and the refusals, what the sources left out told first.
#include "import/ImportSession.h"
#include "model/Document.h"

#include "../io/FileBytes.h"
#include "../io/czptt/CzpttTestData.h"
#include "SampleLine.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Format = ImportSession::Format;

const QDate wednesday(2026, 3, 4);
const QDate caltrainMonday(2017, 7, 24);
const QString caltrain = CzpttTestData::dir(QStringLiteral("gtfs/caltrain-2017"));

std::shared_ptr<const Sr70Codebook> codebook()
{
    auto book = std::make_shared<Sr70Codebook>();
    EXPECT_TRUE(book->readFile(CzpttTestData::sr70Path()).ok);
    return book;
}

// The command line's run of a request on a source.
ImportSession::Outcome run(Format format, const QString &source, const ImportSession::Request &request, Document &doc,
                           bool withCodebook = false, const QStringList &routes = {})
{
    if (format == Format::Czptt)
        return ImportSession::importCzptt({source}, withCodebook ? codebook() : nullptr, request, doc);
    const std::shared_ptr<ImportSession> session = ImportSession::openFeed(source, {});
    ImportSession::Outcome failed;
    failed.error = session->error();
    return session->ok() ? session->importDay(request, doc) : failed;
}

} // namespace

// Each case: the source, the request, the summary and its notes, and the
// document made: "trains stations metres-of-the-first-and-last".
TEST(ImportSession, RealDays)
{
    const QString lineDir = CzpttTestData::lineDir();
    const QString cut = "Přidáno 37 vlaků.\nZkráceno 1 vlaků, které jezdí i mimo trať, ve stanicích: Vsetín 1.\n";
    const std::tuple<Format, QString, ImportSession::Request, bool, QString, QString> cases[] = {
        {Format::Czptt, lineDir, {wednesday, false, "Vsetín", "Velké Karlovice"}, true,
         cut + "Z jízdního řádu odvozeno: jednokolejná trať, koleje stanic podle druhu.", "37 14 500-27348"},
        {Format::Czptt, lineDir, {wednesday, true, {}, {}}, false,
         "Přidáno 37 vlaků.\nPřidané vlaky nemají s tratí žádný konflikt.", "37 14 0-0"},
        // No codebook, no ends: spaced by running times between the ends
        // most trains run between.
        {Format::Czptt, lineDir, {wednesday, false, {}, {}}, false,
         cut + "Polohy stanic nejsou známy: vzdálenosti jsou odhadnuty z jízdních dob nejrychlejšího vlaku (minuta "
               "jízdy je kilometr).\nZ jízdního řádu odvozeno: 2 stanic s více dopravními kolejemi.\nTrať mezi "
               "stanicemi „Velké Karlovice“ a „Vsetín“, mezi nimiž jezdí nejvíc vlaků dne.",
         "37 14 0-39500"},
        // The whole route from Gilroy at 0, San Francisco 123.6 km up.
        {Format::Gtfs, caltrain, {caltrainMonday, false, {}, {}}, false,
         "Přidáno 92 vlaků.\nZ jízdního řádu odvozeno: 19 dvoukolejných úseků, 4 úseků se 3 a více kolejemi, 11 "
         "úseků s kratším následným intervalem.\nTrať mezi stanicemi „San Francisco Caltrain“ a „Gilroy "
         "Caltrain“, celá trasa vlaků dne.",
         "92 29 0-123550"},
    };
    for (const auto &[format, source, request, withCodebook, said, summary] : cases) {
        Document doc;
        if (request.into)
            SampleLine::addStations(doc, CzpttTestData::lineFromVsetin);
        const ImportSession::Outcome made = run(format, source, request, doc, withCodebook);
        ASSERT_EQ(made.error, QString()) << summary.toStdString();
        EXPECT_EQ((QStringList{made.result.text()} + made.notes).join(u'\n'), said);
        EXPECT_EQ(QStringLiteral("%1 %2 %3-%4")
                      .arg(made.result.trains())
                      .arg(made.result.stations)
                      .arg(doc.stations.front().metres)
                      .arg(doc.stations.back().metres),
                  summary);
        EXPECT_EQ(std::pair(doc.trains.size(), doc.stations.size()),
                  std::pair(size_t(made.result.trains()), size_t(made.result.stations)));
    }
}

TEST(ImportSession, RefusalsSayWhatWasLeftOutThenWhy)
{
    QTemporaryDir dir;
    const QString cutFile = dir.filePath(QStringLiteral("cut.xml"));
    FileBytes::write(cutFile, CzpttTestData::bytes(CzpttTestData::linePath("16555A")).left(2000));
    const QString lineDir = CzpttTestData::lineDir();
    const std::tuple<Format, QString, ImportSession::Request, QString> cases[] = {
        {Format::Czptt, cutFile, {wednesday, false, "Vsetín", "Velké Karlovice"},
         "Přeskočeno 1 souborů: cut.xml (poškozené XML (řádek 52))\n"
         "Stanice „Vsetín“ ani „Velké Karlovice“ v jízdním řádu není."},
        {Format::Czptt, lineDir, {QDate(2030, 1, 1), false, {}, {}}, "Dne 1. 1. 2030 nejede žádný vlak."},
        {Format::Czptt, lineDir, {wednesday, false, "Vsetin", "Karlovice"},
         "Stanice „Vsetin“ ani „Karlovice“ v jízdním řádu není."},
        {Format::Czptt, lineDir, {wednesday, true, {}, {}}, "Dne 4. 3. 2026 nejede žádný vlak přes dvě stanice trati."},
        {Format::Gtfs, lineDir, {caltrainMonday, false, {}, {}}, "routes.txt: soubor chybí"},
    };
    for (const auto &[format, source, request, error] : cases) {
        Document doc;
        SampleLine::fill(doc, {3, 0, 0, 0});
        const ImportSession::Outcome made = run(format, source, request, doc);
        EXPECT_EQ(made.error, error);
        EXPECT_EQ(doc.trains.size(), 0u) << error.toStdString();
    }
}

// The dialog's reading: the ends it offers for the day and the names to
// choose from.
TEST(ImportSession, TheDialogsReading)
{
    const std::shared_ptr<ImportSession> read = ImportSession::read(Format::Czptt, {CzpttTestData::lineDir()});
    ASSERT_TRUE(read->ok());
    read->chooseDay(wednesday);
    // More of the day's trains start at the upper end.
    EXPECT_EQ(read->defaultEnds(), std::pair(QStringLiteral("Velké Karlovice"), QStringLiteral("Vsetín")));
    // Alphabetical: the line's 14 and Valašské Meziříčí, where one train
    // runs on; Vsetín-Bečva, a timing point no train stops at, left out.
    const QStringList names = read->endNames();
    EXPECT_EQ(std::tuple(names.size(), names.front(), names[11], names.back()),
              std::tuple(qsizetype{15}, QStringLiteral("Halenkov"), QStringLiteral("Valašské Meziříčí"),
                         QStringLiteral("Vsetín")));
    EXPECT_TRUE(read->preview(Document(), true, names.front(), names.back()).ok());
}
