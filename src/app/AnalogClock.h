#pragma once

#include <QColor>
#include <QTime>
#include <QTimer>
#include <QWidget>

// The running analogue clock of the tool panel. Hands in navy.
class AnalogClock : public QWidget
{
    Q_OBJECT

public:
    explicit AnalogClock(QWidget *parent = nullptr);

    QColor handColour() const { return m_handColour; }
    // The time shown; the system clock unless a test fixes it.
    QTime shownTime() const;
    void setFixedTime(const QTime &time)
    {
        m_fixed = time;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QTimer m_timer;
    QColor m_handColour = QColor(0, 0, 128);
    QTime m_fixed;
};
