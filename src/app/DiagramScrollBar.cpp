#include "DiagramScrollBar.h"

#include <QStyleOptionSlider>

DiagramScrollBar::DiagramScrollBar(Qt::Orientation orientation, int largeChange, QWidget *parent)
    : QScrollBar(orientation, parent)
{
    setSingleStep(1);
    setPageStep(largeChange);
}

void DiagramScrollBar::initStyleOption(QStyleOptionSlider *option) const
{
    QScrollBar::initStyleOption(option);
    option->pageStep = 0;
}
