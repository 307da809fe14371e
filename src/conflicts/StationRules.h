#pragma once

#include "LineLayout.h"

class Document;

// The rule at a station: more trains there at once than it has tracks. A
// station offers its own tracks, and at least the one main track a train
// stops on; trains in opposite directions are there at once also when one
// arrives as the other leaves, trains in the same direction only while both
// stand; on double track opposite directions keep to their own tracks. A
// visit that lasts past midnight stands at the start of the day too.
class StationRules
{
public:
    explicit StationRules(const Document &doc) : m_doc(doc) {}

    // Every visit of the place, its conflicts taken anew.
    void check(LineLayout::Place &place) const;

private:
    const Document &m_doc;
};
