#include "Diagram.h"

#include "DocumentOpen.h"

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
    // The rebuild owed by zoom steps records and places everything anew,
    // whatever else was asked.
    if (m_commands.settleZoom())
        return;
    m_lastRequest = request;
    // The marks are recorded with everything else: brought up to date for
    // each rebuild (a label drag's rebuild finds nothing changed).
    if (m_conflictsShown && (request.rebuild || m_doc.redrawNeeded))
        m_conflicts.refresh();
    m_options.conflictMarks = m_conflictsShown ? &m_conflicts.conflicts() : nullptr;
    m_options.compared = m_compared.get();
    // The panel's check boxes show the document's settings.
    const DocumentSettings &s = m_doc.settings;
    m_options.timeLabels = s.showTimeLabels != 0;
    m_options.smoothing = s.smoothing != 0;
    m_options.category = s.showCategory != 0;
    const bool dropped = m_renderer.busy();
    m_renderer.draw(m_window, request, m_options);
    if (!dropped) {
        m_pickedLabel = 0;
        m_window.pictureExists(m_renderer.hasPicture());
    }
    takeUpResize();
}

Renderer::ScrollRanges Diagram::scrollRanges(int zoom)
{
    return m_renderer.scrollRanges(zoom, m_view.scale, m_window.paintBoxSize());
}

void Diagram::contentChanged(TrainLabels trainLabels, bool timeLabels)
{
    switch (trainLabels) {
    case TrainLabels::Keep:
        break;
    case TrainLabels::WhenNone:
        if (m_doc.trainLabels.empty())
            makeTrainLabels();
        break;
    case TrainLabels::ForNewTrains:
        makeLabelsForNewTrains();
        break;
    case TrainLabels::AllAnew:
        makeTrainLabels();
        m_doc.labelImagesStale = true;
        break;
    }
    if (timeLabels)
        makeTimeLabels();
    render(RenderRequest::rebuildAll());
}

void Diagram::documentOpened()
{
    DocumentOpen::finish(m_doc, {[this] { makeTrainLabels(); }, [this] { makeTimeLabels(); }});
    render(RenderRequest::rebuildAll());
}

void Diagram::trainsChanged(RenderRequest::Labels placed)
{
    render(RenderRequest::redraw(placed));
}

bool Diagram::settingsChanged(bool timeFont, bool trainFont, bool drawing)
{
    // Nothing drawn changed: no rebuild is owed for the settings.
    m_doc.redrawNeeded = false;
    if (!timeFont && !trainFont && !drawing)
        return false;
    // A rebuild that keeps the minute texts and places no train label
    // unless a font says otherwise.
    RenderRequest request = RenderRequest::redraw(RenderRequest::Labels::none());
    if (timeFont) {
        makeTimeLabels();
        request.keepMinuteTexts = false;
    }
    if (trainFont) {
        m_doc.dropLabelImages();
        request.labels = RenderRequest::Labels::all();
    }
    render(request);
    return true;
}

void Diagram::highlight(const QByteArray &found, const QByteArray &other)
{
    m_options.highlight = {true, found, other, -1};
    render(RenderRequest::redraw(RenderRequest::Labels::none()));
}

void Diagram::highlightOff()
{
    const bool shown = m_options.highlight.on || m_renderer.highlightRecorded();
    m_options.highlight.on = false;
    if (shown)
        render(RenderRequest::redraw(RenderRequest::Labels::none()));
}

void Diagram::viewChanged(bool moved)
{
    render(moved ? RenderRequest() : RenderRequest::paint());
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
    if (m_renderer.busy()) {
        m_resizePending = true;
        return;
    }
    m_resizePending = false;
    m_renderer.resizeDiagramBitmap(m_window.clientSize());
    m_commands.paint();
}

void Diagram::takeUpResize()
{
    if (m_resizePending && !m_renderer.busy())
        QTimer::singleShot(0, &m_later, [this] {
            if (m_resizePending)
                resized();
        });
}

void Diagram::documentReplaced()
{
    m_pickedLabel = 0;
}

const std::vector<Conflict> &Diagram::conflicts()
{
    m_conflicts.refresh();
    return m_conflicts.conflicts();
}

void Diagram::checkConflictsBeside(std::function<void()> checked)
{
    m_conflicts.setBeside([this, checked = std::move(checked)] {
        if (m_conflictsShown)
            trainsChanged();
        if (checked)
            checked();
    });
}

void Diagram::setConflictsShown(bool shown, bool render)
{
    m_conflictsShown = shown;
    m_doc.redrawNeeded = true;
    if (render)
        trainsChanged();
}

void Diagram::showConflict(const Conflict &conflict)
{
    const auto trainName = [this](int32_t index) {
        return index >= 0 && static_cast<size_t>(index) < m_doc.trains.size()
                   ? m_doc.trains[static_cast<size_t>(index)].name.view().toByteArray()
                   : QByteArray();
    };
    m_options.highlight = {true, trainName(conflict.trainA), trainName(conflict.trainB), -1};
    const std::vector<ConflictMarks::Mark> marks =
        ConflictMarks::of({conflict}, ConflictMarks::Frame::of(m_doc, m_view.scale));
    if (!marks.empty()) {
        const ConflictMarks::Mark &mark = marks.front();
        const int32_t x = mark.shape == ConflictMarks::Mark::Shape::Ring ? mark.x0 : (mark.x0 + mark.x1) / 2;
        const int32_t y = mark.shape == ConflictMarks::Mark::Shape::Ring ? mark.y0 : (mark.y0 + mark.y1) / 2;
        centreOn(x, y);
    }
    trainsChanged();
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
    m_options.highlight.comparedEmphasis = -1;
    trainsChanged();
}

void Diagram::showDifference(int32_t currentTrain, int32_t comparedTrain)
{
    const auto valid = [](int32_t index, const Document *doc) {
        return doc && index >= 0 && static_cast<size_t>(index) < doc->trains.size();
    };
    const bool inCurrent = valid(currentTrain, &m_doc);
    m_options.highlight = {
        true, inCurrent ? m_doc.trains[static_cast<size_t>(currentTrain)].name.view().toByteArray() : QByteArray(),
        QByteArray(), valid(comparedTrain, compared()) ? comparedTrain : -1};
    showDifferenceAt(currentTrain, comparedTrain, inCurrent);
    trainsChanged();
}

void Diagram::showDifferenceAt(int32_t currentTrain, int32_t comparedTrain, bool inCurrent)
{
    // The train's lines, as the current line places them.
    Train placed;
    if (inCurrent)
        placed = m_doc.trains[static_cast<size_t>(currentTrain)];
    else if (m_options.highlight.comparedEmphasis < 0
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
