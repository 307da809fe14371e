#include "PrintPlan.h"

#include "model/ClockTime.h"
#include "model/Document.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

int64_t roundToInt64(double v)
{
    return static_cast<int64_t>(std::nearbyint(v));
}

} // namespace

PrintPlan::PrintPlan(const Document &doc) : m_doc(doc)
{
    for (const Station &s : doc.stations)
        m_maxMetres = std::max(m_maxMetres, s.metres);
}

int32_t PrintPlan::metresOfStation(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_doc.stations.size()))
        return 0;
    return m_doc.stations[static_cast<size_t>(index)].metres;
}

bool PrintPlan::stationsInOrder(int fromStation, int toStation) const
{
    if (fromStation < 0 || toStation < 0)
        return true;
    return metresOfStation(fromStation) <= metresOfStation(toStation);
}

SheetLayout::Request PrintPlan::request(const Choice &c) const
{
    SheetLayout::Request r;
    r.layers = c.layers;
    r.overlap = c.overlap;
    r.zoom = std::clamp(c.scale / 25, minScale / scaleStep, maxScale / scaleStep); // the pixels a minute
    r.wholeDay = c.timeRange == TimeRange::All;
    r.fromMinute = c.fromMinute;
    r.toMinute = c.toMinute;
    r.wholeLine = c.kmRange == KmRange::All;
    if (c.kmRange == KmRange::Stations) {
        r.lowMetres = metresOfStation(c.fromStation);
        r.highMetres = metresOfStation(c.toStation);
    } else if (c.kmRange == KmRange::Kilometres) {
        r.lowMetres = c.fromMetres;
        r.highMetres = c.toMetres;
    }
    if (r.lowMetres > r.highMetres)
        std::swap(r.lowMetres, r.highMetres);
    r.legend = c.legend;
    r.showCategory = m_doc.settings.showCategory != 0;
    return r;
}

int64_t PrintPlan::widthPixels(const Choice &c) const
{
    SheetLayout::Request r = request(c);
    r.wholeLine = false; // the width needs no train label
    return SheetLayout::plan(m_doc, r).width;
}

int64_t PrintPlan::heightPixels(const Choice &c) const
{
    return SheetLayout::plan(m_doc, request(c)).height;
}

QString PrintPlan::summary(const Choice &c) const
{
    const int n = c.layers;
    const QString layers = n == 1  ? QStringLiteral("1 vrstva")
                           : n < 5 ? QStringLiteral("%1 vrstvy").arg(n)
                                   : QStringLiteral("%1 vrstev").arg(n);
    QString text = layers;
    if (n > 1)
        text += QStringLiteral(", překryv %1 min").arg(c.overlap);
    const SheetLayout sheet = SheetLayout::plan(m_doc, request(c));
    return text
           + QStringLiteral(", měřítko %1 %, %2 × %3 mm")
                 .arg(c.scale)
                 .arg(millimetres(sheet.width))
                 .arg(millimetres(sheet.height));
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

QString PrintPlan::timeRangeProblem(const QString &fromText, const QString &toText)
{
    const std::optional<int> from = minuteOfText(fromText);
    const std::optional<int> to = minuteOfText(toText);
    if (!from)
        return QStringLiteral("„%1“ není platný čas.").arg(fromText);
    if (!to)
        return QStringLiteral("„%1“ není platný čas.").arg(toText);
    if (*to < *from)
        return QStringLiteral("Konec časového rozsahu (%1) je dříve než jeho začátek (%2).").arg(toText, fromText);
    return {};
}
