#pragma once

#include "FileCommands.h"
#include "dialogs/RealImportSource.h"

#include "dialogs/DiagramActions.h"
#include "editing/DiagramEditView.h"
#include "editing/DiagramMouse.h"
#include "editing/InsertTool.h"
#include "editing/PrintSheet.h"
#include "render/DiagramView.h"
#include "render/DiagramWindow.h"
#include "render/ProgressSink.h"
#include "render/Renderer.h"
#include "render/ViewCommands.h"

#include <QMainWindow>

class AddTrainDialog;
class AnalogClock;
class ExportDialog;
class PrintToBitmapDialog;
class FindTrainDialog;
class InsertToolWindow;
class ProfileDialog;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QScrollBar;
class QSpinBox;
class QKeyEvent;
class QMouseEvent;
class QTimer;
class QToolButton;
class PaintBox;
class QSessionManager;
class RecoveryKeeper;
class SettingsDialog;
class StationListDialog;
class TrainListDialog;
struct Session;

// The main window TForm1: menu, tool panel Panel1, the diagram surface
// PaintBox1 and the scroll bars ScrollBar1 (horizontal) and ScrollBar2
// (vertical). Controls carry the names users of the program and its
// documentation know as their objectName; handlers keep their names too.
//
// It owns the diagram's view state and renderer and is the renderer's
// DiagramWindow; its view handlers only forward to ViewCommands, and the
// pointer events of PaintBox1 to DiagramMouse, for which it is the
// DiagramEditView (the screen and the delete question). It is the
// DocumentWindow of the file commands: the steps of Open and Import that
// belong to the window, the label code and the renderer.
//
// Every command that may change the document runs as one step of the
// session's EditHistory; "Zpět" and "Znovu" at the head of Editace take
// steps back and forth. The caption names the document and marks it
// modified; New, Open and closing ask first when there are unsaved changes.
class MainWindow : public QMainWindow, public DiagramWindow, public DocumentWindow, public DiagramEditView
{
    Q_OBJECT

public:
    static constexpr int panelHeight = 36;
    static constexpr int stationColumnWidth = 40;

    explicit MainWindow(Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    Session &session() { return m_session; }
    PaintBox *paintBox() const { return PaintBox1; }
    QScrollBar *horizontalBar() const { return ScrollBar1; }
    QScrollBar *verticalBar() const { return ScrollBar2; }

    // The scale label's text for a zoom step: zoom * 100 div 4 and " %".
    static QString zoomText(int zoom);

    // Document settings held by the tool panel's controls, pushed into them
    // and pulled from them around reading and writing files. The controls
    // are set with the render-in-progress flag up, so their handlers do
    // nothing; values the controls cannot hold (a ratio of 0 from a damaged
    // file) come back as the controls hold them.
    void showDocumentSettings() override;

    // The diagram: view state, renderer and view commands.
    DiagramView &view() { return m_view; }
    Renderer &renderer() { return m_renderer; }
    ViewCommands &viewCommands() { return m_commands; }
    // The mouse entry of PaintBox1 (label drag, panning, the insert tool).
    DiagramMouse &diagramMouse() { return m_mouse; }
    // The single drawing entry, as every command calls it.
    void render() override;

    // DocumentWindow
    void documentCleared() override;
    void makeTrainLabels() override;
    void makeTimeLabels() override;
    void prepareFullRebuild() override;

    // Opens a document named on the command line, as Open does (asking
    // first when there are unsaved changes).
    bool openFile(const QString &path);

    // The keeper of the recovery copy, when the editor keeps one: a label
    // drag holds its writes back, a closed window removes the copy.
    void setRecoveryKeeper(RecoveryKeeper *keeper);
    // "Program pro tvoření vlakorysu - NAME[*]".
    static QString captionFor(const QString &documentName);

    // The station list (TForm2) and train list (TForm3) dialogs, created
    // after this window.
    void setListDialogs(StationListDialog *stations, TrainListDialog *trains);
    // The find dialog TForm6, created after this window.
    void setFindDialog(FindTrainDialog *dialog) { m_findTrain = dialog; }
    // What the list commands do after an edit: labels and the render.
    DiagramActions diagramActions();

    // The settings dialog TForm9, created after this window.
    void setSettingsDialog(SettingsDialog *dialog) { m_settings = dialog; }

    // The print dialog TForm5 and the export dialog, created after this
    // window.
    void setPrintDialogs(PrintToBitmapDialog *print, ExportDialog *exportDialog)
    {
        m_printDialog = print;
        m_exportDialog = exportDialog;
    }
    // The travel-time editor (TForm10), created after this window.
    void setProfileDialog(ProfileDialog *dialog) { m_profiles = dialog; }
    // The insert-train tool's window (TForm12) and the add-train dialog
    // (TForm13): the tool shows itself in the one and asks the other.
    void setInsertToolWindows(InsertToolWindow *toolWindow, AddTrainDialog *addTrain);
    InsertTool &insertTool() { return m_insertTool; }
    // The Editace menu with all its commands, disabled while the tool is open.
    void setEditMenuEnabled(bool enabled);
    bool editMenuEnabled() const;

    // The progress window TForm7, created after this window.
    void setProgressWindow(ProgressSink *progress) { m_progress = progress ? progress : &m_nullProgress; }

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
    void setBitmapExportEnabled(bool enabled) override;
    // What the renderer last asked of "Tisk do bitmapy..."; the item is
    // hidden, and a hidden action reports itself disabled whatever it holds.
    bool bitmapExportEnabled() const { return m_bitmapExportEnabled; }
    void setZoomText(const QString &text) override;
    ProgressSink &progress() override { return *m_progress; }

    // DiagramEditView
    void surfaceAreaChanged(const QRect &area) override;
    bool askYesNo(const QString &text) override;

public slots:
    void Zpt1Click();       // undo
    void Znovu1Click();     // redo
    void Nov1Click();       // New
    void Otevt1Click();     // Open
    void Uloit1Click();     // Save
    void Uloitjako1Click(); // Save as
    void Import1Click();
    // Soubor › Importovat › Jízdní řád SŽ (CZPTT) and GTFS: the dialog,
    // then its import as one step.
    void importRealTimetable(RealImportSource::Format format);
    void Tiskdobitmapy1Click();    // bitmap export
    void Tisk1Click();             // "Tisk...": the print dialog TForm5
    void Exportovat1Click();       // "Exportovat...": the sheet or the view to a file
    void Stanice1Click();          // station list
    void Vlaky1Click();            // train list
    void Jzdndoby1Click();         // travel-time profiles
    void Vloitvlakzjzddob1Click(); // insert a train from a profile
    void Najdivlak1Click();        // find a train
    void Nastaven1Click();         // settings
    void Timer1Timer();
    void Konec1Click(); // Exit
    void Oaplikaci1Click();
    void SpeedButton7Click(); // zoom in
    void SpeedButton8Click(); // zoom out
    void SpeedButton9Click(); // "Akt."
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void ScrollBar1Change(int position);
    void ScrollBar2Change(int position);
    void PaintBox1MouseDown(QMouseEvent *event);
    void PaintBox1MouseMove(QMouseEvent *event);
    void PaintBox1MouseUp(QMouseEvent *event);
    // The desktop session ends.
    void commitData(QSessionManager &manager);

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
    bool isMenuShortcut(const QKeyEvent &key) const;
    void createMenu();
    // What the sheet shows besides the print dialog's choice: the tool
    // panel's "Časové popisky" and "Zobr. druh vlaku".
    PrintSheet::Options sheetOptions() const;
    // The name the sheet's pages and files carry: the document's.
    QString documentTitle() const;
    // The caption and the undo and redo items after the document or its
    // history changed.
    void historyChanged();
    void documentRestored();
    // A mouse release, as one step when it drops a dragged label.
    template <typename Release> void labelRelease(Release release);
    void closeInsertTool();
    void createToolPanel();
    QAction *addItem(QMenu *menu, const char *objectName, const QString &caption, const QKeySequence &shortcut = {});
    QToolButton *addSpeedButton(const char *objectName, const QString &hint, const QIcon &icon);
    QScrollBar *bar(Qt::Orientation o) const { return o == Qt::Horizontal ? ScrollBar1 : ScrollBar2; }
    template <typename Steps> void withRendersHeld(Steps steps);

    Session &m_session;
    DiagramView m_view;
    Renderer m_renderer;
    ViewCommands m_commands;
    DiagramMouse m_mouse;
    NullProgress m_nullProgress;
    ProgressSink *m_progress = &m_nullProgress;
    bool m_bitmapExportEnabled = false;
    bool m_resizePending = false; // a resize came while a render ran

    QWidget *m_client = nullptr;
    QWidget *Panel1 = nullptr;
    PaintBox *PaintBox1 = nullptr;
    QScrollBar *ScrollBar1 = nullptr;
    QScrollBar *ScrollBar2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QSpinBox *SpinEdit2 = nullptr;
    QToolButton *SpeedButton7 = nullptr;
    QToolButton *SpeedButton8 = nullptr;
    QToolButton *SpeedButton9 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    AnalogClock *AnalogClock1 = nullptr;

    StationListDialog *m_stationList = nullptr;   // TForm2
    TrainListDialog *m_trainList = nullptr;       // TForm3
    PrintToBitmapDialog *m_printDialog = nullptr; // TForm5
    FindTrainDialog *m_findTrain = nullptr;       // TForm6
    SettingsDialog *m_settings = nullptr;         // TForm9
    ProfileDialog *m_profiles = nullptr;          // TForm10
    InsertToolWindow *m_insertWindow = nullptr;   // TForm12
    ExportDialog *m_exportDialog = nullptr;       // TForm14
    QString m_bitmapFileName;                     // SaveDialog2's file name
    QString m_pictureFileName;                    // the export dialog's file name

    InsertTool m_insertTool;
    QTimer *Timer1 = nullptr;

    // The scroll key last pressed on a check box or spin edit of the panel,
    // which scrolls when it is released there.
    QObject *m_scrollKeyTarget = nullptr;
    int m_scrollKey = 0;

    RecoveryKeeper *m_recovery = nullptr;
    // The question before closing was answered during the session's end.
    bool m_closeSettled = false;

    QAction *Zpt1 = nullptr;
    QAction *Znovu1 = nullptr;
    QAction *Tiskdobitmapy1 = nullptr;
    QAction *Tisk1 = nullptr;
    QAction *Exportovat1 = nullptr;
    QMenu *Editace1 = nullptr;
    QList<QAction *> m_editActions; // Editace1's commands, each with its own enabled state
    QList<bool> m_editActionsEnabled;

public:
    // Set by the program at start-up (AppWindows); the about box TForm8.
    QWidget *aboutBox = nullptr;
};
