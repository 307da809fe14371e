// What changed between two documents of one line: trains paired by name in
// list order, rows compared at the stations both lines have.
#include "editing/TimetableDiff.h"
#include "model/ClockTime.h"

#include "SampleLine.h"

#include <gtest/gtest.h>


namespace {

struct Call
{
    const char *station; // trimmed name
    int hours, minutes;
    int half = 0;
};
using Trains = std::vector<std::pair<const char *, std::vector<Call>>>;

void addTrains(Document &doc, const Trains &trains)
{
    for (const auto &[name, calls] : trains) {
        Train &t = doc.trains.emplace_back();
        t.name = name;
        for (const Call &c : calls)
            for (size_t i = 0; i < doc.stations.size(); ++i)
                if (doc.stations[i].name.view().trimmed() == QByteArrayView(c.station))
                    Document::addRow(t, static_cast<int32_t>(i + 1), makeTime(c.hours, c.minutes), 0,
                                     static_cast<uint8_t>(c.half), 0);
    }
}

struct Case
{
    const char *what;
    Trains current, compared;
    std::vector<QString> lines;
    std::vector<std::pair<int, int>> trains; // each row's (current, compared)
    QString summary;
};

const std::vector<Call> abc = {{"A", 10, 0}, {"B", 10, 5}, {"C", 10, 10}};

const Case cases[] = {
    {"the same rows", {{"Os 1", abc}}, {{"Os 1", abc}}, {}, {}, "Přidáno 0, zrušeno 0, změněno 0, beze změny 1"},
    {"a row shifted, a stop's departure, a half minute, across midnight",
     {{"Os 1", abc},
      {"Os 2", {{"A", 9, 0}, {"B", 9, 5}, {"B", 9, 6}}},
      {"Os 3", {{"A", 8, 0}, {"B", 8, 5}}},
      {"Os 4", {{"A", 23, 59}, {"B", 0, 4}}}},
     {{"Os 1", {{"A", 10, 0}, {"B", 10, 2}, {"C", 10, 10}}},
      {"Os 2", {{"A", 9, 0}, {"B", 9, 5}, {"B", 9, 8}}},
      {"Os 3", {{"A", 8, 0}, {"B", 8, 5, 1}}},
      {"Os 4", {{"A", 0, 1}, {"B", 0, 4}}}},
     {"Os 1\tzměněn\tB: +3 min", "Os 2\tzměněn\tB: -2 min", "Os 3\tzměněn\tB: -0,5 min", "Os 4\tzměněn\tA: -2 min"},
     {{0, 0}, {1, 1}, {2, 2}, {3, 3}},
     "Přidáno 0, zrušeno 0, změněno 4, beze změny 0"},
    {"another route",
     {{"Os 1", abc}, {"Os 2", {{"A", 10, 0}, {"C", 10, 9}}}},
     {{"Os 1", {{"A", 10, 0}, {"B", 10, 5}}}, {"Os 2", abc}},
     {"Os 1\tzměněn\tC: jiná trasa", "Os 2\tzměněn\tC: jiná trasa"},
     {{0, 0}, {1, 1}},
     "Přidáno 0, zrušeno 0, změněno 2, beze změny 0"},
    {"a train on one side only",
     {{"Os 1", abc}, {"Os 2", abc}},
     {{"Os 3", abc}, {"Os 1", abc}},
     {"Os 2\tpřidán", "Os 3\tzrušen"},
     {{1, -1}, {-1, 0}},
     "Přidáno 1, zrušeno 1, změněno 0, beze změny 1"},
    {"one name twice, paired in list order",
     {{"Os 5", abc}, {"Os 5", {{"A", 12, 0}, {"B", 12, 5}}}},
     {{"Os 5", {{"A", 12, 0}, {"B", 12, 5}}}},
     {"Os 5\tzměněn\tA: -120 min; 1. vlak toho jména, porovnán v pořadí seznamu",
      "Os 5\tpřidán\t2. vlak toho jména, porovnán v pořadí seznamu"},
     {{0, 0}, {1, -1}},
     "Přidáno 1, zrušeno 0, změněno 1, beze změny 0"},
    {"rows at stations one line lacks are left out",
     {{"Os 1", {{"A", 10, 0}, {"B", 10, 5}, {"D", 10, 20}}}},
     {{"Os 1", {{"A", 10, 0}, {"X", 10, 3}, {"B", 10, 5}}}},
     {},
     {},
     "Přidáno 0, zrušeno 0, změněno 0, beze změny 1"},
};

} // namespace

TEST(TimetableDiff, ListsWhatChanged)
{
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // The two lines list their stations in other orders and spellings:
        // the names match once the blanks at their ends are left out.
        Document current;
        for (const auto &[name, km] : {std::pair("A", 0), {"B", 5}, {"C", 10}, {"D", 15}})
            SampleLine::addStation(current, name, km);
        Document compared;
        for (const auto &[name, km] : {std::pair(" C ", 30), {"X", 7}, {"B", 20}, {"A", 0}})
            SampleLine::addStation(compared, name, km);
        addTrains(current, c.current);
        addTrains(compared, c.compared);

        const TimetableDiff::Result r = TimetableDiff::compare(current, compared);
        std::vector<QString> lines;
        std::vector<std::pair<int, int>> trains;
        for (const TimetableDiff::Row &row : r.rows) {
            lines.push_back(TimetableDiff::line(row));
            trains.emplace_back(row.current, row.compared);
        }
        EXPECT_EQ(std::tuple(lines, trains), std::tuple(c.lines, c.trains));
        EXPECT_EQ(TimetableDiff::summary(r), c.summary);
    }
}
