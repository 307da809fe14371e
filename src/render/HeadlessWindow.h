#pragma once

#include "DiagramWindow.h"
#include "ProgressSink.h"

#include <array>

// A main window without widgets, for tests and the command-line tool: the
// paint box of a given size, scroll bars and check boxes as plain values that
// behave as the widgets do. The client area is the paint box plus the scroll
// bars (17 pixels right, 16 below) and the tool panel above it, as TForm1
// lays them out.
class HeadlessWindow : public DiagramWindow
{
public:
    static constexpr int panelHeight = 36;

    explicit HeadlessWindow(QSize paintBox = QSize(1600, 900));

    void setPaintBoxSize(QSize size) { m_paintBox = size; }
    void setProgress(ProgressSink *sink) { m_progress = sink ? sink : &m_nullProgress; }

    QSize clientSize() const override;
    QSize paintBoxSize() const override { return m_paintBox; }
    void surfaceChanged() override { ++surfaceChanges; }

    int scrollValue(Qt::Orientation bar) const override { return this->bar(bar).value; }
    void setScrollValue(Qt::Orientation bar, int value) override;
    int scrollMaximum(Qt::Orientation bar) const override { return this->bar(bar).maximum; }
    void setScrollMaximum(Qt::Orientation bar, int maximum) override;
    bool scrollBarVisible(Qt::Orientation bar) const override { return this->bar(bar).visible; }
    void setScrollBarVisible(Qt::Orientation bar, bool visible) override { this->bar(bar).visible = visible; }

    bool isChecked(CheckBox box) const override { return m_checks[static_cast<size_t>(box)]; }
    void setChecked(CheckBox box, bool checked) override { m_checks[static_cast<size_t>(box)] = checked; }

    void pictureExists(bool exists) override { picture = exists; }
    void setZoomText(const QString &text) override { zoomText = text; }
    ProgressSink &progress() override { return *m_progress; }

    bool picture = false;
    QString zoomText = QStringLiteral("100 %");
    int surfaceChanges = 0;

private:
    struct Bar
    {
        int value = 0;
        int maximum = 0;
        bool visible = true;
    };
    Bar &bar(Qt::Orientation o) { return o == Qt::Horizontal ? m_bars[0] : m_bars[1]; }
    const Bar &bar(Qt::Orientation o) const { return o == Qt::Horizontal ? m_bars[0] : m_bars[1]; }

    QSize m_paintBox;
    std::array<Bar, 2> m_bars;
    std::array<bool, 3> m_checks{false, false, true};
    NullProgress m_nullProgress;
    ProgressSink *m_progress = &m_nullProgress;
};
