#pragma once

// The track data a day of real trains needs, taken from the day itself: a
// timetable that is operated runs, so a line made from it gets the least
// layout on which its trains raise no conflict, and the conflicts a planner
// then sees are those of the changes. Trains imported into a line that has
// its own layout are checked against it instead.

#include "import/RealTimetableImport.h"

#include <QString>

class Document;

namespace ImportTracks {

// What infer set, counted on the document afterwards.
struct Inferred
{
    int doubleSections = 0;  // sections of 2 main tracks
    int manySections = 0;    // sections of "3 and more"
    int stations = 0;        // stations given their own number of tracks
    int headwaySections = 0; // sections given a headway shorter than the line's
    // "Z jízdního řádu odvozeno: 14 dvoukolejných úseků, …".
    QString text() const;
};

// Raises the track data from the line's defaults until the trains run
// without conflict: a section where trains in opposite directions meet gets
// 2 main tracks, one where trains in the same direction overtake "3 and
// more"; a section where trains follow closer than its headway gets their
// smallest following time (whole minutes, down to none); only where the
// sections are settled does a station get as many tracks as trains stand
// or meet there at once. The rest stays at the defaults.
Inferred infer(Document &doc);

// The conflict errors between the document's trains in which a train of
// these names takes part.
int conflictsOf(const Document &doc, const DayTimetable &day);

// An import finished the way the dialog and the command line end it: a new
// line gets the track data its day needs (infer), trains added to a line
// are checked against the line's own; either is said in the notes.
void complete(Document &doc, const DayTimetable &day, bool newLine, RealTimetableImport::Result &result);

} // namespace ImportTracks
