#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class Document;
struct LineLayout;

// One train's line as the diagram draws it, cut at the stations: a dwell is
// the train standing at its station, a run past midnight goes on into the
// next day, stations between two rows are passed where the straight line
// crosses them, and a line drawn back to the left starts anew. What lies
// inside a section is a passage, what lies at a station a visit.
struct TrainTrace
{
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
        // Its pieces in the trace's list. None kept (pieceCount 0): one
        // straight piece from the end it came in at to the other, from
        // tIn - shift to tOut - shift (kept so only where that gives its
        // times back to the bit), as most passages are: piece() makes it.
        int32_t firstPiece = 0;
        int32_t pieceCount = 0;
        int32_t seq = 0; // order among the train's passages
        int8_t dir = 0;  // +1 up the line, -1 down, 0 back the way it came
        bool entersAtEnd = false;
        bool leavesAtEnd = false;

        int32_t pieces() const { return pieceCount == 0 ? 1 : pieceCount; }
        // Piece i of pieces(), of the trace that holds the passage, in the
        // section between dLow and dHigh.
        Piece piece(const std::vector<Piece> &all, int32_t i, double dLow, double dHigh) const
        {
            if (pieceCount != 0)
                return all[static_cast<size_t>(firstPiece + i)];
            return dir > 0 ? Piece{tIn - shift, dLow, tOut - shift, dHigh}
                           : Piece{tIn - shift, dHigh, tOut - shift, dLow};
        }
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

    std::vector<Piece> pieces;
    std::vector<std::pair<int32_t, Passage>> passages; // section, passage
    std::vector<std::pair<int32_t, Visit>> visits;     // place, visit

    // Train `train` of `doc` over the places and sections of `layout`.
    static TrainTrace of(const Document &doc, const LineLayout &layout, int32_t train);
};
