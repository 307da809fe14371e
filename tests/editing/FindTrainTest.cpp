#include "editing/FindTrain.h"

#include "model/Cp1250.h"
#include "model/Document.h"
#include "render/DiagramView.h"
#include "render/HeadlessWindow.h"
#include "render/Renderer.h"

#include "SampleLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void setTrains(Document &doc, const std::vector<const char *> &names)
{
    doc.trains.clear();
    for (const char *name : names) {
        Train t;
        t.name = cp1250::fromUnicode(QString::fromUtf8(name));
        doc.trains.push_back(t);
    }
}

} // namespace

TEST(FindTrain, TheFirstNameHoldingTheTextFromADigit)
{
    const struct
    {
        std::vector<const char *> trains;
        const char *typed;
        int found; // index in the list; -1 none
    } cases[] = {
        {{"R 812", "Os 1234"}, "1234", 1},
        {{"R 812", "Os 1234"}, "os 1234", -1}, // the category is never compared
        {{"Os 12345"}, "1234", 0},
        {{"Os 1234"}, "23", 0},
        {{"Os 1234"}, "12345", -1},
        {{"Služ", "Mn 5", "R 7"}, "", 1},
        {{"Sp 1234", "Os 1234", "Os 1234"}, "1234", 0},
        {{"Os 99", "Os 1234", "Os 1234"}, "1234", 1},
        // Letters after the digits, in either case, Czech ones included.
        {{"Vleč 7ř"}, "7Ř", 0},
        {{"Vleč 7ř"}, "7ř", 0},
        {{"Pn 4a"}, "4A", 0},
        {{"Pn 4á"}, "4a", -1},
    };
    Document doc;
    for (const auto &c : cases) {
        setTrains(doc, c.trains);
        const Train *t = FindTrain::first(doc, QString::fromUtf8(c.typed));
        EXPECT_EQ(t ? t - doc.trains.data() : -1, c.found) << c.typed;
    }
    EXPECT_EQ(FindTrain::notFoundMessage(QStringLiteral("os 1234")), QStringLiteral("Vlak os 1234 nebyl nalezen"));
}

TEST(FindTrain, AConfirmedSearchSetsTheHighlight)
{
    Document doc;
    DiagramView view;
    Renderer renderer(doc, view);
    setTrains(doc, {"Sp 1234", "Os 1234", "Sp 1234"});

    const RenderRequest greenChanges = RenderRequest::redraw(RenderRequest::Labels::none());
    const FindTrain::Outcome found = FindTrain::run(renderer, doc, QStringLiteral("1234"));
    EXPECT_EQ(std::tuple(found.found, renderer.highlightOn, renderer.foundName, found.render),
              std::tuple(true, true, QByteArray("Sp 1234"), greenChanges));

    // A search that finds nothing switches the highlight off; it asks for
    // the rebuild that keeps the minute texts only while a train is drawn
    // green, so that the render after its message takes the green away.
    for (bool drawn : {false, true}) {
        if (drawn) {
            SampleLine::fill(doc, {4, 20, 3, 4});
            renderer.highlightOn = true;
            renderer.foundName = doc.trains[1].name.toByteArray();
            HeadlessWindow window(QSize(600, 400));
            renderer.draw(window, RenderRequest::rebuildAll());
            ASSERT_TRUE(renderer.highlightRecorded());
        }
        const FindTrain::Outcome none = FindTrain::run(renderer, doc, QStringLiteral("no digit"));
        EXPECT_EQ(std::tuple(none.found, renderer.highlightOn, none.render),
                  std::tuple(false, false, drawn ? greenChanges : RenderRequest()));
    }
}
