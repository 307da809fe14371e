#include "PrintSheet.h"

#include "LabelGeneration.h"

#include "model/Document.h"
#include "render/HeadlessWindow.h"
#include "render/Renderer.h"
#include "render/VectorLabels.h"

#include <QPainter>

#include <limits>
#include <utility>

namespace {

// What recording at another scale changes in the document, put back when
// the sheet is recorded: the settings, the minute labels, the rows' points,
// and what the document owes the editor's renderer (its own draws again).
class DocumentState
{
public:
    explicit DocumentState(Document &doc)
        : m_doc(doc), m_settings(doc.settings), m_redrawNeeded(doc.redrawNeeded),
          m_labelImagesStale(doc.labelImagesStale)
    {
        m_timeLabels.swap(doc.timeLabels);
        for (const Train &train : doc.trains)
            for (const TrainStop &stop : train.stops)
                m_rows.emplace_back(stop.pastMidnight, stop.screenPoint);
    }
    ~DocumentState()
    {
        m_doc.settings = m_settings;
        m_doc.timeLabels.swap(m_timeLabels);
        m_doc.redrawNeeded = m_redrawNeeded;
        m_doc.labelImagesStale = m_labelImagesStale;
        size_t i = 0;
        for (Train &train : m_doc.trains)
            for (TrainStop &stop : train.stops) {
                if (i >= m_rows.size())
                    return;
                stop.pastMidnight = m_rows[i].first;
                stop.screenPoint = m_rows[i].second;
                ++i;
            }
    }
    DocumentState(const DocumentState &) = delete;
    DocumentState &operator=(const DocumentState &) = delete;

private:
    Document &m_doc;
    DocumentSettings m_settings;
    HeadList<TimeLabel> m_timeLabels;
    bool m_redrawNeeded;
    bool m_labelImagesStale;
    std::vector<std::pair<uint8_t, RowPoint>> m_rows;
};

} // namespace

PrintSheet::PrintSheet(Document &doc, const PrintPlan::Choice &choice, const Options &options)
{
    SheetLayout::Request request = PrintPlan(doc).request(choice);
    request.showCategory = options.showCategory;
    const int zoom = request.zoom;

    DocumentState state(doc);
    doc.settings.zoom = static_cast<uint8_t>(zoom);
    doc.settings.showTimeLabels = options.timeLabels;
    doc.settings.showCategory = options.showCategory;
    m_view.scale = zoom;
    // The legend gap a first render would set: one pass records everything.
    m_view.legendGap = DiagramView::legendGapAfterFirstRender;
    NullProgress progress;
    if (options.timeLabels)
        MakeTimeLabels(doc, m_view.scale, progress);

    // The renderer records the whole diagram; its window is a single pixel,
    // so its own picture costs nothing, and it places no train label.
    HeadlessWindow window(QSize(1, 1));
    m_renderer = std::make_unique<Renderer>(doc, m_view);
    RenderOptions drawn;
    drawn.timeLabels = options.timeLabels;
    drawn.category = options.showCategory;
    drawn.conflictMarks = options.conflicts;
    drawn.compared = options.compared;
    RenderRequest everything = RenderRequest::rebuildAll();
    everything.labels = RenderRequest::Labels::none();
    m_renderer->draw(window, everything, drawn);
    // The minute labels of the strips its tiny picture did not need.
    m_renderer->recordWholeDiagram();

    m_recording.list = &m_renderer->displayList();
    m_recording.numbers = m_renderer->stationColumn().numbers();
    m_recording.columnAxisBottom = Geometry::fullHeight(zoom, doc.maxMetres);
    m_recording.labels = vectorLabels(doc, doc.settings, m_view.scale, options.showCategory);
    m_recording.timeLabels = options.timeLabels;
    m_layout = SheetLayout::plan(doc, request, m_recording.labels);
}

PrintSheet::~PrintSheet() = default;

QSize PrintSheet::pixels() const
{
    const auto side = [](int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(v, 0, std::numeric_limits<int>::max()));
    };
    return QSize(side(m_layout.width), side(m_layout.height));
}

void PrintSheet::paint(QPainter &painter) const
{
    SheetPainter::paint(painter, m_layout, m_recording);
}
