#pragma once

#include "model/Conflict.h"

#include <QString>

class Document;

// How the program names a conflict to a person: the list window's columns
// and the lines of "vlakorys-cli conflicts".
namespace ConflictText {

// "křižování na jednokolejné trati", "předjíždění mezi stanicemi",
// "nedodržené následné mezidobí", "křižování bez volné koleje",
// "předjíždění bez volné koleje".
QString kind(Conflict::Kind kind);

// "chyba", or "varování" for a train that runs as required.
QString severity(Conflict::Severity severity);

// A minute of the day as a clock time, "7:05", with the seconds when there
// are any ("7:05:30"); minutes past midnight of the next day count from 0.
QString clock(double minute);

// "10:05–10:12", or one time when the span has no length.
QString span(const Conflict &c);

// The station's name, or a section as "Vsetín – Jablůnka" (the lower
// position first).
QString place(const Document &doc, const Conflict &c);

// A train's name as shown, for its 0-based position.
QString train(const Document &doc, int32_t index);

// The second train and those that do not fit beside the two: "Os 3, Os 1".
QString laterTrains(const Document &doc, const Conflict &c);
// Every train named: "R 2, Os 3, Os 1".
QString trains(const Document &doc, const Conflict &c);

// What stands after a list cut short: "… a dalších 1 237 500".
QString rest(int64_t count);

// One line of the list: span, place, the first train, the later ones,
// kind and severity, separated by tabs.
QString line(const Document &doc, const Conflict &c);

} // namespace ConflictText
