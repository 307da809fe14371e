#include "render/Renderer.h"
#include "render/Colours.h"
#include "render/Fonts.h"
#include "render/HeadlessWindow.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

// The progress window as a list of what it was told.
class RecordingProgress : public ProgressSink
{
public:
    QStringList log;
    void setText(const QString &text) override { log << QStringLiteral("text ") + text; }
    void setGaugeVisible(bool visible) override
    {
        log << (visible ? QStringLiteral("gauge") : QStringLiteral("no gauge"));
    }
    void setMaximum(int maximum) override { log << QStringLiteral("max %1").arg(maximum); }
    void setProgress(int progress) override { log << QStringLiteral("progress %1").arg(progress); }
    void showNow() override { log << QStringLiteral("show"); }
    void repaintNow() override {}
    void hide() override { log << QStringLiteral("hide"); }
    QStringList texts() const { return log.filter(QStringLiteral("text ")); }
};

QColor colour(int32_t packed)
{
    return Colours::toQColor(packed);
}

class RendererTest : public ::testing::Test
{
protected:
    Document doc;
    DiagramView view;
    Renderer renderer{doc, view};
    HeadlessWindow window{QSize(1000, 600)};

    void SetUp() override
    {
        doc.noDocument = true;
        view.updateScale(doc.settings);
    }

    Station &addStation(int32_t km, void (*kind)(StationKind &) = nullptr, const char *name = "Stanice")
    {
        Station s;
        s.name = cp1250::fromUnicode(QString::fromUtf8(name));
        s.km = km;
        doc.stations.push_back(s);
        StationKind k;
        k.stationIndex = static_cast<int32_t>(doc.stations.size());
        k.zastavka = 1;
        if (kind) {
            k.zastavka = 0;
            kind(k);
        }
        doc.appendKind(k);
        doc.relinkStationKinds();
        doc.rebuildStationTable();
        doc.noDocument = false;
        return doc.stations.back();
    }

    Train &addTrain(const char *name, std::initializer_list<std::tuple<int32_t, int, int>> rows)
    {
        Train t;
        t.name = name;
        for (const auto &[station, h, m] : rows)
            Document::addRow(t, station, makeTime(h, m), 0, 0, 0);
        doc.trains.push_back(std::move(t));
        return doc.trains.back();
    }

    void rebuild()
    {
        doc.redrawNeeded = true;
        renderer.render(window);
    }

    QColor pixel(int x, int y) const { return renderer.surface().pixelColor(x, y); }

    // Station lines of the display list: the lines from x = 0 to the end of
    // the day at one height.
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
    renderer.render(window);
    EXPECT_EQ(renderer.stats.emptyAxes, 1);
    EXPECT_FALSE(window.bitmapExportEnabled);
    EXPECT_EQ(window.scrollMaximum(Qt::Horizontal), (4 * 1440 + 80 - 1000) / 5);
    EXPECT_FALSE(window.scrollBarVisible(Qt::Vertical)); // 600 >= 10 z + 20
    // The olive axis at ya = 5 z + 20, an hour tick every 60 z pixels.
    const int ya = 40;
    EXPECT_EQ(pixel(500, ya), colour(Colours::olive));
    EXPECT_EQ(pixel(500, ya - 3), QColor(Qt::white));
    EXPECT_EQ(pixel(40 + 240, ya - 10), colour(Colours::olive)); // a two-hour line, 5 z high
    EXPECT_EQ(pixel(40 + 250, ya - 10), QColor(Qt::white));
    EXPECT_EQ(window.surfaceChanges, 1);

    HeadlessWindow low(QSize(1000, 50));
    renderer.render(low);
    EXPECT_TRUE(low.scrollBarVisible(Qt::Vertical));
    EXPECT_EQ(low.scrollMaximum(Qt::Vertical), 60 / 2 - 1);
}

TEST_F(RendererTest, ARenderDuringARenderDoesNothing)
{
    addStation(0);
    renderer.renderInProgress = true;
    renderer.render(window);
    EXPECT_EQ(renderer.stats.renders, 0);
    EXPECT_EQ(renderer.stats.dropped, 1);
    EXPECT_EQ(window.surfaceChanges, 0);
    EXPECT_TRUE(doc.redrawNeeded);
    EXPECT_TRUE(renderer.renderInProgress);
}

TEST_F(RendererTest, TheFirstFullRenderRunsTwice)
{
    addStation(0);
    addStation(50);
    rebuild();
    EXPECT_EQ(renderer.stats.passes, 2);
    EXPECT_EQ(renderer.stats.rebuilds, 1); // the second pass records nothing
    EXPECT_EQ(view.legendGap, 35);
    EXPECT_TRUE(window.bitmapExportEnabled);
    rebuild();
    EXPECT_EQ(renderer.stats.passes, 3);
    EXPECT_EQ(renderer.stats.rebuilds, 2);
}

TEST_F(RendererTest, ADocumentWithoutStationsKeepsTheGap)
{
    doc.noDocument = false;
    rebuild();
    EXPECT_EQ(renderer.stats.passes, 1);
    EXPECT_EQ(view.legendGap, 0);
}

TEST_F(RendererTest, FlagsEndWithTheRender)
{
    addStation(0);
    doc.labelImagesStale = true;
    renderer.keepTimeText = true;
    renderer.labelSelector = 3;
    renderer.dragLabelNumber = 7;
    rebuild();
    EXPECT_FALSE(renderer.keepTimeText);
    EXPECT_FALSE(renderer.paintOnly);
    EXPECT_FALSE(renderer.renderInProgress);
    EXPECT_EQ(renderer.labelSelector, 0);
    EXPECT_EQ(renderer.dragLabelNumber, -1);
    EXPECT_FALSE(doc.labelImagesStale);
    EXPECT_FALSE(doc.redrawNeeded);
}

TEST_F(RendererTest, ATrainLineInItsColourAtAComputedPoint)
{
    addStation(0);
    addStation(50);
    addTrain("R 1", {{1, 10, 0}, {2, 10, 50}});  // black, x 1200 .. 1300
    addTrain("Pn 2", {{1, 11, 0}, {2, 11, 50}}); // blue
    Train &red = addTrain("Os 3", {{1, 12, 0}, {2, 12, 50}});
    red.rusici = 1;
    view.hpos = 200; // screen x = 40 + x - 1000
    rebuild();
    // z = 4, D = 50: y = 20 + 8 (50 - d); half way the line is at y 220.
    EXPECT_EQ(pixel(40 + 1250 - 1000, 220), colour(Colours::black));
    EXPECT_EQ(pixel(40 + 1370 - 1000, 220), colour(Colours::blue));
    EXPECT_EQ(pixel(40 + 1490 - 1000, 220), colour(Colours::red));
    EXPECT_EQ(pixel(40 + 1250 - 1000 + 6, 220), QColor(Qt::white));

    // The find command's highlight turns exactly the found train green.
    renderer.highlightOn = true;
    renderer.foundName = "Pn 2";
    rebuild();
    EXPECT_EQ(pixel(40 + 1370 - 1000, 220), colour(Colours::green));
    EXPECT_EQ(pixel(40 + 1250 - 1000, 220), colour(Colours::black));
}

TEST_F(RendererTest, ScrollingMovesThePicture)
{
    addStation(0);
    addStation(50);
    addTrain("R 1", {{1, 10, 0}, {2, 10, 50}});
    view.hpos = 200;
    rebuild();
    const int replays = renderer.stats.replays;
    view.hpos = 210;
    renderer.render(window);
    EXPECT_EQ(renderer.stats.replays, replays + 1);
    EXPECT_EQ(renderer.stats.rebuilds, 1);
    EXPECT_EQ(pixel(40 + 1250 - 1050, 220), colour(Colours::black));
    EXPECT_NE(pixel(40 + 1250 - 1000, 220), colour(Colours::black));
}

TEST_F(RendererTest, StationLinesByKind)
{
    addStation(0, [](StationKind &k) { k.dopravna = 1; });
    addStation(10, [](StationKind &k) { k.hradlo = 1; });
    addStation(20, [](StationKind &k) { k.hlaska = 1; });
    addStation(30, [](StationKind &k) { k.odbocka = 1; });
    addStation(40, [](StationKind &k) { k.nakladiste = 1; });
    addStation(50, [](StationKind &k) { k.kilometr = 1; });
    addStation(60, [](StationKind &k) { k.zastavka = 1; });
    addStation(70, [](StationKind &k) { k.dopravna = 1; }); // the top station
    rebuild();
    struct Expect
    {
        int32_t km;
        uint8_t style;
        uint8_t width;
    };
    for (const Expect &e :
         {Expect{0, LinePrimitive::Solid, 2}, Expect{10, LinePrimitive::Solid, 1}, Expect{20, LinePrimitive::Solid, 1},
          Expect{30, LinePrimitive::DashDot, 1}, Expect{40, LinePrimitive::Dash, 1}, Expect{50, LinePrimitive::Dash, 1},
          Expect{60, LinePrimitive::Dot, 1}}) {
        const std::vector<LinePrimitive> lines = stationLines(Geometry::y(e.km, 4, 70));
        ASSERT_EQ(lines.size(), 1u) << e.km;
        EXPECT_EQ(lines[0].style, e.style) << e.km;
        EXPECT_EQ(lines[0].width, e.width) << e.km;
        EXPECT_EQ(lines[0].colour, Colours::olive) << e.km;
    }
    // The top station: a width-3 olive line with a thin black one on it.
    const std::vector<LinePrimitive> top = stationLines(20);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].width, 3);
    EXPECT_EQ(top[0].colour, Colours::olive);
    EXPECT_EQ(top[1].width, 1);
    EXPECT_EQ(top[1].colour, Colours::black);
    EXPECT_EQ(pixel(300, 20), colour(Colours::black));
    EXPECT_EQ(pixel(300, 19), colour(Colours::olive));
    EXPECT_EQ(pixel(300, 21), colour(Colours::olive));
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
    EXPECT_EQ(n[0].x, 35 - fm.horizontalAdvance(QStringLiteral("1")));
    EXPECT_EQ(n[1].x, 20 - fm.horizontalAdvance(QStringLiteral("2"))); // 8 pixels above number 1
    EXPECT_EQ(n[2].x, 35 - fm.horizontalAdvance(QStringLiteral("3")));
    EXPECT_EQ(n[3].x, 35 - fm.horizontalAdvance(QStringLiteral("4")));
    EXPECT_EQ(n[0].y, 20 + 4 * 20);
    EXPECT_EQ(n[1].y, 20 + 4 * 18);
    // The column on the surface: the left axis and a tick at each station.
    EXPECT_EQ(pixel(39, 50), colour(Colours::olive));
    EXPECT_EQ(pixel(37, n[3].y), colour(Colours::olive));
    EXPECT_EQ(pixel(37, n[3].y + 1), QColor(Qt::white));
}

TEST_F(RendererTest, GridPositionsAccumulateTheirRounding)
{
    doc.settings.ratioY = 3; // s = 4/3: ten minutes are 13.33 pixels
    view.updateScale(doc.settings);
    addStation(0);
    addStation(50);
    rebuild();
    std::vector<std::pair<int32_t, LinePrimitive>> grid;
    for (int k = 1; k <= renderer.displayList().stripCount(); ++k)
        for (const LinePrimitive &p : renderer.displayList().linesInStrip(k))
            if (p.x0 == p.x1 && p.y0 == 20 && p.y1 == 420
                && std::none_of(grid.begin(), grid.end(), [&](auto &g) { return g.second.order == p.order; }))
                grid.emplace_back(p.x0, p);
    ASSERT_EQ(grid.size(), 145u);
    int32_t x = 0;
    bool differs = false;
    for (int i = 0; i <= 144; ++i) {
        EXPECT_EQ(grid[static_cast<size_t>(i)].first, x) << i;
        differs |= x != Geometry::round(i * 10 * view.scale);
        x = Geometry::round(x + 10 * view.scale);
    }
    EXPECT_TRUE(differs); // the accumulated positions are not Round(i 10 s)
    EXPECT_EQ(grid[0].second.width, 3);
    EXPECT_EQ(grid[36].second.width, 3);
    EXPECT_EQ(grid[6].second.width, 2);
    EXPECT_EQ(grid[3].second.style, LinePrimitive::Dash);
    EXPECT_EQ(grid[1].second.width, 1);
    EXPECT_EQ(grid[1].second.style, LinePrimitive::Solid);
}

TEST_F(RendererTest, HourNumbersLeftOfTheColumnAreNotWritten)
{
    addStation(0);
    addStation(20);
    rebuild();
    const int b = renderer.visibleBottom();
    EXPECT_EQ(b, 20 + 8 * 20);
    auto oliveLeftOfAxis = [&] {
        int n = 0;
        for (int y = b + 19; y < b + 40; ++y)
            for (int x = 0; x < 40; ++x)
                n += pixel(x, y) == colour(Colours::olive);
        return n;
    };
    EXPECT_GT(oliveLeftOfAxis(), 0); // "0" centred on x = 40
    view.hpos = 1;                   // "0" would stand at 35
    renderer.render(window);
    EXPECT_EQ(oliveLeftOfAxis(), 0);
}

TEST_F(RendererTest, LegendFillsLinesGreedily)
{
    window.setPaintBoxSize(QSize(300, 600));
    addStation(0, nullptr, "Liberec");
    addStation(5, nullptr, "Jablonec nad Nisou");
    addStation(10, nullptr, "Tanvald");
    addStation(15, nullptr, "Velmi dlouhý název, který se nevejde na řádek");
    addStation(20, nullptr, "Kořenov");
    rebuild();
    const QFontMetrics fm(renderer.diagramFont(), &renderer.surface());
    const std::vector<QString> &lines = renderer.legendLines();
    ASSERT_GE(lines.size(), 3u);
    QString all;
    for (const QString &l : lines)
        all += l;
    EXPECT_EQ(all, QStringLiteral("1 - Liberec, 2 - Jablonec nad Nisou, 3 - Tanvald, 4 - Velmi dlouhý název, "
                                  "který se nevejde na řádek, 5 - Kořenov"));
    const int limit = 300 - 60;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i + 1 < lines.size()) {
            EXPECT_TRUE(lines[i].endsWith(QStringLiteral(", "))) << i;
        }
        if (!lines[i].startsWith(QStringLiteral("4 - "))) {
            EXPECT_LE(fm.horizontalAdvance(lines[i]), limit) << i;
        }
    }
    // The long entry ends its own line.
    const auto longLine =
        std::find_if(lines.begin(), lines.end(), [](const QString &l) { return l.startsWith("4 - "); });
    ASSERT_NE(longLine, lines.end());
    EXPECT_GT(fm.horizontalAdvance(*longLine), limit);
    EXPECT_TRUE(longLine->endsWith(QStringLiteral("řádek, ")));
    // Each line took as much as fitted: the next entry would not have.
    const QString next = lines[1].left(lines[1].indexOf(QStringLiteral(", ")) + 2);
    EXPECT_GT(fm.horizontalAdvance(lines[0] + next), limit);

    // Drawn in olive from B + g + 5 at x = 40.
    const int top = renderer.visibleBottom() + view.legendGap + 5;
    int olive = 0;
    for (int y = top; y < top + fm.height(); ++y)
        for (int x = 40; x < 200; ++x)
            olive += pixel(x, y) == colour(Colours::olive);
    EXPECT_GT(olive, 20);
}

TEST_F(RendererTest, ScrollRangesOfADocument)
{
    for (int km = 0; km <= 300; km += 50)
        addStation(km);
    rebuild();
    EXPECT_EQ(window.scrollMaximum(Qt::Horizontal), (2960 - 1000) / 5);
    const QFontMetrics fm(renderer.diagramFont(), &renderer.surface());
    const int64_t total = 2420 + 35 + fm.height() * static_cast<int64_t>(renderer.legendLines().size()) + 5;
    EXPECT_TRUE(window.scrollBarVisible(Qt::Vertical));
    EXPECT_EQ(window.scrollMaximum(Qt::Vertical), (total - 300) / 2);
    EXPECT_EQ(renderer.visibleBottom(), 600 - 35);

    // A position beyond a smaller range is pulled in with the bar.
    view.vpos = 100000;
    renderer.render(window);
    EXPECT_EQ(view.vpos, window.scrollMaximum(Qt::Vertical));
    EXPECT_EQ(window.scrollValue(Qt::Vertical), view.vpos);
}

TEST_F(RendererTest, MinuteLabelsAreRecordedInTheirFonts)
{
    addStation(0);
    addStation(50);
    window.setChecked(DiagramWindow::CheckBox::TimeLabels, true);
    TimeLabel &arrow = doc.newTimeLabel();
    arrow.text = "p";
    arrow.x = 300;
    arrow.distance = 30;
    TimeLabel &half = doc.newTimeLabel();
    half.text = "5+2";
    half.x = 200;
    half.distance = 10;
    half.halfMinute = 1;
    rebuild();
    const DisplayList &list = renderer.displayList();
    ASSERT_EQ(list.textCount(), 2u);
    const std::vector<TextPrimitive> &texts = list.textsInStrip(1);
    ASSERT_EQ(texts.size(), 2u);
    // List order: the newest label first.
    EXPECT_EQ(texts[0].text, QByteArray("5+2"));
    EXPECT_EQ(list.fonts()[texts[0].font].name, doc.settings.timeFontName);
    EXPECT_EQ(list.fonts()[texts[0].font].style, Fonts::Underline);
    EXPECT_EQ(texts[0].y, 20 + 8 * 50 - 8 * 10);
    EXPECT_EQ(texts[1].text, QByteArray("p"));
    EXPECT_EQ(list.fonts()[texts[1].font].name, QByteArray("WINGDINGS 3"));
    EXPECT_EQ(list.fonts()[texts[1].font].style, 0);
    EXPECT_EQ(texts[1].drawable, Fonts::drawableText("WINGDINGS 3", "p"));
    EXPECT_EQ(texts[1].fontColour, Colours::black);
    EXPECT_EQ(texts[1].brushStyle, TextPrimitive::ClearBrush);
    const QFontMetrics fm(Fonts::makeFont(doc.settings.timeFontName, doc.settings.timeFontSize, Fonts::Underline),
                          &renderer.diagramBitmap());
    EXPECT_EQ(texts[0].width, fm.horizontalAdvance(QStringLiteral("5+2")));
    EXPECT_EQ(texts[0].height, fm.height());
}

TEST_F(RendererTest, TheTimeLabelBoxHidesAndShowsRecordedLabels)
{
    addStation(0);
    addStation(50);
    TimeLabel &label = doc.newTimeLabel();
    label.text = "8";
    label.x = 100;
    label.distance = 25;
    window.setChecked(DiagramWindow::CheckBox::TimeLabels, true);
    rebuild();
    // The label's box on the surface: x + 40, y = 20 + 8 * 25. Text may be
    // smoothed: ink is any dark grey.
    auto inkInBox = [&] {
        int n = 0;
        for (int y = 220; y < 240; ++y)
            for (int x = 141; x < 152; ++x) // the 10-minute line runs at x = 140
                n += qGray(renderer.surface().pixel(x, y)) < 128;
        return n;
    };
    EXPECT_GT(inkInBox(), 0);

    // Unchecking keeps the recorded texts and hides them; checking shows them.
    auto toggle = [&](bool on) {
        window.setChecked(DiagramWindow::CheckBox::TimeLabels, on);
        doc.redrawNeeded = true;
        renderer.keepTimeText = true;
        renderer.labelSelector = -1;
        renderer.render(window);
    };
    toggle(false);
    EXPECT_EQ(renderer.displayList().textCount(), 1u);
    EXPECT_EQ(inkInBox(), 0);
    toggle(true);
    EXPECT_GT(inkInBox(), 0);

    // A rebuild that records while the box is unchecked records none, and
    // checking the box afterwards shows none until such a rebuild.
    window.setChecked(DiagramWindow::CheckBox::TimeLabels, false);
    rebuild();
    EXPECT_EQ(renderer.displayList().textCount(), 0u);
    toggle(true);
    EXPECT_EQ(inkInBox(), 0);
    rebuild();
    EXPECT_GT(inkInBox(), 0);
}

TEST_F(RendererTest, TheTrainLabelStepFollowsTheSelector)
{
    addStation(0);
    addStation(50);
    for (const char *text : {"Os 1", "Os 2", "Os 3"}) {
        TrainLabel &l = doc.newTrainLabel();
        l.text = text;
        l.time = makeTime(10, 0);
        l.level = 25;
        l.visible = 1;
    }
    rebuild();
    ASSERT_EQ(renderer.labelOutlines().size(), 3u);
    for (const TrainLabel &l : doc.trainLabels)
        EXPECT_TRUE(l.hasImage());

    // Selector 2: only the second label is placed and imaged again; the
    // others would be imaged if they were processed.
    for (TrainLabel &l : doc.trainLabels)
        l.dropImage();
    doc.trainLabels[1].time = makeTime(12, 0);
    renderer.labelSelector = 2;
    rebuild();
    EXPECT_FALSE(doc.trainLabels[0].hasImage());
    EXPECT_TRUE(doc.trainLabels[1].hasImage());
    EXPECT_FALSE(doc.trainLabels[2].hasImage());
    ASSERT_EQ(renderer.labelOutlines().size(), 3u); // its outline is reused
    const LabelOutline *second = findOutline(renderer.labelOutlines(), 2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->left, doc.trainLabels[1].x);
    EXPECT_GT(doc.trainLabels[1].x, doc.trainLabels[0].x);

    // Selector -1 processes none.
    renderer.labelSelector = -1;
    rebuild();
    EXPECT_FALSE(doc.trainLabels[0].hasImage());
    EXPECT_EQ(renderer.labelOutlines().size(), 3u);

    // Selector 0 on a rebuild starts the outlines anew and images the rest.
    rebuild();
    EXPECT_EQ(renderer.labelOutlines().size(), 3u);
    for (const TrainLabel &l : doc.trainLabels)
        EXPECT_TRUE(l.hasImage());

    // A render without a rebuild places nothing.
    doc.trainLabels[0].dropImage();
    renderer.render(window);
    EXPECT_FALSE(doc.trainLabels[0].hasImage());
}

TEST_F(RendererTest, LabelImagesAreComposedOnEveryReplay)
{
    addStation(0);
    addStation(100);
    TrainLabel &l = doc.newTrainLabel();
    l.text = "R 601";
    l.time = makeTime(3, 0);
    l.level = 50;
    l.visible = 1;
    view.hpos = 20;
    rebuild();
    ASSERT_TRUE(l.hasImage());
    // Diagram (x, y) shows at surface (40 + x - 5 hpos, y - 2 vpos).
    auto inkInLabel = [&] {
        int ink = 0;
        for (int y = l.y; y < l.y + l.height; ++y)
            for (int x = l.x; x < l.x + l.width; ++x)
                ink += (renderer.surface().pixel(40 + x - 100, y) & 0xFFFFFF) == 0; // the label is black
        return ink;
    };
    EXPECT_GT(inkInLabel(), 0);

    // Paint only copies what the last replay composed, without replaying.
    const int replays = renderer.stats.replays;
    renderer.paintOnly = true;
    renderer.render(window);
    EXPECT_EQ(renderer.stats.replays, replays);
    EXPECT_GT(inkInLabel(), 0);

    // Without its image the label is not drawn.
    l.dropImage();
    renderer.labelSelector = -1;
    rebuild();
    EXPECT_EQ(inkInLabel(), 0);
}

TEST_F(RendererTest, PaintOnlyCopiesWithoutReplaying)
{
    addStation(0);
    addStation(50);
    addTrain("R 1", {{1, 0, 10}, {2, 0, 50}});
    rebuild();
    const QImage before = renderer.surface().copy();
    const int replays = renderer.stats.replays;
    renderer.surface().fill(Qt::red); // as if the window had been covered
    renderer.paintOnly = true;
    renderer.render(window);
    EXPECT_EQ(renderer.stats.replays, replays);
    EXPECT_EQ(renderer.surface(), before);

    // After a resize the old picture would not fill the window: the paint
    // replays once.
    window.setPaintBoxSize(QSize(1200, 700));
    renderer.resizeDiagramBitmap(window.clientSize());
    renderer.paintOnly = true;
    renderer.render(window);
    EXPECT_EQ(renderer.stats.replays, replays + 1);
    EXPECT_EQ(renderer.surface().size(), QSize(1200, 700));
    EXPECT_EQ(renderer.diagramBitmap().size(), window.clientSize());
    EXPECT_EQ(pixel(40 + 60, 20 + 8 * 25), colour(Colours::black)); // the train, half way
}

TEST_F(RendererTest, ProgressWindowDuringARebuild)
{
    RecordingProgress progress;
    window.setProgress(&progress);
    addStation(0);
    addStation(50);
    window.setChecked(DiagramWindow::CheckBox::TimeLabels, true);
    for (int i = 0; i < 45; ++i)
        doc.newTimeLabel().text = "1";
    rebuild();
    EXPECT_EQ(progress.texts(),
              (QStringList{"text Měním velikost bitmapy ...", "text Zakresluji vlaky...",
                           "text Zakresluji časové popisky vlaků...", "text Vytvářím popisky vlaků..."}));
    EXPECT_TRUE(progress.log.contains(QStringLiteral("show")));
    EXPECT_TRUE(progress.log.contains(QStringLiteral("max 45")));
    EXPECT_TRUE(progress.log.contains(QStringLiteral("progress 40")));
    EXPECT_EQ(progress.log.back(), QStringLiteral("hide"));

    progress.log.clear();
    renderer.render(window); // no rebuild: no progress window
    EXPECT_TRUE(progress.log.isEmpty());

    // Kept minute texts are not recorded again.
    doc.redrawNeeded = true;
    renderer.keepTimeText = true;
    renderer.render(window);
    EXPECT_FALSE(progress.texts().contains(QStringLiteral("text Zakresluji časové popisky vlaků...")));
}

TEST_F(RendererTest, AnAbsurdDocumentStaysBounded)
{
    // Kilometres a damaged file might carry: the diagram is enormous, but
    // every size stays a number and nothing huge is allocated.
    addStation(-2000000000);
    addStation(2000000000);
    addTrain("R 1", {{1, 10, 0}, {2, 10, 50}});
    doc.settings.zoom = 21;
    view.updateScale(doc.settings);
    rebuild();
    EXPECT_TRUE(window.scrollBarVisible(Qt::Vertical));
    EXPECT_GT(window.scrollMaximum(Qt::Vertical), 0);
    EXPECT_EQ(renderer.surface().size(), QSize(1000, 600));
    view.vpos = window.scrollMaximum(Qt::Vertical);
    renderer.render(window);
    EXPECT_FALSE(renderer.renderInProgress);
}
