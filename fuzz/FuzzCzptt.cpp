// The CZPTT message reader on any bytes, followed by the steps of an import:
// the day of the first date the message runs, the line between the default
// ends with its plan, a new line made of it with the day's trains, and the
// day again into that document, which must save and open again. A broken
// rule of the steps aborts.
#include "FuzzSupport.h"

#include "io/czptt/CzpttTimetable.h"
#include "import/LinePlanner.h"
#include "import/LineTrains.h"
#include "import/RealTimetableImport.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int32_t fortnight = 15 * 86400;

void checkMessage(const CzpttReadResult &read)
{
    if (read.message.has_value() == !read.error.isEmpty())
        FuzzSupport::fault("a message and a reason to refuse it, or neither");
    if (!read.message)
        return;
    for (const CzpttLocation &l : read.message->locations) {
        if (!l.arrival && !l.departure)
            FuzzSupport::fault("a location without a time was kept");
        for (const std::optional<int32_t> &t : {l.arrival, l.departure})
            if (t && (*t < -fortnight || *t > fortnight))
                FuzzSupport::fault("a time beyond the offsets allowed");
    }
}

DayTimetable firstDayRunning(const CzpttTimetable &year)
{
    int tries = 0;
    for (QDate d = year.firstDay(); d.isValid() && d <= year.lastDay() && tries < 400; d = d.addDays(1), ++tries) {
        DayTimetable day = year.day(d);
        if (!day.trains.empty())
            return day;
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray xml(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkMessage(readCzpttMessage(xml));

    CzpttTimetable year;
    year.add(QStringLiteral("fuzz.xml"), xml);
    const DayTimetable day = firstDayRunning(year);
    for (const DayTrain &t : day.trains)
        for (const DayCall &c : t.calls)
            if (c.point < 0 || static_cast<size_t>(c.point) >= day.points.size())
                FuzzSupport::fault("a call at no point of the day");

    Document doc;
    if (const std::optional<LinePlanner::Ends> ends = LinePlanner::defaultEnds(day)) {
        const std::vector<int> line = LinePlanner::pointsBetween(day, ends->from, ends->to);
        const LinePlanner::LinePlan plan = LinePlanner::plan(day, line);
        if (plan.stations.size() != line.size())
            FuzzSupport::fault("the plan lost points of the line");
        for (const LinePlanner::PlanStation &s : plan.stations) {
            if (s.metres < 0)
                FuzzSupport::fault("a station of the plan below zero");
        }
        const RealTimetableImport::Result made = RealTimetableImport::newLine(
            doc, day, day.points[static_cast<size_t>(ends->from)].name, day.points[static_cast<size_t>(ends->to)].name);
        if (made.ok()) {
            if (doc.noDocument || made.stations != static_cast<int>(doc.stations.size())
                || made.trains() != static_cast<int>(doc.trains.size()))
                FuzzSupport::fault("the new line's counts are not the document's");
            for (size_t i = 0; i < doc.stations.size(); ++i) {
                const Station &st = doc.stations[i];
                if (!st.kind || st.kind->stationIndex != static_cast<int32_t>(i + 1))
                    FuzzSupport::fault("a station of the new line without its kind");
                if (i > 0 && st.metres < doc.stations[i - 1].metres)
                    FuzzSupport::fault("the new line's stations are not in kilometre order");
                if (std::abs(st.metres) > RealTimetableImport::kmLimit * 1000)
                    FuzzSupport::fault("a station of the new line beyond the limit");
            }
        }
    }
    const size_t before = doc.trains.size();
    const ImportSummary summary = LineTrains::appendTo(doc, day);
    if (doc.trains.size() != before + static_cast<size_t>(summary.added))
        FuzzSupport::fault("the import counted trains it did not add");
    for (const Train &t : doc.trains) {
        if (t.rowCount() < 2)
            FuzzSupport::fault("the import added a train of fewer than two rows");
        for (int k = 0; k < t.rowCount(); ++k) {
            const TrainRow r = t.row(k);
            if (r.station < 1 || r.station > static_cast<int32_t>(doc.stations.size()))
                FuzzSupport::fault("the import added a row at no station of the document");
            if (r.time < 0.0 || r.time >= 1.0)
                FuzzSupport::fault("a row's time is not a time of day");
        }
    }
    FuzzSupport::checkSaveReopens(doc);
    return 0;
}
