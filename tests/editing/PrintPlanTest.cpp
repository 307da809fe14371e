// The print-to-bitmap calculator: diagram and paper sizes, and the rules of
// its fields.
#include "editing/PrintPlan.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include "dialogs/Prompter.h"
#include "model/ClockTime.h"
#include "model/Document.h"
#include "render/Fonts.h"
#include "render/LabelText.h"
#include "render/Renderer.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using C = PrintPlan::Choice;
using T = PrintPlan::TimeRange;
using K = PrintPlan::KmRange;

// A (km 0), B (km 10), C (km 25), D (km 10). At 100 % one kilometre is 8
// pixels; texts are measured in the fonts the sheet draws them in.
class PrintPlanTest : public ::testing::Test
{
protected:
    Document doc;
    const QImage &surface = LabelText::measureSurface();
    const QFont diagramFont = Renderer::diagramFontOf(4);
    const int lineHeight = QFontMetrics(diagramFont, &surface).height();
    // The hour numbers and the 5 pixels under them.
    const int hours = 19 + QFontMetrics(SheetLayout::plan(doc, {}).hourFont, &surface).height() + 5;
    const int margin = 5 * QFontMetrics(diagramFont, &surface).horizontalAdvance(QStringLiteral("asaas")) + 13;

    void SetUp() override
    {
        for (auto [name, km] : {std::pair("A", 0), {"B", 10}, {"C", 25}, {"D", 10}})
            SampleLine::addStation(doc, name, km);
    }
    PrintPlan plan() const { return PrintPlan(doc); }
    // "Os 1" in the small label font, bold at 100 %.
    QSize labelSize() const
    {
        const QFontMetrics fm(
            Fonts::makeFont(doc.settings.trainFontSmallName, doc.settings.trainFontSmallSize, Fonts::Bold), &surface);
        return {fm.horizontalAdvance(QStringLiteral("Os 1")), fm.height()};
    }
};

} // namespace

TEST_F(PrintPlanTest, WidthInMillimetres)
{
    const std::tuple<C, int64_t> rows[] = {
        {C{}, 1338},                                         // (1440 * 4 + 40) * 3 / 13
        {C{.layers = 2, .overlap = 30}, 688},                // ((30 * 4 + 5760) / 2 + 40) * 3 / 13
        {C{.scale = 110}, 1338},                             // 110 / 25 is still 4 pixels a minute
        {C{1, 30, 100, T::Span, 6 * 60, 18 * 60}, 674},      // one layer takes no overlap
        {C{3, 15, 200, T::Span, 6 * 60, 18 * 60}, 480},      // (8 * 720 + 3 * 15 * 8) / 3 + 40
        {C{.layers = 30, .overlap = 60, .scale = 525}, 523}, // (29 * 60 * 21 + 1440 * 21) / 30 + 40 = 2266
    };
    for (const auto &[choice, millimetres] : rows)
        EXPECT_EQ(PrintPlan::millimetres(plan().widthPixels(choice)), millimetres)
            << choice.layers << " layers at " << choice.scale;
}

TEST_F(PrintPlanTest, HeightOfAStationOrKilometreRange)
{
    C c{.layers = 2, .kmRange = K::Stations, .fromStation = 0, .toStation = 2, .legend = false};
    EXPECT_EQ(plan().heightPixels(c), 2 * std::max(margin + 2 * 4 * 25, 20 + 2 * 4 * 25 + hours));
    c.kmRange = K::Kilometres;
    c.fromMetres = 15000; // either way round
    c.toMetres = 5000;
    EXPECT_EQ(plan().heightPixels(c), 2 * std::max(margin + 2 * 4 * 10, 20 + 2 * 4 * 10 + hours));
    // Station ranges rise (a level one too); -1: nothing chosen yet.
    EXPECT_EQ(std::tuple(plan().stationsInOrder(0, 2), plan().stationsInOrder(1, 3), plan().stationsInOrder(2, 1),
                         plan().stationsInOrder(-1, 0)),
              std::tuple(true, true, false, true));
}

TEST_F(PrintPlanTest, HeightOfTheWholeLineHasRoomAroundEachLayer)
{
    C c{.legend = false};
    EXPECT_EQ(plan().heightPixels(c), 20 + 2 * 4 * 25 + hours);

    // Four short names make one legend line, with 10 pixels above and below.
    c.legend = true;
    EXPECT_EQ(plan().heightPixels(c), 20 + 2 * 4 * 25 + hours + 10 + lineHeight + 10);

    // A label dragged 5 km above the top station in the first of two layers
    // (its room above takes the place of the top margin), one 5 km below the
    // bottom station in the second.
    c.legend = false;
    c.layers = 2;
    DocumentFixtures::addLabel(doc, "Os 1", 3 / 24.0, 30);
    DocumentFixtures::addLabel(doc, "Os 1", 20 / 24.0, -5);
    const QSize label = labelSize();
    const int above = 5 * 8 + label.height() / 2;
    const int below = 5 * 8 + label.height() - label.height() / 2;
    EXPECT_EQ(plan().heightPixels(c), (above + 200 + hours) + (20 + 200 + below + hours));
    // Standing on end it reaches further down.
    doc.trainLabels.front().angle = std::numbers::pi / 2;
    const double standing = 5 * 8 - label.height() / 2 + label.width();
    EXPECT_EQ(plan().heightPixels(c),
              (above + 200 + hours) + (20 + 200 + static_cast<int>(std::ceil(standing)) + hours));
}

TEST(PrintPlanFields, ResolutionPaperScaleAndTimes)
{
    for (auto [item, dpi] : {std::pair("75 X 75", 75), {"144 X 144", 144}, {"300 X 300", 300}})
        EXPECT_EQ(PrintPlan::resolutionOf(QString::fromLatin1(item)), dpi);

    // R / 25.6 pixels a millimetre, rounded.
    EXPECT_EQ(PrintPlan::paperMillimetres(Prompter::noPrinterPage, 300), QSize(212, 299));
    EXPECT_EQ(PrintPlan::paperMillimetres(Prompter::noPrinterPage, 75), QSize(847, 1197));

    for (auto [typed, left] : {std::pair(110, 100), {125, 125}, {524, 500}, {45, 50}, {600, 525}})
        EXPECT_EQ(PrintPlan::scaleOnLeaving(typed), left) << typed;

    for (auto [text, minute] : {std::pair("00:00", 0),
                                {"23:59", 1439},
                                {" 7:05", 425},
                                {"_7:05", 425},
                                {"24:00", -1},
                                {"12:60", -1},
                                {"  :  ", -1}})
        EXPECT_EQ(PrintPlan::minuteOfText(QString::fromLatin1(text)).value_or(-1), minute) << text;

    // "Od:" and "do:" as a range of the day: an empty one is one.
    for (auto [from, to, problem] :
         {std::tuple("06:00", "07:00", ""),
          {"07:00", "07:00", ""},
          {"07:00", "06:59", "Konec časového rozsahu (06:59) je dříve než jeho začátek (07:00)."},
          {"25:00", "07:00", "„25:00“ není platný čas."},
          {"00:00", "__:__", "„__:__“ není platný čas."}})
        EXPECT_EQ(PrintPlan::timeRangeProblem(QString::fromLatin1(from), QString::fromLatin1(to)),
                  QString::fromUtf8(problem))
            << from << "-" << to;
}
