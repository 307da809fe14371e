#include "FeedTable.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

// The buffer starts small (most tables are) and doubles while a read would
// get less than minimumRead, up to what the longest record needs.
constexpr size_t initialBuffer = 64 << 10;
constexpr size_t minimumRead = 16 << 10;
constexpr size_t maximumBuffer = FeedTable::recordLimit + initialBuffer;

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

FeedTable::FeedTable(QIODevice &device, qint64 sizeLimit) : m_device(device), m_sizeLimit(sizeLimit)
{
    m_buffer.resize(initialBuffer);
    // A device that knows its size is refused before a byte is read.
    if (!device.isSequential() && device.size() > sizeLimit)
        m_tooLarge = true;
}

// Moves the unread bytes to the front and reads another chunk behind them.
// false when nothing more can come.
bool FeedTable::fill()
{
    if (m_eof || m_tooLarge || m_readError)
        return false;
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
        m_end -= m_pos;
        m_next -= std::min(m_next, m_pos);
        m_pos = 0;
    }
    if (m_buffer.size() - m_end < minimumRead && m_buffer.size() < maximumBuffer)
        m_buffer.resize(std::min(maximumBuffer, m_buffer.size() * 2));
    const size_t room = m_buffer.size() - m_end;
    if (room == 0)
        return false;
    const qint64 want = static_cast<qint64>(room);
    const qint64 got = m_device.read(m_buffer.data() + m_end, want);
    if (got < 0) {
        m_readError = true;
        return false;
    }
    if (got == 0) {
        // A sequential device may have nothing now and more later only when
        // it is still open for more; files and archive members are not.
        m_eof = true;
        return true;
    }
    m_bytesRead += got;
    if (m_bytesRead > m_sizeLimit) {
        m_tooLarge = true;
        return false;
    }
    m_end += static_cast<size_t>(got);
    return true;
}

// Parses one record from m_pos into m_record and m_fieldEnds. NeedMore when
// the buffer ends inside it before the device's end.
FeedTable::Parse FeedTable::parseRecord()
{
    m_record.clear();
    m_fieldEnds.clear();
    m_recordLines = 0;
    m_quoted = false;
    const char *buf = m_buffer.data();
    size_t p = m_pos;
    const size_t end = m_end;
    for (;;) {
        if (p - m_pos > static_cast<size_t>(recordLimit))
            return Parse::Malformed;
        if (p < end && buf[p] == '"') {
            m_quoted = true;
            ++p;
            for (;;) {
                const char *q = static_cast<const char *>(std::memchr(buf + p, '"', end - p));
                if (!q)
                    return m_eof ? Parse::Malformed : Parse::NeedMore;
                const size_t at = static_cast<size_t>(q - buf);
                m_recordLines += static_cast<int>(std::count(buf + p, q, '\n'));
                m_record.append(buf + p, at - p);
                p = at + 1;
                if (p == end && !m_eof)
                    return Parse::NeedMore;
                if (p < end && buf[p] == '"') {
                    m_record.push_back('"');
                    ++p;
                    continue;
                }
                break;
            }
            if (p < end && buf[p] != ',' && buf[p] != '\n' && buf[p] != '\r')
                return Parse::Malformed;
        } else {
            const size_t start = p;
            while (p < end && buf[p] != ',' && buf[p] != '\n' && buf[p] != '\r')
                ++p;
            if (p == end && !m_eof)
                return Parse::NeedMore;
            m_record.append(buf + start, p - start);
        }
        m_fieldEnds.push_back(static_cast<uint32_t>(m_record.size()));
        if (p == end) {
            m_next = p;
            return Parse::Complete;
        }
        const char c = buf[p++];
        if (c == ',')
            continue;
        if (c == '\r') {
            if (p == end && !m_eof)
                return Parse::NeedMore;
            if (p < end && buf[p] == '\n')
                ++p;
        }
        ++m_recordLines;
        m_next = p;
        return Parse::Complete;
    }
}

// Leaves out the rest of the line the record at m_pos began on.
FeedTable::Status FeedTable::skipLine()
{
    for (;;) {
        const char *buf = m_buffer.data();
        size_t p = m_pos;
        while (p < m_end && buf[p] != '\n' && buf[p] != '\r')
            ++p;
        if (p < m_end) {
            if (buf[p] == '\r' && p + 1 == m_end && !m_eof) {
                m_pos = p;
                if (!fill())
                    break;
                continue;
            }
            if (buf[p] == '\r' && p + 1 < m_end && buf[p + 1] == '\n')
                ++p;
            m_pos = p + 1;
            ++m_nextLine;
            return Status::Row;
        }
        m_pos = m_end;
        if (m_eof || !fill())
            break;
    }
    if (m_tooLarge)
        return Status::TooLarge;
    if (m_readError)
        return Status::ReadError;
    return Status::End;
}

FeedTable::Status FeedTable::next()
{
    for (;;) {
        if (m_tooLarge)
            return Status::TooLarge;
        if (m_readError)
            return Status::ReadError;
        if (m_pos == m_end || (!m_started && m_end - m_pos < 3 && !m_eof)) {
            if (m_pos == m_end && m_eof)
                return Status::End;
            fill();
            continue;
        }
        // The byte-order mark, once its three bytes are in (or the table is
        // shorter).
        if (!m_started) {
            m_started = true;
            if (m_end - m_pos >= 3 && std::memcmp(m_buffer.data() + m_pos, "\xEF\xBB\xBF", 3) == 0)
                m_pos += 3;
            continue;
        }
        const Parse parsed = parseRecord();
        if (parsed == Parse::NeedMore && m_end - m_pos <= static_cast<size_t>(recordLimit)) {
            fill();
            continue;
        }
        m_line = m_nextLine;
        if (parsed != Parse::Complete) {
            const Status s = skipLine();
            return s == Status::Row || s == Status::End ? Status::Malformed : s;
        }
        m_pos = m_next;
        m_nextLine += m_recordLines;
        // An empty line reads as one empty field that had no quotes.
        if (m_fieldEnds.size() == 1 && m_record.empty() && !m_quoted)
            continue;
        return Status::Row;
    }
}

FeedTable::Status FeedTable::readHeader()
{
    const Status s = next();
    if (s != Status::Row)
        return s;
    m_header.clear();
    for (int i = 0; i < fieldCount(); ++i)
        m_header.emplace_back(field(i));
    return s;
}

int FeedTable::column(std::string_view name) const
{
    const auto it = std::find(m_header.begin(), m_header.end(), name);
    return it == m_header.end() ? -1 : static_cast<int>(it - m_header.begin());
}

std::string_view FeedTable::field(int column) const
{
    if (column < 0 || column >= fieldCount())
        return {};
    const uint32_t begin = column == 0 ? 0 : m_fieldEnds[column - 1];
    return trimmed(std::string_view(m_record).substr(begin, m_fieldEnds[column] - begin));
}
