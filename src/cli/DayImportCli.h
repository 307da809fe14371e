#pragma once

#include "editing/LabelMakers.h"

#include "import/RealTimetableImport.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdio>

class Document;

// What the commands that import a day of real trains (import-czptt,
// import-gtfs) share: their command line (--into, --from, --to, --day and
// the options of each), the document they import into, and the end: labels
// made as after the text import, the document saved, and on standard output
// the summary with the closing line "N trains, M stations".
namespace DayImportCli {

struct Args
{
    QHash<QString, QStringList> values; // by option, in the order given
    QStringList positional;
    QString error; // a command line of the wrong shape, as the line to print

    bool has(const QString &option) const { return values.contains(option); }
    QString value(const QString &option) const { return values.value(option).value(0); }
};

// Options given as "--name VALUE" or "--name=VALUE"; every one takes a
// value, and only those in `repeatable` may come more than once.
Args parse(const QStringList &args, const QStringList &options, const QStringList &repeatable = {});

// The options both commands have, checked.
struct Common
{
    QString into; // empty: a new line
    QString from;
    QString to;
    QDate day;
};

// --day is required; --from and --to come together or not at all, and not
// with --into; a new line needs them when endsRequired. Empty when all is
// well, else the message.
QString common(const Args &args, Common &common, bool endsRequired);

// "vlakorys-cli: FILE: Chyba při otevírání souboru: soubor nebo adresář
// neexistuje" for a path that is not there; success when it is.
int requireExisting(std::FILE *err, const QString &path);

// After a successful import: labels, the save, the summary and the notes
// on out, the document's warning (when it was opened with one) on err.
int finish(Document &doc, const RealTimetableImport::Result &result, const QStringList &notes, const QString &target,
           const LabelMakers &labels, std::FILE *out, std::FILE *err, const QString &warningFile = {},
           const QString &warning = {});

// The closing line: "37 trains, 14 stations".
QString countsLine(int trains, int stations);

} // namespace DayImportCli
