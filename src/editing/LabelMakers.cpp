#include "LabelMakers.h"

#include "LabelGeneration.h"

#include "model/Document.h"
#include "render/DiagramView.h"
#include "render/ProgressSink.h"

namespace {

double openingScale(const Document &doc)
{
    return DiagramView::scaleOf(doc.settings.ratioX, doc.settings.ratioY, doc.settings.zoom);
}

} // namespace

LabelMakers::LabelMakers(TrainMaker trainLabels, TimeMaker timeLabels, TrainMaker labelsForNewTrains)
    : m_trainLabels(std::move(trainLabels)), m_timeLabels(std::move(timeLabels)),
      m_labelsForNewTrains(std::move(labelsForNewTrains))
{
}

LabelMakers LabelMakers::standard()
{
    return LabelMakers(MakeTrainLabels, MakeTimeLabels, MakeLabelsForNewTrains);
}

void LabelMakers::makeTrainLabels(Document &doc, double scale) const
{
    if (m_trainLabels)
        m_trainLabels(doc, scale);
}

void LabelMakers::makeTimeLabels(Document &doc, double scale, ProgressSink &progress) const
{
    if (m_timeLabels)
        m_timeLabels(doc, scale, progress);
}

void LabelMakers::makeLabelsForNewTrains(Document &doc, double scale) const
{
    if (m_labelsForNewTrains)
        m_labelsForNewTrains(doc, scale);
}

void LabelMakers::makeTrainLabels(Document &doc) const
{
    makeTrainLabels(doc, openingScale(doc));
}

void LabelMakers::makeTimeLabels(Document &doc) const
{
    NullProgress progress;
    makeTimeLabels(doc, openingScale(doc), progress);
}
