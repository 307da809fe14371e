#include "Diagram.h"

#include "render/CompareOverlay.h"
#include "render/ConflictMarks.h"
#include "render/DiagramWindow.h"
#include "render/TrainLines.h"

#include "model/StationMatch.h"

#include <algorithm>
#include <cstdint>

#include <QTimer>

Diagram::Diagram(Document &document, DiagramWindow &window, LabelMakers labels)
    : m_doc(document), m_window(window), m_labels(std::move(labels)), m_renderer(document, m_view), m_commands(*this),
      m_conflicts(document)
{
}

void Diagram::render(const RenderRequest &request)
{
    m_lastRequest = request;
    // The marks are recorded with everything else: brought up to date for
    // each rebuild (a label drag's rebuild finds nothing changed).
    if (m_conflictsShown && (request.rebuild || m_doc.redrawNeeded))
        m_conflicts.refresh();
    m_renderer.conflictMarks = m_conflictsShown ? &m_conflicts.conflicts() : nullptr;
    m_renderer.compared = m_compared.get();
    m_renderer.draw(m_window, request);
    takeUpResize();
}

template <typename Step> void Diagram::withRendersHeld(Step step)
{
    {
        RenderGuard guard(m_renderer);
        step();
    }
    takeUpResize();
}

void Diagram::makeTimeLabels()
{
    withRendersHeld([this] { m_labels.makeTimeLabels(m_doc, m_view.scale, m_window.progress()); });
}

void Diagram::makeTrainLabels()
{
    withRendersHeld([this] { m_labels.makeTrainLabels(m_doc, m_view.scale); });
}

void Diagram::makeLabelsForNewTrains()
{
    withRendersHeld([this] { m_labels.makeLabelsForNewTrains(m_doc, m_view.scale); });
}

void Diagram::resized()
{
    if (m_renderer.renderInProgress) {
        m_resizePending = true;
        return;
    }
    m_resizePending = false;
    m_renderer.resizeDiagramBitmap(m_window.clientSize());
    m_commands.paint();
}

void Diagram::takeUpResize()
{
    if (m_resizePending && !m_renderer.renderInProgress)
        QTimer::singleShot(0, &m_later, [this] {
            if (m_resizePending)
                resized();
        });
}

void Diagram::documentReplaced()
{
    m_renderer.dragLabelNumber = -1;
}

const std::vector<Conflict> &Diagram::conflicts()
{
    m_conflicts.refresh();
    return m_conflicts.conflicts();
}

void Diagram::checkConflictsBeside(std::function<void()> checked)
{
    m_conflicts.setBeside([this, checked = std::move(checked)] {
        if (m_conflictsShown) {
            m_doc.redrawNeeded = true;
            render(RenderRequest::redraw(RenderRequest::Labels::none()));
        }
        if (checked)
            checked();
    });
}

void Diagram::setConflictsShown(bool shown)
{
    m_conflictsShown = shown;
    m_doc.redrawNeeded = true;
}

void Diagram::showConflict(const Conflict &conflict)
{
    const auto trainName = [this](int32_t index) {
        return index >= 0 && static_cast<size_t>(index) < m_doc.trains.size()
                   ? m_doc.trains[static_cast<size_t>(index)].name.view().toByteArray()
                   : QByteArray();
    };
    m_renderer.highlightOn = true;
    m_renderer.foundName = trainName(conflict.trainA);
    m_renderer.otherFoundName = trainName(conflict.trainB);
    m_renderer.comparedEmphasis = -1;
    m_doc.redrawNeeded = true;

    const std::vector<ConflictMarks::Mark> marks =
        ConflictMarks::of({conflict}, ConflictMarks::Frame::of(m_doc, m_view.scale));
    if (marks.empty())
        return;
    const ConflictMarks::Mark &mark = marks.front();
    const int32_t x = mark.shape == ConflictMarks::Mark::Shape::Ring ? mark.x0 : (mark.x0 + mark.x1) / 2;
    const int32_t y = mark.shape == ConflictMarks::Mark::Shape::Ring ? mark.y0 : (mark.y0 + mark.y1) / 2;
    centreOn(x, y);
}

void Diagram::centreOn(int64_t x, int64_t y)
{
    const QSize box = m_window.clientSize();
    m_view.hpos = Geometry::saturate(
        std::max<int64_t>(0, (x - (box.width() - DiagramView::stationColumn) / 2) / DiagramView::hUnit));
    m_view.vpos = Geometry::saturate(std::max<int64_t>(0, (y - box.height() / 2) / DiagramView::vUnit));
}

void Diagram::setCompared(std::unique_ptr<const Document> compared)
{
    m_compared = compared ? std::make_unique<CompareOverlay::Compared>(std::move(compared)) : nullptr;
    m_renderer.comparedEmphasis = -1;
    m_doc.redrawNeeded = true;
}

void Diagram::showDifference(int32_t currentTrain, int32_t comparedTrain)
{
    const auto valid = [](int32_t index, const Document *doc) {
        return doc && index >= 0 && static_cast<size_t>(index) < doc->trains.size();
    };
    const bool inCurrent = valid(currentTrain, &m_doc);
    m_renderer.highlightOn = true;
    m_renderer.foundName =
        inCurrent ? m_doc.trains[static_cast<size_t>(currentTrain)].name.view().toByteArray() : QByteArray();
    m_renderer.otherFoundName.clear();
    m_renderer.comparedEmphasis = valid(comparedTrain, compared()) ? comparedTrain : -1;
    m_doc.redrawNeeded = true;

    // The train's lines, as the current line places them.
    Train placed;
    if (inCurrent)
        placed = m_doc.trains[static_cast<size_t>(currentTrain)];
    else if (m_renderer.comparedEmphasis < 0
             || !CompareOverlay::place(compared()->trains[static_cast<size_t>(comparedTrain)],
                                       StationMatch::of(m_doc, *compared()), placed))
        return;
    const TrainLines::Frame frame = TrainLines::frameOf(m_doc, m_view.scale);
    int64_t left = INT64_MAX, right = INT64_MIN, top = INT64_MAX, bottom = INT64_MIN;
    for (int k = 0; k < placed.rowCount(); ++k) {
        const TrainRow row = placed.row(k);
        TrainLines::RowPoint p;
        if (row.station == 0 || !TrainLines::rowPoint(frame, row.station, row.time, row.halfMinute, p))
            continue;
        left = std::min<int64_t>(left, p.x);
        right = std::max<int64_t>(right, p.x);
        top = std::min<int64_t>(top, p.y);
        bottom = std::max<int64_t>(bottom, p.y);
    }
    if (left <= right)
        centreOn((left + right) / 2, (top + bottom) / 2);
}
