#pragma once

#include <functional>

class Document;

// Label generation as the editor's Open and Import run it, for the commands
// of this tool: Open makes train labels when the file had none and then the
// time labels; Import makes both anew. Commands take the steps as values so
// that tests can watch them.
struct LabelSteps
{
    // MakeTrainLabels: every train label discarded and one made for every
    // train with at least two rows.
    std::function<void(Document &)> makeTrainLabels;
    // MakeTimeLabels: the minute labels of every train, made anew.
    std::function<void(Document &)> makeTimeLabels;

    // The program's own label generation.
    static LabelSteps standard();
};
