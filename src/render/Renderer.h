#pragma once

#include "DiagramView.h"
#include "DisplayList.h"
#include "LabelOutline.h"
#include "MinuteLabels.h"
#include "RenderOptions.h"
#include "RenderRequest.h"
#include "Replay.h"
#include "StationColumn.h"
#include "StationLegend.h"

#include "model/Conflict.h"
#include "model/Document.h"

#include <QByteArray>
#include <QFont>
#include <QFuture>
#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DiagramWindow;
namespace CompareOverlay {
class Compared;
}
class QPainter;
class TrainLabelFonts;

// The drawing of the diagram. Diagram::render (src/editing) is the one
// entry the program calls; it hands the renderer a RenderRequest, which
// draw() keeps for that render alone (paint only, keep the minute texts,
// the label rebuild selector). Nothing else draws the diagram.
//
// A rebuild (the document's redrawNeeded) records the diagram in diagram
// coordinates into the display list (DisplayList: lines and texts in
// 500-pixel strips): hour grid, station lines, every train (TrainLines);
// lays out the minute labels (MinuteLabels); places and outlines the train
// labels (TrainLabelPlacement, LabelOutline); and draws the station column
// (StationColumn) and the legend (StationLegend). Every render except a
// paint-only one replays the strips that meet the visible rectangle into
// DiagramBitmap (Replayer: horizontal bands of rows on all cores, LineRaster
// for lines, TextStamps for texts) and composes the label images
// (LabelImage) on it. Then it lays out the scroll bars, draws the bottom
// axis, the hour numbers and the legend on the paint-box surface, copies
// DiagramBitmap and the station column beside them, and hands the surface
// to the options' overlay (the insert tool's preview, InsertOverlay). With no document
// the surface shows only an empty time axis.
//
// What only the picture needs waits until a replay needs it, so a zoom
// step, "Akt." and the check boxes cost what is shown, not the whole day:
// - Minute labels are laid out at once into MinuteTextStrips, on another
//   core while the stations and trains are recorded and the train labels
//   placed (it reads only the time labels, the settings and the list's
//   size); a strip's texts go into the display list the first time a replay
//   draws that strip with "Časové popisky" checked. Keeping the minute texts
//   keeps the recorded strips and the owed ones alike.
// - Train labels are placed and outlined at once (the mouse picks through
//   the outlines). A label that needs a new image (none, or the document's
//   labelImagesStale) gets a LabelImageOrder; a replay draws the owed images
//   whose boxes meet the viewport (DrawOwedLabelImages) before it composes.
//   Save with label images draws every owed one first.
// - recordWholeDiagram() records every owed strip (for a back end that draws
//   the whole diagram). The `eager` option does all of it at each rebuild, paints every
//   text and replays in one band: tests/render/LazyRenderTest compares the
//   two ways pixel for pixel.
// The painter back end of the same recording (PainterReplay, SheetPainter,
// VectorLabels) draws sheets, PDF and SVG from the display list.
//
// The surface is a QImage of the paint box's size that the window's paint
// event copies; the renderer reaches the window through DiagramWindow only,
// so it runs headless (HeadlessWindow) in the command-line tool and tests.
class Renderer
{
public:
    Renderer(Document &document, DiagramView &view);
    ~Renderer();

    // Raised while a render runs, and while the program sets controls or
    // makes labels (RenderGuard): a render asked for then is dropped, the
    // controls' handlers run no command and the mouse ignores presses.
    bool busy() const { return m_busy; }

    // The options of the latest render.
    const RenderOptions &options() const { return m_options; }
    // Whether the display list holds a train drawn green (or a compared
    // train emphasised): it keeps it until the next rebuild, whatever the
    // options say meanwhile.
    bool highlightRecorded() const { return m_highlightRecorded; }
    // Whether the latest render drew a document (not the empty axis): there
    // is a picture to print or export.
    bool hasPicture() const { return m_hasPicture; }

    // Draws what the request asks for onto the surface. A request to
    // rebuild marks the document's redrawNeeded first, so that a render
    // dropped while another runs leaves the rebuild to the next one.
    void draw(DiagramWindow &window, const RenderRequest &request, const RenderOptions &options);
    // The request of the render running; a default one between renders.
    const RenderRequest &request() const { return m_request; }

    // Records what the display list still owes (the minute labels of the
    // strips no replay has needed yet): the whole diagram, for a back end
    // that draws all of it.
    void recordWholeDiagram();

    // PaintBox1's picture.
    QImage &surface() { return m_surface; }
    const QImage &surface() const { return m_surface; }
    // DiagramBitmap: the client area's size, created by the first full render.
    QImage &diagramBitmap() { return m_bitmap; }
    const QImage &diagramBitmap() const { return m_bitmap; }
    // Window resize: the bitmap, when it exists, takes the client size.
    void resizeDiagramBitmap(QSize clientSize);

    // B of the last render, for the mouse code.
    int32_t visibleBottom() const { return m_visibleBottom; }
    const DisplayList &displayList() const { return m_list; }
    LabelOutlineList &labelOutlines() { return m_outlines; }
    const LabelOutlineList &labelOutlines() const { return m_outlines; }
    const StationColumn &stationColumn() const { return m_column; }
    const std::vector<QString> &legendLines() const { return m_legendLines; }
    // The diagram font of the last render ("ARIAL CE" by zoom).
    const QFont &diagramFont() const { return m_diagramFont; }
    static QFont diagramFontOf(int zoom);

    // The scroll ranges a render would set for a zoom level and scale: the
    // zoom commands carry positions over to them.
    struct ScrollRanges
    {
        int32_t horizontal = 0;
        Geometry::VerticalRange vertical;
    };
    ScrollRanges scrollRanges(int zoom, double scale, QSize paintBox);

    // The text recording of the bitmap canvas: a font and brush are set, a
    // text is measured in that font, and RecordText files it with them.
    void setTextFont(const QByteArray &name, int32_t size, uint8_t style, int32_t colour);
    void setTextBrush(int32_t colour, uint8_t brushStyle);
    QSize measureText(QByteArrayView text);
    void RecordText(int32_t x, int32_t y, QByteArrayView text, int32_t width, int32_t height);

    // What the renderer did, for tests and benchmarks.
    struct Stats
    {
        int renders = 0;  // entered, not dropped
        int dropped = 0;  // asked for during a render
        int passes = 0;   // full-render passes (the first document render has two)
        int rebuilds = 0; // passes that recorded the display list
        int replays = 0;
        int emptyAxes = 0;
    };
    const Stats &stats() const { return m_stats; }

private:
    friend class RenderGuard;
    void drawEmptyAxis(DiagramWindow &window);
    // picture: replay and copy the bitmaps (not in a pass another follows).
    void drawDocument(DiagramWindow &window, bool picture);
    void recordHoursAndGrid(QPainter &painter, bool record, int32_t bottom);
    void recordStations(int32_t fullWidth);
    void recordTrains(DiagramWindow &window);
    // laidOut: the layout already running on another core, or none.
    void recordMinuteLabels(DiagramWindow &window, QFuture<void> &laidOut);
    void placeTrainLabels(DiagramWindow &window);
    void replay(const Replayer::Viewport &viewport, bool texts);
    void drawOwedLabelImages(const Replayer::Viewport &viewport);
    void copyToSurface(int clientWidth, int32_t bottom);
    void prepareSurface(QSize paintBox);
    void drawText(QPainter &painter, const QFont &font, int x, int top, const QString &text);
    int legendHeight(const QFont &font, int paintBoxWidth);

    Document &m_doc;
    DiagramView &m_view;
    RenderRequest m_request;
    RenderOptions m_options;
    Stats m_stats;
    bool m_busy = false;
    bool m_hasPicture = false;

    QImage m_surface;
    QImage m_bitmap;
    DisplayList m_list;
    Replayer m_replayer;
    StationColumn m_column;
    StationLegend m_legend;
    std::vector<QString> m_legendLines;
    LabelOutlineList m_outlines;
    MinuteTextStrips m_minuteTexts;
    // The runs of trains recorded on all cores, kept for their room.
    std::vector<DisplayList> m_trainRuns;
    std::unique_ptr<TrainLabelFonts> m_labelFonts;
    QFont m_diagramFont;
    int32_t m_visibleBottom = 0;
    bool m_highlightRecorded = false;
    int32_t m_fullHeight = 0;
    int32_t m_cullWidth = 0;

    // The viewport and bitmap of the last replay: a paint-only render whose
    // picture would be stale (the window was resized) replays after all.
    std::optional<Replayer::Viewport> m_lastViewport;
    QSize m_lastReplaySize;

    // The bitmap canvas's text attributes for RecordText.
    struct TextCanvas
    {
        QByteArray fontName;
        int32_t size = 0;
        uint8_t style = 0;
        int32_t colour = 0;
        int32_t brushColour = 0xFFFFFF;
        uint8_t brushStyle = TextPrimitive::ClearBrush;
        QFont font;
        int ascent = 0;
        uint16_t index = 0;
        bool indexValid = false;
    };
    TextCanvas m_canvas;
};

// Sets the render-in-progress flag for a while, so that controls set by the
// program run none of their commands; restores what it was.
class RenderGuard
{
public:
    explicit RenderGuard(Renderer &renderer) : m_renderer(renderer), m_was(renderer.m_busy)
    {
        m_renderer.m_busy = true;
    }
    ~RenderGuard() { m_renderer.m_busy = m_was; }
    RenderGuard(const RenderGuard &) = delete;
    RenderGuard &operator=(const RenderGuard &) = delete;

private:
    Renderer &m_renderer;
    bool m_was;
};
