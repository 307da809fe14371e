#include "GtfsSkipTally.h"

namespace {

// "1 řádek", "3 řádky", "12 řádků".
QString rows(qint64 n)
{
    const qint64 tens = n % 100;
    if (n == 1)
        return QStringLiteral("1 řádek");
    if (n % 10 >= 2 && n % 10 <= 4 && (tens < 12 || tens > 14))
        return QStringLiteral("%1 řádky").arg(n);
    return QStringLiteral("%1 řádků").arg(n);
}

// "2 další", "5 dalších".
QString others(qint64 n)
{
    const qint64 tens = n % 100;
    if (n % 10 >= 1 && n % 10 <= 4 && (tens < 11 || tens > 14))
        return QStringLiteral("%1 další").arg(n);
    return QStringLiteral("%1 dalších").arg(n);
}

} // namespace

GtfsSkipTally::Entry &GtfsSkipTally::entry(const QString &source, const QString &reason)
{
    const auto key = std::make_pair(source, reason);
    const auto it = m_index.find(key);
    if (it != m_index.end())
        return m_entries[it->second];
    m_index.emplace(key, m_entries.size());
    m_entries.push_back(Entry{source, reason, 0, 0, {}, false});
    return m_entries.back();
}

void GtfsSkipTally::table(const QString &table, const QString &reason)
{
    Entry &e = entry(table, reason);
    e.whole = true;
    ++e.count;
}

void GtfsSkipTally::row(const QString &table, const QString &reason, qint64 line)
{
    Entry &e = entry(table, reason);
    if (e.count++ == 0)
        e.firstLine = line;
}

void GtfsSkipTally::item(const QString &source, const QString &reason, const QString &name)
{
    Entry &e = entry(source, reason);
    if (e.count++ == 0)
        e.firstName = name;
}

qint64 GtfsSkipTally::count(const QString &source, const QString &reason) const
{
    const auto it = m_index.find(std::make_pair(source, reason));
    return it == m_index.end() ? 0 : m_entries[it->second].count;
}

std::vector<DaySkipped> GtfsSkipTally::entries() const
{
    std::vector<DaySkipped> out;
    out.reserve(m_entries.size());
    for (const Entry &e : m_entries) {
        QString reason = e.reason;
        if (e.whole) {
        } else if (e.firstLine > 0 && e.count == 1) {
            reason += QStringLiteral(": řádek %1").arg(e.firstLine);
        } else if (e.firstLine > 0) {
            reason += QStringLiteral(": %1, první je řádek %2").arg(rows(e.count)).arg(e.firstLine);
        } else if (e.count == 1) {
            reason += QStringLiteral(": %1").arg(e.firstName);
        } else {
            reason += QStringLiteral(": %1 a %2").arg(e.firstName, others(e.count - 1));
        }
        out.push_back({e.source, reason});
    }
    return out;
}
