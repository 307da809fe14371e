// The timetable tables: the cells of a small line, their CSV, the pages they
// are printed on, and the real Vsetín day written as PDF.
#include "../io/czptt/CzpttTestData.h"

#include "DocumentFixtures.h"
#include "Poppler.h"
#include "SampleLine.h"

#include "table/TimetableFiles.h"
#include "table/TimetablePages.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

using DocumentFixtures::addTrain;
using Grid = std::vector<std::vector<QString>>;

// Five stations A..E at km 0, 5, 10, 15, 20 and trains that stop, pass,
// stand, start and end inside the line, cross midnight, or run in neither
// direction.
void smallLine(Document &doc)
{
    for (const char *name : {"A", "B", "C", "D", "E \"x\"; y"})
        SampleLine::addStation(doc, name, 5 * static_cast<int32_t>(doc.stations.size()));
    addTrain(doc, "Os 1", {{1, 8, 0}, {2, 8, 5}, {2, 8, 7}, {-990, 8, 12}, {4, 8, 20}, {5, 8, 30}});
    addTrain(doc, "R 2", {{2, 7, 50}, {3, 7, 55, 0, 1}, {4, 8, 1}});
    addTrain(doc, "Os 3", {{1, 23, 50}, {2, 23, 58}, {2, 23, 59}, {3, 0, 10}});
    addTrain(doc, "Os 4", {{5, 9, 0}, {1, 9, 40}});
    addTrain(doc, "Os 5", {{1, 12, 0}, {2, 12, 6}});
    addTrain(doc, "Os 6", {{1, 13, 0}, {3, 13, 10}, {3, 13, 10, 0, 1}, {4, 13, 15}});
    addTrain(doc, "Os 7", {{2, 14, 0}, {2, 14, 5}});
    addTrain(doc, "Os 8", {{4, 8, 0}, {5, 8, 10}});
}

// A row per table row: its station's number ("2a" the arrival row), the
// column headings first.
Grid gridOf(const TimetableTable &t)
{
    Grid grid{{QString()}};
    for (const TimetableTable::Column &c : t.columns())
        grid[0].push_back(c.name);
    for (int r = 0; r < t.rowCount(); ++r) {
        const TimetableTable::Row &row = t.rows()[static_cast<size_t>(r)];
        grid.push_back({QString::number(row.station) + (row.arrival ? QStringLiteral("a") : QString())});
        for (int c = 0; c < t.columnCount(); ++c)
            grid.back().push_back(t.cell(r, c).text());
    }
    return grid;
}

} // namespace

TEST(TimetableTable, CellsOfBothDirections)
{
    Document doc;
    smallLine(doc);
    const TimetableTable down(doc, 1);
    EXPECT_EQ(down.title(), QStringLiteral("A → E \"x\"; y"));
    // Entry times order the columns (Os 8 after Os 1 at the same 8:00, Os 3
    // at 23:50 last though it ends after midnight); B has an arrival row,
    // C none: Os 6 stands there only half a minute.
    EXPECT_EQ(gridOf(down), (Grid{{"", "R 2", "Os 1", "Os 8", "Os 5", "Os 6", "Os 3"},
                                  {"1", "", "8:00", "", "12:00", "13:00", "23:50"},
                                  {"2a", "", "8:05", "", "12:06", "|", "23:58"},
                                  {"2", "7:50", "8:07", "", "", "|", "23:59"},
                                  {"3", "7:55½", "|", "", "", "13:10½", "0:10"},
                                  {"4", "8:01", "8:20", "8:00", "", "13:15", ""},
                                  {"5", "", "8:30", "8:10", "", "", ""}}));
    const TimetableTable up(doc, 2);
    EXPECT_EQ(gridOf(up), (Grid{{"", "Os 4"}, {"5", "9:00"}, {"4", "|"}, {"3", "|"}, {"2", "|"}, {"1", "9:40"}}));
    EXPECT_EQ(TimetableFiles::csv({up}), QByteArray("\xEF\xBB\xBF\"E \"\"x\"\"; y → A\"\r\n"
                                                    "km;Stanice;;Os 4\r\n"
                                                    "20;\"E \"\"x\"\"; y\";odj.;9:00\r\n"
                                                    "15;D;odj.;|\r\n"
                                                    "10;C;odj.;|\r\n"
                                                    "5;B;odj.;|\r\n"
                                                    "0;A;odj.;9:40\r\n"));
    EXPECT_EQ(down.cell(3, 0).spreadsheetText(), QStringLiteral("7:55:30"));
}

TEST(TimetablePages, WholeColumnsAndRowBlocksPerPage)
{
    Document doc;
    smallLine(doc);
    const std::vector<TimetableTable> tables = TimetableFiles::tables(doc);
    // 2 train columns and 3 rows a page: 6 x 7 cells on 3 x 3 pages, 1 x 5 on 2.
    TimetablePages::Metrics m{QSizeF(100, 100), 40, 25, 20, 20, 10, 10};
    std::vector<std::tuple<int, int, int, int, int>> pages;
    for (const TimetablePages::Page &p : TimetablePages::plan(tables, m))
        pages.emplace_back(p.table, p.firstColumn, p.columns, p.firstRow, p.rows);
    EXPECT_EQ(pages, (std::vector<std::tuple<int, int, int, int, int>>{{0, 0, 2, 0, 3},
                                                                       {0, 0, 2, 3, 3},
                                                                       {0, 2, 2, 0, 3},
                                                                       {0, 2, 2, 3, 3},
                                                                       {0, 4, 2, 0, 3},
                                                                       {0, 4, 2, 3, 3},
                                                                       {1, 0, 1, 0, 3},
                                                                       {1, 0, 1, 3, 2}}));
    m.page.setWidth(64); // no room for a train column
    EXPECT_TRUE(TimetablePages::plan(tables, m).empty());
}

// The real day: the PDF's pages each hold whole train columns, as many pages
// as they say.
class VsetinTable : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(CzpttTestData::importVsetinDay(doc), QString()); }
    Document doc;
};

TEST_F(VsetinTable, PdfPagesHoldWholeColumns)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("table.pdf");
    const std::vector<TimetableTable> tables = TimetableFiles::tables(doc);
    ASSERT_TRUE(TimetableFiles::write(pdf, TimetableFiles::Format::Pdf, tables, "Vsetín"));
    const int pages = Poppler::pages(pdf);
    EXPECT_GE(pages, 3); // both directions, at least one on two pages
    std::map<QString, int> pageOf;
    for (int p = 1; p <= pages; ++p) {
        const QString text = Poppler::text(pdf, p);
        EXPECT_TRUE(text.contains(QStringLiteral("list %1 z %2").arg(p).arg(pages))) << p;
        static const QRegularExpression number(QStringLiteral("\\b1\\d{4}\\b"));
        for (auto it = number.globalMatch(text); it.hasNext();) {
            const auto [at, fresh] = pageOf.emplace(it.next().captured(), p);
            EXPECT_TRUE(fresh || at->second == p) << at->first.toStdString();
        }
    }
    // Every train's number on one page only: no column is split.
    for (const TimetableTable &t : tables)
        for (const TimetableTable::Column &c : t.columns())
            EXPECT_TRUE(pageOf.contains(c.name.section(u' ', 1))) << c.name.toStdString();
}
