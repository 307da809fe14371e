#pragma once

#include <functional>

class Document;
class ProgressSink;

// The label makers of LabelGeneration as values. The diagram runs them at
// its scale with its progress window; the command-line tool runs them on a
// document it has opened, at the scale the document opens with; tests put
// makers of their own in to watch or to fail them.
class LabelMakers
{
public:
    using TrainMaker = std::function<void(Document &, double scale)>;
    using TimeMaker = std::function<void(Document &, double scale, ProgressSink &)>;

    // A maker left empty does nothing.
    LabelMakers(TrainMaker trainLabels, TimeMaker timeLabels, TrainMaker labelsForNewTrains = {});

    // MakeTrainLabels, MakeTimeLabels and MakeLabelsForNewTrains.
    static LabelMakers standard();

    // Every train label discarded and one made for every train with rows.
    void makeTrainLabels(Document &doc, double scale) const;
    // The minute labels of every train, made anew.
    void makeTimeLabels(Document &doc, double scale, ProgressSink &progress) const;
    // A label for every train without one; the others stay where they are.
    void makeLabelsForNewTrains(Document &doc, double scale) const;

    // The same at the scale a document opens with (its zoom and axis
    // ratio), with no progress shown: a document no window shows.
    void makeTrainLabels(Document &doc) const;
    void makeTimeLabels(Document &doc) const;

private:
    TrainMaker m_trainLabels;
    TimeMaker m_timeLabels;
    TrainMaker m_labelsForNewTrains;
};
