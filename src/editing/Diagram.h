#pragma once

#include "ConflictWatch.h"
#include "LabelMakers.h"
#include "ViewCommands.h"

#include "render/CompareOverlay.h"
#include "render/DiagramView.h"
#include "render/RenderRequest.h"
#include "render/Renderer.h"

#include <QObject>

#include <memory>

class DiagramWindow;
class Document;

// The diagram of one document in one window: its view state (DiagramView),
// its renderer, the view commands and the label makers. Everything that
// changes what the diagram shows reaches the screen here:
//
//   command → the document changed → render(RenderRequest) → Renderer::draw
//           → the renderer's surface → the window shows it (PaintBox1)
//
// Commands and tools say what they want drawn with a RenderRequest; they
// never set the renderer's flags. The window is anything that implements
// DiagramWindow: the editor's main window, or a HeadlessWindow in the
// command-line tool, the tests and the benchmarks.
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
    Renderer &renderer() { return m_renderer; }
    const Renderer &renderer() const { return m_renderer; }
    DiagramWindow &window() { return m_window; }
    ViewCommands &commands() { return m_commands; }

    // The one drawing entry.
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
    // The caller renders.
    void setConflictsShown(bool shown);
    bool conflictsShown() const { return m_conflictsShown; }
    // Both trains of a conflict drawn green, as the find command draws its
    // train, and the view scrolled so the conflict's mark is in the middle
    // of the window; the caller renders.
    void showConflict(const Conflict &conflict);

    // The document compared with this one ("Porovnat s..."): its trains
    // drawn behind the current ones at every rebuild (CompareOverlay); null
    // ends the comparison. The caller renders.
    void setCompared(std::unique_ptr<const Document> compared);
    const Document *compared() const { return m_compared ? &m_compared->document() : nullptr; }
    // The same as the renderer draws it (a sheet draws it too).
    CompareOverlay::Compared *comparedOverlay() { return m_compared.get(); }
    // A difference chosen in the list (TimetableDiff): the current train
    // (0-based, or -1) drawn green, its compared counterpart emphasised, and
    // the view scrolled to the middle of the train's lines; the caller
    // renders.
    void showDifference(int32_t currentTrain, int32_t comparedTrain);

    // Another document is in the old one's place (read, recovered, restored):
    // no label is picked any more.
    void documentReplaced();

private:
    template <typename Step> void withRendersHeld(Step step);
    // The view scrolled so that the diagram point (x, y) is in the middle.
    void centreOn(int64_t x, int64_t y);
    void takeUpResize();

    Document &m_doc;
    DiagramWindow &m_window;
    LabelMakers m_labels;
    DiagramView m_view;
    Renderer m_renderer;
    ViewCommands m_commands;
    RenderRequest m_lastRequest;
    ConflictWatch m_conflicts;
    std::unique_ptr<CompareOverlay::Compared> m_compared;
    bool m_conflictsShown = false;
    bool m_resizePending = false;
    // Holds the resize taken up later, and drops it should the diagram go
    // first.
    QObject m_later;
};
