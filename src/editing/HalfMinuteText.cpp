#include "HalfMinuteText.h"

#include "model/Cp1250.h"

namespace HalfMinuteText {

QString format(int32_t value, int32_t none)
{
    if (value == none)
        return noValue;
    QString text = QString::number(value / 2);
    if (value % 2 != 0)
        text += u'+';
    return text;
}

Reading parse(const QString &text, int32_t none, int32_t &value)
{
    const QString t = cp1250::toUnicode(upperCaseCz(cp1250::fromUnicode(text.trimmed())));
    if (t.isEmpty() || t == noValue || t == QLatin1String("N")) {
        value = none;
        return Reading::None;
    }
    const bool half = t.endsWith(u'+');
    const QString digits = half ? t.chopped(1) : t;
    if (digits.isEmpty() && half) {
        value = 1;
        return Reading::Value;
    }
    // The cells hold four characters, so the number always fits.
    if (digits.size() > 9)
        return Reading::Unreadable;
    for (QChar c : digits)
        if (c < u'0' || c > u'9')
            return Reading::Unreadable;
    value = digits.toInt() * 2 + (half ? 1 : 0);
    return Reading::Value;
}

} // namespace HalfMinuteText
