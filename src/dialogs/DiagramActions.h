#pragma once

#include <functional>

// What the list commands need from the rest of the program after an edit:
// label generation and the render entry. The program fills these in when it
// creates its windows; a missing action is skipped.
struct DiagramActions
{
    std::function<void()> render;                 // the single render entry
    std::function<void()> makeLabelsForNewTrains; // a label for every train without one
    std::function<void()> makeTrainLabels;        // every train label made again
    std::function<void()> makeTimeLabels;         // every minute label made again
};
