#include "editing/ProfileEditor.h"
#include "editing/HalfMinuteText.h"
#include "io/DocumentSnapshot.h"
#include "model/ClockTime.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using E = ProfileEditor;
constexpr int32_t noRun = TravelTimeProfile::noRunTime;
constexpr int32_t noDwell = TravelTimeProfile::noDwell;

// Four stations A, B, C, D at kilometres 0, 10, 20, 30.
class ProfileEditorTest : public ::testing::Test
{
protected:
    Document doc;
    ProfileEditor editor{doc};

    void SetUp() override
    {
        for (auto [name, km] : {std::pair{"A", 0}, {"B", 10}, {"C", 20}, {"D", 30}})
            SampleLine::addStation(doc, name, km);
        editor.fill();
    }

    TravelTimeProfile &profile(int direction, int number) { return doc.profiles.at(direction, number); }
};

TEST(HalfMinuteTextTest, ValuesTypedAndShown)
{
    using Case = std::tuple<const char *, int32_t, int32_t, const char *>; // stored: 99 before
    for (const auto &[typed, none, stored, shown] : {Case{"3+", noRun, 7, "3+"},
                                                     {" 5 ", noRun, 10, "5"},
                                                     {"+", noRun, 1, "0+"},
                                                     {"N/A", noRun, noRun, "N/A"},
                                                     {"n", noRun, noRun, "N/A"},
                                                     {"", noRun, noRun, "N/A"},
                                                     {"0", noDwell, 0, "0"},
                                                     {"n/a", noDwell, noDwell, "N/A"},
                                                     {"x3", noRun, 99, "49+"},
                                                     {"-2", noDwell, 99, "49+"},
                                                     {"3++", noRun, 99, "49+"}}) {
        int32_t value = 99;
        HalfMinuteText::parse(QString::fromUtf8(typed), none, value);
        EXPECT_EQ(value, stored) << typed;
        EXPECT_EQ(HalfMinuteText::format(value, none), QString::fromUtf8(shown)) << typed;
    }
}

TEST_F(ProfileEditorTest, ATypedValueIsStoredInTheShownProfileAndShownFormatted)
{
    editor.commitCell(E::RunTimeColumn, 3, QStringLiteral("3+"));
    EXPECT_EQ(std::tuple(profile(1, 1).runTimeAt(2), editor.cell(E::RunTimeColumn, 3), editor.cell(E::DwellColumn, 3)),
              std::tuple(7, QStringLiteral("3+"), QStringLiteral("N/A")));
    // The first station of the direction has no values and no mask.
    EXPECT_EQ(std::tuple(editor.cell(E::RunTimeColumn, 1), editor.editMask(E::RunTimeColumn, 1),
                         editor.editMask(E::DwellColumn, 2)),
              std::tuple(QString(), QString(), E::valueMask));
}

TEST_F(ProfileEditorTest, TheFreeSlotAppearsAndGoesWithTheLastProfileInUseUpToNinetyNine)
{
    EXPECT_EQ(editor.maximum(), 1);
    editor.commitCell(E::DwellColumn, 2, QStringLiteral("1"));
    EXPECT_EQ(editor.maximum(), 2);
    editor.commitCell(E::DwellColumn, 2, QStringLiteral("N"));
    EXPECT_EQ(editor.maximum(), 1);

    editor.setName(QStringLiteral("Osobní vlaky a ještě mnohem víc"));
    EXPECT_EQ(std::tuple(profile(1, 1).name.size(), editor.maximum()), std::tuple(E::maxNameLength, 2));
    editor.setName(QString());
    EXPECT_EQ(editor.maximum(), 1);

    // With all ninety-nine in use none is offered.
    doc.profiles.countOf(1) = 98;
    editor.fill();
    editor.setNumber(99);
    editor.commitCell(E::RunTimeColumn, 2, QStringLiteral("4"));
    EXPECT_EQ(std::pair(editor.count(), editor.maximum()), std::pair(99, 99));
    editor.setNumber(100);
    EXPECT_EQ(editor.number(), 99);

    EXPECT_EQ(editor.profileFromTrain(DocumentFixtures::train("", {{1, 8, 0}, {2, 8, 4}}), true, 0),
              E::FromTrain::NoFreeNumber);
    EXPECT_EQ(editor.count(), 99);
}

TEST_F(ProfileEditorTest, DirectionTwoListsTheStationsBackwardsAndShowsItsFirstProfile)
{
    profile(2, 1).runTimeAt(1) = 6; // the segment from D to C
    doc.profiles.countOf(2) = 1;
    editor.setNumber(1);
    editor.setDirection(2);
    EXPECT_EQ(std::pair(editor.number(), editor.maximum()), std::pair(1, 2));
    QStringList names;
    for (int row = 1; row < editor.rowCount(); ++row)
        names << editor.cell(E::NameColumn, row);
    EXPECT_EQ(names, (QStringList{"D", "C", "B", "A"}));
    EXPECT_EQ(editor.cell(E::RunTimeColumn, 2), QStringLiteral("3"));
}

TEST_F(ProfileEditorTest, CancelRestoresEveryProfileAndBothCountsOkKeepsThem)
{
    profile(1, 1).name = "Os";
    doc.profiles.countOf(1) = 1;
    const DocumentSnapshot before = DocumentSnapshot::take(doc);
    editor.fill();
    editor.setNumber(2);
    editor.commitCell(E::RunTimeColumn, 2, QStringLiteral("5"));
    editor.setDirection(2);
    editor.commitCell(E::DwellColumn, 3, QStringLiteral("2"));
    editor.setDirection(1);
    EXPECT_EQ(doc.profiles.countOf(2), 1);
    editor.restore();
    EXPECT_TRUE(DocumentSnapshot::take(doc).sameContent(before)) << "every profile, the counts too";

    // OK keeps every profile in use whatever number is shown.
    editor.fill();
    editor.setNumber(2);
    editor.commitCell(E::RunTimeColumn, 2, QStringLiteral("2"));
    editor.setNumber(1);
    editor.store();
    EXPECT_EQ(doc.profiles.countOf(1), 2);
}

TEST_F(ProfileEditorTest, TheCursorWalksThroughTheValuesAndNeverStaysOnTheFirstStation)
{
    // (column, row, the grid's cursor at the commit, the cursor expected after)
    using Step = std::tuple<int, int, int, int, int, int>;
    for (const auto &[column, row, cursorColumn, cursorRow, expectedColumn, expectedRow] :
         {Step{E::RunTimeColumn, 2, -1, -1, E::DwellColumn, 2},
          {E::DwellColumn, 2, E::DwellColumn, 2, E::RunTimeColumn, 3},
          {E::DwellColumn, 4, -1, -1, E::DwellColumn, 4}, // the last row
          {E::RunTimeColumn, 3, E::RunTimeColumn, 4, E::RunTimeColumn, 4}}) {
        editor.commitCell(column, row, QStringLiteral("1"), cursorColumn, cursorRow);
        EXPECT_EQ(std::pair(editor.cursorColumn(), editor.cursorRow()), std::pair(expectedColumn, expectedRow))
            << column << " " << row;
    }
    editor.setCursor(E::DwellColumn, 1);
    EXPECT_EQ(std::pair(editor.cursorColumn(), editor.cursorRow()), std::pair(int(E::DwellColumn), 2));
}

TEST_F(ProfileEditorTest, AProfileFromATrainTakesItsRunningAndDwellTimes)
{
    // 8:00 from A, through B, arriving at C at 8:24, leaving at 8:26: times
    // whose seconds come out a hair short of the whole second.
    const Train t = DocumentFixtures::train("", {{1, 8, 0}, {3, 8, 24}, {3, 8, 26}});
    for (auto [dwellsFromTrain, dwell] : {std::pair(true, 4), {false, 3}}) {
        doc.profiles = ProfileTable();
        editor.fill();
        ASSERT_EQ(editor.profileFromTrain(t, dwellsFromTrain, 3), E::FromTrain::Made);
        EXPECT_EQ(std::tuple(editor.direction(), editor.number(), editor.maximum()), std::tuple(1, 1, 2));
        const TravelTimeProfile &p = profile(1, 1);
        EXPECT_EQ(std::tuple(p.runTimeAt(1), p.runTimeAt(2), p.runTimeAt(3)), std::tuple(noRun, 48, noRun));
        EXPECT_EQ(std::tuple(p.dwellAt(1), p.dwellAt(2), p.dwellAt(3)), std::tuple(noDwell, dwell, noDwell));
    }
}

TEST_F(ProfileEditorTest, ATrainOfTheOtherDirectionGoesToThatDirectionsNextNumber)
{
    doc.profiles.countOf(2) = 1;
    // From D at 8:00 to B at 8:06 + half a minute, a short stop there,
    // then back up the line to C, where the walk ends.
    const Train t = DocumentFixtures::train("", {{4, 8, 0}, {2, 8, 6, 0, 1, 1}, {3, 8, 9}});
    ASSERT_EQ(editor.profileFromTrain(t, true, 0), E::FromTrain::Made);
    EXPECT_EQ(std::tuple(editor.direction(), editor.number(), editor.count(), doc.profiles.countOf(1)),
              std::tuple(2, 2, 2, 0));
    // C passed, B with the short stop, A never reached.
    const TravelTimeProfile &p = profile(2, 2);
    EXPECT_EQ(std::tuple(p.runTimeAt(1), p.runTimeAt(2), p.dwellAt(2), p.runTimeAt(3)),
              std::tuple(noRun, 13, 0, noRun));
}

TEST_F(ProfileEditorTest, AKilometrePointEndsTheWalkAndAnUndecidedTrainMakesNoProfile)
{
    const Train t = DocumentFixtures::train("", {{1, 8, 0}, {2, 8, 5}, {-990, 8, 7}, {3, 8, 10}});
    ASSERT_EQ(editor.profileFromTrain(t, true, 0), E::FromTrain::Made);
    EXPECT_EQ(std::pair(profile(1, 1).runTimeAt(1), profile(1, 1).runTimeAt(2)), std::pair(10, noRun));

    const int before = editor.count();
    for (const Train &undecided :
         {DocumentFixtures::train("", {{2, 8, 0}}), DocumentFixtures::train("", {{2, 8, 0}, {2, 8, 1}}),
          DocumentFixtures::train("", {{2, 8, 0}, {2, 8, 1}, {2, 8, 2}}),
          DocumentFixtures::train("", {{-995, 8, 0}, {2, 8, 1}})})
        EXPECT_EQ(editor.profileFromTrain(undecided, true, 0), E::FromTrain::NoDirection);
    EXPECT_EQ(editor.count(), before);
}

TEST_F(ProfileEditorTest, TheGridHoldsTheStationsAProfileCanDescribe)
{
    Document big;
    for (int i = 0; i < 130; ++i)
        SampleLine::addStation(big, "S", i);
    ProfileEditor e(big);
    e.fill();
    EXPECT_EQ(e.rowCount(), 1 + E::maxStations);
    e.setDirection(2);
    EXPECT_EQ(e.cell(E::NameColumn, 1), QStringLiteral("S"));
    // A train along the whole line fills the entries it can hold, no more.
    Train t;
    for (int j = 1; j <= 130; ++j)
        Document::addRow(t, j, makeTime(8 + j / 60, j % 60), 0, 0, 0);
    EXPECT_EQ(e.profileFromTrain(t, true, 0), E::FromTrain::Made);
    EXPECT_EQ(e.direction(), 1);
    EXPECT_NE(big.profiles.at(1, 1).runTimeAt(TravelTimeProfile::entries), noRun);
}

} // namespace
