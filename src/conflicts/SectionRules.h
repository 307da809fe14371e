#pragma once

#include "LineLayout.h"

#include <vector>

class Document;

// The rules between two trains inside one section:
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
//
// Passages are compared also one day apart, so a train just before
// midnight meets one just after it.
class SectionRules
{
public:
    SectionRules(const Document &doc, const std::vector<TrainTrace> &traces) : m_doc(doc), m_traces(traces) {}

    // Every pair of the section's passages, its conflicts taken anew.
    void check(LineLayout::Section &section) const;

    // The pairs of passage `p` with the section's others (with those of
    // later trains only when `laterOnly`), added to `out`.
    void checkPassage(const LineLayout::Section &section, const TrainTrace::Passage &p, bool laterOnly,
                      KeptConflicts &out) const;

private:
    void relate(const LineLayout::Section &section, const TrainTrace::Passage &a, const TrainTrace::Passage &b,
                double shift, KeptConflicts &out) const;
    bool firstCommonPoint(const LineLayout::Section &section, const TrainTrace::Passage &a,
                          const TrainTrace::Passage &b, double shift, double &minute, double &metres) const;

    const Document &m_doc;
    const std::vector<TrainTrace> &m_traces;
};
