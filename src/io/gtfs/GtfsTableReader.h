#pragma once

#include "FeedTable.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>

class GtfsFeed;
class GtfsSkipTally;
class QIODevice;

// A table of a feed opened for reading: the size limit checked, the header
// read, the columns a reader cannot do without checked, and every failure
// counted in the tally under the table's name, so readers only walk rows.
class GtfsTableReader
{
public:
    static constexpr int progressRows = 65536;

    // Called at the first row and then every 65536 rows with the bytes read
    // of this table; false cancels.
    using Progress = std::function<bool(qint64 bytesRead)>;

    // Tables whose every row is kept in memory (stops, routes, trips) are
    // refused at this size, so a huge one gets a message and not an
    // exhausted memory; tables read through, keeping only the rows of the
    // chosen routes and day, are held to the feed's own limit.
    static constexpr qint64 keptTableLimit = qint64{256} << 20;

    struct Use
    {
        bool required = false;  // a missing table is counted
        bool keptWhole = false; // see keptTableLimit
    };

    GtfsTableReader(const GtfsFeed &feed, const QString &name, GtfsSkipTally &tally, Use use, Progress progress = {});
    ~GtfsTableReader();

    // Open with a header and every column asked for so far.
    bool ok() const { return m_ok; }
    // Counts each missing column and leaves the table unread when one is.
    bool require(std::initializer_list<std::string_view> columns);
    int column(std::string_view name) const;

    // The next row; a malformed one is counted and passed over. false at
    // the end, on a failure (counted) or when the progress cancelled.
    bool next();
    bool cancelled() const { return m_cancelled; }

    std::string_view field(int column) const { return m_table->field(column); }
    qint64 line() const { return m_table->line(); }
    // Counts the current row as left out.
    void skipRow(const QString &reason);

    const QString &name() const { return m_name; }

private:
    QString m_name;
    GtfsSkipTally &m_tally;
    Progress m_progress;
    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<FeedTable> m_table;
    qint64 m_sizeLimit = 0;
    int m_rowsSinceProgress = progressRows - 1;
    bool m_ok = false;
    bool m_cancelled = false;
};
