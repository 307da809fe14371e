#include "editing/StationListEditor.h"
#include "model/Cp1250.h"
#include "model/Tracks.h"

#include <QStringList>

#include "SampleLine.h"

#include <gtest/gtest.h>

namespace {

using K = StationListEditor;

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

using SampleLine::addStation;

// A row as the grid reports it: name, Enter, kilometre, Enter.
void typeRow(StationListEditor &e, const QString &name, const QString &km)
{
    const int row = e.currentRow();
    e.commitCell(K::NameColumn, row, name);
    e.commitCell(K::KmColumn, row, km);
}

K::KindBoxes boxes(const std::vector<K::Kind> &on)
{
    K::KindBoxes b{};
    for (K::Kind k : on)
        b[k] = true;
    return b;
}

K::KindBoxes recordBoxes(const StationKind &k)
{
    return {k.dopravna != 0, k.hradlo != 0,     k.hlaska != 0,  k.odbocka != 0,
            k.zastavka != 0, k.nakladiste != 0, k.kilometr != 0};
}

class StationEditorTest : public ::testing::Test
{
protected:
    Document doc;
    StationListEditor editor{doc};
};

TEST_F(StationEditorTest, WithoutADocumentOnlyTheFirstRowIsKeptUntilNew)
{
    editor.fill();
    EXPECT_EQ(std::pair(editor.rowCount(), editor.kindBoxes()), std::pair(2, boxes({K::Dopravna})));
    ASSERT_EQ(doc.stationKinds.size(), 1u);
    EXPECT_EQ(doc.stationKinds.front().stationIndex, 1);

    typeRow(editor, u("Praha"), u("   5"));
    typeRow(editor, u("Kolín"), u("  62"));
    ASSERT_EQ(editor.rowCount(), 4);
    editor.fill();
    EXPECT_EQ(std::tuple(editor.rowCount(), editor.cell(K::NameColumn, 1), editor.cell(K::KmColumn, 1)),
              std::tuple(2, u("Praha"), u("5")));
    editor.clearFirstRow();
    EXPECT_EQ(std::pair(editor.cell(K::NameColumn, 1), editor.cell(K::KmColumn, 1)), std::pair(QString(), QString()));
}

// Filling visits rows 2 and 1 only; a row never visited gets its Dopravna
// record when it is stored.
TEST_F(StationEditorTest, FillShowsTheStationsAndStoreGivesThemBack)
{
    addStation(doc, "Praha hl. n.", 0);
    addStation(doc, "Říčany", 19, &StationKind::zastavka);
    addStation(doc, "Strančice", 24, &StationKind::hradlo);
    doc.stationKinds.remove_if([](const StationKind &k) { return k.stationIndex == 3; });
    doc.linkStationKinds();
    editor.fill();
    ASSERT_EQ(editor.rowCount(), 5);
    EXPECT_EQ(std::tuple(editor.cell(K::NameColumn, 2), editor.cell(K::KmColumn, 2), editor.cell(K::NumberColumn, 4),
                         editor.cell(K::NameColumn, 4), editor.currentRow()),
              std::tuple(u("Říčany"), u("19"), u("4"), QString(), 1));
    EXPECT_EQ(std::tuple(editor.kindBoxes(), doc.findKind(3)), std::tuple(boxes({K::Dopravna}), nullptr));
    editor.setCurrentCell(K::NameColumn, 2);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Zastavka}));

    editor.store(false);
    ASSERT_EQ(doc.stations.size(), 3u);
    EXPECT_EQ(std::tuple(cp1250::toUnicode(doc.stations[1].name.view()), doc.stations[2].metres,
                         doc.stations[1].kind->zastavka),
              std::tuple(u("Říčany"), 24000, 1));
    ASSERT_NE(doc.stations[2].kind, nullptr);
    EXPECT_EQ(std::pair(recordBoxes(*doc.stations[2].kind), doc.stations[2].kind->stationIndex),
              std::pair(boxes({K::Dopravna}), 3));
}

TEST_F(StationEditorTest, StoringTurnsRowsIntoStationsAsTyped)
{
    editor.fill();
    typeRow(editor, u("  Praha hl. n.  "), u("   0"));
    editor.clickKind(K::Zastavka, true); // row 2
    typeRow(editor, u("Úvaly"), u("  20"));
    typeRow(editor, QString(QChar(u'Ž')).repeated(60), u("  38"));
    typeRow(editor, u("Kolín"), u("  62"));
    // Row 2 loses its kilometre; a row in the middle is stored all the same.
    editor.commitCell(K::KmColumn, 2, u("    "), K::NameColumn, 5);
    ASSERT_EQ(editor.rowCount(), 6);
    ASSERT_EQ(editor.rowsToStore(), 4);

    doc.trains.push_back(Train{});
    doc.trainCount = 1;
    doc.newTrainLabel();
    doc.newTimeLabel();
    doc.profiles.countOf(1) = 3;
    doc.profiles.at(1, 1).name = "Os";
    editor.store(false);
    ASSERT_EQ(doc.stations.size(), 4u);
    EXPECT_EQ(doc.stations[0].name, QByteArrayView("Praha hl. n."));
    EXPECT_EQ(doc.stations[1].metres, 0) << "a blank kilometre is stored as 0";
    EXPECT_EQ(cp1250::toUnicode(doc.stations[2].name.view()), QString(QChar(u'Ž')).repeated(50));
    EXPECT_EQ(std::tuple(doc.stations[1].kind->zastavka, doc.maxMetres, doc.stationMetres[3]),
              std::tuple(1, 62000, 38000));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(doc.stations[static_cast<size_t>(i)].kind, doc.findKind(i + 1));
    EXPECT_EQ(std::pair(doc.noDocument, doc.redrawNeeded), std::pair(false, true));
    EXPECT_EQ(std::tuple(doc.trains.size(), doc.trainLabels.size()), std::tuple(1u, 1u)) << "trains stay if kept";

    // Deleting the trains takes their labels and the profiles too.
    editor.fill();
    editor.store(true);
    EXPECT_EQ(std::tuple(doc.trains.size(), doc.trainCount, doc.trainLabels.size(), doc.timeLabels.size()),
              std::tuple(0u, 0, 0u, 0u));
    EXPECT_EQ(std::tuple(doc.profiles.countOf(1), doc.profiles.at(1, 1).name.isEmpty(), doc.stations.size()),
              std::tuple(0, true, 4u));
}

// OK on a lone row with a name of blanks stores nothing: the document
// becomes empty and keeps its trains.
TEST_F(StationEditorTest, ALoneRowWithABlankNameIsEmptyInput)
{
    addStation(doc, "Praha", 40);
    doc.trains.push_back(Train{});
    editor.fill();
    editor.commitCell(K::NameColumn, 1, u("   "), K::NameColumn, 1);
    editor.commitCell(K::KmColumn, 1, u("  12"), K::KmColumn, 1);
    // The blank name is not empty, so a row is appended, and being blank it
    // leaves row 1 incomplete, so the new row goes again at once.
    EXPECT_EQ(std::tuple(editor.rowCount(), editor.rowsToStore(), editor.isEmptyInput()), std::tuple(2, 0, true));
    editor.storeEmpty();
    EXPECT_EQ(std::tuple(doc.noDocument, doc.stations.size(), doc.maxMetres, doc.trains.size()),
              std::tuple(true, 0u, 0, 1u));
}

// The list shows a document's positions as a person reads them and its track
// numbers (defaults as empty cells); a list stored untouched gives back every
// position exactly, also one the editor would not take when typed, and the
// numbers go with their rows. Enter walks the track columns row by row.
TEST_F(StationEditorTest, ADocumentsNumbersAreShownAndStoredBackWithTheirRows)
{
    for (int32_t metres : {0, 7562, 7500, 12000, -350, 9999000, -2147483000})
        addStation(doc, "S", 0).metres = metres;
    doc.stations[0].sectionTracks = Tracks::doubleTrack;
    doc.stations[1].stationTracks = 3;
    doc.stations[2].sectionHeadway = 2;
    editor.fill();
    QStringList shown;
    for (int r = 1; r <= 7; ++r)
        shown << editor.cell(K::KmColumn, r) + u'/' + editor.cell(K::SectionTracksColumn, r) + u'/'
                     + editor.cell(K::StationTracksColumn, r);
    EXPECT_EQ(shown, (QStringList{"0/2/", "7,562//3", "7,5//", "12//", "-0,35//", "9999//", "-2147483//"}));
    EXPECT_EQ(std::pair(editor.cell(K::SectionTracksColumn, 0), editor.cell(K::StationTracksColumn, 0)),
              std::pair(u("Kolejí v úseku"), u("Dopravních kolejí")));

    editor.setCurrentCell(K::SectionTracksColumn, 2);
    editor.commitCell(K::SectionTracksColumn, 2, u("1"));
    EXPECT_EQ(std::pair(editor.currentColumn(), editor.currentRow()), std::pair(int(K::StationTracksColumn), 2));
    editor.commitCell(K::StationTracksColumn, 2, u(""));
    EXPECT_EQ(std::pair(editor.currentColumn(), editor.currentRow()), std::pair(int(K::SectionTracksColumn), 3));
    editor.commitCell(K::NameColumn, 1, u("A2")); // the name changes, the numbers stay
    editor.store(false);
    std::vector<std::tuple<int32_t, int, int>> stored;
    for (const Station &s : doc.stations)
        stored.emplace_back(s.metres, s.sectionTracks, s.stationTracks);
    EXPECT_EQ(stored, (std::vector<std::tuple<int32_t, int, int>>{{0, 2, -1},
                                                                  {7562, 1, -1},
                                                                  {7500, 0, -1},
                                                                  {12000, 0, -1},
                                                                  {-350, 0, -1},
                                                                  {9999000, 0, -1},
                                                                  {-2147483000, 0, -1}}));
    EXPECT_EQ(std::tuple(doc.maxMetres, doc.stationMetres[2], doc.stations[2].sectionHeadway),
              std::tuple(9999000, 7562, 2));
}

TEST_F(StationEditorTest, ACommitWithoutAStepKeepsTheCursorButMaintainsTheRows)
{
    editor.fill();
    typeRow(editor, u("Praha"), u("   0"));
    editor.commitCell(K::NameColumn, 2, u("Kolín"));
    editor.commitCell(K::KmColumn, 2, u("  62"), K::KmColumn, 2, false);
    // The empty row behind the complete one, the cursor where it was.
    EXPECT_EQ(std::tuple(editor.rowCount(), editor.currentColumn(), editor.currentRow()),
              std::tuple(4, K::KmColumn, 2));
    // The kind boxes now act on the row just typed, not on the new one.
    editor.clickKind(K::Zastavka, true);
    ASSERT_TRUE(doc.findKind(2));
    EXPECT_TRUE(doc.findKind(2)->zastavka);
    EXPECT_EQ(doc.findKind(3), nullptr);
}

TEST_F(StationEditorTest, TheGridStopsAtTheDocumentsStationLimit)
{
    editor.fill();
    for (int i = 1; i <= K::maxDataRows; ++i)
        typeRow(editor, QStringLiteral("S%1").arg(i), QString::number(i));
    EXPECT_EQ(editor.dataRowCount(), K::maxDataRows);
    editor.store(false);
    EXPECT_EQ(std::tuple(doc.stations.size(), doc.stationMetres[1000]),
              std::tuple(size_t(Document::maxStations), 1000000));
    editor.fill();
    EXPECT_EQ(editor.dataRowCount(), K::maxDataRows);
}

// Each commit as the grid reports it (the cursor where it then is, -1: the
// committed cell), then the rows and the cell the cursor goes to (-1: not
// looked at).
TEST_F(StationEditorTest, RowsBehindTheLastCompleteRowAndTheEnterWalk)
{
    // (column, row, text, cursor column, cursor row; rows, at column, at row)
    const std::tuple<int, int, const char *, int, int, int, int, int> steps[] = {
        {K::NameColumn, 1, "Praha", -1, -1, 2, K::KmColumn, 1}, // a name alone completes nothing
        {K::KmColumn, 1, "    ", -1, -1, 2, K::NameColumn, 1},  // nor a kilometre of blanks; no row to go to
        {K::KmColumn, 1, "  12", K::KmColumn, 1, 3, K::NameColumn, 2},
        {K::KmColumn, 1, "  13", K::NameColumn, 1, 3, K::NameColumn, 1}, // clicked back on the name: no step
        {K::NameColumn, 2, "B", -1, -1, 3, -1, -1},
        {K::KmColumn, 2, "2", -1, -1, 4, -1, -1},
        {K::NameColumn, 3, "C", -1, -1, 4, -1, -1},
        {K::KmColumn, 3, "3", -1, -1, 5, -1, -1},
        {K::NameColumn, 2, "", K::NameColumn, 4, 5, -1, -1},     // C behind the cleared row is still complete
        {K::NameColumn, 3, "", K::NameColumn, 4, 4, -1, 3},      // the cursor on the removed row moves up
        {K::KmColumn, 3, "", K::KmColumn, 3, 3, K::KmColumn, 2}, // row 3, empty behind incomplete row 2, goes too
        {K::KmColumn, 2, "", K::KmColumn, 2, 3, -1, -1},         // an empty row behind a complete one stays
        {K::NameColumn, 1, "", K::NameColumn, 1, 2, -1, -1},     // row 2, empty, goes behind the incomplete row 1
        {K::KmColumn, 1, "", K::KmColumn, 1, 2, -1, 1},          // one data row always remains
    };
    editor.fill();
    for (const auto &s : steps) {
        const auto &[column, row, text, cursorColumn, cursorRow, rows, atColumn, atRow] = s;
        editor.commitCell(column, row, u(text), cursorColumn, cursorRow);
        EXPECT_EQ(editor.rowCount(), rows) << row << " " << text;
        if (atColumn >= 0) {
            EXPECT_EQ(editor.currentColumn(), atColumn) << row << " " << text;
        }
        if (atRow >= 0) {
            EXPECT_EQ(editor.currentRow(), atRow) << row << " " << text;
        }
        if (&s == &steps[2]) { // the new row behind the first complete one
            EXPECT_EQ(
                std::tuple(editor.cell(K::NumberColumn, 2), editor.cell(K::NameColumn, 2), editor.cell(K::KmColumn, 2)),
                std::tuple(u("2"), QString(), u("    ")));
        }
    }
}

TEST_F(StationEditorTest, KindRules)
{
    // Clicks on a fresh Dopravna row, the boxes shown after.
    const std::pair<std::vector<std::pair<K::Kind, bool>>, std::vector<K::Kind>> cases[] = {
        {{{K::Dopravna, false}}, {K::Dopravna}},
        {{{K::Zastavka, true}, {K::Hradlo, true}, {K::Dopravna, true}}, {K::Dopravna}},
        {{{K::Zastavka, true}, {K::Hradlo, true}}, {K::Hradlo, K::Zastavka}},
        {{{K::Zastavka, true}, {K::Hradlo, true}, {K::Hradlo, false}}, {K::Zastavka}},
        {{{K::Hradlo, true}, {K::Zastavka, true}, {K::Zastavka, false}}, {K::Hradlo}},
        {{{K::Hradlo, true}, {K::Hlaska, true}}, {K::Hlaska}},
        {{{K::Odbocka, true}, {K::Hradlo, true}}, {K::Hradlo}},
        {{{K::Hlaska, true}, {K::Odbocka, true}, {K::Odbocka, false}}, {K::Dopravna}},
        {{{K::Odbocka, true}, {K::Nakladiste, true}}, {K::Odbocka, K::Nakladiste}},
        {{{K::Odbocka, true}, {K::Nakladiste, true}, {K::Kilometr, true}}, {K::Kilometr}},
        {{{K::Kilometr, true}, {K::Zastavka, true}}, {K::Zastavka}},
        {{{K::Kilometr, true}, {K::Kilometr, false}}, {K::Dopravna}},
        {{{K::Zastavka, true}, {K::Nakladiste, true}, {K::Zastavka, false}}, {K::Nakladiste}},
        {{{K::Zastavka, true}, {K::Nakladiste, true}, {K::Zastavka, false}, {K::Nakladiste, false}}, {K::Dopravna}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Document d;
        StationListEditor e(d);
        e.fill();
        for (auto [kind, checked] : cases[i].first)
            e.clickKind(kind, checked);
        EXPECT_EQ(e.kindBoxes(), boxes(cases[i].second)) << "case " << i;
        EXPECT_EQ(recordBoxes(*d.findKind(1)), e.kindBoxes()) << "case " << i;
    }
}

TEST_F(StationEditorTest, EveryVisitedRowOwnsItsKindAndARemovedRowKeepsItsRecord)
{
    editor.fill();
    typeRow(editor, u("A"), u("1"));
    editor.clickKind(K::Hlaska, true); // row 2, the new empty row
    EXPECT_EQ(doc.findKind(2)->hlaska, 1);
    editor.setCurrentCell(K::NameColumn, 1);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Dopravna}));

    // Row 2 goes when row 1 is cleared, and comes back with its record.
    editor.commitCell(K::NameColumn, 1, QString());
    ASSERT_EQ(editor.rowCount(), 2);
    editor.commitCell(K::NameColumn, 1, u("A"), K::KmColumn, 1);
    ASSERT_EQ(editor.rowCount(), 3);
    editor.setCurrentCell(K::NameColumn, 2);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Hlaska}));

    // A click on a row whose record is gone appends one.
    doc.stationKinds.clear();
    editor.clickKind(K::Zastavka, true);
    ASSERT_EQ(doc.stationKinds.size(), 1u);
    EXPECT_EQ(std::pair(doc.stationKinds.back().stationIndex, doc.stationKinds.back().zastavka),
              std::pair(2, uint8_t(1)));
}

TEST_F(StationEditorTest, CancelRestoresTheKindsAndChangesNoStation)
{
    addStation(doc, "Praha", 0);
    addStation(doc, "Kolín", 62, &StationKind::odbocka);
    editor.fill();
    editor.commitCell(K::NameColumn, 1, u("Přejmenováno"));
    editor.clickKind(K::Zastavka, true);
    editor.setCurrentCell(K::NameColumn, 3);
    editor.clickKind(K::Kilometr, true);
    ASSERT_NE(doc.findKind(3), nullptr);

    editor.restoreKinds();
    EXPECT_EQ(std::tuple(doc.stationKinds.size(), doc.findKind(3)), std::tuple(2u, nullptr));
    EXPECT_EQ(recordBoxes(*doc.findKind(1)), boxes({K::Dopravna}));
    EXPECT_EQ(doc.stations[0].name, QByteArrayView("Praha"));
    EXPECT_EQ(std::tuple(doc.stations[0].kind, doc.stations[1].kind, doc.stations[1].kind->odbocka),
              std::tuple(doc.findKind(1), doc.findKind(2), uint8_t(1)));
}

} // namespace

// A cell of row 1 (name "A", kilometre "5") as typed: the cell's text and
// the number stored afterwards, or the reason it is refused. A refused entry
// leaves the cell and the rows as they were and brings the cursor back to
// the cell (the commit came with the cursor on the next row's name). An
// empty track cell follows the default.
TEST_F(StationEditorTest, CellEntries)
{
    const int Km = K::KmColumn, Sec = K::SectionTracksColumn, Sta = K::StationTracksColumn, Hw = K::HeadwayColumn;
    // (column, typed, shown or nullptr: refused, stored, refusal)
    const std::tuple<int, const char *, const char *, int32_t, const QString *> cases[] = {
        {Km, "24,151", "24,151", 24151, nullptr},
        {Km, "24.151", "24,151", 24151, nullptr},
        {Km, " 7,5 ", "7,5", 7500, nullptr},
        {Km, "7,500", "7,5", 7500, nullptr},
        {Km, "  62", "62", 62000, nullptr},
        {Km, "012,0", "12", 12000, nullptr},
        {Km, ",003", "0,003", 3, nullptr},
        {Km, "-0,35", "-0,35", -350, nullptr},
        {Km, "2000", "2000", 2000000, nullptr},
        {Km, "-2000,000", "-2000", -2000000, nullptr},
        {Km, "24,1515", nullptr, 5000, &K::kmDecimalsMessage},
        {Km, "2000,001", nullptr, 5000, &K::kmRangeMessage},
        {Km, "-2001", nullptr, 5000, &K::kmRangeMessage},
        {Km, "12a", nullptr, 5000, &K::kmNotANumberMessage},
        {Km, "1,2,3", nullptr, 5000, &K::kmNotANumberMessage},
        {Km, "-", nullptr, 5000, &K::kmNotANumberMessage},
        {Sec, "1", "1", 1, nullptr},
        {Sec, " 2 ", "2", 2, nullptr},
        {Sec, "", "", Tracks::lineDefault, nullptr},
        {Sec, "0", nullptr, Tracks::lineDefault, &K::sectionTracksMessage},
        {Sec, "3", "3", Tracks::manyTracks, nullptr},
        {Sec, "4", nullptr, Tracks::lineDefault, &K::sectionTracksMessage},
        {Sec, "-1", nullptr, Tracks::lineDefault, &K::sectionTracksMessage},
        {Sta, "0", "0", 0, nullptr},
        {Sta, "07", "7", 7, nullptr},
        {Sta, "99", "99", 99, nullptr},
        {Sta, "", "", Tracks::byKind, nullptr},
        {Sta, "100", nullptr, Tracks::byKind, &K::stationTracksMessage},
        {Sta, "2,5", nullptr, Tracks::byKind, &K::stationTracksMessage},
        {Hw, "0", "0", 0, nullptr},
        {Hw, "60", "60", 60, nullptr},
        {Hw, "", "", Tracks::lineHeadway, nullptr},
        {Hw, "61", nullptr, Tracks::lineHeadway, &K::headwayMessage}};
    for (const auto &[column, typed, shown, stored, refusal] : cases) {
        SCOPED_TRACE(typed);
        Document d;
        StationListEditor e(d);
        e.fill();
        typeRow(e, u("A"), u("5"));
        ASSERT_EQ(std::tuple(e.rowCount(), e.currentColumn(), e.currentRow()), std::tuple(3, K::NameColumn, 2));
        e.commitCell(column, 1, u(typed), K::NameColumn, 2);
        const QString told = e.takeRefusal();
        EXPECT_EQ(std::tuple(told, e.takeRefusal(), e.cell(column, 1)),
                  std::tuple(refusal ? *refusal : QString(), QString(),
                             shown          ? u(shown)
                             : column == Km ? u("5")
                                            : QString()))
            << "told once";
        if (refusal) {
            EXPECT_EQ(std::tuple(e.rowCount(), e.currentColumn(), e.currentRow()), std::tuple(3, column, 1));
        }
        e.commitCell(K::NameColumn, 1, u("A"), K::NameColumn, 1);
        e.store(false);
        ASSERT_EQ(d.stations.size(), 1u);
        const Station &s = d.stations[0];
        EXPECT_EQ(column == Km    ? s.metres
                  : column == Sec ? s.sectionTracks
                  : column == Sta ? s.stationTracks
                                  : s.sectionHeadway,
                  stored);
    }
}
