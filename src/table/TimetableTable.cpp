#include "TimetableTable.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/Kilometres.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr int halfMinutesPerDay = 2 * 1440;
constexpr int labelLength = 15; // a train label holds 15 characters of the name

// One stop or pass of a train at a station: its first and last rows there.
struct Call
{
    int station = 0;
    int arrival = 0; // half-minutes of the day
    int departure = 0;
};

int halfMinutesOf(const TrainRow &row)
{
    return 2 * minuteOfDay(row.time) + (row.halfMinute ? 1 : 0);
}

std::vector<Call> callsOf(const Train &train, int stations)
{
    std::vector<Call> calls;
    for (int k = 0; k < train.rowCount(); ++k) {
        const TrainRow row = train.row(k);
        if (row.station <= 0 || row.station > stations)
            continue;
        const int t = halfMinutesOf(row);
        if (!calls.empty() && calls.back().station == row.station)
            calls.back().departure = t;
        else
            calls.push_back({row.station, t, t});
    }
    return calls;
}

// Direction 1 runs down the station list, 2 up it; 0 for neither.
int directionOf(const std::vector<Call> &calls)
{
    if (calls.size() < 2 || calls.front().station == calls.back().station)
        return 0;
    return calls.front().station < calls.back().station ? 1 : 2;
}

bool standsAMinute(const Call &c)
{
    return (c.departure - c.arrival + halfMinutesPerDay) % halfMinutesPerDay >= 2;
}

} // namespace

QString TimetableTable::timeText(int halfMinutes)
{
    const int minutes = halfMinutes / 2;
    QString text = QString::number(minutes / 60) + u':' + QString::number(minutes % 60).rightJustified(2, u'0');
    if (halfMinutes % 2 != 0)
        text += u'½';
    return text;
}

QString TimetableTable::Cell::text() const
{
    switch (kind) {
    case Kind::Time:
        return timeText(halfMinutes);
    case Kind::Pass:
        return QStringLiteral("|");
    case Kind::Empty:
        break;
    }
    return {};
}

QString TimetableTable::Cell::spreadsheetText() const
{
    if (kind != Kind::Time || halfMinutes % 2 == 0)
        return text();
    return timeText(halfMinutes - 1) + QStringLiteral(":30");
}

TimetableTable::TimetableTable(const Document &doc, int direction) : m_direction(direction)
{
    const int stations = static_cast<int>(doc.stations.size());
    for (const Station &s : doc.stations) {
        m_stationNames.push_back(cp1250::toUnicode(s.name.view()).trimmed());
        m_stationMetres.push_back(s.metres);
    }
    // The stations in the direction's order; position[s] is station s's place.
    std::vector<int> order(static_cast<size_t>(stations));
    std::iota(order.begin(), order.end(), 1);
    if (direction == 2)
        std::reverse(order.begin(), order.end());
    std::vector<int> position(static_cast<size_t>(stations) + 1, 0);
    for (int p = 0; p < stations; ++p)
        position[static_cast<size_t>(order[static_cast<size_t>(p)])] = p;
    if (stations > 0)
        m_title = m_stationNames[static_cast<size_t>(order.front() - 1)] + QStringLiteral(" → ")
                  + m_stationNames[static_cast<size_t>(order.back() - 1)];

    struct Run
    {
        int train;
        std::vector<Call> calls;
    };
    std::vector<Run> runs;
    std::vector<char> hasArrival(static_cast<size_t>(stations) + 1, 0);
    for (size_t i = 0; i < doc.trains.size(); ++i) {
        std::vector<Call> calls = callsOf(doc.trains[i], stations);
        if (directionOf(calls) != direction)
            continue;
        for (size_t c = 1; c + 1 < calls.size(); ++c)
            if (standsAMinute(calls[c]))
                hasArrival[static_cast<size_t>(calls[c].station)] = 1;
        runs.push_back({static_cast<int>(i), std::move(calls)});
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const Run &a, const Run &b) { return a.calls.front().arrival < b.calls.front().arrival; });

    // rowOf[s]: the departure row of station s; its arrival row is the one before.
    std::vector<int> rowOf(static_cast<size_t>(stations) + 1, 0);
    for (int s : order) {
        if (hasArrival[static_cast<size_t>(s)])
            m_rows.push_back({s, true});
        rowOf[static_cast<size_t>(s)] = static_cast<int>(m_rows.size());
        m_rows.push_back({s, false});
    }

    const size_t width = runs.size();
    m_cells.assign(m_rows.size() * width, Cell{});
    for (size_t col = 0; col < width; ++col) {
        const Run &run = runs[col];
        const Train &train = doc.trains[static_cast<size_t>(run.train)];
        m_columns.push_back(
            {run.train,
             cp1250::toUnicode(train.name.view().first(std::min<qsizetype>(labelLength, train.name.view().size())))
                 .trimmed()});
        const auto put = [&](int row, Cell::Kind kind, int t = 0) {
            Cell &c = m_cells[static_cast<size_t>(row) * width + col];
            c.kind = kind;
            c.halfMinutes = static_cast<int16_t>(t);
        };
        // The stations between its first and last calls are passed unless called at.
        int from = stations, to = -1;
        for (const Call &c : run.calls) {
            from = std::min(from, position[static_cast<size_t>(c.station)]);
            to = std::max(to, position[static_cast<size_t>(c.station)]);
        }
        for (int p = from; p <= to; ++p) {
            const int s = order[static_cast<size_t>(p)];
            put(rowOf[static_cast<size_t>(s)], Cell::Kind::Pass);
            if (hasArrival[static_cast<size_t>(s)])
                put(rowOf[static_cast<size_t>(s)] - 1, Cell::Kind::Pass);
        }
        std::vector<char> seen(static_cast<size_t>(stations) + 1, 0);
        for (size_t k = 0; k < run.calls.size(); ++k) {
            const Call &c = run.calls[k];
            if (seen[static_cast<size_t>(c.station)])
                continue; // a station called at again shows its first call
            seen[static_cast<size_t>(c.station)] = 1;
            const int row = rowOf[static_cast<size_t>(c.station)];
            const bool arrivalRow = hasArrival[static_cast<size_t>(c.station)] != 0;
            const bool first = k == 0, last = k + 1 == run.calls.size();
            if (arrivalRow)
                put(row - 1, Cell::Kind::Empty);
            if (last) {
                put(row, Cell::Kind::Empty);
                put(arrivalRow ? row - 1 : row, Cell::Kind::Time, c.arrival);
                continue;
            }
            put(row, Cell::Kind::Time, c.departure);
            if (arrivalRow && !first && standsAMinute(c))
                put(row - 1, Cell::Kind::Time, c.arrival);
        }
    }
}

QString TimetableTable::stationName(int row) const
{
    return m_stationNames[static_cast<size_t>(m_rows[static_cast<size_t>(row)].station - 1)];
}

QString TimetableTable::kilometreText(int row) const
{
    return Kilometres::text(m_stationMetres[static_cast<size_t>(m_rows[static_cast<size_t>(row)].station - 1)]);
}

QString TimetableTable::rowKind(int row) const
{
    return m_rows[static_cast<size_t>(row)].arrival ? QStringLiteral("příj.") : QStringLiteral("odj.");
}
