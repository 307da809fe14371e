#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class Document;
class QIODevice;

// Reads a .vrs document file of any version from 0.1 to 1.2 into the
// document. It knows nothing of windows, labels or rendering: the Open
// command runs the steps around it (dialog, cursor, messages, label
// generation, render).
//
// A damaged or hostile file is a read error, never a crash, a hang or an
// allocation beyond the file's own size: every count is checked against the
// bytes that remain, every length byte against its field, every table index
// against its table.
class DocumentReader
{
public:
    enum class Status {
        Ok,
        NotDocument, // header not recognised: the document is untouched
        ReadError,   // short file, bad version digits, damaged data
    };

    struct Outcome
    {
        Status status = Status::ReadError;
        int version = 0;           // 1 for a 0.1 file, else 2 .. 102
        bool cleared = false;      // the document was cleared before the failure
        bool settingsRead = false; // a 1.2 settings block replaced the document settings
        // A read that succeeded with something left out or held (a damaged
        // position extension): the message to show once the document is
        // open. Empty when all was read.
        QString warning;
    };

    // Result of looking at the 14 header bytes.
    struct Header
    {
        enum Kind { Recognised, Oldest, NotDocument, ReadError } kind = ReadError;
        int version = 0;
    };
    static Header parseHeader(const QByteArray &bytes);

    // Reads the whole file. On Ok the document holds the file's records
    // exactly as read (labels reversed onto the head of the list, kinds not
    // yet linked, noDocument still set); finishLoading completes it. After a
    // ReadError with cleared set the document holds what was read up to the
    // failure and noDocument stays set.
    static Outcome read(Document &doc, QIODevice &device);

    // The reader's own post-processing of a successful read: the legacy
    // Dopravna list becomes kind records when the file had no kinds, every
    // station is linked to its kind (default records created), noDocument is
    // cleared and the kilometre table rebuilt. Label generation and the
    // render follow in the caller.
    static void finishLoading(Document &doc);

    // The 6-byte real of old files: exponent byte biased by 129 (0 means
    // 0.0), then a 39-bit little-endian mantissa with an implicit leading 1,
    // the top bit of the last byte being the sign.
    static double decodeReal48(const uint8_t *bytes);
};
