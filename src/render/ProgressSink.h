#pragma once

#include <QString>

// The progress window of long rebuilds (TForm7), as the renderer and label
// generation see it. The editor shows a real window; tests and the
// command-line tool pass NullProgress.
class ProgressSink
{
public:
    virtual ~ProgressSink() = default;

    virtual void setText(const QString &text) = 0;
    virtual void setGaugeVisible(bool visible) = 0;
    virtual void setMaximum(int maximum) = 0;
    virtual void setProgress(int progress) = 0;
    // Shows the window and paints it at once (no events run during a rebuild).
    virtual void showNow() = 0;
    virtual void repaintNow() = 0;
    virtual void hide() = 0;
};

class NullProgress : public ProgressSink
{
public:
    void setText(const QString &) override {}
    void setGaugeVisible(bool) override {}
    void setMaximum(int) override {}
    void setProgress(int) override {}
    void showNow() override {}
    void repaintNow() override {}
    void hide() override {}
};
