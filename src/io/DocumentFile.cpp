#include "DocumentFile.h"

#include "DocumentWriter.h"
#include "FileMessages.h"

#include <QFile>
#include <QSaveFile>

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

DocumentFile::Status DocumentFile::save(const Document &doc, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) && !file.open(QIODevice::WriteOnly))
        return Status::CannotCreate;
    if (!DocumentWriter::write(doc, file)) {
        file.cancelWriting(); // the temporary file goes, the target stays
        return Status::CannotWrite;
    }
    return file.commit() ? Status::Ok : Status::CannotWrite;
}

DocumentFile::LoadOutcome DocumentFile::load(Document &doc, const QString &path)
{
    LoadOutcome out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) && !file.open(QIODevice::ReadOnly)) {
        out.status = Status::CannotOpen;
        return out;
    }
    out.read = DocumentReader::read(doc, file);
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
