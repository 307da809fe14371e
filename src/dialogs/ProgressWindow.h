#pragma once

#include "render/ProgressSink.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The progress window TForm7 "Prosím čekejte...": a line of text (Label1)
// and a gauge (Gauge1) that the renderer and label generation set while a
// long rebuild runs. Always on top, without the title bar's buttons, centred
// on the screen when created and moved back onto it when shown. No events
// run during a rebuild, so every change paints the window at once.
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

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *Label1 = nullptr;
    QProgressBar *Gauge1 = nullptr;
    bool m_showing = false;
};
