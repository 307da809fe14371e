#pragma once

#include "model/Conflict.h"

#include <cstdint>
#include <optional>
#include <vector>

class Document;

// Finds where trains get in each other's way on the line as the diagram
// draws it: every train's rows become its polyline (a dwell is the train
// standing at its station, a run past midnight goes on into the next day,
// stations between two rows are passed where the straight line crosses
// them), cut at the stations into passages through the sections between
// consecutive positions and visits at the stations.
//
//   Meet          a single-track section, opposite directions, the two
//                 passages overlap in time (touching at a station is a
//                 meet at that station, not in the section)
//   Overtaking    the same direction, the lines cross strictly inside a
//                 section of fewer than three main tracks
//   Headway       the same direction, both entering (or both leaving) the
//                 section less than its minimum headway apart (the line's
//                 unless the section has its own); exactly the minimum is
//                 allowed
//   Station...    more trains at a station at once than it has tracks: a
//                 station offers its own tracks, and at least the one main
//                 track a train stops on; trains in opposite directions are
//                 there at once also when one arrives as the other leaves,
//                 trains in the same direction only while both stand; on
//                 double track opposite directions keep to their own tracks
//
// The day is a circle: passages and visits are compared also one day apart,
// so a train just before midnight meets one just after it.
//
// The check keeps an index per section (passages by time) and per station
// (visits by time) and the conflicts found in each. recheckTrain(i) after
// an edit of train i takes its old passages out, traces it again and checks
// only the sections and stations it touched before or touches now; the
// result is exactly what recompute() gives. Station positions, kinds and
// track data, and the line's settings are read by recompute() only.
//
// Whatever the document, the check lists at most maxKept conflicts: the
// first in the list's order, and the count of all it found. Each section
// and station keeps its own first maxKept, so the first of the whole are
// among them; when all they keep is more than a few lists' worth, each
// keeps only those up to the list's last. A recheck of a section that had
// to drop some checks all of its passages again.
class ConflictCheck
{
public:
    static constexpr int32_t maxKept = 10000;

    // `kept`: at most so many conflicts kept (fewer than maxKept in tests).
    explicit ConflictCheck(const Document &doc, int32_t kept = maxKept);

    // The check reads another document with the same stations and trains
    // (one a worker checked a copy of hands its result to the original).
    void rebind(const Document &doc) { m_doc = &doc; }

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

private:
    // A straight piece of a train's line inside one section: unwrapped
    // minutes (a run past midnight counts on past 1440) and metres.
    struct Piece
    {
        double t0, d0, t1, d1;
    };

    // One train through one section, from where it came in to where it went
    // out. Times are of the day: tIn in [0, 1440); the pieces are shifted
    // by `shift` to match.
    struct Passage
    {
        double tIn = 0.0;
        double tOut = 0.0;
        double shift = 0.0;
        int32_t train = 0;
        int32_t firstPiece = 0;
        int32_t pieceCount = 0;
        int32_t seq = 0; // order among the train's passages
        int8_t dir = 0;  // +1 up the line, -1 down, 0 back the way it came
        bool entersAtEnd = false;
        bool leavesAtEnd = false;
    };

    // One train at one station: from its arrival to its departure (equal
    // when it passes), of the day as a passage.
    struct Visit
    {
        double arr = 0.0;
        double dep = 0.0;
        int32_t train = 0;
        int32_t seq = 0;
        int8_t dir = 0; // 0: starts and ends there, or turns back
    };

    // The conflicts of one section or station: its first `cap`, in no
    // order, and how many there are.
    class Found
    {
    public:
        explicit Found(int32_t cap = maxKept) : m_cap(cap) {}
        void push_back(const Conflict &c);
        void clear();
        // Keeps only those not after `last`; the count stays.
        void dropAfter(const Conflict &last);
        // Leaves the first `cap`.
        void trim();
        // Takes out the conflicts of one train: false, changing nothing,
        // when some were dropped before (the caller checks all again).
        bool removeTrain(int32_t train);
        bool cut() const { return m_total > static_cast<int64_t>(m_list.size()); }
        int64_t total() const { return m_total; }
        int64_t warnings() const { return m_warnings; }
        auto begin() const { return m_list.begin(); }
        auto end() const { return m_list.end(); }
        size_t size() const { return m_list.size(); }

    private:
        std::vector<Conflict> m_list;
        int32_t m_cap;
        int64_t m_total = 0;
        int64_t m_warnings = 0;
    };

    struct TrainTrack
    {
        std::vector<Piece> pieces;
        std::vector<std::pair<int32_t, Passage>> passages; // section, passage
        std::vector<std::pair<int32_t, Visit>> visits;     // place, visit
    };

    // Stations at one position are one place.
    struct Place
    {
        double metres = 0.0;
        int32_t station = 0;       // the first of them in the list
        int capacity = 0;          // the most tracks any of them has
        int mainTracks = 1;        // of the sections either side
        std::vector<Visit> visits; // by arrival
        Found conflicts;
    };

    struct Section
    {
        int32_t lowStation = 0;
        int32_t highStation = 0;
        double dLow = 0.0;
        double dHigh = 0.0;
        int tracks = 1;
        int headway = 0;               // minutes
        double longest = 0.0;          // the longest passage, to bound searches
        std::vector<Passage> passages; // by entry
        Found conflicts;
    };

    class Tracer;

    void buildLayout();
    TrainTrack trace(int32_t train) const;
    void insert(int32_t train);
    void remove(int32_t train);
    void checkPlace(Place &place) const;
    void mergeChanges(int32_t train, const std::vector<int32_t> &sections, const std::vector<int32_t> &places);
    void checkPassage(const Section &section, const Passage &p, bool laterOnly, Found &out) const;
    void relate(const Section &section, const Passage &a, const Passage &b, double shift,
                Found &out) const;
    bool firstCommonPoint(const Passage &a, const Passage &b, double shift, double &minute, double &metres) const;
    Conflict::Severity severityOf(int32_t a, int32_t b) const;

    void checkSection(Section &section) const;
    void settle();
    int64_t countAll() const;
    template <typename F> void eachKept(F &&f) const;

    const Document *m_doc;
    int32_t m_kept;
    std::vector<Place> m_places;     // by position
    std::vector<Section> m_sections; // between consecutive places
    std::vector<TrainTrack> m_tracks;
    mutable std::vector<Conflict> m_all;
    mutable int64_t m_total = 0;
    mutable int64_t m_warnings = 0;
    mutable bool m_allStale = true;
    // Set when the sections and stations kept only the conflicts up to the
    // list's last: this one.
    std::optional<Conflict> m_cutAfter;
};
