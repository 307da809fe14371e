#pragma once

#include "TimetableTable.h"

#include "io/SafeFile.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class Document;

// The timetable tables written to files: a PDF of the printed pages
// (TimetablePages), a CSV for spreadsheets or one HTML page. The format
// follows the file name's suffix.
namespace TimetableFiles {

enum class Format { Pdf, Csv, Html };

// By the suffix, whatever its case; nullopt for any other.
std::optional<Format> formatOf(const QString &fileName);

// Direction 1, 2, or 0 for both (1 first).
std::vector<TimetableTable> tables(const Document &doc, int direction = 0);

// UTF-8 with a byte order mark (spreadsheets take it for the encoding),
// fields separated by ";" and quoted where they hold one, lines ended by
// CR LF. Per direction: its title, the headings (km, Stanice, an empty one,
// the trains), one line per row; an empty line between directions. Times
// as TimetableTable's spreadsheet text.
QByteArray csv(const std::vector<TimetableTable> &tables);

// One UTF-8 page: the line as its heading, a table per direction.
QByteArray html(const std::vector<TimetableTable> &tables, const QString &line);

// The file written through SafeFile; a failure leaves any previous file.
SafeFile::Result write(const QString &path, Format format, const std::vector<TimetableTable> &tables,
                       const QString &line);

} // namespace TimetableFiles
