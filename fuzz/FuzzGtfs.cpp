// The GTFS import on any bytes: the input is a feed's tables (FuzzGtfsFeed.h).
// Each table is read record by record twice, from one buffer and from a
// device that gives seven bytes at a time, and both readings must agree;
// then the feed's first day of service is read and what it gives must hold
// together: calls at points of the day, a time on every call, points in
// line order with their positions, names within the document's length.
// A new line between the default ends is made of it, starting at 0, and
// must save and open again.
#include "FuzzGtfsFeed.h"
#include "FuzzSupport.h"

#include "io/gtfs/FeedTable.h"
#include "io/gtfs/GtfsDayReader.h"
#include "io/gtfs/GtfsFeed.h"
#include "import/LinePlanner.h"
#include "import/RealTimetableImport.h"
#include "model/Document.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Trickle : public QIODevice
{
public:
    explicit Trickle(const QByteArray &bytes) : m_bytes(bytes) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>({maxSize, 7, m_bytes.size() - m_at});
        std::memcpy(data, m_bytes.constData() + m_at, size_t(n));
        m_at += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray &m_bytes;
    qint64 m_at = 0;
};

std::vector<std::string> records(QIODevice &device)
{
    FeedTable table(device, qint64{1} << 30);
    std::vector<std::string> out;
    FeedTable::Status s = table.readHeader();
    for (;; s = table.next()) {
        std::string r = std::to_string(int(s)) + ':' + std::to_string(table.line());
        if (s == FeedTable::Status::Row)
            for (int i = 0; i < table.fieldCount(); ++i)
                r += '|' + std::string(table.field(i));
        out.push_back(std::move(r));
        if (s != FeedTable::Status::Row && s != FeedTable::Status::Malformed)
            return out;
    }
}

void checkDay(const GtfsDay &read)
{
    const DayTimetable &day = read.timetable;
    const int32_t pointCount = static_cast<int32_t>(day.points.size());
    for (size_t i = 0; i < day.points.size(); ++i) {
        if (!day.points[i].metres || *day.points[i].metres < 0)
            FuzzSupport::fault("a point of the day has no position");
        if (i > 0 && *day.points[i].metres < *day.points[i - 1].metres)
            FuzzSupport::fault("the points are not in line order");
    }
    for (const DayTrain &t : day.trains) {
        if (t.calls.size() < 2)
            FuzzSupport::fault("a train of fewer than two calls");
        if (t.name.size() > GtfsDayReader::nameLength)
            FuzzSupport::fault("a train name longer than the document's");
        int32_t last = INT32_MIN;
        for (const DayCall &c : t.calls) {
            if (c.point < 0 || c.point >= pointCount)
                FuzzSupport::fault("a call at no point of the day");
            if (!c.departure || (c.stops && (!c.arrival || *c.arrival > *c.departure)))
                FuzzSupport::fault("a call without its times");
            if (c.arrival.value_or(*c.departure) < last)
                FuzzSupport::fault("a train's times run back");
            last = *c.departure;
        }
    }
}

void checkNewLine(const DayTimetable &day)
{
    const std::optional<LinePlanner::Ends> ends = LinePlanner::defaultEnds(day);
    if (!ends)
        return;
    Document doc;
    const RealTimetableImport::Result made =
        RealTimetableImport::newLine(doc, day, day.points[static_cast<size_t>(ends->from)].name,
                                     day.points[static_cast<size_t>(ends->to)].name, RealTimetableImport::startAtZero);
    if (!made.ok())
        return;
    if (doc.stations.empty() || doc.stations.front().metres != 0)
        FuzzSupport::fault("a new line of a feed does not start at 0");
    FuzzSupport::checkSaveReopens(doc);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::map<QString, QByteArray> tables = FuzzGtfsFeed::split(input);
    for (const auto &[name, bytes] : tables) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        Trickle trickle(bytes);
        if (records(buffer) != records(trickle))
            FuzzSupport::fault("a table reads differently in small pieces");
    }

    const std::unique_ptr<GtfsFeed> feed = GtfsFeed::fromTables(tables);
    const std::optional<std::pair<QDate, QDate>> dates = GtfsDayReader::serviceDates(*feed);
    if (dates && dates->first > dates->second)
        FuzzSupport::fault("the service dates run backwards");
    const QDate day = dates ? dates->first : QDate(2026, 3, 4);
    const GtfsDay read = GtfsDayReader::readDay(*feed, {day, {}});
    checkDay(read);
    checkNewLine(read.timetable);
    return 0;
}
