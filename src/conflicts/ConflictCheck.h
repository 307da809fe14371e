#pragma once

#include "ConflictIndex.h"

#include "model/Conflict.h"

#include <QThreadPool>

#include <cstdint>
#include <optional>
#include <vector>

class Document;

// Finds where trains get in each other's way on the line as the diagram
// draws it. Its parts: TrainTrace cuts every train's line at the stations
// into passages through the sections and visits at the stations
// (LineLayout: stations at one position are one place); SectionRules finds
// meets, overtakings and short headways in a section, StationRules too
// many trains for a station's tracks; ConflictIndex keeps them by section
// and station between edits.
//
// The check keeps an index per section (passages by time) and per station
// (visits by time) and the conflicts found in each. recheckTrain(i) after
// an edit of train i takes its old passages out, traces it again and checks
// only the sections and stations it touched before or touches now; the
// result is exactly what recompute() gives. Station positions, kinds and
// track data, and the line's settings are read by recompute() only.
//
// Whatever the document, the check lists at most maxKept conflicts: the
// first in the list's order, and the count of all it found. While the whole
// line is checked, the sections and stations share a bound (SharedBound):
// each keeps only what can still be among the first maxKept of all. After
// a recheck each section keeps its own first maxKept, so the first of the
// whole are among them; when all they keep is more than a few lists'
// worth, or the shared bound cut them, each keeps only those up to the
// list's last. A recheck of a section that had to drop some checks all of
// its passages again.
class ConflictCheck
{
public:
    static constexpr int32_t maxKept = 10000;

    // `kept`: at most so many conflicts kept (fewer than maxKept in tests).
    explicit ConflictCheck(const Document &doc, int32_t kept = maxKept);

    // The check reads another document with the same stations and trains
    // (one a worker checked a copy of hands its result to the original).
    void rebind(const Document &doc) { m_doc = &doc; }
    // The threads recompute() spreads its work over: the shared pool unless
    // told otherwise, none for the calling thread alone.
    void setPool(QThreadPool *pool) { m_pool = pool; }

    // Everything from the document: after opening, after station or
    // settings edits, after trains were removed or reordered.
    void recompute();

    // Train `index` changed (its rows, its "Podle potřeby"), or was
    // appended: every train beyond those known is traced. Fewer trains than
    // known (a train was removed) recomputes everything.
    void recheckTrain(int32_t index);

    // The first conflicts (at most `kept`), ordered by time, then place,
    // kind and trains.
    const std::vector<Conflict> &conflicts() const;
    // Every conflict found, and those of them left out of conflicts().
    int64_t total() const;
    int64_t rest() const { return total() - static_cast<int64_t>(conflicts().size()); }
    int64_t errorCount() const { return total() - warningCount(); }
    int64_t warningCount() const;

    // The conflicts of one train, in the same order (the list window's
    // filter, the marks of a highlighted train).
    std::vector<Conflict> conflictsOf(int32_t train) const;

    // Lets the index go and keeps the list and its counts: for a line whose
    // every edit is checked whole anyway. The next recheck checks the whole
    // line.
    void releaseIndex();
    bool holdsIndex() const { return !m_released; }

private:
    void mergeChanges(int32_t train, const std::vector<int32_t> &sections, const std::vector<int32_t> &places);
    void settle();
    int64_t countAll() const;
    template <typename F> void eachKept(F &&f) const;

    const Document *m_doc;
    int32_t m_kept;
    QThreadPool *m_pool = QThreadPool::globalInstance();
    ConflictIndex m_index;
    mutable std::vector<Conflict> m_all;
    mutable int64_t m_total = 0;
    mutable int64_t m_warnings = 0;
    mutable bool m_allStale = true;
    // The index was let go: the counts are those of the last check.
    bool m_released = false;
    // Set when the sections and stations kept only the conflicts up to the
    // list's last: this one.
    std::optional<Conflict> m_cutAfter;
};
