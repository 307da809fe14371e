#pragma once

#include "render/ProgressSink.h"

#include <QRegularExpression>
#include <QStringList>

// A progress window that writes down what it was told, one entry a call:
// "text: ...", "gauge: 1", "max: 25", "progress: 10", "show", "repaint",
// "hide".
class RecordingProgress : public ProgressSink
{
public:
    QStringList calls;

    void setText(const QString &text) override { calls << QStringLiteral("text: ") + text; }
    void setGaugeVisible(bool visible) override { calls << QStringLiteral("gauge: %1").arg(visible ? 1 : 0); }
    void setMaximum(int maximum) override { calls << QStringLiteral("max: %1").arg(maximum); }
    void setProgress(int progress) override { calls << QStringLiteral("progress: %1").arg(progress); }
    void showNow() override { calls << QStringLiteral("show"); }
    void repaintNow() override { calls << QStringLiteral("repaint"); }
    void hide() override { calls << QStringLiteral("hide"); }

    QStringList starting(const QString &prefix) const { return calls.filter(QRegularExpression("^" + prefix)); }
};
