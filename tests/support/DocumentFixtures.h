#pragma once

#include "model/ClockTime.h"
#include "model/Document.h"

#include <tuple>
#include <vector>

// Trains as the editor tests write them: rows of (station, hours, minutes,
// mark, half minute, short dwell), and read back the same way.
namespace DocumentFixtures {

struct Row
{
    int32_t station;
    int hours = 0, minutes = 0;
    int32_t mark = 0;
    int half = 0, shortDwell = 0;
};
using Rows = std::vector<std::tuple<int, int, int, int, int, int>>;

inline Train train(const char *name, const std::vector<Row> &rows)
{
    Train t;
    t.name = name;
    for (const Row &r : rows)
        Document::addRow(t, r.station, makeTime(r.hours, r.minutes), r.mark, static_cast<uint8_t>(r.half),
                         static_cast<uint8_t>(r.shortDwell));
    return t;
}

// Appended to the document's trains, the count the editors keep with it.
inline Train &addTrain(Document &doc, const char *name, const std::vector<Row> &rows)
{
    doc.trains.push_back(train(name, rows));
    doc.trainCount = static_cast<int32_t>(doc.trains.size());
    return doc.trains.back();
}

// A visible train label put at the head of the list, as a drop puts it.
inline TrainLabel &addLabel(Document &doc, const char *text, double time, double level, double angle = 0.0)
{
    TrainLabel &l = doc.newTrainLabel();
    l.text = text;
    l.time = time;
    l.level = level;
    l.angle = angle;
    l.visible = 1;
    return l;
}

// A train's rows with their times as hours and minutes (seconds dropped).
inline Rows rowsOf(const Train &t)
{
    Rows rows;
    for (int k = 0; k < t.rowCount(); ++k) {
        const TrainRow r = t.row(k);
        const ClockParts c = decodeTime(r.time);
        rows.emplace_back(r.station, c.hours, c.minutes, r.mark, r.halfMinute, r.shortDwell);
    }
    return rows;
}

} // namespace DocumentFixtures
