#include "DocumentFile.h"

#include "DocumentWriter.h"
#include "FileMessages.h"
#include "SafeFile.h"

#include "model/Document.h"

#include <QFile>

#include <cerrno>
#include <new>

QString DocumentFile::message(Status status)
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::CannotCreate:
        return FileMessages::cannotCreate;
    case Status::CannotWrite:
        return FileMessages::cannotWrite;
    case Status::CannotOpen:
        return FileMessages::cannotOpen;
    case Status::NotDocument:
        return FileMessages::notDocument;
    case Status::ReadError:
        return FileMessages::cannotRead;
    }
    return {};
}

DocumentFile::SaveOutcome DocumentFile::save(const Document &doc, const QString &path)
{
    const SafeFile::Result written =
        SafeFile::write(path, [&doc](QIODevice &device) { return DocumentWriter::write(doc, device); });
    switch (written.failure) {
    case SafeFile::Failure::None:
        return {};
    case SafeFile::Failure::Create:
        return {Status::CannotCreate, written.cause};
    case SafeFile::Failure::Write:
        break;
    }
    return {Status::CannotWrite, written.cause};
}

DocumentFile::LoadOutcome DocumentFile::load(Document &doc, const QString &path)
{
    LoadOutcome out;
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly) && !file.open(QIODevice::ReadOnly)) {
        out.status = Status::CannotOpen;
        out.cause = FileMessages::openCause(path, errno, file.errorString());
        return out;
    }
    if (file.size() > FileMessages::maxDocumentBytes) {
        out.status = Status::ReadError;
        out.cause = FileMessages::tooLarge;
        return out;
    }
    try {
        out.read = DocumentReader::read(doc, file);
    } catch (const std::bad_alloc &) {
        // What was read so far is no document.
        out.read.status = DocumentReader::Status::ReadError;
        out.read.cleared = true;
        doc.clearTrains();
        doc.clearStations();
        out.cause = FileMessages::outOfMemory;
    }
    switch (out.read.status) {
    case DocumentReader::Status::Ok:
        out.status = Status::Ok;
        break;
    case DocumentReader::Status::NotDocument:
        out.status = Status::NotDocument;
        break;
    case DocumentReader::Status::ReadError:
        out.status = Status::ReadError;
        break;
    }
    return out;
}
