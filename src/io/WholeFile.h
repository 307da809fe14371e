#pragma once

#include "FileMessages.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// Files read whole into memory (a JSON form, a text timetable, the settings
// file), never past a bound: a regular file larger than the bound is refused
// before it is read, and a pipe or a device that never ends is refused once
// one byte more than the bound has come.
namespace WholeFile {

enum class Status { Ok, CannotOpen, ReadError, TooLarge };

struct Read
{
    Status status = Status::Ok;
    QByteArray bytes;
    // Why it failed, in the program's words ("soubor je větší než 256
    // MiB", "přístup odepřen"); empty when the system gave no cause.
    QString cause;
};

Read read(const QString &path, qint64 limit = FileMessages::maxTextBytes);
Read read(QIODevice &device, qint64 limit = FileMessages::maxTextBytes);

} // namespace WholeFile
