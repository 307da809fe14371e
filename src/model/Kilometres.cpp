#include "Kilometres.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Kilometres {

int32_t wholeToMetres(int64_t km)
{
    return static_cast<int32_t>(std::clamp<int64_t>(km, -maxWholeKm, maxWholeKm) * metresPerKm);
}

int32_t nearestWhole(int64_t metres)
{
    // A tie (x 500 m) is exact in a double, so nearbyint sees it as one.
    return static_cast<int32_t>(std::nearbyint(toKm(metres)));
}

QString text(int64_t metres)
{
    const bool negative = metres < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(metres) : uint64_t(metres);
    QString out = QString::number(magnitude / metresPerKm);
    uint64_t fraction = magnitude % metresPerKm;
    if (fraction != 0) {
        int digits = 3;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        out += u',';
        out += QStringLiteral("%1").arg(fraction, digits, 10, QLatin1Char('0'));
    }
    return negative ? u'-' + out : out;
}

Parsed parse(QStringView text, int32_t limitKm)
{
    QStringView t = text.trimmed();
    if (t.isEmpty())
        return {0, ParseError::Empty};
    bool negative = false;
    if (t.front() == u'-' || t.front() == u'+') {
        negative = t.front() == u'-';
        t = t.sliced(1);
    }
    qsizetype point = -1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u',' || c == u'.') {
            if (point >= 0)
                return {0, ParseError::NotANumber};
            point = i;
        } else if (c < u'0' || c > u'9') {
            return {0, ParseError::NotANumber};
        }
    }
    const QStringView whole = point < 0 ? t : t.first(point);
    const QStringView fraction = point < 0 ? QStringView() : t.sliced(point + 1);
    if (whole.isEmpty() && fraction.isEmpty())
        return {0, ParseError::NotANumber};
    if (fraction.size() > 3)
        return {0, ParseError::TooManyDecimals};

    // Leading zeros do not count towards the size; anything left longer
    // than the limit's digits is out of range before it could overflow.
    int64_t km = 0;
    for (QChar c : whole) {
        km = km * 10 + (c.unicode() - u'0');
        if (km > limitKm)
            return {0, ParseError::OutOfRange};
    }
    int64_t metres = km * metresPerKm;
    int64_t scale = 100;
    for (QChar c : fraction) {
        metres += (c.unicode() - u'0') * scale;
        scale /= 10;
    }
    if (metres > int64_t{limitKm} * metresPerKm || metres > std::numeric_limits<int32_t>::max())
        return {0, ParseError::OutOfRange};
    return {static_cast<int32_t>(negative ? -metres : metres), ParseError::None};
}

} // namespace Kilometres
