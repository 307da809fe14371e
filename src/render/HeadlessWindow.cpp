#include "HeadlessWindow.h"

#include <algorithm>

HeadlessWindow::HeadlessWindow(QSize paintBox) : m_paintBox(paintBox)
{
    m_bars[0].maximum = 1160; // what TForm1 starts with
}

QSize HeadlessWindow::clientSize() const
{
    return QSize(m_paintBox.width() + 17, m_paintBox.height() + 16 + panelHeight);
}

void HeadlessWindow::setScrollValue(Qt::Orientation o, int value)
{
    Bar &b = bar(o);
    b.value = std::clamp(value, 0, b.maximum);
}

void HeadlessWindow::setScrollMaximum(Qt::Orientation o, int maximum)
{
    Bar &b = bar(o);
    b.maximum = std::max(0, maximum);
    b.value = std::min(b.value, b.maximum);
}
