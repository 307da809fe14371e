#pragma once

#include <QString>

#include <cstdint>

class Document;
struct Train;

// Moving a train, or the rest of its run, in time: the arithmetic behind
// the diagram's train drag, the Alt+arrow keys, "Posunout vlak...",
// "Kopírovat s intervalem..." and `vlakorys-cli shift`. Amounts are whole
// half-minutes.
//
// A row's effective time (its time plus the half-minute flag) moves by the
// amount; the row then holds a whole minute, with the half-minute flag for
// :30, as the train list sets it. A row within the day stays within it:
// past 24:00 it comes round to 0:00, before 0:00 to the evening before, and
// the line is split at midnight as for any train that runs through it. A
// row the insert tool counted on past 24:00 counts on. No row is added,
// lost or reordered. The train's labels (their text is its name) move by
// the same amount when its first row moves, their placement kept.
namespace TrainShift {

constexpr int perDay = 2880; // half-minutes
constexpr int perMinute = 2; // half-minutes

// A row's effective time in half-minutes from the day's midnight; less
// than half a minute is dropped.
int64_t halfMinutes(double time, bool halfMinute);

// The amount a move of the rows from `fromRow` on is held to: a row never
// goes before the one ahead of it (a departure before its arrival), and a
// wait never grows to a whole day. The whole train (fromRow 0) moves by
// less than a day either way.
int held(const Train &train, int fromRow, int amount);

// Rows from `fromRow` on move by `amount` (not held).
void shiftRows(Train &train, int fromRow, int amount);

// Whether a row is the train's only one at its station on the way (not
// the first or the last): the train passes or stops there without a
// departure row of its own.
bool passesThrough(const Train &train, int row);

// The train `index` of the document, from `fromRow` on, moved by `amount`
// held as above, its labels with it when row 0 moved. A later move from a
// row the train passes through makes it wait there: the row stays as the
// arrival and a copy of it, the departure, moves with the rows after it.
// Returns the amount moved.
int shift(Document &doc, int index, int fromRow, int amount);

// "+10 min", "-0,5 min".
QString amountText(int amount);
// "posun vlaku Os 13262 o +10 min": the undo step's name.
QString stepName(const Train &train, int amount);

// `count` copies of train `index` appended, the i-th moved by i times
// `interval` and numbered with i times `numberStep` added to the last
// number in its name (Os 13262, Os 13264, ...), each with copies of the
// train's labels. Returns the number of copies made.
int copySeries(Document &doc, int index, int count, int interval, int numberStep);
// The name of the i-th copy: the last run of digits in the name counted
// on by `add` (no digits: the name as it is).
QByteArray renumbered(QByteArrayView name, int64_t add);

} // namespace TrainShift
