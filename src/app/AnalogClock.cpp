#include "AnalogClock.h"

#include <QPainter>

AnalogClock::AnalogClock(QWidget *parent) : QWidget(parent)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_timer.start();
}

QTime AnalogClock::shownTime() const
{
    return m_fixed.isValid() ? m_fixed : QTime::currentTime();
}

void AnalogClock::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    p.scale(side / 200.0, side / 200.0);

    p.setPen(QPen(palette().color(QPalette::WindowText), 4));
    for (int i = 0; i < 12; ++i) {
        p.drawLine(0, -88, 0, i % 3 == 0 ? -72 : -80);
        p.rotate(30.0);
    }

    const QTime t = shownTime();
    auto hand = [&](double degrees, int length, int width) {
        p.save();
        p.rotate(degrees);
        p.setPen(QPen(m_handColour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(0, 8, 0, -length);
        p.restore();
    };
    hand(30.0 * (t.hour() % 12 + t.minute() / 60.0), 50, 9);
    hand(6.0 * (t.minute() + t.second() / 60.0), 75, 6);
    hand(6.0 * t.second(), 82, 2);
}
