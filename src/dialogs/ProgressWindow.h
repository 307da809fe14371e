#pragma once

#include "render/ProgressSink.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// The progress window TForm7 "Prosím čekejte...": a line of text (Label1)
// and a gauge (Gauge1) that the renderer and label generation set while a
// long rebuild runs. Always on top, without the title bar's buttons, centred
// on the screen when created and moved back onto it when shown. No events
// run during a rebuild, so the window paints itself when asked: a new text
// at once, the gauge at most every paintInterval milliseconds, so that a
// long step shows its progress without being slowed by it.
class ProgressWindow : public QDialog, public ProgressSink
{
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    QLabel *label() const { return Label1; }
    QProgressBar *gauge() const { return Gauge1; }

    void setText(const QString &text) override;
    void setGaugeVisible(bool visible) override;
    void setMaximum(int maximum) override;
    void setProgress(int progress) override;
    void showNow() override;
    void repaintNow() override;
    void hide() override;

    // Where a window of this size stands when it is moved back onto an
    // available area: a part beyond the right or bottom edge is pulled in,
    // and a negative left or top becomes the area's edge.
    static QPoint keptOnScreen(const QRect &frame, const QRect &available);

    // How often the gauge is painted at most (milliseconds); 40 unless a
    // test sets another.
    void setPaintInterval(int milliseconds) { m_paintInterval = milliseconds; }
    // Paints of the window so far, for tests.
    int paints() const { return m_paints; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void paintNow();

    QLabel *Label1 = nullptr;
    QProgressBar *Gauge1 = nullptr;
    bool m_showing = false;
    // The gauge's value waits here until the window is painted.
    int m_progress = 0;
    QElapsedTimer m_sincePaint;
    int m_paintInterval = 40;
    int m_paints = 0;
};
