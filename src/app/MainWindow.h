#pragma once

#include "FileCommands.h"
#include "MainMenu.h"
#include "ToolPanel.h"

#include "editing/Diagram.h"
#include "editing/DiagramEditView.h"
#include "editing/DiagramMouse.h"
#include "editing/InsertTool.h"
#include "render/DiagramWindow.h"
#include "render/ProgressSink.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class QKeyEvent;
class QMouseEvent;
class QScrollBar;
class QSessionManager;
class QWheelEvent;
class PaintBox;
class RecoveryKeeper;
struct Session;

// The main window TForm1 hosts the editor; it decides nothing itself. It
// lays out the menu (MainMenu), the tool panel Panel1 (ToolPanel), the
// diagram surface PaintBox1 and the scroll bars ScrollBar1 (horizontal) and
// ScrollBar2 (vertical), and it owns the Diagram shown on them. As the
// Diagram's DiagramWindow it hands the renderer its sizes, bars and check
// boxes; the pointer events of PaintBox1 go to DiagramMouse, for which it is
// the DiagramEditView (the screen and the delete question); keys and the
// wheel (Ctrl: zoom, else the bars) go to the diagram's ViewCommands, the
// zoom steps of a held key or a turned wheel rebuilt once after the run.
// The menu's commands are carried out by the command objects AppWindows
// connects to the menu's actions (EditCommands, ExportCommands,
// InsertToolController); New, Open, Save, Save as and Konec stay here with
// the caption, which names the document and marks it modified, and with
// closing, which asks first about unsaved changes.
class MainWindow : public QMainWindow, public DiagramWindow, public DiagramEditView, public DocumentViews
{
    Q_OBJECT

public:
    explicit MainWindow(Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    Session &session() { return m_session; }
    MainMenu &menu() { return m_menu; }
    ToolPanel &toolPanel() { return m_panel; }
    Diagram &diagram() { return m_diagram; }
    // The mouse entry of PaintBox1 (label drag, panning, the insert tool).
    DiagramMouse &diagramMouse() { return m_mouse; }
    InsertTool &insertTool() { return m_insertTool; }
    PaintBox *paintBox() const { return PaintBox1; }
    QScrollBar *horizontalBar() const { return ScrollBar1; }
    QScrollBar *verticalBar() const { return ScrollBar2; }

    // Opens a document named on the command line, as Open does (asking
    // first when there are unsaved changes).
    bool openFile(const QString &path);

    // The keeper of the recovery copy, when the editor keeps one: a label
    // drag holds its writes back, a closed window removes the copy.
    void setRecoveryKeeper(RecoveryKeeper *keeper);
    // "Program pro tvoření vlakorysu - NAME[*]".
    static QString captionFor(const QString &documentName);
    // Added to the caption while the recovery copy cannot be written.
    inline static const QString unprotectedCaption = QStringLiteral(" (neuložené změny nejsou chráněny kopií)");

    // The progress window TForm7, created after this window.
    void setProgressWindow(ProgressSink *progress) { m_progress = progress ? progress : &m_nullProgress; }

    // DocumentViews
    void documentReplaced() override;
    void showDocumentSettings() override;

    // DiagramWindow
    QSize clientSize() const override;
    QSize paintBoxSize() const override;
    void surfaceChanged() override;
    int scrollValue(Qt::Orientation bar) const override;
    void setScrollValue(Qt::Orientation bar, int value) override;
    int scrollMaximum(Qt::Orientation bar) const override;
    void setScrollMaximum(Qt::Orientation bar, int maximum) override;
    bool scrollBarVisible(Qt::Orientation bar) const override;
    void setScrollBarVisible(Qt::Orientation bar, bool visible) override;
    bool isChecked(CheckBox box) const override;
    void setChecked(CheckBox box, bool checked) override;
    void pictureExists(bool exists) override;
    void setZoomText(const QString &text) override;
    ProgressSink &progress() override { return *m_progress; }

    // DiagramEditView
    void surfaceAreaChanged(const QRect &area) override;
    bool askYesNo(const QString &text) override;

signals:
    // New has emptied the document (the station list's first row goes too).
    void newDocumentMade();

public slots:
    void Nov1Click();       // New
    void Otevt1Click();     // Open
    void Uloit1Click();     // Save
    void Uloitjako1Click(); // Save as
    void Konec1Click();     // Exit
    void ScrollBar1Change(int position);
    void ScrollBar2Change(int position);
    void PaintBox1MouseDown(QMouseEvent *event);
    void PaintBox1MouseMove(QMouseEvent *event);
    void PaintBox1MouseUp(QMouseEvent *event);
    // The desktop session ends.
    void commitData(QSessionManager &manager);

    // Whether the event is input that reads the drawing, before which zoom
    // steps still owing their rebuild get it.
    static bool readsDrawing(const QEvent &event);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void FormResize();
    // Keys of the window and its controls: "+" and "-" zoom, the arrows and
    // Esc scroll. Returns whether the key was one of them.
    bool FormKeyPress(QKeyEvent *event);
    bool FormKeyDown(QKeyEvent *event);
    // The wheel over PaintBox1: with Ctrl it zooms a step a notch, else it
    // turns the scroll bars (with Shift, or sideways, the horizontal one).
    void PaintBox1Wheel(QWheelEvent *event);
    // A zoom step of the keys or the wheel (which keeps the diagram's point
    // under the pointer where it is): the view moves at once, the drawing
    // is rebuilt once the steps that came with it are taken.
    void zoomStep(bool in, std::optional<QPoint> pointer = {});
    // The caption after the document or its history changed.
    void historyChanged();
    QScrollBar *bar(Qt::Orientation o) const { return o == Qt::Horizontal ? ScrollBar1 : ScrollBar2; }

    Session &m_session;
    QWidget *m_client;
    MainMenu m_menu;
    Diagram m_diagram;
    ToolPanel m_panel;
    InsertTool m_insertTool;
    DiagramMouse m_mouse;
    NullProgress m_nullProgress;
    ProgressSink *m_progress = &m_nullProgress;

    PaintBox *PaintBox1 = nullptr;
    QScrollBar *ScrollBar1 = nullptr;
    QScrollBar *ScrollBar2 = nullptr;

    RecoveryKeeper *m_recovery = nullptr;
    // The question before closing was answered during the session's end.
    bool m_closeSettled = false;
    // The wheel's turn with Ctrl held not yet a whole notch, and its turn
    // without Ctrl not yet a whole scroll unit.
    int m_wheelZoom = 0;
    int m_wheelScroll = 0;
    // The application's filter that settles owed zoom steps; it goes before
    // the diagram it settles.
    std::unique_ptr<QObject> m_zoomSettling;
};
