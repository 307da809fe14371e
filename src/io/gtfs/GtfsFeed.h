#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>

class QIODevice;

// Where a GTFS feed's tables come from: a directory, a .zip archive (read
// in place, member by member, never unpacked to disk; the tables may stand
// in a folder of the archive), or tables held in memory.
//
// No table is read past sizeLimit() bytes: a larger one is refused with a
// message instead of being read for minutes (a zip member's size is known
// from its header; anything else is counted as it is read). Tables kept in
// memory whole have a lower limit (GtfsTableReader::keptTableLimit).
class GtfsFeed
{
public:
    // Generous: the stop times of a whole country's feed stay below it.
    static constexpr qint64 defaultSizeLimit = qint64{4} << 30;
    // Unpacked bytes per archived byte a zip member may reach, as for the
    // archives of CZPTT messages; beyond it the member fails as a zip bomb.
    static constexpr int maxCompressionRatio = 100;

    // A directory or a .zip file; nullptr with a message when it is neither
    // or cannot be read.
    static std::unique_ptr<GtfsFeed> open(const QString &path, QString &error);
    // Tables by file name ("stops.txt" → its bytes).
    static std::unique_ptr<GtfsFeed> fromTables(std::map<QString, QByteArray> tables);

    virtual ~GtfsFeed() = default;

    // What the feed was opened from, for messages.
    const QString &path() const { return m_path; }

    qint64 sizeLimit() const { return m_sizeLimit; }
    void setSizeLimit(qint64 limit) { m_sizeLimit = limit; }

    virtual bool hasTable(const QString &name) const = 0;
    // The table's size in bytes when known beforehand, else -1.
    virtual qint64 tableSize(const QString &name) const = 0;
    // The table open for reading; nullptr when the feed has none or it
    // cannot be opened (then with a message in error).
    virtual std::unique_ptr<QIODevice> openTable(const QString &name, QString &error) const = 0;

protected:
    explicit GtfsFeed(QString path) : m_path(std::move(path)) {}

private:
    QString m_path;
    qint64 m_sizeLimit = defaultSizeLimit;
};
