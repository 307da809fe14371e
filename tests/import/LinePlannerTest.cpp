#include "import/LinePlanner.h"
#include "import/CodebookPlacement.h"
#include "io/czptt/CzpttTimetable.h"
#include "io/czptt/Sr70Codebook.h"

#include "../io/czptt/CzpttTestData.h"
#include "DayBuilder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using DayBuilder::hm;

const QDate wednesday(2026, 3, 4);

// The kind flags as one text: D(opravna) Z(astávka) O(dbočka) N(ákladiště) H(radlo) L (hláska).
std::string flags(const StationKind &k)
{
    std::string s;
    s += k.dopravna ? "D" : "";
    s += k.zastavka ? "Z" : "";
    s += k.odbocka ? "O" : "";
    s += k.nakladiste ? "N" : "";
    s += k.hradlo ? "H" : "";
    s += k.hlaska ? "L" : "";
    return s;
}

using PlanRow = std::tuple<QString, int32_t, std::string, bool>; // name, metres, kinds, estimated

std::vector<PlanRow> rowsOf(const LinePlanner::LinePlan &plan)
{
    std::vector<PlanRow> rows;
    for (const LinePlanner::PlanStation &s : plan.stations)
        rows.emplace_back(s.name, s.metres, flags(s.kind), s.estimated);
    return rows;
}

class VsetinLine : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_year = new CzpttTimetable(CzpttTimetable::scan({CzpttTestData::lineDir()})); }
    static void TearDownTestSuite() { delete s_year; }
    static CzpttTimetable *s_year;
};

CzpttTimetable *VsetinLine::s_year = nullptr;

} // namespace

TEST_F(VsetinLine, StationsAndKilometresFromTheCodebook)
{
    DayTimetable day = s_year->day(wednesday);
    Sr70Codebook book;
    ASSERT_TRUE(book.readFile(CzpttTestData::sr70Path()).ok);
    book.describe(day);

    // 36 trains run between the two ends; Os 13254 runs on beyond Vsetín.
    const std::optional<LinePlanner::Ends> ends = LinePlanner::defaultEnds(day);
    ASSERT_TRUE(ends.has_value());
    EXPECT_EQ(DayBuilder::names(day, {ends->from, ends->to}), (std::vector<QString>{"Velké Karlovice", "Vsetín"}));
    EXPECT_EQ(ends->trains, 36);

    const int vsetin = LinePlanner::findPoint(day, QStringLiteral(" Vsetín "));
    const int karlovice = LinePlanner::findPoint(day, QStringLiteral("Velké Karlovice"));
    // Vsetín-Bečva, a timing point no train stops at, is left out.
    const std::vector<int> line = LinePlanner::pointsBetween(day, vsetin, karlovice);

    const CodebookPlacement::Placement placed = CodebookPlacement::place(book, day, line);
    EXPECT_EQ(std::tuple(placed.section, placed.onSection, placed.chained, placed.unplaced),
              std::tuple(QStringLiteral("2371"), 13, 1, 0));
    const LinePlanner::LinePlan plan = LinePlanner::plan(day, line);
    EXPECT_EQ(std::tuple(plan.estimated, plan.spacedByRunningTimes, plan.shiftMetres), std::tuple(0, false, 0));
    // Vsetín is chained on its main line (37.877 on 2362): it lies 2.865 km
    // from Ústí u Vsetína zastávka on the ground, below it.
    const std::vector<PlanRow> expected = {
        {"Vsetín", 500, "D", false},
        {"Ústí u Vsetína zastávka", 3365, "Z", false},
        {"Janová", 4609, "Z", false},
        {"Hovězí", 7562, "D", false},
        {"Huslenky", 9982, "Z", false},
        {"Huslenky zastávka", 12176, "Z", false},
        {"Halenkov zastávka", 14008, "Z", false},
        {"Halenkov", 15168, "D", false},
        {"Nový Hrozenkov zastávka", 17385, "Z", false},
        {"Nový Hrozenkov", 19501, "ZN", false},
        {"Karolinka zastávka", 21880, "Z", false},
        {"Karolinka", 22930, "ZN", false},
        {"Velké Karlovice zastávka", 26100, "Z", false},
        {"Velké Karlovice", 27348, "D", false},
    };
    EXPECT_EQ(rowsOf(plan), expected);
}

TEST_F(VsetinLine, WithoutCodebookTheFastestTrainSpacesTheLine)
{
    const DayTimetable day = s_year->day(wednesday);
    const std::vector<int> line =
        LinePlanner::pointsBetween(day, LinePlanner::findPoint(day, QStringLiteral("Vsetín")),
                                 LinePlanner::findPoint(day, QStringLiteral("Velké Karlovice")));
    const LinePlanner::LinePlan plan = LinePlanner::plan(day, line);
    EXPECT_TRUE(plan.spacedByRunningTimes);
    EXPECT_EQ(plan.estimated, 14);
    // The fastest train needs 3 minutes from Vsetín to Ústí u Vsetína
    // zastávka: three kilometres. Kinds are unknown: every point a halt.
    EXPECT_EQ(rowsOf(plan).front(), PlanRow("Vsetín", 0, "Z", true));
    EXPECT_EQ(rowsOf(plan)[1], PlanRow("Ústí u Vsetína zastávka", 3000, "Z", true));
    for (size_t i = 1; i < plan.stations.size(); ++i)
        EXPECT_GT(plan.stations[i].metres, plan.stations[i - 1].metres) << i;
}

TEST(LinePlanner, OrderJoinsTheTrainsPointsAndKeepsLinePoints)
{
    DayTimetable day;
    DayBuilder::addTrain(
        day, "Os 1", {{"A", -1, hm(6, 0)}, {"B", hm(6, 5), hm(6, 6)}, {"D", hm(6, 10), hm(6, 11)}, {"E", hm(6, 20)}});
    // The other way, calling at C between D and B, and passing the timing
    // point T without a stop.
    DayBuilder::addTrain(day, "Os 2",
                         {{"E", -1, hm(7, 0)},
                          {"D", hm(7, 8), hm(7, 9)},
                          {"T", hm(7, 10), hm(7, 10), false},
                          {"C", hm(7, 12), hm(7, 13)},
                          {"B", hm(7, 15), hm(7, 16)},
                          {"A", hm(7, 20)}});
    // X only this train calls at, after A.
    DayBuilder::addTrain(day, "Os 3", {{"A", -1, hm(8, 0)}, {"X", hm(8, 2), hm(8, 3)}, {"E", hm(8, 30)}});
    // A point passed by all but a junction by its kind.
    DayBuilder::addTrain(day, "Os 4", {{"A", -1, hm(9, 0)}, {"J", hm(9, 1), hm(9, 1), false}, {"B", hm(9, 4)}});
    day.points[static_cast<size_t>(DayBuilder::pointOf(day, "J"))].kind = DayPointKind::Junction;
    const int a = DayBuilder::pointOf(day, "A");
    const int e = DayBuilder::pointOf(day, "E");

    // Os 4 runs along the line from A to B: J goes in between them too.
    EXPECT_EQ(DayBuilder::names(day, LinePlanner::pointsBetween(day, a, e)),
              (std::vector<QString>{"A", "J", "X", "B", "C", "D", "E"}));
    EXPECT_EQ(DayBuilder::names(day, LinePlanner::pointsBetween(day, e, a)),
              (std::vector<QString>{"E", "D", "C", "B", "X", "J", "A"}));
    EXPECT_EQ(DayBuilder::names(day, LinePlanner::pointsBetween(day, a, DayBuilder::pointOf(day, "B"))),
              (std::vector<QString>{"A", "J", "B"}));
    EXPECT_TRUE(LinePlanner::pointsBetween(day, a, a).empty());

    // Three trains between A and E, more of them starting at A.
    const std::optional<LinePlanner::Ends> ends = LinePlanner::defaultEnds(day);
    ASSERT_TRUE(ends.has_value());
    EXPECT_EQ(std::tuple(ends->from, ends->to, ends->trains), std::tuple(a, e, 3));
    EXPECT_FALSE(LinePlanner::defaultEnds(DayTimetable{}).has_value());
}

// Expresses A - C - E both ways; locals serve B and D, which the expresses
// skip, turning at C; a train from the branch X joins at C; beyond E two
// trains run on to G, one (the longest) to H; one train calls at C twice
// and is not placed.
TEST(LinePlanner, EveryStopOfTheLineFromEveryTrainAlongIt)
{
    DayTimetable day;
    DayBuilder::addTrain(day, "R 1", {{"A", -1, hm(6, 0)}, {"C", hm(6, 10), hm(6, 11)}, {"E", hm(6, 20)}});
    DayBuilder::addTrain(day, "R 2", {{"E", -1, hm(7, 0)}, {"C", hm(7, 10), hm(7, 11)}, {"A", hm(7, 20)}});
    DayBuilder::addTrain(day, "R 3", {{"A", -1, hm(8, 0)}, {"C", hm(8, 10), hm(8, 11)}, {"E", hm(8, 20)}});
    DayBuilder::addTrain(day, "Os 1", {{"A", -1, hm(6, 0)}, {"B", hm(6, 6), hm(6, 7)}, {"C", hm(6, 14)}});
    DayBuilder::addTrain(day, "Os 2", {{"E", -1, hm(6, 30)}, {"D", hm(6, 36), hm(6, 37)}, {"C", hm(6, 44)}});
    DayBuilder::addTrain(day, "Os 3", {{"X", -1, hm(9, 0)}, {"C", hm(9, 10), hm(9, 11)}, {"E", hm(9, 20)}});
    DayBuilder::addTrain(day, "Os 5", {{"C", -1, hm(11, 0)}, {"E", hm(11, 9), hm(11, 10)}, {"G", hm(11, 20)}});
    DayBuilder::addTrain(day, "Os 6", {{"G", -1, hm(12, 0)}, {"E", hm(12, 9), hm(12, 10)}, {"C", hm(12, 20)}});
    DayBuilder::addTrain(day, "R 7",
                         {{"A", -1, hm(13, 0)}, {"C", hm(13, 9)}, {"E", hm(13, 15)}, {"H", hm(13, 20)}});
    DayBuilder::addTrain(day, "Sp 4",
                         {{"C", -1, hm(10, 0)}, {"D", hm(10, 5), hm(10, 6)}, {"C", hm(10, 12), hm(10, 13)}});
    const std::vector<QString> whole{"A", "B", "C", "D", "E"};
    const std::tuple<const char *, const char *, std::vector<QString>> cases[] = {
        {"A", "E", whole}, {"E", "A", {"E", "D", "C", "B", "A"}}, {"B", "E", {"B", "C", "D", "E"}}};
    for (const auto &[from, to, line] : cases) {
        const LinePlanner::LineChoice choice = LinePlanner::lineBetween(day, from, to);
        EXPECT_EQ(DayBuilder::names(day, choice.line), line) << from << to;
        EXPECT_EQ(choice.unplaced, QStringList{"Sp 4"});
    }
    // No ends named: the whole route, the branch most trains take, from
    // the end more trains start at.
    const std::optional<LinePlanner::Ends> ends = LinePlanner::routeEnds(day);
    ASSERT_TRUE(ends.has_value());
    EXPECT_EQ(DayBuilder::names(day, {ends->from, ends->to}), (std::vector<QString>{"A", "G"}));
}

TEST(LinePlanner, PlanFillsWhatTheSourceDidNotPlace)
{
    DayTimetable day;
    // Running times A-B 2 min, B-C 6 min, C-D 4 min, D-E 2 min (the fastest
    // of two trains).
    DayBuilder::addTrain(day, "Os 1",
                         {{"A", -1, hm(6, 0)},
                          {"B", hm(6, 2), hm(6, 3)},
                          {"C", hm(6, 9), hm(6, 10)},
                          {"D", hm(6, 14), hm(6, 15)},
                          {"E", hm(6, 17)}});
    DayBuilder::addTrain(day, "Os 2",
                         {{"E", -1, hm(7, 0)},
                          {"D", hm(7, 3), hm(7, 3)},
                          {"C", hm(7, 9), hm(7, 9)},
                          {"B", hm(7, 20), hm(7, 20)},
                          {"A", hm(7, 25)}});
    const std::vector<int> line = LinePlanner::pointsBetween(day, 0, DayBuilder::pointOf(day, "E"));
    const auto at = [&](const char *name) -> DayPoint & {
        return day.points[static_cast<size_t>(DayBuilder::pointOf(day, name))];
    };

    const std::tuple<std::vector<std::pair<const char *, int32_t>>, std::vector<int32_t>, int32_t> cases[] = {
        // B and D placed: C shares their 10 km by running time (6 : 4), A
        // and E go on at the same speed (1 km a minute, as it happens).
        {{{"B", 10000}, {"D", 20000}}, {8000, 10000, 16000, 20000, 22000}, 0},
        // Kilometres falling along the line.
        {{{"B", 20000}, {"D", 10000}}, {22000, 20000, 14000, 10000, 8000}, 0},
        // Only one point placed: a kilometre a minute, growing along the line;
        // A would lie below zero, so the whole line moves up.
        {{{"B", 1000}}, {0, 2000, 8000, 12000, 14000}, 1000},
    };
    for (const auto &[placed, expected, shift] : cases) {
        for (DayPoint &p : day.points)
            p.metres.reset();
        for (const auto &[name, m] : placed)
            at(name).metres = m;
        const LinePlanner::LinePlan plan = LinePlanner::plan(day, line);
        std::vector<int32_t> metres;
        for (const LinePlanner::PlanStation &s : plan.stations)
            metres.push_back(s.metres);
        EXPECT_EQ(metres, expected) << placed.size();
        EXPECT_EQ(std::tuple(plan.shiftMetres, plan.estimated, plan.spacedByRunningTimes),
                  std::tuple(shift, 5 - static_cast<int>(placed.size()), false));
    }
}

TEST(LinePlanner, KindsOfStations)
{
    const std::tuple<DayPointKind, bool, const char *> cases[] = {
        {DayPointKind::Station, true, "D"},       {DayPointKind::Station, false, "D"},
        {DayPointKind::Junction, false, "O"},     {DayPointKind::Junction, true, "ZO"},
        {DayPointKind::BlockPost, true, "ZH"},    {DayPointKind::SignalPost, false, "L"},
        {DayPointKind::FreightPoint, true, "ZN"}, {DayPointKind::Halt, false, "Z"},
        {DayPointKind::Unknown, true, "Z"},       {DayPointKind::TimingPoint, true, "Z"},
    };
    for (const auto &[kind, publicStop, shown] : cases)
        EXPECT_EQ(flags(LinePlanner::stationKindOf(kind, publicStop)), shown) << static_cast<int>(kind) << publicStop;
}

TEST(LinePlanner, LineBetweenEndsNamedByTheUser)
{
    DayTimetable day;
    day.day = wednesday;
    DayBuilder::addTrain(day, "Os 1", {{"A", -1, hm(6, 0)}, {"B", hm(6, 5), hm(6, 6)}, {"C", hm(6, 20)}});
    DayBuilder::addTrain(day, "Os 2", {{"D", -1, hm(7, 0)}, {"E", hm(7, 20)}});
    const std::tuple<const char *, const char *, std::vector<QString>, QString> cases[] = {
        {" C", "A ", {"C", "B", "A"}, ""},
        {"A", "Z", {}, "Stanice „Z“ v jízdním řádu dne 4. 3. 2026 není."},
        {"B ", " B", {}, "Počáteční a koncová stanice je táž: „B“."},
        {"A", "E", {}, "Mezi stanicemi „A“ a „E“ dne 4. 3. 2026 nejede žádný vlak."},
    };
    for (const auto &[from, to, line, error] : cases) {
        const LinePlanner::LineChoice choice = LinePlanner::lineBetween(day, from, to);
        EXPECT_EQ(std::tuple(DayBuilder::names(day, choice.line), choice.error), std::tuple(line, error)) << from << to;
    }
    DayTimetable empty;
    empty.day = wednesday;
    EXPECT_EQ(LinePlanner::lineBetween(empty, "A", "C").error, QStringLiteral("Dne 4. 3. 2026 nejede žádný vlak."));

    LinePlanner::LinePlan plan;
    EXPECT_TRUE(LinePlanner::estimatedText(plan).isEmpty());
    plan.estimated = 2;
    EXPECT_EQ(LinePlanner::estimatedText(plan),
              QStringLiteral("Polohu 2 stanic zdroj neurčil: jsou odhadnuty z jízdních dob nejrychlejšího vlaku."));
    plan.spacedByRunningTimes = true;
    EXPECT_TRUE(LinePlanner::estimatedText(plan).startsWith(QStringLiteral("Polohy stanic nejsou známy")));
}
