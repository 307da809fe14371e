#pragma once

// A day of real trains into the document: the steps the import dialog and
// the command line both run, whichever timetable the day was read from.
//
// newLine makes the document a new line out of the day: the points between
// two end stations (LinePlanner), placed by the source (a codebook's
// kilometres; a GTFS reader has placed them already), kinds guessed where
// the source knows none, positions planned, and the stations listed from
// the lowest kilometre up; then the day's trains on them. intoLine adds the
// day's trains to the stations the document has. Either leaves the
// document as it was when it refuses. Label generation, the render and the
// undo step are the caller's.

#include "io/sources/DayTimetable.h"
#include "ImportSummary.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class Document;

namespace RealTimetableImport {

// A new line's stations lie within this many kilometres of 0, as the
// station editor lets a user type them.
constexpr int32_t kmLimit = 2000;

// Gives the points of the chosen line (indices into day.points, in line
// order) their metres: CodebookPlacement::place for CZPTT. Points left without
// metres are spaced by running times.
using Placer = std::function<void(DayTimetable &day, const std::vector<int> &line)>;

// The placer of a source whose positions are a measure of its own rather
// than the railway's kilometres (a GTFS feed measures from the lowest
// station of all its routes): the line's points moved together so that
// the lowest lies at 0, and the diagram starts at the line's first station.
void startAtZero(DayTimetable &day, const std::vector<int> &line);

// What an import would bring, shown before anything changes.
struct Preview
{
    QString error; // why nothing would be imported; the counts are 0 then
    int trains = 0;
    int stations = 0;
    ImportSummary leftOut; // the day's input left out, told before the error
    bool ok() const { return error.isEmpty(); }
    // "Nalezeno 28 vlaků, 13 stanic", or what was left out and the error.
    QString text() const;
};

struct Result
{
    QString error; // when set, the document is unchanged
    ImportSummary summary;
    // A word on what is not as the source gave it (positions estimated).
    QStringList notes;
    int stations = 0; // of the document afterwards
    bool ok() const { return error.isEmpty(); }
    // Trains added or replaced.
    int trains() const { return summary.added + summary.replaced; }
    // The summary's lines, then the notes; when refused, the input left
    // out, then the error.
    QString text() const;
};

// A day as the messages write it: "4. 3. 2026".
QString dayText(QDate day);
// "Nalezeno 28 vlaků, 13 stanic".
QString foundText(int trains, int stations);
// "Dne 4. 3. 2026 nejede žádný vlak přes dvě stanice trati."
QString noTrainOnLineText(QDate day);

Preview previewNewLine(const DayTimetable &day, const QString &from, const QString &to);
Preview previewIntoLine(const Document &doc, const DayTimetable &day);

// The document cleared as New clears it (its settings kept) and made the
// line between the two ends named (compared trimmed), with the day's trains.
// Refused when lineBetween finds no line, the line has more stations than a
// document holds, or a position lies beyond kmLimit.
Result newLine(Document &doc, const DayTimetable &day, const QString &from, const QString &to,
               const Placer &place = {});

// The day's trains into the document's stations (LineTrains::appendTo).
// Refused when no train runs that day or none reaches two of the stations.
Result intoLine(Document &doc, const DayTimetable &day);

} // namespace RealTimetableImport
