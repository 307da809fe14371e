#pragma once

#include <QScrollBar>

// The main window's scroll bars (ScrollBar1, ScrollBar2). A click into the
// trough moves the bar by its large change, while the thumb keeps the size
// of a bar without a page: the program's bars have no page, and their
// maximum is the last position. Qt sizes the thumb by the page step, which
// is also the trough click's step; this bar keeps the step and draws and
// hit-tests the thumb as if there were no page.
class DiagramScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    DiagramScrollBar(Qt::Orientation orientation, int largeChange, QWidget *parent = nullptr);

protected:
    void initStyleOption(QStyleOptionSlider *option) const override;
};
