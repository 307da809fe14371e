#pragma once

#include "io/WholeFile.h"

#include <QByteArray>
#include <QString>

#include <vector>

class Document;

// The text timetable import: trains read from a plain text and appended to
// the document's train list. The stations must already be in the document;
// a station line names its station exactly.
//
// The format, block by block: a train line "name;keyword;..." ("pp" sets
// podlePotreby, "rus" sets rusici), station lines "station TAB arrival TAB
// departure" whose times are "HH:MM" optionally followed by "+N" / "-N" (the
// minute-label mark) and ";P" (half minute) / ";PB" (short dwell), and an
// end line beginning with "-".
//
// The lines are held in plain containers here; nothing of the window is
// used. Label generation and the render are the caller's steps.
class TextImport
{
public:
    struct Result
    {
        bool ok = true;
        // On failure, the conversion message in the framework's words.
        QString error;
        // Trains appended to the document.
        int trainsAdded = 0;
    };

    // The file's text as code page 1250 lines. A file that starts with the
    // UTF-8 byte-order mark is UTF-8. Any other is read both as code page
    // 1250 and, when it is valid UTF-8, as UTF-8; the reading under which
    // more station lines name stations of doc wins, code page 1250 on a tie.
    // Lines end with LF or CR LF; empty lines are left out, since the format
    // has no place for them.
    static std::vector<QByteArray> splitLines(const QByteArray &fileBytes, const Document &doc);

    // The lines of a file, read for doc's stations; a file that cannot be
    // read, or is larger than FileMessages::maxTextBytes, gives its status
    // and cause (the bytes are not kept).
    static WholeFile::Read readFile(const QString &path, const Document &doc, std::vector<QByteArray> &lines);

    // Appends the trains of the lines and sets the document's train counter
    // to the number of train records the import created minus one. A time
    // that is not a number stops the import: the train being read is taken
    // out again, the trains before it stay, and the result carries the
    // message.
    static Result run(Document &doc, const std::vector<QByteArray> &lines);
};
