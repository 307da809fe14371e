#include "render/SheetTiles.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *what;
    QSizeF sheet, area;
    int rows, columns;
};

} // namespace

TEST(SheetTiles, PagesNeededAlongEachSide)
{
    // Neighbours share 10 mm: each page after the first adds its side less 10.
    const Case cases[] = {
        {"A0 on A4 portrait (190 x 271 mm of room)", {841, 1189}, {190, 271}, 5, 5}, // 10 + 5 * 180 >= 841
        {"A0 on A4 landscape", {841, 1189}, {277, 184}, 7, 4},
        {"smaller than the page", {150, 200}, {190, 271}, 1, 1},
        {"exactly the page", {190, 271}, {190, 271}, 1, 1},
        {"a hair wider", {190.5, 271}, {190, 271}, 1, 2},
        {"the whole day at 100 %", {1338, 240}, {190, 271}, 1, 8},
    };
    for (const Case &c : cases) {
        const SheetTiles::Plan p = SheetTiles::plan(c.sheet, c.area);
        EXPECT_EQ(std::tuple(p.rows, p.columns, p.tiles.size()),
                  std::tuple(c.rows, c.columns, size_t(c.rows * c.columns)))
            << c.what;
    }
    EXPECT_TRUE(SheetTiles::plan({841, 1189}, {10, 271}).tiles.empty()); // no room beyond the overlap
}

TEST(SheetTiles, PagesGoRowByRowAndOverlap)
{
    const SheetTiles::Plan p = SheetTiles::plan({841, 1189}, {190, 271});
    ASSERT_EQ(p.tiles.size(), 25u);
    const std::tuple<int, int, int, int, QRectF> rows[] = {
        {0, 1, 1, 1, {0, 0, 190, 271}},   {1, 2, 1, 2, {180, 0, 190, 271}},
        {4, 5, 1, 5, {720, 0, 121, 271}}, // the rest of the width
        {5, 6, 2, 1, {0, 261, 190, 271}}, {24, 25, 5, 5, {720, 1044, 121, 145}},
    };
    for (const auto &[index, number, row, column, source] : rows) {
        const SheetTiles::Tile &t = p.tiles[size_t(index)];
        EXPECT_EQ(std::tuple(t.number, t.row, t.column, t.source), std::tuple(number, row, column, source));
    }
    EXPECT_EQ(SheetTiles::pageName(QStringLiteral("Trať"), p.tiles[5], 25),
              QStringLiteral("Trať – list 6 z 25 (řádek 2, sloupec 1)"));
}
