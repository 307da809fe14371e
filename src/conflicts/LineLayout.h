#pragma once

#include "KeptConflicts.h"
#include "TrainTrace.h"

#include <cstdint>
#include <vector>

class Document;

// The line as the conflict check sees it: stations at one position are one
// place, and a section lies between each two consecutive places, with the
// tracks and headway of the station it leads up from. Each holds the
// passages or visits of the trains, by time, and the conflicts found there.
struct LineLayout
{
    struct Place
    {
        double metres = 0.0;
        int32_t station = 0;                   // the first of them in the list
        int capacity = 0;                      // the most tracks any of them has
        int mainTracks = 1;                    // of the sections either side
        std::vector<TrainTrace::Visit> visits; // by arrival
        KeptConflicts conflicts;
    };

    struct Section
    {
        int32_t lowStation = 0;
        int32_t highStation = 0;
        double dLow = 0.0;
        double dHigh = 0.0;
        int tracks = 1;
        int headway = 0;                           // minutes
        double longest = 0.0;                      // the longest passage, to bound searches
        std::vector<TrainTrace::Passage> passages; // by entry
        KeptConflicts conflicts;
    };

    std::vector<Place> places;     // by position
    std::vector<Section> sections; // between consecutive places

    // Made anew from the document's stations and line settings, empty of
    // trains; each place and section keeps at most `kept` conflicts. The
    // lists of the last layout lend their memory to the new one: a check
    // done again allocates little.
    void build(const Document &doc, int32_t kept);
};
