#pragma once

#include "conflicts/ConflictWatch.h"
#include "LabelMakers.h"
#include "ViewCommands.h"

#include "render/CompareOverlay.h"
#include "render/DiagramView.h"
#include "render/RenderRequest.h"
#include "render/Renderer.h"

#include <QObject>

#include <functional>
#include <memory>

class DiagramWindow;
class Document;

// The diagram of one document in one window: its view state (DiagramView),
// its renderer, the view commands and the label steps. It alone changes
// what the diagram shows:
//
//   command → the document changed → the command tells the diagram what
//   happened (contentChanged, trainsChanged, settingsChanged, highlight,
//   viewChanged …) → the diagram makes the labels that follows from it,
//   then render(RenderRequest) → Renderer::draw(window, request, options)
//   → the renderer's surface → the window shows it (PaintBox1), and hears
//   whether there is a picture to print (DiagramWindow::pictureExists)
//
// The diagram holds the renderer's options (RenderOptions): the panel's
// check boxes come from the document's settings, the rest from what the
// commands said. The window is anything that implements DiagramWindow: the
// editor's main window, or a HeadlessWindow in the command-line tool, the
// tests and the benchmarks.
class Diagram
{
public:
    Diagram(Document &document, DiagramWindow &window, LabelMakers labels = LabelMakers::standard());
    Diagram(const Diagram &) = delete;
    Diagram &operator=(const Diagram &) = delete;

    Document &document() { return m_doc; }
    const Document &document() const { return m_doc; }
    DiagramView &view() { return m_view; }
    const DiagramView &view() const { return m_view; }
    const Renderer &renderer() const { return m_renderer; }
    // The renderer's label outlines, for the mouse to pick from and to keep
    // in step with a label added or taken away.
    LabelOutlineList &labelOutlines() { return m_renderer.labelOutlines(); }
    QImage &surface() { return m_renderer.surface(); }
    // Holds renders off while the program sets controls (RenderGuard).
    RenderGuard holdRenders() { return RenderGuard(m_renderer); }
    bool busy() const { return m_renderer.busy(); }
    // The scroll ranges a render at a zoom level would set, at the view's
    // scale and the window's paint box.
    Renderer::ScrollRanges scrollRanges(int zoom);
    DiagramWindow &window() { return m_window; }
    ViewCommands &commands() { return m_commands; }

    // What a command says happened. Each makes the labels that follow from
    // it and renders.
    //
    // The document's contents changed as a whole (an open, a restore, an
    // import, a list edit): the train labels as said, the minute labels
    // made again when `timeLabels`, everything recorded anew.
    enum class TrainLabels { Keep, WhenNone, ForNewTrains, AllAnew };
    void contentChanged(TrainLabels trainLabels = TrainLabels::Keep, bool timeLabels = true);
    // The same, drawn by the next render.
    void changedUndrawn() { m_doc.redrawNeeded = true; }
    // A file read into the document (Open): finished as every open is
    // (DocumentOpen::finish, with this diagram's label steps) and drawn.
    void documentOpened();
    // The drawing changed and its minute texts did not (a train moved, a
    // label dropped, the marks or the compared trains shown or hidden): the
    // given train labels placed again.
    void trainsChanged(RenderRequest::Labels placed = RenderRequest::Labels::none());
    // The settings changed: with the time font, the minute labels made
    // anew; with a train font, every label imaged anew. `drawing`: the
    // drawing changed (pens, tracks) and needs a rebuild even without a
    // font. Whether it rendered.
    bool settingsChanged(bool timeFont, bool trainFont, bool drawing);
    // The trains named drawn green (the find command, a train dragged); the
    // other is the second train of a conflict. Off: no train green, drawn
    // again only when one is.
    void highlight(const QByteArray &found, const QByteArray &other = {});
    void highlightOff();
    const RenderOptions::Highlight &highlighting() const { return m_options.highlight; }
    // The view moved (a scroll bar, a key, panning): the visible strips
    // replayed; `moved` false: the pictures only copied again.
    void viewChanged(bool moved = true);
    // The surface was painted over (an outline taken away, a preview moved):
    // the pictures copied again.
    void repaint() { render(RenderRequest::paint()); }

    // The insert tool's preview, drawn on the surface after each render;
    // empty: none.
    void setOverlay(std::function<void(QImage &surface)> overlay) { m_options.overlay = std::move(overlay); }
    // Everything done at once at each rebuild (RenderOptions::eager).
    void setEager(bool eager) { m_options.eager = eager; }
    // The label the mouse has picked (1-based; 0: none). Every render
    // forgets it: the picture under the label's outline is new.
    void pickLabel(int32_t number) { m_pickedLabel = number; }
    int32_t pickedLabel() const { return m_pickedLabel; }

    // The drawing entry behind the above; tests and benchmarks ask for a
    // render of their own with it.
    void render(const RenderRequest &request = {});
    // What the latest render was asked to do.
    const RenderRequest &lastRequest() const { return m_lastRequest; }

    // Label generation at the view's scale. It shows the progress window,
    // which lets the system deliver what waits for the window; a render
    // asked for meanwhile would draw labels half made and be drawn again
    // after them, so renders are dropped until the step ends.
    void makeTimeLabels();
    void makeTrainLabels();
    void makeLabelsForNewTrains();

    // The window's client area has a new size: DiagramBitmap takes it and
    // the pictures are copied again. A resize that comes while a render
    // runs or labels are made is taken up once that has ended.
    void resized();

    // The conflicts between the document's trains, brought up to date
    // first (ConflictWatch: only what changed is checked again).
    const std::vector<Conflict> &conflicts();
    // The check behind them, for their counts.
    const ConflictCheck &conflictCheck() { return conflicts(), m_conflicts.check(); }
    // The editor's way: a full check runs beside the interface; when it
    // ends, the marks are drawn (when shown) and `checked` is called.
    void checkConflictsBeside(std::function<void()> checked);
    bool conflictsPending() const { return m_conflicts.pending(); }
    // Whether rebuilds mark the conflicts in red ("Konflikty" in the panel).
    // `render`: drawn at once.
    void setConflictsShown(bool shown, bool render = true);
    bool conflictsShown() const { return m_conflictsShown; }
    // Both trains of a conflict drawn green, as the find command draws its
    // train, and the view scrolled so the conflict's mark is in the middle
    // of the window, and drawn.
    void showConflict(const Conflict &conflict);

    // The document compared with this one ("Porovnat s..."): its trains
    // drawn behind the current ones at every rebuild (CompareOverlay); null
    // ends the comparison. Drawn at once.
    void setCompared(std::unique_ptr<const Document> compared);
    const Document *compared() const { return m_compared ? &m_compared->document() : nullptr; }
    // The same as the renderer draws it (a sheet draws it too).
    CompareOverlay::Compared *comparedOverlay() { return m_compared.get(); }
    // A difference chosen in the list (TimetableDiff): the current train
    // (0-based, or -1) drawn green, its compared counterpart emphasised, and
    // the view scrolled to the middle of the train's lines, and drawn.
    void showDifference(int32_t currentTrain, int32_t comparedTrain);

    // Another document is in the old one's place (read, recovered, restored,
    // made new): no label is picked any more. Nothing is drawn yet.
    void documentReplaced();

private:
    template <typename Step> void withRendersHeld(Step step);
    // The view scrolled so that the diagram point (x, y) is in the middle.
    void centreOn(int64_t x, int64_t y);
    void showDifferenceAt(int32_t currentTrain, int32_t comparedTrain, bool inCurrent);
    void takeUpResize();

    Document &m_doc;
    DiagramWindow &m_window;
    LabelMakers m_labels;
    DiagramView m_view;
    Renderer m_renderer;
    ViewCommands m_commands;
    RenderRequest m_lastRequest;
    RenderOptions m_options;
    int32_t m_pickedLabel = 0;
    ConflictWatch m_conflicts;
    std::unique_ptr<CompareOverlay::Compared> m_compared;
    bool m_conflictsShown = false;
    bool m_resizePending = false;
    // Holds the resize taken up later, and drops it should the diagram go
    // first.
    QObject m_later;
};
