// The conflict check on the real day of the single-track branch Vsetín –
// Velké Karlovice, imported with the codebook's kinds, and the watch that
// keeps it in step with edits.
#include "../io/czptt/CzpttTestData.h"

#include "conflicts/ConflictText.h"
#include "conflicts/ConflictWatch.h"
#include "model/Document.h"

#include <gtest/gtest.h>

namespace {

class RealLineConflicts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QStringList notes;
        ASSERT_EQ(CzpttTestData::importVsetinDay(doc, &notes), QString());
        // Every meet is at a station with two tracks: the line stays single.
        EXPECT_EQ(notes.value(notes.size() - 1),
                  QStringLiteral("Z jízdního řádu odvozeno: jednokolejná trať, koleje stanic podle druhu."));
    }

    static int trainNamed(const Document &doc, const char *name)
    {
        for (size_t i = 0; i < doc.trains.size(); ++i) {
            if (doc.trains[i].name.view() == QByteArrayView(name))
                return static_cast<int>(i);
        }
        return -1;
    }

    static void later(Train &train, int minutes)
    {
        for (int k = 0; k < train.rowCount(); ++k) {
            TrainRow row = train.row(k);
            row.time += minutes / 1440.0;
            train.setRow(k, row);
        }
    }

    Document doc;
};

} // namespace

// The published day has no conflict: every meet is at a station with two
// tracks. Os 13262 ten minutes later meets Os 13263 on the open line above
// Halenkov, where they crossed at Halenkov before; the watch finds it by
// checking that one train alone, with the list a full check gives.
TEST_F(RealLineConflicts, ThePublishedDayIsFreeAndAMovedTrainMeetsOnTheOpenLine)
{
    ConflictWatch watch(doc);
    ASSERT_TRUE(watch.refresh());
    EXPECT_TRUE(watch.conflicts().empty()) << ConflictText::line(doc, watch.conflicts().front()).toStdString();
    EXPECT_EQ(std::pair(watch.fullChecks(), watch.trainChecks()), std::pair(1, 0));

    // A label moved or a scroll: nothing the check reads changed.
    doc.redrawNeeded = true;
    EXPECT_FALSE(watch.refresh());
    EXPECT_EQ(std::pair(watch.fullChecks(), watch.trainChecks()), std::pair(1, 0));

    const int moved = trainNamed(doc, "Os 13262");
    ASSERT_GE(moved, 0);
    later(doc.trains[static_cast<size_t>(moved)], 10);
    ASSERT_TRUE(watch.refresh());
    EXPECT_EQ(std::pair(watch.fullChecks(), watch.trainChecks()), std::pair(1, 1));
    std::vector<std::string> found;
    for (const Conflict &c : watch.conflicts())
        found.push_back(ConflictText::line(doc, c).toStdString());
    EXPECT_EQ(found, std::vector<std::string>{"10:23:30–10:24:30\tHalenkov – Nový Hrozenkov zastávka\tOs 13262\tOs "
                                              "13263\tkřižování na jednokolejné trati\tchyba"});
    ConflictCheck full(doc);
    full.recompute();
    EXPECT_EQ(full.conflicts(), watch.conflicts());

    // A station's tracks change what every train meets: a full check.
    doc.stations[7].stationTracks = 0;
    ASSERT_TRUE(watch.refresh());
    EXPECT_EQ(watch.fullChecks(), 2);
}
