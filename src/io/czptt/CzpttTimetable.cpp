#include "CzpttTimetable.h"

#include <QByteArrayView>

#include <algorithm>
#include <memory>

namespace {

QString pointKey(const CzpttLocation &l)
{
    if (l.code.isEmpty())
        return QStringLiteral("name:") + l.name;
    if (l.country.isEmpty() || l.country == u"CZ")
        return l.code;
    return l.country + u':' + l.code;
}

// Messages may name a point differently; the first name in sort order is
// kept, so the result does not depend on the order they were read in.
bool preferredName(const QString &candidate, const QString &current)
{
    return !candidate.isEmpty() && (current.isEmpty() || candidate < current);
}

// Messages in another encoding than UTF-8 cannot be searched as bytes.
bool searchableAsUtf8(const QByteArray &xml)
{
    if (xml.startsWith("\xFE\xFF") || xml.startsWith("\xFF\xFE"))
        return false;
    const QByteArrayView head = QByteArrayView(xml).first(std::min<qsizetype>(xml.size(), 200));
    const qsizetype declared = head.indexOf("encoding=");
    if (declared < 0)
        return true;
    const QByteArray rest = head.sliced(declared + 9).toByteArray().toLower();
    return rest.startsWith("\"utf-8\"") || rest.startsWith("'utf-8'");
}

} // namespace

bool czpttMentionsNames(const QByteArray &xml, const QSet<QString> &names, int minNames)
{
    if (minNames <= 0 || names.isEmpty() || !searchableAsUtf8(xml))
        return true;
    if (xml.contains("CZCanceledPTTMessage"))
        return true;
    static constexpr QByteArrayView tag = "PrimaryLocationName";
    QSet<QString> found;
    qsizetype pos = 0;
    const QByteArrayView bytes(xml);
    while ((pos = bytes.indexOf(tag, pos)) >= 0) {
        const bool closing = pos > 0 && bytes[pos - 1] == '/';
        pos += tag.size();
        if (closing)
            continue;
        const qsizetype gt = bytes.indexOf('>', pos);
        if (gt < 0)
            break;
        if (bytes[gt - 1] == '/')
            continue; // an empty element
        const qsizetype lt = bytes.indexOf('<', gt + 1);
        if (lt < 0)
            break;
        const QByteArrayView text = bytes.sliced(gt + 1, lt - gt - 1);
        // Escapes and CDATA are the reader's to decode: count the name as there.
        if (text.contains('&') || bytes.sliced(lt).startsWith("<![CDATA["))
            return true;
        const QString name = QString::fromUtf8(text).simplified();
        if (names.contains(name)) {
            found.insert(name);
            if (found.size() >= minNames)
                return true;
        }
        pos = lt;
    }
    return false;
}

int32_t CzpttTimetable::pointIndex(const CzpttLocation &location)
{
    const QString key = pointKey(location);
    const auto it = m_pointIndex.constFind(key);
    if (it != m_pointIndex.constEnd()) {
        // One name for a code whatever order the messages come in.
        Point &p = m_points[static_cast<size_t>(it.value())];
        if (preferredName(location.name, p.name))
            p.name = location.name;
        return it.value();
    }
    const auto index = static_cast<int32_t>(m_points.size());
    m_points.push_back({key, location.name});
    m_pointIndex.insert(key, index);
    return index;
}

void CzpttTimetable::add(const QString &source, const QByteArray &xml)
{
    CzpttReadResult read = readCzpttMessage(xml);
    if (!read.message) {
        m_skipped.push_back({source, read.error});
        return;
    }
    CzpttMessage &message = *read.message;
    if (message.kind == CzpttMessage::Kind::Cancellation) {
        m_cancellations.push_back({source, message.pathKey(), message.created, std::move(message.calendar)});
        return;
    }
    Path path;
    path.source = source;
    path.name = message.trainName();
    if (path.name.isEmpty()) {
        const CzpttIdentifier *id = message.identifier(u"PA");
        path.name = (id ? id->core : message.identifiers.front().core).left(20);
    }
    path.key = message.pathKey();
    path.created = message.created;
    path.calendar = std::move(message.calendar);
    path.calls.reserve(message.locations.size());
    for (const CzpttLocation &l : message.locations) {
        Call c;
        c.point = pointIndex(l);
        c.arrival = l.arrival.value_or(noTime);
        c.departure = l.departure.value_or(noTime);
        c.stops = l.stops;
        c.publicStop = l.publicStop;
        c.shortDwell = l.shortDwell;
        path.calls.push_back(c);
    }
    m_paths.push_back(std::move(path));
}

void CzpttTimetable::merge(CzpttTimetable &&other)
{
    std::vector<int32_t> remap(other.m_points.size());
    for (size_t i = 0; i < other.m_points.size(); ++i) {
        const Point &p = other.m_points[i];
        const auto it = m_pointIndex.constFind(p.key);
        if (it != m_pointIndex.constEnd()) {
            remap[i] = it.value();
            Point &mine = m_points[static_cast<size_t>(it.value())];
            if (preferredName(p.name, mine.name))
                mine.name = p.name;
            continue;
        }
        remap[i] = static_cast<int32_t>(m_points.size());
        m_pointIndex.insert(p.key, remap[i]);
        m_points.push_back(p);
    }
    for (Path &path : other.m_paths) {
        for (Call &c : path.calls)
            c.point = remap[static_cast<size_t>(c.point)];
        m_paths.push_back(std::move(path));
    }
    for (Cancellation &c : other.m_cancellations)
        m_cancellations.push_back(std::move(c));
    for (DaySkipped &s : other.m_skipped)
        m_skipped.push_back(std::move(s));
}

void CzpttTimetable::sortBySource()
{
    const auto bySource = [](const auto &a, const auto &b) { return a.source < b.source; };
    std::stable_sort(m_paths.begin(), m_paths.end(), bySource);
    std::stable_sort(m_cancellations.begin(), m_cancellations.end(), bySource);
    std::stable_sort(m_skipped.begin(), m_skipped.end(), bySource);
}

void CzpttTimetable::dropDuplicates()
{
    // In the order of the sources, so the copy kept does not depend on the
    // order the threads read them in. An unknown creation time is older
    // than any known one.
    QHash<QString, size_t> kept;
    std::vector<bool> dropped(m_paths.size(), false);
    for (size_t i = 0; i < m_paths.size(); ++i) {
        const auto it = kept.constFind(m_paths[i].key);
        if (it == kept.constEnd()) {
            kept.insert(m_paths[i].key, i);
            continue;
        }
        const Path &older = m_paths[it.value()];
        if (m_paths[i].created.isValid() && (!older.created.isValid() || m_paths[i].created > older.created)) {
            dropped[it.value()] = true;
            kept.insert(m_paths[i].key, i);
        } else {
            dropped[i] = true;
        }
    }
    std::vector<Path> paths;
    paths.reserve(m_paths.size());
    for (size_t i = 0; i < m_paths.size(); ++i) {
        if (!dropped[i])
            paths.push_back(std::move(m_paths[i]));
    }
    m_duplicates += static_cast<int>(m_paths.size() - paths.size());
    m_paths = std::move(paths);

    // Cancellations of one path on different days all count; only the same
    // message again is left out.
    QSet<QString> seen;
    const auto before = m_cancellations.size();
    std::erase_if(m_cancellations, [&](const Cancellation &c) {
        const QString id = c.key + u'|' + c.created.toString(Qt::ISODate) + u'|'
                           + c.calendar.start.toString(Qt::ISODate) + u'|' + QString::fromLatin1(c.calendar.bitmap);
        if (seen.contains(id))
            return true;
        seen.insert(id);
        return false;
    });
    m_duplicates += static_cast<int>(before - m_cancellations.size());
}

CzpttTimetable CzpttTimetable::scan(const QStringList &sources, const ScanOptions &options)
{
    ImportSources::Options read;
    read.isDocument = [](const QString &name) { return name.endsWith(u".xml", Qt::CaseInsensitive); };
    read.progress = options.progress;
    read.limits = options.limits;
    read.threads = options.threads;

    QSet<QString> names;
    for (const QString &n : options.names)
        names.insert(n.simplified());

    std::vector<CzpttTimetable> partial(static_cast<size_t>(ImportSources::threadCount(read)));
    read.handle = [&](int worker, const QString &source, const QByteArray &xml) {
        if (!czpttMentionsNames(xml, names, options.minNames))
            return;
        partial[static_cast<size_t>(worker)].add(source, xml);
    };
    const ImportSources::Result result = ImportSources::read(sources, read);

    CzpttTimetable timetable;
    for (CzpttTimetable &p : partial)
        timetable.merge(std::move(p));
    timetable.m_skipped.insert(timetable.m_skipped.end(), result.skipped.begin(), result.skipped.end());
    timetable.m_scanCancelled = result.cancelled;
    timetable.sortBySource();
    timetable.dropDuplicates();
    return timetable;
}

CzpttTimetable CzpttTimetable::scan(const QStringList &sources)
{
    return scan(sources, ScanOptions{});
}

DayTimetable CzpttTimetable::day(QDate date) const
{
    QSet<QString> cancelled;
    for (const Cancellation &c : m_cancellations) {
        if (c.calendar.covers(date))
            cancelled.insert(c.key);
    }

    DayTimetable out;
    out.day = date;
    std::vector<int32_t> remap(m_points.size(), -1);
    for (const Path &path : m_paths) {
        if (!path.calendar.covers(date) || cancelled.contains(path.key))
            continue;
        DayTrain train;
        train.name = path.name;
        train.source = path.source;
        train.calls.reserve(path.calls.size());
        for (const Call &c : path.calls) {
            int32_t &point = remap[static_cast<size_t>(c.point)];
            if (point < 0) {
                const Point &p = m_points[static_cast<size_t>(c.point)];
                point = static_cast<int32_t>(out.points.size());
                DayPoint dp;
                dp.key = p.key;
                dp.name = p.name;
                out.points.push_back(std::move(dp));
            }
            DayCall call;
            call.point = point;
            if (c.arrival != noTime)
                call.arrival = c.arrival;
            if (c.departure != noTime)
                call.departure = c.departure;
            call.stops = c.stops;
            call.publicStop = c.publicStop;
            call.shortDwell = c.shortDwell;
            train.calls.push_back(call);
        }
        out.trains.push_back(std::move(train));
    }
    out.skipped = m_skipped;
    out.duplicates = m_duplicates;
    return out;
}

QDate CzpttTimetable::firstDay() const
{
    QDate first;
    for (const Path &p : m_paths) {
        if (!first.isValid() || p.calendar.start < first)
            first = p.calendar.start;
    }
    return first;
}

QDate CzpttTimetable::lastDay() const
{
    QDate last;
    for (const Path &p : m_paths) {
        if (!last.isValid() || p.calendar.end > last)
            last = p.calendar.end;
    }
    return last;
}
