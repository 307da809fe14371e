#include "CzpttTrainTypes.h"

namespace {

struct Abbreviation
{
    const char16_t *code;
    const char16_t *text;
};

// Generated from komercni_druhy.xml at build time.
constexpr Abbreviation commercialTypes[] = {
#include "CommercialTypes.inc"
};

// The traffic types of the message format. Nex is written the way the
// program's category codes write it.
constexpr Abbreviation trafficTypes[] = {
    {u"11", u"Os"}, {u"C1", u"Ex"}, {u"C2", u"R"},  {u"C3", u"Sp"},   {u"C4", u"Sv"},   {u"C5", u"NEx"},
    {u"C6", u"Pn"}, {u"C7", u"Mn"}, {u"C8", u"Lv"}, {u"C9", u"Vleč"}, {u"CA", u"Služ"}, {u"CB", u"Pom"},
};

template <size_t N> QString lookUp(const Abbreviation (&table)[N], QStringView code)
{
    const QStringView trimmed = code.trimmed();
    for (const Abbreviation &a : table) {
        if (trimmed == QStringView(a.code))
            return QString::fromUtf16(a.text);
    }
    return {};
}

} // namespace

namespace CzpttTrainTypes {

QString commercialAbbreviation(QStringView tafCode)
{
    return lookUp(commercialTypes, tafCode);
}

QString trafficAbbreviation(QStringView trafficType)
{
    return lookUp(trafficTypes, trafficType);
}

QString trainName(QStringView commercialType, QStringView trafficType, QStringView number)
{
    QString type = commercialAbbreviation(commercialType);
    if (type.isEmpty())
        type = trafficAbbreviation(trafficType);
    const QString trimmed = number.trimmed().toString();
    const QString name = type.isEmpty() ? trimmed : type + u' ' + trimmed;
    return name.left(20);
}

} // namespace CzpttTrainTypes
