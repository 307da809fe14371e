#include "render/Renderer.h"
#include "render/Colours.h"
#include "render/Fonts.h"
#include "render/HeadlessWindow.h"

#include "DocumentFixtures.h"
#include "Pixels.h"
#include "RecordingProgress.h"

#include "model/ClockTime.h"

#include <QFontMetrics>

#include <numeric>

#include "SampleLine.h"

#include <gtest/gtest.h>

namespace {

QColor colour(int32_t packed)
{
    return Colours::toQColor(packed);
}

// A 1000 x 600 paint box at z = 4, s = 2: diagram (x, y) shows at surface
// (40 + x - 5 hpos, y - 2 vpos).
class RendererTest : public ::testing::Test
{
protected:
    Document doc;
    DiagramView view;
    Renderer renderer{doc, view};
    HeadlessWindow window{QSize(1000, 600)};
    RenderOptions options;

    void draw(const RenderRequest &request = {}) { renderer.draw(window, request, options); }

    void SetUp() override
    {
        doc.noDocument = true;
        view.updateScale(doc.settings);
    }

    Station &addStation(int32_t km, uint8_t StationKind::*kind = &StationKind::zastavka, const char *name = "Stanice")
    {
        return SampleLine::addStation(doc, name, km, kind);
    }

    // Two stations at km 0 and 50: y = 20 + 8 (50 - d).
    void addLine()
    {
        addStation(0);
        addStation(50);
    }

    void rebuild(const RenderRequest &request = {})
    {
        doc.redrawNeeded = true;
        draw(request);
    }

    QColor pixel(int x, int y) const { return renderer.surface().pixelColor(x, y); }

    template <typename Is> int count(int x0, int y0, int x1, int y1, Is is) const
    {
        return Pixels::count(renderer.surface(), QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)), is);
    }

    // The lines of the display list from x = 0 to the end of the day at one height.
    std::vector<LinePrimitive> stationLines(int32_t y) const
    {
        std::vector<LinePrimitive> out;
        for (const LinePrimitive &p : renderer.displayList().linesInStrip(1))
            if (p.x0 == 0 && p.y0 == y && p.y1 == y && p.x1 == Geometry::fullWidth(view.scale) - 80)
                out.push_back(p);
        return out;
    }
};

} // namespace

TEST_F(RendererTest, EmptyAxisWithoutADocument)
{
    draw();
    EXPECT_EQ(std::tuple(renderer.stats().emptyAxes, window.surfaceChanges, renderer.hasPicture()),
              std::tuple(1, 1, false));
    EXPECT_EQ(window.scrollMaximum(Qt::Horizontal), (4 * 1440 + 80 - 1000) / 5);
    EXPECT_FALSE(window.scrollBarVisible(Qt::Vertical)); // 600 >= 10 z + 20
    // The olive axis at ya = 5 z + 20, a two-hour line 5 z high every 120 z pixels.
    EXPECT_EQ(std::tuple(pixel(500, 40), pixel(500, 37), pixel(40 + 240, 30), pixel(40 + 250, 30)),
              std::tuple(colour(Colours::olive), QColor(Qt::white), colour(Colours::olive), QColor(Qt::white)));
}

TEST_F(RendererTest, ARenderDuringARenderDoesNothing)
{
    addStation(0);
    const RenderGuard busy(renderer);
    draw();
    EXPECT_EQ(std::tuple(renderer.stats().renders, renderer.stats().dropped, window.surfaceChanges, doc.redrawNeeded),
              std::tuple(0, 1, 0, true));
}

TEST_F(RendererTest, TheFirstFullRenderRunsTwiceAndEveryFlagEndsWithTheRender)
{
    doc.noDocument = false;
    rebuild();
    EXPECT_EQ(std::pair(renderer.stats().passes, view.legendGap), std::pair(1, 0)) << "no stations: no legend";

    addLine();
    doc.labelImagesStale = true;
    rebuild(RenderRequest::redraw(RenderRequest::Labels::one(3)));
    // The second pass records nothing; the first leaves the picture to the second.
    EXPECT_EQ(std::tuple(renderer.stats().passes, renderer.stats().rebuilds, renderer.stats().replays, view.legendGap),
              std::tuple(3, 2, 2, 35));
    EXPECT_EQ(std::tuple(renderer.hasPicture(), renderer.request(), renderer.busy(), doc.labelImagesStale,
                         doc.redrawNeeded),
              std::tuple(true, RenderRequest(), false, false, false));
    rebuild();
    EXPECT_EQ(renderer.stats().passes, 4);
}

TEST_F(RendererTest, ScrollingReplaysAndAPaintOnlyCopies)
{
    addLine();
    DocumentFixtures::addTrain(doc, "Os 3", {{1, 10, 0}, {2, 10, 50}}).rusici = 1; // red, x 1200 .. 1300
    view.hpos = 200;                                                               // screen x = 40 + x - 1000
    rebuild();
    // Half way up the line is at y 220.
    EXPECT_EQ(pixel(40 + 1250 - 1000, 220), colour(Colours::red));
    EXPECT_EQ(pixel(40 + 1250 - 1000 + 6, 220), QColor(Qt::white));

    const int replays = renderer.stats().replays;
    view.hpos = 210;
    draw();
    EXPECT_EQ(std::pair(renderer.stats().replays, renderer.stats().rebuilds), std::pair(replays + 1, 1));
    EXPECT_EQ(pixel(40 + 1250 - 1050, 220), colour(Colours::red));
    EXPECT_NE(pixel(40 + 1250 - 1000, 220), colour(Colours::red));

    const QImage before = renderer.surface().copy();
    renderer.surface().fill(Qt::red); // as if the window had been covered
    draw(RenderRequest::paint());
    EXPECT_EQ(std::tuple(renderer.stats().replays, renderer.surface()), std::tuple(replays + 1, before));

    // After a resize the old picture would not fill the window: the paint
    // replays once.
    window.setPaintBoxSize(QSize(1200, 700));
    renderer.resizeDiagramBitmap(window.clientSize());
    draw(RenderRequest::paint());
    EXPECT_EQ(renderer.stats().replays, replays + 2);
    EXPECT_EQ(std::pair(renderer.surface().size(), renderer.diagramBitmap().size()),
              std::pair(QSize(1200, 700), window.clientSize()));
    EXPECT_EQ(pixel(40 + 1250 - 1050, 220), colour(Colours::red));
}

TEST_F(RendererTest, StationLinesByKind)
{
    const std::tuple<uint8_t StationKind::*, uint8_t, uint8_t> kinds[] = {
        {&StationKind::dopravna, LinePrimitive::Solid, 2},  {&StationKind::hradlo, LinePrimitive::Solid, 1},
        {&StationKind::hlaska, LinePrimitive::Solid, 1},    {&StationKind::odbocka, LinePrimitive::DashDot, 1},
        {&StationKind::nakladiste, LinePrimitive::Dash, 1}, {&StationKind::kilometr, LinePrimitive::Dash, 1},
        {&StationKind::zastavka, LinePrimitive::Dot, 1},
    };
    for (int i = 0; i < 7; ++i)
        addStation(10 * i, std::get<0>(kinds[i]));
    addStation(70, &StationKind::dopravna); // the top station
    rebuild();
    for (int i = 0; i < 7; ++i) {
        const std::vector<LinePrimitive> lines = stationLines(Geometry::yOfMetres(10000 * i, 4, 70000));
        ASSERT_EQ(lines.size(), 1u) << i;
        EXPECT_EQ(std::tuple(lines[0].style, lines[0].width, lines[0].colour),
                  std::tuple(std::get<1>(kinds[i]), std::get<2>(kinds[i]), Colours::olive))
            << i;
    }
    // The top station: a width-3 olive line with a thin black one on it.
    const std::vector<LinePrimitive> top = stationLines(20);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(std::tuple(top[0].width, top[0].colour, top[1].width, top[1].colour),
              std::tuple(3, Colours::olive, 1, Colours::black));
}

// A halt at 7.562 km between stations at 0 and 27.348 km: its line, its
// number and a train through it stand on the row Round(20 + 2 z (D - d)).
TEST_F(RendererTest, AStationToTheMetreAtThreeZooms)
{
    addStation(0, &StationKind::dopravna);
    addStation(7).metres = 7562;
    addStation(27, &StationKind::dopravna).metres = 27348;
    doc.rebuildStationTable();
    DocumentFixtures::addTrain(doc, "Os 1", {{1, 8, 0}, {3, 9, 0}});
    for (const auto &[zoom, row, bottom] : {std::tuple(2, 99, 129), {4, 178, 239}, {21, 851, 1169}}) {
        doc.settings.zoom = static_cast<uint8_t>(zoom);
        view.updateScale(doc.settings);
        rebuild();
        ASSERT_EQ(stationLines(row).size(), 1u) << zoom;
        EXPECT_EQ(stationLines(row)[0].style, LinePrimitive::Dot) << zoom;
        EXPECT_EQ(std::pair(stationLines(bottom).size(), stationLines(20).size()), std::pair(size_t(1), size_t(2)))
            << zoom;
        EXPECT_EQ(renderer.stationColumn().numbers().at(1).y, row) << zoom;
        // The train from 8:00 at the bottom to 9:00 at the top meets the
        // halt's row where the line's equation puts it.
        bool crossed = false;
        const double x = 480 * view.scale + (bottom - row) / double(bottom - 20) * 60 * view.scale;
        for (int strip = 0; strip < Geometry::stripCount(Geometry::cullWidth(view.scale)); ++strip)
            for (const LinePrimitive &p : renderer.displayList().linesInStrip(strip))
                crossed = crossed
                          || (p.colour != Colours::olive && std::min(p.y0, p.y1) < row && row < std::max(p.y0, p.y1)
                              && std::abs(p.x0 + (row - p.y0) * double(p.x1 - p.x0) / (p.y1 - p.y0) - x) < 1);
        EXPECT_TRUE(crossed) << zoom;
    }
}

TEST_F(RendererTest, CrowdedStationNumbersAlternate)
{
    doc.settings.zoom = 2;
    view.updateScale(doc.settings);
    for (int km : {0, 2, 4, 20})
        addStation(km);
    rebuild();
    const QFontMetrics fm(Renderer::diagramFontOf(2), &renderer.surface());
    const std::vector<StationColumn::Number> &n = renderer.stationColumn().numbers();
    ASSERT_EQ(n.size(), 4u);
    // Number 2, 8 pixels above number 1, steps left; the others stand at 35.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(n[i].x, (i == 1 ? 20 : 35) - fm.horizontalAdvance(QString::number(i + 1))) << i;
    EXPECT_EQ(std::pair(n[0].y, n[1].y), std::pair(20 + 4 * 20, 20 + 4 * 18));
    // The column on the surface: the left axis and a tick at each station.
    EXPECT_EQ(std::tuple(pixel(39, 50), pixel(37, n[3].y), pixel(37, n[3].y + 1)),
              std::tuple(colour(Colours::olive), colour(Colours::olive), QColor(Qt::white)));
}

TEST_F(RendererTest, GridPositionsAccumulateTheirRounding)
{
    doc.settings.ratioY = 3; // s = 4/3: ten minutes are 13.33 pixels
    view.updateScale(doc.settings);
    addLine();
    rebuild();
    std::vector<LinePrimitive> grid;
    for (int k = 1; k <= renderer.displayList().stripCount(); ++k)
        for (const LinePrimitive &p : renderer.displayList().linesInStrip(k))
            if (p.x0 == p.x1 && p.y0 == 20 && p.y1 == 420
                && std::none_of(grid.begin(), grid.end(), [&](auto &g) { return g.order == p.order; }))
                grid.push_back(p);
    ASSERT_EQ(grid.size(), 145u);
    int32_t x = 0;
    bool differs = false;
    for (size_t i = 0; i <= 144; ++i) {
        EXPECT_EQ(grid[i].x0, x) << i;
        differs |= x != Geometry::round(i * 10 * view.scale);
        x = Geometry::round(x + 10 * view.scale);
    }
    EXPECT_TRUE(differs) << "the accumulated positions are not Round(i 10 s)";
    EXPECT_EQ(std::tuple(grid[0].width, grid[36].width, grid[6].width, grid[1].width), std::tuple(3, 3, 2, 1));
    EXPECT_EQ(std::tuple(grid[3].style, grid[1].style), std::tuple(LinePrimitive::Dash, LinePrimitive::Solid));
}

TEST_F(RendererTest, HourNumbersLeftOfTheColumnAreNotWritten)
{
    addStation(0);
    addStation(20);
    rebuild();
    const int b = renderer.visibleBottom();
    const auto olive = [](QRgb p) { return QColor(p) == colour(Colours::olive); };
    EXPECT_GT(count(0, b + 19, 40, b + 40, olive), 0) << "\"0\" centred on x = 40";
    view.hpos = 1; // "0" would stand at 35
    draw();
    EXPECT_EQ(count(0, b + 19, 40, b + 40, olive), 0);
}

TEST_F(RendererTest, LegendFillsLinesGreedily)
{
    window.setPaintBoxSize(QSize(300, 600));
    for (const char *name :
         {"Liberec", "Jablonec nad Nisou", "Tanvald", "Velmi dlouhý název, který se nevejde na řádek", "Kořenov"})
        addStation(5 * static_cast<int32_t>(doc.stations.size()), &StationKind::zastavka, name);
    rebuild();
    const QFontMetrics fm(renderer.diagramFont(), &renderer.surface());
    const std::vector<QString> &lines = renderer.legendLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(std::accumulate(lines.begin(), lines.end(), QString()),
              QStringLiteral("1 - Liberec, 2 - Jablonec nad Nisou, 3 - Tanvald, 4 - Velmi dlouhý název, "
                             "který se nevejde na řádek, 5 - Kořenov"));
    const int limit = 300 - 60;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].endsWith(QStringLiteral(", ")), i + 1 < lines.size()) << "breaks between entries: " << i;
        const bool longEntry = lines[i].startsWith(QStringLiteral("4 - "));
        EXPECT_EQ(fm.horizontalAdvance(lines[i]) > limit, longEntry) << i;
        EXPECT_TRUE(!longEntry || lines[i].endsWith(QStringLiteral("řádek, "))) << "the long entry ends its own line";
    }
    // Each line took as much as fitted: the next entry would not have.
    const QString next = lines[1].left(lines[1].indexOf(QStringLiteral(", ")) + 2);
    EXPECT_GT(fm.horizontalAdvance(lines[0] + next), limit);
    // Drawn in olive from B + g + 5 at x = 40.
    const int top = renderer.visibleBottom() + view.legendGap + 5;
    EXPECT_GT(count(40, top, 200, top + fm.height(), [](QRgb p) { return QColor(p) == colour(Colours::olive); }), 20);
}

TEST_F(RendererTest, ScrollRangesOfADocument)
{
    for (int km = 0; km <= 300; km += 50)
        addStation(km);
    rebuild();
    const QFontMetrics fm(renderer.diagramFont(), &renderer.surface());
    const int64_t total = 2420 + 35 + fm.height() * static_cast<int64_t>(renderer.legendLines().size()) + 5;
    EXPECT_EQ(
        std::tuple(window.scrollBarVisible(Qt::Vertical), window.scrollMaximum(Qt::Vertical), renderer.visibleBottom()),
        std::tuple(true, int((total - 300) / 2), 600 - 35));

    // A position beyond a smaller range is pulled in with the bar.
    view.vpos = 100000;
    draw();
    EXPECT_EQ(std::pair(view.vpos, window.scrollValue(Qt::Vertical)),
              std::pair(window.scrollMaximum(Qt::Vertical), window.scrollMaximum(Qt::Vertical)));
}

TEST_F(RendererTest, AnAbsurdDocumentStaysBounded)
{
    addStation(-2000000000);
    addStation(2000000000);
    DocumentFixtures::addTrain(doc, "R 1", {{1, 10, 0}, {2, 10, 50}});
    doc.settings.zoom = 21;
    view.updateScale(doc.settings);
    rebuild();
    EXPECT_GT(window.scrollMaximum(Qt::Vertical), 0);
    EXPECT_EQ(renderer.surface().size(), QSize(1000, 600));
    view.vpos = window.scrollMaximum(Qt::Vertical);
    draw();
    EXPECT_FALSE(renderer.busy());
}

TEST_F(RendererTest, TheTimeLabelBoxHidesAndShowsRecordedLabels)
{
    addLine();
    TimeLabel &label = doc.newTimeLabel();
    label.text = "8";
    label.x = 100;
    label.distance = 25;
    label.halfMinute = 1;
    TimeLabel &beyond = doc.newTimeLabel();
    beyond.text = "1";
    beyond.x = 1000;
    options.timeLabels = true;
    rebuild();
    const DisplayList &list = renderer.displayList();
    EXPECT_EQ(list.textsInStrip(3).size(), 0u) << "beyond the window: recorded once it is asked for";
    renderer.recordWholeDiagram();
    EXPECT_EQ(list.textsInStrip(3).size(), 1u);
    ASSERT_EQ(list.textsInStrip(1).size(), 1u);
    const TextPrimitive &eight = list.textsInStrip(1)[0];
    EXPECT_EQ(std::tuple(list.fonts()[eight.font].style, eight.brushStyle),
              std::tuple(uint8_t(Fonts::Underline), uint8_t(TextPrimitive::ClearBrush)));
    // The label's box on the surface: x + 40, y = 20 + 8 * 25, right of the
    // 10-minute line at x = 140. Text may be smoothed: ink is any dark grey.
    const auto inkInBox = [&] { return count(141, 220, 152, 240, [](QRgb p) { return qGray(p) < 128; }); };
    EXPECT_GT(inkInBox(), 0);

    // Unchecking keeps the recorded texts and hides them; checking shows them.
    const auto toggle = [&](bool on) {
        options.timeLabels = on;
        doc.redrawNeeded = true;
        draw(RenderRequest::redraw(RenderRequest::Labels::all()));
    };
    toggle(false);
    EXPECT_EQ(std::pair(list.textCount(), inkInBox()), std::pair(size_t(2), 0));
    toggle(true);
    EXPECT_GT(inkInBox(), 0);

    // A rebuild while the box is unchecked records none, and checking the
    // box afterwards shows none until such a rebuild.
    options.timeLabels = false;
    rebuild();
    toggle(true);
    EXPECT_EQ(std::pair(list.textCount(), inkInBox()), std::pair(size_t(0), 0));
    rebuild();
    EXPECT_GT(inkInBox(), 0);
}

TEST_F(RendererTest, ProgressWindowDuringARebuild)
{
    RecordingProgress progress;
    window.setProgress(&progress);
    addLine();
    options.timeLabels = true;
    for (int i = 0; i < 45; ++i)
        doc.newTimeLabel().text = "1";
    rebuild();
    EXPECT_EQ(progress.starting("text"),
              (QStringList{"text: Měním velikost bitmapy ...", "text: Zakresluji vlaky...",
                           "text: Zakresluji časové popisky vlaků...", "text: Vytvářím popisky vlaků..."}));
    EXPECT_TRUE(progress.calls.contains(QStringLiteral("show")) && progress.calls.contains(QStringLiteral("max: 45")));
    EXPECT_EQ(progress.calls.back(), QStringLiteral("hide"));

    progress.calls.clear();
    draw();
    EXPECT_TRUE(progress.calls.isEmpty()) << "no rebuild: no progress window";
}
