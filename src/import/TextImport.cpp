#include "TextImport.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/Errors.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace {

constexpr char tab = '\t';

// A time field: HH:MM in characters 1-5 (character 3 is not examined, a
// blank for the first hour digit reads as 0), then an optional suffix:
// a signed number that becomes the mark and ";"-separated keywords.
struct TimeField
{
    double time = 0.0;
    int32_t mark = 0;
    uint8_t halfMinute = 0;
    uint8_t shortDwell = 0;
};

// "+12" or "-3": a sign and decimal digits; anything else gives no mark.
int32_t parseMark(QByteArrayView text)
{
    if (text.size() < 2 || (text[0] != '+' && text[0] != '-'))
        return 0;
    const bool negative = text[0] == '-';
    // The negative range reaches one further than the positive.
    const int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + (negative ? 1 : 0);
    int64_t v = 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        v = v * 10 + (text[i] - '0');
        if (v > limit)
            return 0;
    }
    return static_cast<int32_t>(negative ? -v : v);
}

TimeField parseTimeField(QByteArrayView field)
{
    TimeField f;
    QByteArray clock = field.first(std::min<qsizetype>(field.size(), 5)).toByteArray();
    if (!clock.isEmpty() && clock[0] == ' ')
        clock[0] = '0';
    f.time = parseClockText(QByteArrayView(clock));
    if (field.size() <= 5)
        return f;
    const QByteArray suffix = field.sliced(5).toByteArray();
    const QList<QByteArray> words = suffix.split(';');
    f.mark = parseMark(words.front());
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (words[i] == "P")
            f.halfMinute = 1;
        else if (words[i] == "PB")
            f.shortDwell = 1;
    }
    return f;
}

using StationIndex = QHash<QByteArray, int32_t>;

// The first station of a name is the one a line means.
StationIndex stationIndexOf(const Document &doc)
{
    StationIndex index;
    int32_t i = 0;
    for (const Station &s : doc.stations) {
        ++i;
        const QByteArray name = s.name.toByteArray();
        if (!index.contains(name))
            index.insert(name, i);
    }
    return index;
}

// The station name of a station line: the text before its first TAB.
QByteArrayView nameOf(const QByteArray &line)
{
    const qsizetype end = line.indexOf(tab);
    return end < 0 ? QByteArrayView(line) : QByteArrayView(line).first(end);
}

// Station lines (lines with a TAB) that name a station of the document.
int namedStationLines(const std::vector<QByteArray> &lines, const StationIndex &stations)
{
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const QByteArray &line) {
        return line.contains(tab) && stations.contains(nameOf(line).toByteArray());
    }));
}

std::vector<QByteArray> linesOf(const QByteArray &text)
{
    std::vector<QByteArray> lines;
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype end = text.indexOf('\n', from);
        if (end < 0)
            end = text.size();
        qsizetype length = end - from;
        if (length > 0 && text.at(end - 1) == '\r')
            --length;
        if (length > 0)
            lines.push_back(text.mid(from, length));
        from = end + 1;
    }
    return lines;
}

std::vector<QByteArray> utf8Lines(QByteArrayView bytes)
{
    return linesOf(cp1250::fromUnicode(QString::fromUtf8(bytes)));
}

} // namespace

std::vector<QByteArray> TextImport::splitLines(const QByteArray &fileBytes, const Document &doc)
{
    if (fileBytes.startsWith("\xEF\xBB\xBF"))
        return utf8Lines(QByteArrayView(fileBytes).sliced(3));
    std::vector<QByteArray> lines = linesOf(fileBytes);
    // Code page 1250 text may happen to be valid UTF-8 too ("Ú" and "š" make
    // a UTF-8 pair): the reading that finds more of the stations wins.
    if (!fileBytes.isValidUtf8())
        return lines;
    std::vector<QByteArray> asUtf8 = utf8Lines(fileBytes);
    const StationIndex stations = stationIndexOf(doc);
    if (namedStationLines(asUtf8, stations) > namedStationLines(lines, stations))
        return asUtf8;
    return lines;
}

WholeFile::Read TextImport::readFile(const QString &path, const Document &doc, std::vector<QByteArray> &lines)
{
    WholeFile::Read read = WholeFile::read(path);
    if (read.status == WholeFile::Status::Ok)
        lines = splitLines(read.bytes, doc);
    read.bytes.clear();
    return read;
}

TextImport::Result TextImport::run(Document &doc, const std::vector<QByteArray> &lines)
{
    Result result;
    const StationIndex stationIndex = stationIndexOf(doc);

    const size_t before = doc.trains.size();
    size_t next = 0;
    const auto remaining = [&] { return lines.size() - next; };

    doc.trains.emplace_back();
    int created = 1;
    int rowState = 0; // 0 no row yet, 1 one row, 2 two rows or more
    try {
        while (remaining() >= 2) {
            Train &train = doc.trains.back();
            const QList<QByteArray> words = lines[next++].split(';');
            train.name = words.front();
            train.rusici = 0;
            train.podlePotreby = 0;
            for (qsizetype w = 1; w < words.size(); ++w) {
                if (words[w] == "pp")
                    train.podlePotreby = 1;
                else if (words[w] == "rus")
                    train.rusici = 1;
            }
            train.firstStation = 0;
            train.stops.clear();
            rowState = 0;

            while (remaining() >= 1 && !lines[next].startsWith('-')) {
                const QByteArray &line = lines[next++];
                const qsizetype nameEnd = line.indexOf(tab);
                const auto found = stationIndex.constFind(nameOf(line).toByteArray());
                if (found == stationIndex.constEnd())
                    continue;
                const int32_t station = found.value();
                QByteArrayView rest = nameEnd < 0 ? QByteArrayView() : QByteArrayView(line).sliced(nameEnd + 1);

                // Arrival: taken only once the train has a row, so the first
                // station's arrival is always dropped.
                if (!rest.isEmpty() && rest[0] == tab) {
                    rest = rest.sliced(1);
                } else if (!rest.isEmpty()) {
                    const qsizetype fieldEnd = rest.indexOf(tab);
                    const TimeField f = parseTimeField(fieldEnd < 0 ? rest : rest.first(fieldEnd));
                    if (rowState >= 1) {
                        Document::addRow(train, station, f.time, f.mark, f.halfMinute, f.shortDwell);
                        rowState = 2;
                    }
                    rest = fieldEnd < 0 ? QByteArrayView() : rest.sliced(fieldEnd + 1);
                }

                // Departure: the rest of the line.
                if (!rest.isEmpty() && rest[0] != tab) {
                    const TimeField f = parseTimeField(rest);
                    Document::addRow(train, station, f.time, f.mark, f.halfMinute, f.shortDwell);
                    rowState = std::min(rowState + 1, 2);
                }
            }
            if (remaining() >= 1)
                ++next; // the "-" line
            if (rowState == 2 && remaining() >= 2) {
                doc.trains.emplace_back();
                ++created;
            }
        }
        if (rowState < 2)
            doc.trains.pop_back();
        doc.trainCount = created - 1;
    } catch (const std::exception &e) {
        // The train being read is already in the list; it goes again, so the
        // list holds only whole trains.
        doc.trains.pop_back();
        result.ok = false;
        result.error = QString::fromLocal8Bit(e.what());
    }
    result.trainsAdded = static_cast<int>(doc.trains.size() - before);
    return result;
}
