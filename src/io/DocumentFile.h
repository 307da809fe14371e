#pragma once

#include "DocumentReader.h"

#include <QString>

class Document;

// A document file by name: opening and creating it (each tried twice, as
// network drives and virus scanners sometimes refuse the first attempt), and
// saving so that the previous file survives any failure (SafeFile): the
// document is written to a temporary file beside the target, which replaces
// the target only once everything was written and synced.
class DocumentFile
{
public:
    enum class Status { Ok, CannotCreate, CannotWrite, CannotOpen, NotDocument, ReadError };

    // The message the program shows for a status (empty for Ok).
    static QString message(Status status);

    struct SaveOutcome
    {
        Status status = Status::Ok;
        QString cause; // why it failed, in the program's words ("disk je plný")
    };
    static SaveOutcome save(const Document &doc, const QString &path);

    struct LoadOutcome
    {
        Status status = Status::CannotOpen;
        QString cause;                // why the file could not be opened or read
        DocumentReader::Outcome read; // what the reader did, once the file was open
    };
    // Opens and reads; the caller runs DocumentReader::finishLoading and the
    // steps of the window after a successful read. A file larger than
    // FileMessages::maxDocumentBytes is refused unread, and memory that
    // runs out while reading is a read error (the cause says which).
    static LoadOutcome load(Document &doc, const QString &path);
};
