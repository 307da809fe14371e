#pragma once

// The day's trains into the stations a document already has: every train
// that reaches at least two of them becomes a train of the document, with
// one row per station it reaches (arrival and departure as two rows where
// it stands, one row where it passes or stops under half a minute). The
// stations are matched by name, exactly after trimming; the first station
// of a name is the one meant.
//
// A train is cut to the line: its first row is the departure from the first
// station of the line it reaches and its last row the arrival at the last,
// whatever it does beyond them. Times are kept as times of day, as the
// document keeps them; the diagram draws a train across midnight by its own
// rule. A seconds value of 30 is the row's half-minute flag, a stop under
// half a minute its short-dwell flag.
//
// A train whose name a train of the document already has replaces that
// train's rows where it stands in the list (its "Rušící" and "Podle
// potřeby" flags stay as the user set them), so importing an updated
// timetable again does not add the trains twice. The first document train
// of a name is replaced, once per import; further trains of the same name
// in the day are added.

#include "io/sources/DayTimetable.h"
#include "ImportSummary.h"

#include <QStringList>

#include <cstdint>
#include <vector>

class Document;

namespace LineTrains {

// The station (1-based, in the order of the names) each point of the day
// is, 0 for none: names compared trimmed, the first station of a name wins.
std::vector<int32_t> stationsByName(const QStringList &stationNames, const DayTimetable &day);

// Adds or replaces the trains and sets the document's train counter to its
// number of trains. Label generation and the render are the caller's.
ImportSummary appendTo(Document &doc, const DayTimetable &day);
// The same with the stations of the points given (as stationsByName gives
// them): a line just made from the day knows them without its names, which
// the document may hold cut or in another alphabet.
ImportSummary appendTo(Document &doc, const DayTimetable &day, const std::vector<int32_t> &stationOfPoint);

// How many of the day's trains reach at least two stations of these names
// (in station order): the trains appendTo would add or replace, for a
// preview before anything is changed.
int countTrains(const QStringList &stationNames, const DayTimetable &day);
int countTrains(const std::vector<int32_t> &stationOfPoint, const DayTimetable &day);

} // namespace LineTrains
