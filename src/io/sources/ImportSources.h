#pragma once

// The documents of what the user names for an import: files, folders
// (searched recursively), zip archives, zips inside zips and gzip files,
// read as they stream out of the archive, never unpacked to disk.
//
// The calling thread walks the sources and reads the outer archives; the
// documents (and the archives found inside archives) are handed to worker
// threads, one per core, which call the handler. Everything is bounded:
// no document over 64 MiB unpacked, a compression ratio no zip bomb gets
// past, a limit on archives inside archives, and the bytes in flight
// whatever the number of cores: what the walk hands over waits until the
// work before it is done, and so do the documents unpacked from it, each
// within maxBytesInFlight (one larger document goes alone). What cannot be
// read is skipped with its name and the reason; the rest is read.

#include "DayTimetable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class ImportSources
{
public:
    struct Limits
    {
        qint64 maxDocumentBytes = qint64{64} * 1024 * 1024;
        // Unpacked bytes per compressed byte an archive member may reach,
        // checked once a member has passed maxDocumentBytes / 64.
        int maxCompressionRatio = 100;
        // Archives inside archives: the outer archive is depth 1.
        int maxArchiveDepth = 4;
        // A message is parsed in several times its size: this many bytes
        // of documents are read at once, and as many of work queued.
        qint64 maxBytesInFlight = qint64{64} * 1024 * 1024;
    };

    struct Options
    {
        // Whether a file or member of this name is a document (by its
        // suffix, say). Archives (.zip, .gz) are recognised here; other
        // names that are not documents are passed over silently. A file
        // named directly as a source is read whatever its name.
        std::function<bool(const QString &name)> isDocument;
        // Called on a worker thread for every document; worker is 0 ..
        // threadCount() - 1, so a handler can keep one result per worker
        // without locking. Exceptions are caught and skip the document.
        std::function<void(int worker, const QString &name, const QByteArray &bytes)> handle;
        // Called on the calling thread as the sources are read: bytes read
        // of the total size of the files; returning false cancels.
        std::function<bool(qint64 done, qint64 total)> progress;
        Limits limits;
        int threads = 0; // 0: one per core
    };

    struct Result
    {
        std::vector<DaySkipped> skipped; // sorted by source
        int documents = 0;               // handed to the handler
        bool cancelled = false;
    };

    // Workers the options ask for.
    static int threadCount(const Options &options);

    // Reads every source; returns when every document has been handled.
    static Result read(const QStringList &sources, const Options &options);
};
