#include "PaintBox.h"

#include <QPainter>
#include <QResizeEvent>

PaintBox::PaintBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void PaintBox::resizeEvent(QResizeEvent *event)
{
    // Keep what was drawn; the next render fills the new size.
    if (m_surface.size() != event->size()) {
        QImage grown(event->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        grown.fill(Qt::white);
        QPainter p(&grown);
        p.drawImage(0, 0, m_surface);
        m_surface = grown;
    }
    QWidget::resizeEvent(event);
}

void PaintBox::paintEvent(QPaintEvent *event)
{
    emit painting();
    QPainter p(this);
    p.drawImage(event->rect(), m_surface, event->rect());
}

void PaintBox::mousePressEvent(QMouseEvent *event)
{
    emit mousePressed(event);
}

void PaintBox::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(event);
}

void PaintBox::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseReleased(event);
}
