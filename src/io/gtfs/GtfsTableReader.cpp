#include "GtfsTableReader.h"

#include "GtfsFeed.h"
#include "GtfsMessages.h"
#include "GtfsSkipTally.h"

#include <QIODevice>

#include <algorithm>

GtfsTableReader::GtfsTableReader(const GtfsFeed &feed, const QString &name, GtfsSkipTally &tally, Use use,
                                 Progress progress)
    : m_name(name), m_tally(tally), m_progress(std::move(progress)),
      m_sizeLimit(use.keptWhole ? std::min(feed.sizeLimit(), keptTableLimit) : feed.sizeLimit())
{
    if (!feed.hasTable(name)) {
        if (use.required)
            tally.table(name, GtfsMessages::missingFile);
        return;
    }
    if (feed.tableSize(name) > m_sizeLimit) {
        tally.table(name, GtfsMessages::tooLarge(m_sizeLimit));
        return;
    }
    QString error;
    m_device = feed.openTable(name, error);
    if (!m_device) {
        tally.table(name, GtfsMessages::readError(error.isEmpty() ? GtfsMessages::cannotOpenTable : error));
        return;
    }
    m_table = std::make_unique<FeedTable>(*m_device, m_sizeLimit);
    switch (m_table->readHeader()) {
    case FeedTable::Status::Row:
        m_ok = true;
        break;
    case FeedTable::Status::TooLarge:
        tally.table(name, GtfsMessages::tooLarge(m_sizeLimit));
        break;
    case FeedTable::Status::ReadError:
        tally.table(name, GtfsMessages::readError(m_device->errorString()));
        break;
    default:
        // An empty table has no header, so none of its columns.
        m_ok = true;
        break;
    }
}

GtfsTableReader::~GtfsTableReader() = default;

bool GtfsTableReader::require(std::initializer_list<std::string_view> columns)
{
    if (!m_table)
        return false;
    for (std::string_view c : columns) {
        if (m_table->column(c) < 0) {
            m_tally.table(m_name, GtfsMessages::missingColumn(QString::fromUtf8(c.data(), qsizetype(c.size()))));
            m_ok = false;
        }
    }
    return m_ok;
}

int GtfsTableReader::column(std::string_view name) const
{
    return m_table ? m_table->column(name) : -1;
}

bool GtfsTableReader::next()
{
    if (!m_ok || m_cancelled)
        return false;
    for (;;) {
        if (m_progress && ++m_rowsSinceProgress >= progressRows) {
            m_rowsSinceProgress = 0;
            if (!m_progress(m_table->bytesRead())) {
                m_cancelled = true;
                m_ok = false;
                return false;
            }
        }
        switch (m_table->next()) {
        case FeedTable::Status::Row:
            return true;
        case FeedTable::Status::Malformed:
            m_tally.row(m_name, GtfsMessages::badRow, m_table->line());
            continue;
        case FeedTable::Status::End:
            break;
        case FeedTable::Status::TooLarge:
            m_tally.table(m_name, GtfsMessages::tooLarge(m_sizeLimit));
            break;
        case FeedTable::Status::ReadError:
            m_tally.table(m_name, GtfsMessages::readError(m_device->errorString()));
            break;
        }
        m_ok = false;
        return false;
    }
}

void GtfsTableReader::skipRow(const QString &reason)
{
    m_tally.row(m_name, reason, m_table->line());
}
