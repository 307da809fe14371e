#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

class QIODevice;

// Every file the program writes is written here: into a temporary file
// beside the target (QSaveFile) that replaces the target only once every
// write, the flush to the system and the sync to the disk have succeeded.
// QSaveFile alone is not enough: it buffers small writes, and a buffer that
// fails to reach a full disk when the file is closed does not stop its
// commit, so a short file used to replace a good one. Here the file is
// unbuffered, every write is checked for its whole length as it happens, and
// the cause of the first failure is kept. On any failure the target stays
// as it was and the temporary file is removed.
class SafeFile
{
public:
    enum class Failure {
        None,
        Create, // the temporary file could not be made
        Write,  // a write, the flush, the sync or the replacement failed
    };

    struct Result
    {
        Failure failure = Failure::None;
        // Why, in the program's words ("disk je plný"); empty when the
        // system gave no cause (the content itself could not be made).
        QString cause;

        bool ok() const { return failure == Failure::None; }
        explicit operator bool() const { return ok(); }
    };

    // Writes what content writes to the device it is given; content returns
    // false when it could not make its output. Creating the temporary file
    // is tried twice, as network drives and virus scanners sometimes refuse
    // the first attempt.
    static Result write(const QString &path, const std::function<bool(QIODevice &)> &content);
    static Result write(const QString &path, QByteArrayView bytes);
};
