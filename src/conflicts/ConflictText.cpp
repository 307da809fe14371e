#include "ConflictText.h"

#include "model/Cp1250.h"
#include "model/Document.h"

#include <QStringList>

#include <cmath>

namespace ConflictText {

QString kind(Conflict::Kind kind)
{
    switch (kind) {
    case Conflict::Kind::Meet:
        return QStringLiteral("křižování na jednokolejné trati");
    case Conflict::Kind::Overtaking:
        return QStringLiteral("předjíždění mezi stanicemi");
    case Conflict::Kind::Headway:
        return QStringLiteral("nedodržené následné mezidobí");
    case Conflict::Kind::StationMeet:
        return QStringLiteral("křižování bez volné koleje");
    case Conflict::Kind::StationOvertaking:
        return QStringLiteral("předjíždění bez volné koleje");
    }
    return {};
}

QString severity(Conflict::Severity severity)
{
    return severity == Conflict::Severity::Warning ? QStringLiteral("varování") : QStringLiteral("chyba");
}

QString clock(double minute)
{
    // Whole seconds, halves to even, within the day.
    auto seconds = static_cast<int64_t>(std::nearbyint(minute * 60.0));
    seconds = ((seconds % 86400) + 86400) % 86400;
    const int64_t h = seconds / 3600;
    const int64_t m = seconds / 60 % 60;
    const int64_t s = seconds % 60;
    QString text = QStringLiteral("%1:%2").arg(h).arg(m, 2, 10, QLatin1Char('0'));
    if (s != 0)
        text += QStringLiteral(":%1").arg(s, 2, 10, QLatin1Char('0'));
    return text;
}

QString span(const Conflict &c)
{
    const QString from = clock(c.from);
    const QString to = clock(c.to);
    return from == to ? from : from + QStringLiteral("–") + to;
}

namespace {

QString stationName(const Document &doc, int32_t station)
{
    if (station < 1 || static_cast<size_t>(station) > doc.stations.size())
        return QString::number(station);
    return cp1250::toUnicode(doc.stations[static_cast<size_t>(station - 1)].name.view());
}

} // namespace

QString place(const Document &doc, const Conflict &c)
{
    if (c.atStation())
        return stationName(doc, c.stationLow);
    return stationName(doc, c.stationLow) + QStringLiteral(" – ") + stationName(doc, c.stationHigh);
}

QString train(const Document &doc, int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= doc.trains.size())
        return QString::number(index + 1);
    return cp1250::toUnicode(doc.trains[static_cast<size_t>(index)].name.view());
}

QString laterTrains(const Document &doc, const Conflict &c)
{
    QStringList names{train(doc, c.trainB)};
    for (int32_t other : c.others)
        names << train(doc, other);
    return names.join(QStringLiteral(", "));
}

QString trains(const Document &doc, const Conflict &c)
{
    return train(doc, c.trainA) + QStringLiteral(", ") + laterTrains(doc, c);
}

QString rest(int64_t count)
{
    // Digits in groups of three, a space between.
    QString digits = QString::number(count);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u' ');
    return QStringLiteral("… a dalších ") + digits;
}

QString line(const Document &doc, const Conflict &c)
{
    return QStringList{span(c),      place(doc, c),       train(doc, c.trainA), laterTrains(doc, c),
                       kind(c.kind), severity(c.severity)}
        .join(u'\t');
}

} // namespace ConflictText
