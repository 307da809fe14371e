#pragma once

#include <QtGlobal>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

// One table of a GTFS feed: comma-separated values after RFC 4180, read
// record by record from any device (a file, an archive member, a buffer)
// with a bounded buffer, so a table of gigabytes costs a few megabytes.
//
// What feeds really contain is taken: a UTF-8 byte-order mark, CR LF, LF or
// CR line ends, empty lines (left out), quoted fields with commas, doubled
// quotes and line breaks, a quote inside an unquoted field (kept as it is),
// rows with fewer or more fields than the header (missing fields read as
// empty). A record that cannot be read (text after a closing quote, a quote
// never closed, a record over recordLimit bytes) is reported as Malformed
// and reading resumes on the line after the one the record began on, so one
// stray quote costs one row, not the rest of the table.
//
// Columns are found by their header names; fields come back trimmed of
// blanks and tabs.
class FeedTable
{
public:
    static constexpr int recordLimit = 1 << 20;

    enum class Status {
        Row,       // a record is ready
        Malformed, // a record was left out; line() names it
        End,       // no more records
        TooLarge,  // the table passed the size limit; nothing more is read
        ReadError, // the device failed; nothing more is read
    };

    // Reads at most sizeLimit bytes of the device (which must be open).
    FeedTable(QIODevice &device, qint64 sizeLimit);

    // Reads the first record as the header. Row when there is one; End for
    // an empty table; TooLarge or ReadError as next() gives them.
    Status readHeader();
    const std::vector<std::string> &header() const { return m_header; }
    // The index of a header name, or -1.
    int column(std::string_view name) const;

    Status next();

    // A field of the current record, trimmed; empty for a column of -1 or
    // one the record does not reach.
    std::string_view field(int column) const;
    int fieldCount() const { return static_cast<int>(m_fieldEnds.size()); }

    // The 1-based line on which the current (or the left out) record begins.
    qint64 line() const { return m_line; }
    // Bytes taken from the device so far.
    qint64 bytesRead() const { return m_bytesRead; }

private:
    enum class Parse { Complete, NeedMore, Malformed };

    Parse parseRecord();
    bool fill();
    Status skipLine();

    QIODevice &m_device;
    qint64 m_sizeLimit;
    qint64 m_bytesRead = 0;
    bool m_eof = false;
    bool m_tooLarge = false;
    bool m_readError = false;
    bool m_started = false;

    std::vector<char> m_buffer;
    size_t m_pos = 0;  // start of the record being read
    size_t m_end = 0;  // end of the bytes in the buffer
    size_t m_next = 0; // where the record parsed last ends
    qint64 m_nextLine = 1;
    qint64 m_line = 0;
    int m_recordLines = 0; // line breaks the parsed record spans, with its end
    bool m_quoted = false; // some field of the parsed record had quotes

    std::string m_record;
    std::vector<uint32_t> m_fieldEnds;
    std::vector<std::string> m_header;
};
