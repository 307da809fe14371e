#include "CzpttMessage.h"

#include "CzpttTrainTypes.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <array>

namespace {

constexpr int32_t secondsPerDay = 86400;
// A path spans a few days at most; anything further is a broken offset,
// and keeping it small keeps every time within 32 bits.
constexpr int maxDayOffset = 14;

// The activities at which passengers may board or alight: an ordinary
// stop, boarding only, alighting only, a request stop.
constexpr std::array<QStringView, 4> publicActivities = {u"0001", u"0028", u"0029", u"0030"};
constexpr QStringView shortDwellActivity = u"CZ02";

class Failure
{
public:
    explicit Failure(QString reason) : m_reason(std::move(reason)) {}
    const QString &reason() const { return m_reason; }

private:
    QString m_reason;
};

int digits(QStringView text, qsizetype from, qsizetype count)
{
    int v = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

// "HH:MM:SS" followed by anything (a fraction, the zone): the clock time is
// local and the zone written beside it is not used.
int32_t clockSeconds(QStringView text)
{
    const QStringView t = text.trimmed();
    const bool shape = t.size() >= 8 && t[2] == u':' && t[5] == u':' && (t.size() == 8 || !t[8].isDigit());
    const int h = shape ? digits(t, 0, 2) : -1;
    const int m = shape ? digits(t, 3, 2) : -1;
    const int s = shape ? digits(t, 6, 2) : -1;
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        throw Failure(QStringLiteral("neplatný čas „%1“").arg(t.left(40)));
    return h * 3600 + m * 60 + s;
}

int dayOffset(QStringView text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < -maxDayOffset || v > maxDayOffset)
        throw Failure(QStringLiteral("neplatný posun dne „%1“").arg(text.trimmed().left(40)));
    return v;
}

QDate calendarDate(QStringView text)
{
    // "2025-12-15T00:00:00": the date is what counts.
    const QDate d = QDate::fromString(text.trimmed().left(10).toString(), Qt::ISODate);
    if (!d.isValid())
        throw Failure(QStringLiteral("neplatné datum kalendáře „%1“").arg(text.trimmed().left(40)));
    return d;
}

bool isBlank(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

class MessageParser
{
public:
    explicit MessageParser(const QByteArray &xml) : m_r(xml), m_empty(isBlank(xml)) {}

    CzpttMessage read()
    {
        CzpttMessage message;
        if (m_empty)
            throw Failure(QStringLiteral("prázdný soubor"));
        if (!m_r.readNextStartElement())
            throw Failure(xmlFailure());
        if (m_r.name() == u"CZPTTCISMessage")
            message.kind = CzpttMessage::Kind::Path;
        else if (m_r.name() == u"CZCanceledPTTMessage")
            message.kind = CzpttMessage::Kind::Cancellation;
        else
            throw Failure(QStringLiteral("není zpráva CZPTT (kořen „%1“)").arg(m_r.name().left(40)));

        bool hasCalendar = false;
        while (m_r.readNextStartElement()) {
            const QStringView n = m_r.name();
            if (n == u"Identifiers")
                readIdentifiers(message);
            else if (n == u"PlannedTransportIdentifiers")
                message.identifiers.push_back(readIdentifier());
            else if (n == u"CZPTTCreation")
                message.created = QDateTime::fromString(text().left(19), Qt::ISODate);
            else if (n == u"CZPTTInformation")
                readInformation(message, hasCalendar);
            else if (n == u"PlannedCalendar")
                hasCalendar = readCalendar(message.calendar);
            else
                m_r.skipCurrentElement();
        }
        // Whatever follows the root must be well formed too.
        while (!m_r.atEnd())
            m_r.readNext();
        if (m_r.hasError())
            throw Failure(xmlFailure());

        if (!hasCalendar)
            throw Failure(QStringLiteral("zpráva bez kalendáře"));
        if (message.pathKey().isEmpty())
            throw Failure(QStringLiteral("zpráva bez identifikátoru trasy"));
        if (message.kind == CzpttMessage::Kind::Path && message.locations.empty())
            throw Failure(QStringLiteral("vlak bez místa s časem"));
        return message;
    }

private:
    QString xmlFailure() const { return QStringLiteral("poškozené XML (řádek %1)").arg(m_r.lineNumber()); }

    // The text of the current element; its end is reached.
    QString text() { return m_r.readElementText(QXmlStreamReader::SkipChildElements).trimmed(); }

    void readIdentifiers(CzpttMessage &message)
    {
        while (m_r.readNextStartElement()) {
            if (m_r.name() == u"PlannedTransportIdentifiers")
                message.identifiers.push_back(readIdentifier());
            else
                m_r.skipCurrentElement(); // RelatedPlannedTransportIdentifiers: an older version's
        }
    }

    CzpttIdentifier readIdentifier()
    {
        CzpttIdentifier id;
        while (m_r.readNextStartElement()) {
            const QStringView n = m_r.name();
            if (n == u"ObjectType")
                id.objectType = text();
            else if (n == u"Company")
                id.company = text();
            else if (n == u"Core")
                id.core = text();
            else if (n == u"Variant")
                id.variant = text();
            else if (n == u"TimetableYear")
                id.timetableYear = text();
            else
                m_r.skipCurrentElement();
        }
        return id;
    }

    void readInformation(CzpttMessage &message, bool &hasCalendar)
    {
        while (m_r.readNextStartElement()) {
            const QStringView n = m_r.name();
            if (n == u"CZPTTLocation") {
                CzpttLocation location = readLocation();
                // A location without a time cannot be drawn.
                if (location.arrival || location.departure)
                    message.locations.push_back(std::move(location));
            } else if (n == u"PlannedCalendar") {
                hasCalendar = readCalendar(message.calendar);
            } else {
                m_r.skipCurrentElement();
            }
        }
    }

    CzpttLocation readLocation()
    {
        CzpttLocation l;
        bool anyActivity = false;
        while (m_r.readNextStartElement()) {
            const QStringView n = m_r.name();
            if (n == u"Location")
                readPlace(l);
            else if (n == u"TimingAtLocation")
                readTimings(l);
            else if (n == u"TrafficType")
                l.trafficType = text();
            else if (n == u"CommercialTrafficType")
                l.commercialTrafficType = text();
            else if (n == u"OperationalTrainNumber")
                l.trainNumber = text();
            else if (n == u"TrainActivity")
                readActivity(l, anyActivity);
            else
                m_r.skipCurrentElement();
        }
        l.stops = anyActivity || (l.arrival && l.departure && *l.departure > *l.arrival);
        return l;
    }

    void readPlace(CzpttLocation &l)
    {
        while (m_r.readNextStartElement()) {
            const QStringView n = m_r.name();
            if (n == u"CountryCodeISO")
                l.country = text();
            else if (n == u"LocationPrimaryCode")
                l.code = text();
            else if (n == u"PrimaryLocationName")
                l.name = text().simplified();
            else
                m_r.skipCurrentElement();
        }
    }

    void readTimings(CzpttLocation &l)
    {
        while (m_r.readNextStartElement()) {
            if (m_r.name() != u"Timing") {
                m_r.skipCurrentElement();
                continue;
            }
            const QString qualifier = m_r.attributes().value(QLatin1StringView("TimingQualifierCode")).toString();
            std::optional<int32_t> clock;
            int offset = 0;
            while (m_r.readNextStartElement()) {
                const QStringView n = m_r.name();
                if (n == u"Time")
                    clock = clockSeconds(text());
                else if (n == u"Offset")
                    offset = dayOffset(text());
                else
                    m_r.skipCurrentElement();
            }
            if (!clock)
                continue;
            const int32_t seconds = offset * secondsPerDay + *clock;
            if (qualifier == u"ALA")
                l.arrival = seconds;
            else if (qualifier == u"ALD")
                l.departure = seconds;
        }
    }

    void readActivity(CzpttLocation &l, bool &anyActivity)
    {
        while (m_r.readNextStartElement()) {
            if (m_r.name() != u"TrainActivityType") {
                m_r.skipCurrentElement();
                continue;
            }
            const QString type = text();
            if (type.isEmpty())
                continue;
            anyActivity = true;
            for (QStringView p : publicActivities) {
                if (type == p)
                    l.publicStop = true;
            }
            if (type == shortDwellActivity)
                l.shortDwell = true;
        }
    }

    bool readCalendar(CzpttCalendar &c)
    {
        QString bitmap;
        while (m_r.readNextStartElement()) {
            const QStringView n = m_r.name();
            if (n == u"BitmapDays") {
                bitmap = text();
            } else if (n == u"ValidityPeriod") {
                while (m_r.readNextStartElement()) {
                    if (m_r.name() == u"StartDateTime")
                        c.start = calendarDate(text());
                    else if (m_r.name() == u"EndDateTime")
                        c.end = calendarDate(text());
                    else
                        m_r.skipCurrentElement();
                }
            } else {
                m_r.skipCurrentElement();
            }
        }
        if (!c.start.isValid() || bitmap.isEmpty())
            throw Failure(QStringLiteral("neúplný kalendář"));
        for (QChar ch : bitmap) {
            if (ch != u'0' && ch != u'1')
                throw Failure(QStringLiteral("neplatný kalendář"));
        }
        if (!c.end.isValid() || c.end < c.start)
            c.end = c.start.addDays(bitmap.size() - 1);
        c.bitmap = bitmap.toLatin1();
        return true;
    }

    QXmlStreamReader m_r;
    bool m_empty;
};

} // namespace

QString CzpttIdentifier::key() const
{
    return objectType + u'|' + company + u'|' + core + u'|' + variant + u'|' + timetableYear;
}

bool CzpttCalendar::covers(QDate day) const
{
    if (!start.isValid() || day < start || day > end)
        return false;
    const qint64 index = start.daysTo(day);
    return index < bitmap.size() && bitmap[index] == '1';
}

const CzpttIdentifier *CzpttMessage::identifier(QStringView objectType) const
{
    for (const CzpttIdentifier &id : identifiers) {
        if (id.objectType == objectType && !id.isEmpty())
            return &id;
    }
    return nullptr;
}

QString CzpttMessage::pathKey() const
{
    if (const CzpttIdentifier *pa = identifier(u"PA"))
        return pa->key();
    if (const CzpttIdentifier *tr = identifier(u"TR"))
        return tr->key();
    return {};
}

QString CzpttMessage::trainName() const
{
    const CzpttLocation *named = nullptr;
    for (const CzpttLocation &l : locations) {
        if (l.trainNumber.isEmpty())
            continue;
        if (!named)
            named = &l;
        if (l.country == u"CZ") {
            named = &l;
            break;
        }
    }
    if (!named)
        return {};
    return CzpttTrainTypes::trainName(named->commercialTrafficType, named->trafficType, named->trainNumber);
}

CzpttReadResult readCzpttMessage(const QByteArray &xml)
{
    CzpttReadResult result;
    try {
        result.message = MessageParser(xml).read();
    } catch (const Failure &f) {
        result.error = f.reason();
    }
    return result;
}
