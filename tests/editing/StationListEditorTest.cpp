#include "editing/StationListEditor.h"
#include "model/Cp1250.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using K = StationListEditor;

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// A document with stations as the file reader leaves it: kinds relinked.
void addStation(Document &doc, const char *name, int km, void (*kind)(StationKind &) = nullptr)
{
    Station s;
    s.name = cp1250::fromUnicode(u(name));
    s.km = km;
    doc.stations.push_back(s);
    StationKind k;
    k.stationIndex = static_cast<int32_t>(doc.stations.size());
    k.dopravna = 1;
    if (kind) {
        k.dopravna = 0;
        kind(k);
    }
    doc.appendKind(k);
    doc.relinkStationKinds();
    doc.rebuildStationTable();
    doc.noDocument = false;
}

// Types a row the way the grid reports it: name, Enter, kilometre, Enter.
void typeRow(StationListEditor &e, const QString &name, const QString &km)
{
    const int row = e.currentRow();
    e.commitCell(K::NameColumn, row, name);
    e.commitCell(K::KmColumn, row, km);
}

K::KindBoxes boxes(std::initializer_list<K::Kind> on)
{
    K::KindBoxes b{};
    for (K::Kind k : on)
        b[k] = true;
    return b;
}

class StationEditorTest : public ::testing::Test
{
protected:
    Document doc;
    StationListEditor editor{doc};
};

// --- Filling ---------------------------------------------------------------

TEST_F(StationEditorTest, NewDocumentOpensOnOneRowThatIsADopravna)
{
    editor.fill();
    EXPECT_EQ(editor.rowCount(), 2);
    EXPECT_EQ(editor.cell(K::NumberColumn, 1), u("1"));
    EXPECT_EQ(editor.cell(K::NameColumn, 1), QString());
    EXPECT_EQ(editor.currentColumn(), K::NameColumn);
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Dopravna}));
    ASSERT_EQ(doc.stationKinds.size(), 1u);
    EXPECT_EQ(doc.stationKinds.front().stationIndex, 1);
    EXPECT_EQ(editor.cell(K::NameColumn, 0), u("Název stanice"));
    EXPECT_EQ(editor.cell(K::KmColumn, 0), u("Kilometr"));
}

TEST_F(StationEditorTest, WithoutADocumentTheFirstRowKeepsItsCellsAndTheRestGoes)
{
    editor.fill();
    typeRow(editor, u("Praha"), u("   5"));
    typeRow(editor, u("Kolín"), u("  62"));
    ASSERT_EQ(editor.rowCount(), 4);
    editor.fill();
    EXPECT_EQ(editor.rowCount(), 2);
    EXPECT_EQ(editor.cell(K::NameColumn, 1), u("Praha"));
    EXPECT_EQ(editor.cell(K::KmColumn, 1), u("   5"));

    editor.clearFirstRow();
    EXPECT_EQ(editor.cell(K::NameColumn, 1), QString());
    EXPECT_EQ(editor.cell(K::KmColumn, 1), QString());
}

TEST_F(StationEditorTest, FillShowsTheStationsAndAnEmptyRowAndVisitsRowsTwoAndOne)
{
    addStation(doc, "Praha hl. n.", 0);
    addStation(doc, "Říčany", 19, [](StationKind &k) { k.zastavka = 1; });
    addStation(doc, "Strančice", 24);
    doc.stationKinds.remove_if([](const StationKind &k) { return k.stationIndex == 3; });
    doc.linkStationKinds();
    editor.fill();
    ASSERT_EQ(editor.rowCount(), 5);
    EXPECT_EQ(editor.cell(K::NameColumn, 2), u("Říčany"));
    EXPECT_EQ(editor.cell(K::KmColumn, 2), u("19"));
    EXPECT_EQ(editor.cell(K::NumberColumn, 4), u("4"));
    EXPECT_EQ(editor.cell(K::NameColumn, 4), QString());
    EXPECT_EQ(editor.cell(K::KmColumn, 4), QString());
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Dopravna}));
    // Row 3 was never visited: no record is made for it yet.
    EXPECT_EQ(doc.findKind(3), nullptr);
    editor.setCurrentCell(K::NameColumn, 2);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Zastavka}));
}

// --- Row maintenance --------------------------------------------------------

TEST_F(StationEditorTest, ACompleteLastRowGetsOneEmptyRowBehindIt)
{
    editor.fill();
    editor.commitCell(K::NameColumn, 1, u("Praha"));
    EXPECT_EQ(editor.rowCount(), 2) << "a name alone completes nothing";
    editor.commitCell(K::KmColumn, 1, u("  12"));
    ASSERT_EQ(editor.rowCount(), 3);
    EXPECT_EQ(editor.cell(K::NumberColumn, 2), u("2"));
    EXPECT_EQ(editor.cell(K::NameColumn, 2), QString());
    EXPECT_EQ(editor.cell(K::KmColumn, 2), u("    "));
    // Committing the complete row again adds nothing more.
    editor.commitCell(K::KmColumn, 1, u("  13"));
    EXPECT_EQ(editor.rowCount(), 3);
}

TEST_F(StationEditorTest, AKilometreOfBlanksDoesNotCompleteARow)
{
    editor.fill();
    editor.commitCell(K::NameColumn, 1, u("Praha"));
    editor.commitCell(K::KmColumn, 1, u("    "));
    EXPECT_EQ(editor.rowCount(), 2);
}

TEST_F(StationEditorTest, ClearingTheRowBeforeTheEmptyLastRowRemovesTheLastRow)
{
    editor.fill();
    typeRow(editor, u("A"), u("1"));
    typeRow(editor, u("B"), u("2"));
    typeRow(editor, u("C"), u("3"));
    ASSERT_EQ(editor.rowCount(), 5);
    ASSERT_EQ(editor.currentRow(), 4);

    // Clearing a middle row removes nothing: C is still complete.
    editor.commitCell(K::NameColumn, 2, QString(), K::NameColumn, 4);
    EXPECT_EQ(editor.rowCount(), 5);

    // An incomplete row before the empty last one takes that row away; the
    // cursor on the removed row moves up.
    editor.commitCell(K::NameColumn, 3, QString(), K::NameColumn, 4);
    EXPECT_EQ(editor.rowCount(), 4);
    EXPECT_EQ(editor.currentRow(), 3);
    EXPECT_EQ(editor.cell(K::KmColumn, 3), u("3"));

    // Clearing its kilometre too leaves row 3 empty behind the incomplete
    // row 2: it goes as well.
    editor.commitCell(K::KmColumn, 3, QString(), K::KmColumn, 3);
    EXPECT_EQ(editor.rowCount(), 3);
    EXPECT_EQ(editor.currentRow(), 2);
}

TEST_F(StationEditorTest, OneDataRowAlwaysRemains)
{
    editor.fill();
    typeRow(editor, u("A"), u("1"));
    ASSERT_EQ(editor.rowCount(), 3);
    editor.commitCell(K::NameColumn, 1, QString(), K::NameColumn, 1);
    editor.commitCell(K::KmColumn, 1, QString(), K::KmColumn, 1);
    EXPECT_EQ(editor.rowCount(), 2);
    EXPECT_EQ(editor.currentRow(), 1);
}

TEST_F(StationEditorTest, EnterWalksNameKilometreNextName)
{
    editor.fill();
    editor.commitCell(K::NameColumn, 1, u("Praha"));
    EXPECT_EQ(editor.currentColumn(), K::KmColumn);
    EXPECT_EQ(editor.currentRow(), 1);
    editor.commitCell(K::KmColumn, 1, u("   0"));
    EXPECT_EQ(editor.currentColumn(), K::NameColumn);
    EXPECT_EQ(editor.currentRow(), 2);

    // A kilometre in the last row without a name: no row to go to.
    editor.commitCell(K::NameColumn, 2, QString());
    editor.commitCell(K::KmColumn, 2, u("  7"));
    EXPECT_EQ(editor.currentColumn(), K::NameColumn);
    EXPECT_EQ(editor.currentRow(), 2);
}

TEST_F(StationEditorTest, ACommitAfterTheCursorMovedAwayDoesNotStepFurther)
{
    editor.fill();
    editor.commitCell(K::NameColumn, 1, u("Praha"), K::NameColumn, 1);
    editor.setCurrentCell(K::NameColumn, 1); // the user went back up
    editor.commitCell(K::NameColumn, 1, u("Praha hl. n."), K::KmColumn, 1);
    EXPECT_EQ(editor.cell(K::NameColumn, 1), u("Praha hl. n."));
    EXPECT_EQ(editor.currentColumn(), K::KmColumn);
    EXPECT_EQ(editor.currentRow(), 1);
}

TEST_F(StationEditorTest, ACommitWithoutAStepKeepsTheCursorButMaintainsTheRows)
{
    editor.fill();
    typeRow(editor, u("Praha"), u("   0"));
    editor.commitCell(K::NameColumn, 2, u("Kolín"));
    editor.commitCell(K::KmColumn, 2, u("  62"), K::KmColumn, 2, false);
    EXPECT_EQ(editor.rowCount(), 4); // the empty row behind the complete one
    EXPECT_EQ(editor.currentColumn(), K::KmColumn);
    EXPECT_EQ(editor.currentRow(), 2);
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
        typeRow(editor, QStringLiteral("S%1").arg(i), QString::number(i % 10000));
    EXPECT_EQ(editor.dataRowCount(), K::maxDataRows);
    EXPECT_EQ(editor.rowsToStore(), K::maxDataRows);
    editor.store(false);
    EXPECT_EQ(doc.stations.size(), static_cast<size_t>(Document::maxStations));
    EXPECT_EQ(doc.stationKm[1000], 1000);

    // Filling from a full document adds no row past the limit either.
    editor.fill();
    EXPECT_EQ(editor.dataRowCount(), K::maxDataRows);
}

// --- Kind boxes -------------------------------------------------------------

TEST_F(StationEditorTest, HradloWithZastavkaKeepsZastavkaAndDropsDopravna)
{
    editor.fill();
    editor.clickKind(K::Zastavka, true);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Zastavka}));
    editor.clickKind(K::Hradlo, true);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Hradlo, K::Zastavka}));
    editor.clickKind(K::Hradlo, false);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Zastavka}));
    const StationKind *k = doc.findKind(1);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->zastavka, 1);
    EXPECT_EQ(k->hradlo, 0);
    EXPECT_EQ(k->dopravna, 0);
}

TEST_F(StationEditorTest, DopravnaCannotBeClearedByClickingIt)
{
    editor.fill();
    editor.clickKind(K::Dopravna, false);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Dopravna}));
    EXPECT_EQ(doc.findKind(1)->dopravna, 1);
}

TEST_F(StationEditorTest, KilometrStandsAlone)
{
    editor.fill();
    editor.clickKind(K::Odbocka, true);
    editor.clickKind(K::Nakladiste, true);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Odbocka, K::Nakladiste}));
    editor.clickKind(K::Kilometr, true);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Kilometr}));
    editor.clickKind(K::Zastavka, true);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Zastavka}));
    editor.clickKind(K::Kilometr, true);
    editor.clickKind(K::Kilometr, false);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Dopravna}));
}

TEST_F(StationEditorTest, OnlyOneOfHradloHlaskaOdbocka)
{
    editor.fill();
    editor.clickKind(K::Hradlo, true);
    editor.clickKind(K::Hlaska, true);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Hlaska}));
    editor.clickKind(K::Odbocka, true);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Odbocka}));
    editor.clickKind(K::Odbocka, false);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Dopravna}));
}

TEST_F(StationEditorTest, UncheckingAHaltFallsBackToDopravnaOnlyWhenNothingElseIsLeft)
{
    editor.fill();
    editor.clickKind(K::Zastavka, true);
    editor.clickKind(K::Nakladiste, true);
    editor.clickKind(K::Zastavka, false);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Nakladiste}));
    editor.clickKind(K::Nakladiste, false);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Dopravna}));
}

// Whatever is clicked in whatever order, the boxes show one of the valid
// combinations and the row's record holds exactly what they show.
TEST_F(StationEditorTest, EveryClickSequenceEndsInAValidCombination)
{
    editor.fill();
    std::mt19937 random(1250);
    for (int i = 0; i < 5000; ++i) {
        const auto kind = static_cast<K::Kind>(random() % K::KindCount);
        editor.clickKind(kind, !editor.kindBoxes()[kind]);
        const K::KindBoxes b = editor.kindBoxes();
        const int exclusive = b[K::Hradlo] + b[K::Hlaska] + b[K::Odbocka];
        const int any = std::count(b.begin(), b.end(), true);
        const bool valid = (b[K::Dopravna] && any == 1) || (b[K::Kilometr] && any == 1)
                           || (!b[K::Dopravna] && !b[K::Kilometr] && exclusive <= 1 && any >= 1);
        ASSERT_TRUE(valid) << "after click " << i;
        const StationKind *k = doc.findKind(1);
        ASSERT_NE(k, nullptr);
        ASSERT_EQ(k->dopravna, b[K::Dopravna]);
        ASSERT_EQ(k->hradlo, b[K::Hradlo]);
        ASSERT_EQ(k->hlaska, b[K::Hlaska]);
        ASSERT_EQ(k->odbocka, b[K::Odbocka]);
        ASSERT_EQ(k->zastavka, b[K::Zastavka]);
        ASSERT_EQ(k->nakladiste, b[K::Nakladiste]);
        ASSERT_EQ(k->kilometr, b[K::Kilometr]);
    }
}

TEST_F(StationEditorTest, EveryVisitedRowOwnsItsKindAndARemovedRowLeavesItsRecord)
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
    ASSERT_NE(doc.findKind(2), nullptr);
    editor.commitCell(K::NameColumn, 1, u("A"), K::KmColumn, 1);
    ASSERT_EQ(editor.rowCount(), 3);
    editor.setCurrentCell(K::NameColumn, 2);
    EXPECT_EQ(editor.kindBoxes(), boxes({K::Hlaska}));
}

TEST_F(StationEditorTest, AClickOnARowWhoseRecordIsGoneAppendsOne)
{
    editor.fill();
    doc.stationKinds.clear();
    editor.clickKind(K::Zastavka, true);
    ASSERT_EQ(doc.stationKinds.size(), 1u);
    EXPECT_EQ(doc.stationKinds.back().stationIndex, 1);
    EXPECT_EQ(doc.stationKinds.back().zastavka, 1);
}

// --- Cancel and OK ----------------------------------------------------------

TEST_F(StationEditorTest, CancelRestoresTheKindsAndChangesNoStation)
{
    addStation(doc, "Praha", 0);
    addStation(doc, "Kolín", 62, [](StationKind &k) { k.odbocka = 1; });
    editor.fill();
    editor.commitCell(K::NameColumn, 1, u("Přejmenováno"));
    editor.clickKind(K::Zastavka, true);
    editor.setCurrentCell(K::NameColumn, 3);
    editor.clickKind(K::Kilometr, true);
    ASSERT_NE(doc.findKind(3), nullptr);

    editor.restoreKinds();
    EXPECT_EQ(doc.stationKinds.size(), 2u);
    EXPECT_EQ(doc.findKind(1)->dopravna, 1);
    EXPECT_EQ(doc.findKind(1)->zastavka, 0);
    EXPECT_EQ(doc.findKind(3), nullptr);
    ASSERT_EQ(doc.stations.size(), 2u);
    EXPECT_EQ(doc.stations[0].name, QByteArrayView("Praha"));
    EXPECT_EQ(doc.stations[0].kind, doc.findKind(1));
    EXPECT_EQ(doc.stations[1].kind, doc.findKind(2));
    EXPECT_EQ(doc.stations[1].kind->odbocka, 1);
}

TEST_F(StationEditorTest, OneIncompleteRowIsEmptyInput)
{
    Train t;
    t.name = "Os 1";
    t.firstStation = 1;
    doc.trains.push_back(t);
    addStation(doc, "Praha", 0);

    editor.fill();
    ASSERT_EQ(editor.rowCount(), 3);
    editor.commitCell(K::KmColumn, 1, QString(), K::KmColumn, 1);
    ASSERT_EQ(editor.rowCount(), 2) << "the empty row behind an incomplete one goes";
    EXPECT_EQ(editor.cell(K::NameColumn, 1), u("Praha"));
    EXPECT_TRUE(editor.isEmptyInput());
    editor.storeEmpty();
    EXPECT_TRUE(doc.noDocument);
    EXPECT_TRUE(doc.stations.empty());
    EXPECT_EQ(doc.maxKm, 0);
    EXPECT_EQ(doc.trains.size(), 1u);
}

TEST_F(StationEditorTest, ALoneRowWithABlankNameIsEmptyInputToo)
{
    editor.fill();
    editor.commitCell(K::NameColumn, 1, u("   "), K::NameColumn, 1);
    editor.commitCell(K::KmColumn, 1, u("  12"), K::KmColumn, 1);
    // The blank name is not empty, so a row is appended, and being blank
    // it leaves row 1 incomplete, so the new row goes again at once.
    ASSERT_EQ(editor.rowCount(), 2);
    EXPECT_EQ(editor.rowsToStore(), 0);
    EXPECT_TRUE(editor.isEmptyInput());
}

TEST_F(StationEditorTest, StoringTurnsRowsIntoStationsAsTyped)
{
    editor.fill();
    typeRow(editor, u("  Praha hl. n.  "), u("   0"));
    editor.clickKind(K::Zastavka, true); // row 2
    typeRow(editor, u("Úvaly"), u("  20"));
    typeRow(editor, QString(QChar(u'Ž')).repeated(60), u("  38"));
    typeRow(editor, u("Kolín"), u("  62"));
    ASSERT_EQ(editor.rowCount(), 6);
    // Row 2 loses its kilometre; rows in the middle are stored all the same.
    editor.commitCell(K::KmColumn, 2, u("    "), K::NameColumn, 5);
    ASSERT_EQ(editor.rowCount(), 6);
    ASSERT_EQ(editor.rowsToStore(), 4);

    doc.trains.push_back(Train{});
    editor.store(false);
    ASSERT_EQ(doc.stations.size(), 4u);
    EXPECT_EQ(doc.stations[0].name, QByteArrayView("Praha hl. n."));
    EXPECT_EQ(doc.stations[1].km, 0) << "a blank kilometre is stored as 0";
    EXPECT_EQ(doc.stations[1].kind->zastavka, 1);
    EXPECT_EQ(doc.stations[2].name.size(), 50);
    EXPECT_EQ(cp1250::toUnicode(doc.stations[2].name.view()), QString(QChar(u'Ž')).repeated(50));
    EXPECT_EQ(doc.stations[3].km, 62);
    EXPECT_EQ(doc.maxKm, 62);
    EXPECT_EQ(doc.stationKm[3], 38);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(doc.stations[static_cast<size_t>(i)].kind, doc.findKind(i + 1));
    EXPECT_FALSE(doc.noDocument);
    EXPECT_TRUE(doc.redrawNeeded);
    EXPECT_EQ(doc.trains.size(), 1u) << "trains stay when the user keeps them";
}

TEST_F(StationEditorTest, DeletingTrainsTakesLabelsAndProfilesToo)
{
    addStation(doc, "A", 1);
    doc.trains.push_back(Train{});
    doc.trainCount = 1;
    doc.newTrainLabel();
    doc.newTimeLabel();
    doc.profiles.countOf(1) = 3;
    doc.profiles.at(1, 1).name = "Os";
    editor.fill();
    editor.store(true);
    EXPECT_TRUE(doc.trains.empty());
    EXPECT_EQ(doc.trainCount, 0);
    EXPECT_TRUE(doc.trainLabels.empty());
    EXPECT_TRUE(doc.timeLabels.empty());
    EXPECT_EQ(doc.profiles.countOf(1), 0);
    EXPECT_TRUE(doc.profiles.at(1, 1).name.isEmpty());
    EXPECT_EQ(doc.stations.size(), 1u);
}

TEST_F(StationEditorTest, ARowNeverVisitedBecomesADopravna)
{
    addStation(doc, "A", 1);
    addStation(doc, "B", 2);
    addStation(doc, "C", 3);
    doc.clearStationKinds();
    editor.fill(); // visits rows 2 and 1 only
    ASSERT_EQ(doc.findKind(3), nullptr);
    editor.store(false);
    ASSERT_NE(doc.stations[2].kind, nullptr);
    EXPECT_EQ(doc.stations[2].kind->dopravna, 1);
    EXPECT_EQ(doc.stations[2].kind->stationIndex, 3);
}

TEST_F(StationEditorTest, FillThenStoreGivesTheSameStations)
{
    addStation(doc, "Praha", 0);
    addStation(doc, "Kolín", 62, [](StationKind &k) { k.hradlo = 1; });
    addStation(doc, "Pardubice", 104);
    editor.fill();
    editor.store(false);
    ASSERT_EQ(doc.stations.size(), 3u);
    EXPECT_EQ(cp1250::toUnicode(doc.stations[1].name.view()), u("Kolín"));
    EXPECT_EQ(doc.stations[2].km, 104);
    EXPECT_EQ(doc.stations[1].kind->hradlo, 1);
    EXPECT_EQ(doc.stationKinds.size(), 3u);
}

} // namespace
