#include "PaintBox.h"

#include <QPaintEvent>
#include <QPainter>

PaintBox::PaintBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void PaintBox::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QImage &picture = surface();
    const QRect shown = event->rect() & picture.rect();
    if (!shown.isEmpty())
        p.drawImage(shown, picture, shown);
    // What the picture does not reach yet (the next render fills it).
    for (const QRect &r : QRegion(event->rect()).subtracted(QRegion(picture.rect())))
        p.fillRect(r, Qt::white);
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
