// The compared document's trains on the diagram: at the current line's
// stations, behind the current trains, grey and dashed; the counterpart of
// a chosen difference emphasised.
#include "render/CompareOverlay.h"
#include "editing/HeadlessDiagram.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using Segment = std::tuple<int32_t, int32_t, int32_t, int32_t>;

struct Drawn
{
    std::vector<Segment> segments;
    std::vector<uint32_t> orders;
    std::vector<std::tuple<int32_t, uint8_t, uint8_t>> pens; // colour, width, style
};

// The recorded lines of one colour, in recorded order.
Drawn drawn(const DisplayList &list, std::vector<int32_t> colours)
{
    std::vector<LinePrimitive> lines;
    for (int32_t k = 1; k <= list.stripCount(); ++k)
        for (const LinePrimitive &l : list.ownLines(k))
            lines.push_back(l);
    for (const DisplayList::CrossingLine &c : list.crossingLines())
        lines.push_back(c.line);
    std::sort(lines.begin(), lines.end(), [](const auto &a, const auto &b) { return a.order < b.order; });
    Drawn d;
    for (const LinePrimitive &l : lines)
        if (std::find(colours.begin(), colours.end(), l.colour) != colours.end()) {
            d.segments.emplace_back(l.x0, l.y0, l.x1, l.y1);
            d.orders.push_back(l.order);
            d.pens.emplace_back(l.colour, l.width, l.style);
        }
    return d;
}

} // namespace

TEST(CompareOverlay, AComparedTrainIsDrawnWhereTheSameCurrentTrainIs)
{
    HeadlessDiagram h;
    for (const auto &[name, km] : {std::pair("A", 0), {"B", 5}, {"C", 10}})
        SampleLine::addStation(h.doc, name, km);
    DocumentFixtures::addTrain(h.doc, "Pn 1", {{1, 10, 0}, {2, 10, 5}, {3, 23, 58}});
    // The other line has its stations elsewhere, in another order, one of
    // them unknown here: its rows there are left out, and a train left with
    // one row is not drawn.
    auto compared = std::make_unique<Document>();
    for (const auto &[name, km] : {std::pair(" C ", 40), {"X", 7}, {"B", 30}, {"A", 0}})
        SampleLine::addStation(*compared, name, km);
    DocumentFixtures::addTrain(*compared, "Pn 1", {{4, 10, 0}, {2, 10, 3}, {3, 10, 5}, {1, 23, 58}});
    DocumentFixtures::addTrain(*compared, "Os 9", {{4, 11, 0}, {2, 11, 3}});
    h.diagram.setCompared(std::move(compared));
    h.diagram.render(RenderRequest::rebuildAll());

    const Drawn current = drawn(h.renderer.displayList(), {Colours::blue});
    const Drawn overlay = drawn(h.renderer.displayList(), {CompareOverlay::colour});
    ASSERT_EQ(current.segments.size(), 2u);
    EXPECT_EQ(overlay.segments, current.segments);
    EXPECT_LT(overlay.orders.back(), current.orders.front()); // behind
    using Pen = std::tuple<int32_t, uint8_t, uint8_t>;
    EXPECT_EQ(overlay.pens, std::vector<Pen>(2, Pen(CompareOverlay::colour, 1, LinePrimitive::Dash)));

    // The difference chosen: the current train green, its counterpart
    // darker and wider.
    h.diagram.showDifference(0, 0);
    h.diagram.render();
    EXPECT_EQ(drawn(h.renderer.displayList(), {Colours::green}).segments, current.segments);
    EXPECT_EQ(drawn(h.renderer.displayList(), {CompareOverlay::emphasisColour}).pens,
              std::vector<Pen>(2, Pen(CompareOverlay::emphasisColour, 2, LinePrimitive::Dash)));
}
