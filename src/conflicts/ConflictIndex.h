#pragma once

#include "LineLayout.h"
#include "TrainTrace.h"

#include <cstdint>
#include <vector>

class Document;

// What the conflict check keeps between edits: the pieces of every train's
// line that its passages do not give themselves, where it passes, each
// section's passages and each place's visits by time, and the conflicts
// found in each (SectionRules, StationRules). After an edit of one train
// only the sections and places it touched before or touches now are
// checked again: its old passages and visits go, the new come in, a
// section's conflicts of other trains stay (one that had to drop some is
// checked whole), a station's are taken anew.
class QThreadPool;

class ConflictIndex
{
public:
    // Everything from the document: the layout, every trace, every section
    // and place checked. Trains are traced, and sections and places checked,
    // each apart from the others on the pool's threads (none: on this one
    // alone), then gathered in train order so the lists come out as one
    // core would make them.
    void rebuild(const Document &doc, int32_t kept, QThreadPool *pool);

    // Train `train` traced again (one beyond those known was appended) and
    // what it touched checked again; `sections` and `places` are what was
    // touched, sorted.
    void recheck(const Document &doc, int32_t train, std::vector<int32_t> &sections, std::vector<int32_t> &places);

    int32_t trainCount() const { return static_cast<int32_t>(m_traces.size()); }
    const LineLayout &layout() const { return m_layout; }
    LineLayout &layout() { return m_layout; }
    // Whether the last rebuild left some sections or places holding fewer
    // than their own first `kept`: only those up to a bound of the whole.
    bool boundCut() const { return m_boundCut; }

private:
    void insert(int32_t train);
    void remove(int32_t train);
    void keepWhere(int32_t train);

    // Where a train's passages and visits are: the sections and places hold
    // them, the trace keeps only its pieces.
    struct Where
    {
        std::vector<int32_t> ids; // its sections, then its places
        int32_t sections = 0;
    };

    LineLayout m_layout;
    std::vector<TrainTrace> m_traces;
    std::vector<Where> m_where;
    bool m_boundCut = false;
};
