#pragma once

#include "GuiKeys.h"
#include "dialogs/StringGrid.h"

#include <QListWidget>
#include <QtTest>

// Clicks as a person makes them in the editor's windows (header only, for
// the window tests).
namespace GuiClicks {

// On a button or box itself, not on the empty space right of its text.
inline void click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2));
}

inline void clickCell(StringGrid *grid, int column, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(column, row).center());
}

// A double click as the window system delivers it: a click, then the
// double click.
inline void clickItem(QListWidget *list, int index, bool twice = false)
{
    const QPoint at = list->visualItemRect(list->item(index)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace GuiClicks
