// The track data inferred from a day: each rule on a small line, the line
// free of conflicts afterwards.
#include "conflicts/ConflictCheck.h"
#include "import/ImportTracks.h"

#include "model/Document.h"
#include "model/Tracks.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

using DocumentFixtures::Row;

// A (0 km), B (5 km, the kind given), C (10 km), A and C traffic points;
// each station as "section tracks/station tracks/section headway", 0 and
// -1 for what follows the line or the kind.
TEST(ImportTracks, TheLeastTheDayNeeds)
{
    using Trains = std::vector<std::pair<const char *, std::vector<Row>>>;
    const std::tuple<const char *, Trains, std::vector<std::string>, const char *, uint8_t StationKind::*> cases[] = {
        {"opposite trains cross between B and C",
         {{"Os 1", {{1, 10, 0}, {3, 10, 10}}}, {"Os 2", {{3, 10, 2}, {1, 10, 12}}}},
         {"0/-1/-1", "2/-1/-1", "0/-1/-1"},
         "1 dvoukolejných úseků",
         &StationKind::dopravna},
        {"R 2 overtakes Os 1 between A and B, then follows it a minute behind",
         {{"Os 1", {{1, 10, 0}, {3, 10, 20}}}, {"R 2", {{1, 10, 4}, {3, 10, 14}}}},
         {"3/-1/1", "0/-1/1", "0/-1/-1"},
         "1 úseků se 3 a více kolejemi, 2 úseků s kratším následným intervalem",
         &StationKind::dopravna},
        {"two trains follow two minutes apart",
         {{"Os 1", {{1, 10, 0}, {2, 10, 5}}}, {"Os 3", {{1, 10, 2}, {2, 10, 7}}}},
         {"0/-1/2", "0/-1/-1", "0/-1/-1"},
         "1 úseků s kratším následným intervalem",
         &StationKind::dopravna},
        {"two trains meet at a halt",
         {{"Os 1", {{1, 10, 0}, {2, 10, 5}, {2, 10, 7}, {3, 10, 12}}},
          {"Os 2", {{3, 10, 1}, {2, 10, 6}, {2, 10, 8}, {1, 10, 13}}}},
         {"0/-1/-1", "0/2/-1", "0/-1/-1"},
         "1 stanic s více dopravními kolejemi",
         &StationKind::zastavka},
        {"three trains at B at once",
         {{"Os 1", {{1, 10, 0}, {2, 10, 5}, {2, 10, 15}, {3, 10, 20}}},
          {"R 2", {{1, 10, 3}, {2, 10, 8}, {3, 10, 12}}},
          {"Os 3", {{3, 10, 0}, {2, 10, 8}, {1, 10, 20}}}},
         {"0/-1/-1", "0/3/-1", "0/-1/-1"},
         "1 stanic s více dopravními kolejemi",
         &StationKind::dopravna},
    };
    for (const auto &[what, trains, tracks, said, middle] : cases) {
        Document doc;
        SampleLine::addStation(doc, "A", 0);
        SampleLine::addStation(doc, "B", 5, middle);
        SampleLine::addStation(doc, "C", 10);
        for (const auto &[name, rows] : trains)
            DocumentFixtures::addTrain(doc, name, rows);
        const QString text = ImportTracks::infer(doc).text();
        std::vector<std::string> stations;
        for (const Station &s : doc.stations)
            stations.push_back(std::to_string(s.sectionTracks) + "/" + std::to_string(s.stationTracks) + "/"
                               + std::to_string(s.sectionHeadway));
        EXPECT_EQ(stations, tracks) << what;
        EXPECT_EQ(text.toStdString(), std::string("Z jízdního řádu odvozeno: ") + said + ".") << what;
        ConflictCheck check(doc);
        check.recompute();
        EXPECT_TRUE(check.conflicts().empty()) << what;
    }
}
