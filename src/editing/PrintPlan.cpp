#include "PrintPlan.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Document.h"
#include "render/StationLegend.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {

int64_t roundToInt64(double v)
{
    return static_cast<int64_t>(std::nearbyint(v));
}

} // namespace

PrintPlan::PrintPlan(const Document &doc, const QFont &font) : m_doc(doc), m_font(font)
{
    for (const Station &s : doc.stations)
        m_maxKm = std::max(m_maxKm, s.km);
}

PrintPlan::Span PrintPlan::spanOf(const Choice &c)
{
    if (c.timeRange == TimeRange::All)
        return {};
    return {c.fromMinute, c.toMinute - c.fromMinute};
}

int64_t PrintPlan::widthPixels(const Choice &c) const
{
    const int64_t s = c.scale / 25; // pixels a minute
    const int64_t layers = std::max(1, c.layers);
    const int64_t overlap = c.overlap;
    int64_t pixels = 0;
    if (c.timeRange == TimeRange::All) {
        pixels = ((layers - 1) * overlap * s + 1440 * s) / layers;
    } else {
        const int64_t minutes = spanOf(c).minutes;
        pixels = layers == 1 ? s * minutes : (s * minutes + layers * overlap * s) / layers;
    }
    return pixels + 40;
}

int32_t PrintPlan::kmOfStation(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_doc.stations.size()))
        return 0;
    return m_doc.stations[static_cast<size_t>(index)].km;
}

bool PrintPlan::stationsInOrder(int fromStation, int toStation) const
{
    if (fromStation < 0 || toStation < 0)
        return true;
    return kmOfStation(fromStation) <= kmOfStation(toStation);
}

int64_t PrintPlan::heightPixels(const Choice &c) const
{
    const int64_t s = c.scale / 25;
    const int64_t layers = std::max(1, c.layers);
    if (c.kmRange == KmRange::All)
        return layers * (s * m_maxKm * 2) + extraHeight(c);

    // Per layer: the station lines of the range, and a margin for the hour
    // numbers and labels of five short texts.
    int64_t delta = 0;
    if (c.kmRange == KmRange::Stations) {
        if (c.fromStation >= 0 && c.toStation >= 0)
            delta = int64_t{kmOfStation(c.toStation)} - kmOfStation(c.fromStation);
    } else {
        delta = std::abs(int64_t{c.toKm} - c.fromKm);
    }
    const int64_t margin = 5 * QFontMetrics(m_font).horizontalAdvance(QStringLiteral("asaas")) + 13;
    return layers * (margin + 2 * s * delta);
}

// Each layer is printed as the screen shows the diagram: 20 pixels above the
// top station line, the station lines, the time axis on the bottom station
// line with the hour numbers 19 pixels under it. Layer k covers the minutes
// from start + k (length - overlap) for length = (range + (L - 1) overlap) / L
// minutes. A train label whose anchor lies in a layer's minutes and whose
// box (its name in the dialog's font, turned to its angle, centred on its
// anchor as the diagram places it) stands above the top margin or below the
// bottom station line makes that layer so much taller. The station legend,
// when asked for, is printed once, under the last layer, 40 pixels under
// its axis as on the screen, in lines as wide as a layer less 60 pixels.
int64_t PrintPlan::extraHeight(const Choice &c) const
{
    const QFontMetrics fm(m_font);
    const int lineHeight = fm.height();
    const double s = c.scale / 25;
    const int layers = std::max(1, c.layers);
    const int64_t lines = int64_t{2} * (c.scale / 25) * m_maxKm;

    const Span span = spanOf(c);
    const double length = (span.minutes + (layers - 1.0) * c.overlap) / layers;
    std::vector<int64_t> above(static_cast<size_t>(layers), 20);
    std::vector<int64_t> below(static_cast<size_t>(layers), 0);
    for (const TrainLabel &label : m_doc.trainLabels) {
        double minute = std::fmod(label.time * 1440.0, 1440.0);
        if (minute < 0)
            minute += 1440.0;
        const QString text = cp1250::toUnicode(label.text.view());
        const int w = fm.horizontalAdvance(text);
        const double a = std::abs(label.angle);
        const double top = 2.0 * s * (m_maxKm - label.level) - lineHeight / 2;
        const double bottom = top + lineHeight * std::cos(a) + w * std::sin(a);
        for (int k = 0; k < layers; ++k) {
            const double start = span.start + k * (length - c.overlap);
            if (minute < start || minute > start + length)
                continue;
            auto &up = above[static_cast<size_t>(k)];
            auto &down = below[static_cast<size_t>(k)];
            up = std::max(up, static_cast<int64_t>(std::ceil(-top)));
            down = std::max(down, static_cast<int64_t>(std::ceil(bottom - lines)));
        }
    }

    const int64_t hours = 19 + lineHeight;
    int64_t extra = 0;
    for (int k = 0; k < layers; ++k)
        extra += above[static_cast<size_t>(k)] + below[static_cast<size_t>(k)] + hours;
    if (c.legend && !m_doc.stations.empty()) {
        StationLegend legend;
        const int64_t width = std::clamp<int64_t>(widthPixels(c), 0, std::numeric_limits<int>::max());
        const auto &text = legend.layout(m_doc, m_font, nullptr, static_cast<int>(width));
        const int64_t legendBand = 40 + static_cast<int64_t>(text.size()) * lineHeight;
        extra += std::max<int64_t>(0, legendBand - hours);
    }
    return extra;
}

int64_t PrintPlan::millimetres(int64_t pixels)
{
    return roundToInt64(static_cast<double>(pixels) * 3.0 / 13.0);
}

int PrintPlan::resolutionOf(const QString &item)
{
    return item.left(3).trimmed().toInt();
}

QSize PrintPlan::paperMillimetres(QSize pagePixels, int resolution)
{
    if (resolution <= 0)
        return {};
    const double perMillimetre = resolution / 25.6;
    return {static_cast<int>(roundToInt64(pagePixels.width() / perMillimetre)),
            static_cast<int>(roundToInt64(pagePixels.height() / perMillimetre))};
}

int PrintPlan::scaleOnLeaving(int value)
{
    const int v = std::clamp(value, minScale, maxScale);
    return v - v % scaleStep;
}

std::optional<int> PrintPlan::minuteOfText(const QString &text)
{
    QString t = text;
    t.replace(u'_', u' ');
    try {
        return minuteOfDay(parseClockText(t));
    } catch (const std::runtime_error &) {
        return std::nullopt;
    }
}
