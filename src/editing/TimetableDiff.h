#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

class Document;

// What changed between two documents of one line ("Rozdíly", vlakorys-cli
// diff): the current document's trains against the compared one's, paired
// by name (blanks at the ends left out) in list order, so the second train
// of a name meets the other's second one. A train only in the current
// document is added ("přidán"), one only in the compared document removed
// ("zrušen"); a pair is changed ("změněn") when its rows differ at the
// stations both lines have (matched by name, as the overlay matches them;
// a row at a station the other line lacks is left out, a kilometre point
// is compared by its kilometre). The rows become visits, a stop's arrival
// and departure one visit, compared in order: the station (another one, or
// none left on one side, is another route from there), then the arrival and
// the departure to the second of the day; the first difference is told.
namespace TimetableDiff {

enum class Kind : uint8_t { Added, Removed, Changed };

struct Row
{
    Kind kind = Kind::Added;
    int32_t current = -1;    // the train in the current document (0-based), or -1
    int32_t compared = -1;   // the train in the compared document, or -1
    QByteArray name;         // code page 1250, blanks at the ends left out
    int occurrence = 1;      // which train of that name, counted in list order
    bool sharedName = false; // the name stands more than once in a document
    // A changed train: the station where it first differs, and how: another
    // route from there, or the time there moved (current minus compared).
    QString station;
    bool otherRoute = false;
    int32_t seconds = 0;

    bool operator==(const Row &) const = default;
};

struct Result
{
    // The current document's trains in its order, then those only in the
    // compared one in that document's order.
    std::vector<Row> rows;
    int added = 0;
    int removed = 0;
    int changed = 0;
    int unchanged = 0;
    // Some name stands more than once in a document: its trains were
    // paired in list order.
    bool sharedNames = false;
};

Result compare(const Document &current, const Document &compared);

// "přidán", "zrušen", "změněn".
QString word(Kind kind);
// "+3 min", "-0,5 min".
QString shift(int32_t seconds);
// What a row says beyond its train and kind: "Hovězí: +3 min" or
// "Hovězí: jiná trasa" for a changed train, and for a name that stands
// twice "2. vlak toho jména, porovnán v pořadí seznamu".
QString detail(const Row &row);
// The train's name, its kind's word and the detail when there is one,
// separated by tabs.
QString line(const Row &row);
// "Přidáno 3, zrušeno 21, změněno 2, beze změny 14".
QString summary(const Result &result);

} // namespace TimetableDiff
