#pragma once

#include <QString>
#include <QtGlobal>

// What a file looked like when the editor last read or wrote it: its size
// and modification time. A save compares it with the file as it is now, so
// that a file another program (or another editor) wrote in the meantime is
// not overwritten without a question.
struct FileStamp
{
    qint64 size = -1;    // -1: no file, or not known
    qint64 modified = 0; // ms since the epoch

    bool isValid() const { return size >= 0; }
    bool operator==(const FileStamp &) const = default;

    // The file as it is now; invalid when there is none.
    static FileStamp of(const QString &path);
    // Whether two names lead to one file (links followed when both exist).
    static bool sameFile(const QString &a, const QString &b);
};
