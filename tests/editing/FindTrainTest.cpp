#include "editing/FindTrain.h"

#include "editing/HeadlessDiagram.h"
#include "model/Cp1250.h"
#include "model/Document.h"

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
    // found: index in the list; -1 none
    const std::tuple<std::vector<const char *>, const char *, int> cases[] = {
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
    for (const auto &[trains, typed, found] : cases) {
        setTrains(doc, trains);
        const Train *t = FindTrain::first(doc, QString::fromUtf8(typed));
        EXPECT_EQ(t ? t - doc.trains.data() : -1, found) << typed;
    }
    EXPECT_EQ(FindTrain::notFoundMessage(QStringLiteral("os 1234")), QStringLiteral("Vlak os 1234 nebyl nalezen"));
}

TEST(FindTrain, AConfirmedSearchDrawsTheTrainGreen)
{
    HeadlessDiagram h(QSize(600, 400));
    SampleLine::fill(h.doc, {4, 20, 3, 4});
    h.diagram.render(RenderRequest::rebuildAll());
    const QByteArray second = h.doc.trains[1].name.toByteArray();
    EXPECT_TRUE(FindTrain::run(h.diagram, QString::fromLatin1(second).section(u' ', 1)));
    EXPECT_EQ(std::tuple(h.diagram.highlighting().found, h.renderer.highlightRecorded(), h.diagram.lastRequest()),
              std::tuple(second, true, RenderRequest::redraw(RenderRequest::Labels::none())));
    // Nothing found changes nothing until the caller has said so.
    const int renders = h.renderer.stats().renders;
    EXPECT_FALSE(FindTrain::run(h.diagram, QStringLiteral("no digit")));
    EXPECT_EQ(std::pair(h.diagram.highlighting().on, h.renderer.stats().renders), std::pair(true, renders));
}
