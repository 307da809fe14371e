#include "MainWindow.h"

#include "AnalogClock.h"
#include "DiagramScrollBar.h"
#include "DocumentCommands.h"
#include "ExportCommands.h"
#include "PaintBox.h"
#include "PanelIcons.h"
#include "RecoveryKeeper.h"
#include "Session.h"
#include "StepNames.h"
#include "dialogs/AddTrainDialog.h"
#include "dialogs/ExportDialog.h"
#include "dialogs/FindTrainDialog.h"
#include "dialogs/InsertToolWindow.h"
#include "dialogs/ListCommands.h"
#include "dialogs/PrintToBitmapDialog.h"
#include "dialogs/ProfileCommands.h"
#include "dialogs/ProfileDialog.h"
#include "dialogs/Prompter.h"
#include "dialogs/RealImportDialog.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/StationListDialog.h"
#include "dialogs/TrainListDialog.h"
#include "editing/FindTrain.h"
#include "editing/LabelGeneration.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSessionManager>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

using PanelIcons::Glyph;

namespace {

MouseEvent mouseEvent(const QMouseEvent &e)
{
    return MouseEvent{e.button(), e.buttons(), e.modifiers(), e.position().toPoint()};
}

} // namespace

MainWindow::MainWindow(Session &session, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_renderer(session.document, m_view),
      m_commands(session.document, m_view, m_renderer, *this),
      m_mouse(DiagramContext{session.document, m_view, m_renderer, *this, *this}),
      m_insertTool(session.document, m_view)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Program pro tvoření vlakorysu"));
    setMinimumSize(600, 400);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    createMenu();
    createToolPanel();

    PaintBox1 = new PaintBox(m_client);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setSource(&m_renderer.surface());
    connect(PaintBox1, &PaintBox::mousePressed, this, &MainWindow::PaintBox1MouseDown);
    connect(PaintBox1, &PaintBox::mouseMoved, this, &MainWindow::PaintBox1MouseMove);
    connect(PaintBox1, &PaintBox::mouseReleased, this, &MainWindow::PaintBox1MouseUp);
    // A click into the trough moves ScrollBar1 by one position, ScrollBar2
    // by 10.
    ScrollBar1 = new DiagramScrollBar(Qt::Horizontal, 1, m_client);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar2 = new DiagramScrollBar(Qt::Vertical, 10, m_client);
    ScrollBar2->setObjectName(QStringLiteral("ScrollBar2"));
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &MainWindow::ScrollBar1Change);
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &MainWindow::ScrollBar2Change);
    for (QObject *o : {static_cast<QObject *>(ScrollBar1), static_cast<QObject *>(ScrollBar2)})
        o->installEventFilter(this);

    m_commands.makeTimeLabels = [this] { makeTimeLabels(); };
    m_session.history.restored = [this] { documentRestored(); };
    connect(&m_session.history, &EditHistory::changed, this, &MainWindow::historyChanged);
    connect(&m_session.history, &EditHistory::documentChanged, this, [this] { m_closeSettled = false; });
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &MainWindow::commitData);
    // The insert-train tool's preview, on the picture after every render.
    m_renderer.overlay = [this](QImage &surface) {
        m_insertTool.drawOverlay(surface,
                                 OverlayClip{stationColumnWidth, 0, m_client->width(), m_renderer.visibleBottom()});
    };
    // Left presses and pointer moves go to the insert-train tool while it
    // is open; every move outside it gives the Editace menu back.
    m_mouse.setInsertTool(&m_insertTool);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    FormCreate();
    historyChanged();
    // Every control that can take the focus lets the menu's shortcuts
    // through (eventFilter).
    for (QWidget *w : findChildren<QWidget *>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    m_session.history.restored = nullptr;
}

QString MainWindow::zoomText(int zoom)
{
    return DiagramView::zoomText(zoom);
}

QAction *MainWindow::addItem(QMenu *menu, const char *objectName, const QString &caption, const QKeySequence &shortcut)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(objectName));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

void MainWindow::createMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    auto separator = [](QMenu *menu, const char *name, bool visible = true) {
        QAction *s = menu->addSeparator();
        s->setObjectName(QString::fromLatin1(name));
        s->setVisible(visible);
    };

    QMenu *file = bar->addMenu(QStringLiteral("&Soubor"));
    file->setObjectName(QStringLiteral("Soubor1"));
    QAction *newItem = addItem(file, "Nov1", QStringLiteral("&Nový"));
    QAction *open = addItem(file, "Otevt1", QStringLiteral("&Otevřít"), QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction *save = addItem(file, "Uloit1", QStringLiteral("&Uložit"), QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction *saveAs = addItem(file, "Uloitjako1", QStringLiteral("Uložit &jako..."));
    separator(file, "N1");
    // The imports: the program's text timetable and the days of real
    // timetables.
    QMenu *imports = file->addMenu(QStringLiteral("Im&portovat"));
    imports->setObjectName(QStringLiteral("Importovat1"));
    QAction *import = addItem(imports, "Import1", QStringLiteral("Import..."), QKeySequence(Qt::CTRL | Qt::Key_I));
    QAction *importCzptt = addItem(imports, "ImportCzptt1", QStringLiteral("Jízdní řád SŽ (CZPTT)..."));
    QAction *importGtfs = addItem(imports, "ImportGtfs1", QStringLiteral("GTFS..."));
    separator(file, "N9");
    Tisk1 = addItem(file, "Tisk1", QStringLiteral("Tisk..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    Exportovat1 = addItem(file, "Exportovat1", QStringLiteral("Exportovat..."), QKeySequence(Qt::CTRL | Qt::Key_E));
    Tisk1->setEnabled(false);
    Exportovat1->setEnabled(false);
    separator(file, "N2", false);
    Tiskdobitmapy1 = addItem(file, "Tiskdobitmapy1", QStringLiteral("Tisk do bitmapy..."));
    Tiskdobitmapy1->setVisible(false);
    Tiskdobitmapy1->setEnabled(false);
    separator(file, "N3");
    QAction *exit = addItem(file, "Konec1", QStringLiteral("&Konec"), QKeySequence(Qt::ALT | Qt::Key_F4));

    Editace1 = bar->addMenu(QStringLiteral("&Editace"));
    Editace1->setObjectName(QStringLiteral("Editace1"));
    Zpt1 = addItem(Editace1, "Zpt1", StepNames::undo, QKeySequence(Qt::CTRL | Qt::Key_Z));
    Znovu1 = addItem(Editace1, "Znovu1", StepNames::redo);
    Znovu1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    separator(Editace1, "N8");
    QAction *stations = addItem(Editace1, "Stanice1", QStringLiteral("&Stanice ..."));
    QAction *trains = addItem(Editace1, "Vlaky1", QStringLiteral("&Vlaky ..."));
    QAction *profiles = addItem(Editace1, "Jzdndoby1", QStringLiteral("&Jízdní doby"));
    separator(Editace1, "N4", false);
    QAction *scale = addItem(Editace1, "Mtko1", QStringLiteral("Měřítko ..."));
    scale->setVisible(false);
    separator(Editace1, "N5");
    QAction *insert =
        addItem(Editace1, "Vloitvlakzjzddob1", QStringLiteral("Vložit vlak z jízd. dob"), QKeySequence(Qt::Key_Insert));
    QAction *find =
        addItem(Editace1, "Najdivlak1", QStringLiteral("Najdi vlak..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    separator(Editace1, "N6");
    QAction *settings =
        addItem(Editace1, "Nastaven1", QStringLiteral("Nastavení"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));

    QMenu *help = bar->addMenu(QStringLiteral("Nápo&věda"));
    help->setObjectName(QStringLiteral("Npovda1"));
    separator(help, "N7");
    QAction *about = addItem(help, "Oaplikaci1", QStringLiteral("&O aplikaci..."));

    connect(Zpt1, &QAction::triggered, this, &MainWindow::Zpt1Click);
    connect(Znovu1, &QAction::triggered, this, &MainWindow::Znovu1Click);
    connect(newItem, &QAction::triggered, this, &MainWindow::Nov1Click);
    connect(open, &QAction::triggered, this, &MainWindow::Otevt1Click);
    connect(save, &QAction::triggered, this, &MainWindow::Uloit1Click);
    connect(saveAs, &QAction::triggered, this, &MainWindow::Uloitjako1Click);
    connect(import, &QAction::triggered, this, &MainWindow::Import1Click);
    connect(importCzptt, &QAction::triggered, this, [this] { importRealTimetable(RealImportSource::Format::Czptt); });
    connect(importGtfs, &QAction::triggered, this, [this] { importRealTimetable(RealImportSource::Format::Gtfs); });
    connect(Tiskdobitmapy1, &QAction::triggered, this, &MainWindow::Tiskdobitmapy1Click);
    connect(Tisk1, &QAction::triggered, this, &MainWindow::Tisk1Click);
    connect(Exportovat1, &QAction::triggered, this, &MainWindow::Exportovat1Click);
    connect(stations, &QAction::triggered, this, &MainWindow::Stanice1Click);
    connect(trains, &QAction::triggered, this, &MainWindow::Vlaky1Click);
    connect(profiles, &QAction::triggered, this, &MainWindow::Jzdndoby1Click);
    connect(insert, &QAction::triggered, this, &MainWindow::Vloitvlakzjzddob1Click);
    connect(exit, &QAction::triggered, this, &MainWindow::Konec1Click);
    connect(settings, &QAction::triggered, this, &MainWindow::Nastaven1Click);
    connect(about, &QAction::triggered, this, &MainWindow::Oaplikaci1Click);
    connect(find, &QAction::triggered, this, &MainWindow::Najdivlak1Click);

    // Commands whose work is not in the program yet stay disabled.
}

QToolButton *MainWindow::addSpeedButton(const char *objectName, const QString &hint, const QIcon &icon)
{
    auto *b = new QToolButton(Panel1);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setToolTip(hint);
    b->setIcon(icon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(26, 26);
    Panel1->layout()->addWidget(b);
    return b;
}

void MainWindow::createToolPanel()
{
    Panel1 = new QWidget(m_client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);

    QToolButton *b1 = addSpeedButton("SpeedButton1", QStringLiteral("Nový vlakorys"), PanelIcons::icon(Glyph::New));
    QToolButton *b2 = addSpeedButton("SpeedButton2", QStringLiteral("Otevřit vlakorys"), PanelIcons::icon(Glyph::Open));
    QToolButton *b5 = addSpeedButton("SpeedButton5", QStringLiteral("Uložit vlakorys"), PanelIcons::icon(Glyph::Save));
    row->addSpacing(8);
    QToolButton *b3 =
        addSpeedButton("SpeedButton3", QStringLiteral("Seznam stanic"), PanelIcons::icon(Glyph::Stations));
    QToolButton *b4 = addSpeedButton("SpeedButton4", QStringLiteral("Seznam vlaků"), PanelIcons::icon(Glyph::Trains));
    row->addSpacing(8);
    SpeedButton7 = addSpeedButton("SpeedButton7", QStringLiteral("Zvětšit"), PanelIcons::icon(Glyph::ZoomIn));
    SpeedButton8 = addSpeedButton("SpeedButton8", QStringLiteral("Změnšit"), PanelIcons::icon(Glyph::ZoomOut));

    Label1 = new QLabel(QStringLiteral("100 %"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(44);
    Label1->setAlignment(Qt::AlignCenter);
    row->addWidget(Label1);
    row->addSpacing(8);

    Label2 = new QLabel(QStringLiteral("Poměr osy x:y:"), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    row->addWidget(Label2);
    SpinEdit1 = new QSpinBox(Panel1);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 100);
    SpinEdit1->setValue(1);
    row->addWidget(SpinEdit1);
    Label3 = new QLabel(QStringLiteral(":"), Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    row->addWidget(Label3);
    SpinEdit2 = new QSpinBox(Panel1);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    SpinEdit2->setRange(1, 100);
    SpinEdit2->setValue(2);
    row->addWidget(SpinEdit2);
    SpeedButton9 = new QToolButton(Panel1);
    SpeedButton9->setObjectName(QStringLiteral("SpeedButton9"));
    SpeedButton9->setText(QStringLiteral("Akt."));
    SpeedButton9->setFocusPolicy(Qt::NoFocus);
    row->addWidget(SpeedButton9);
    row->addSpacing(8);

    CheckBox1 = new QCheckBox(QStringLiteral("Časové popisky"), Panel1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    row->addWidget(CheckBox1);
    CheckBox2 = new QCheckBox(QStringLiteral("Vyhlazení"), Panel1);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    row->addWidget(CheckBox2);
    CheckBox3 = new QCheckBox(QStringLiteral("Zobr. druh vlaku"), Panel1);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox3->setChecked(true);
    row->addWidget(CheckBox3);
    row->addStretch(1);
    row->addSpacing(64); // room for the clock, placed by FormResize

    QToolButton *b6 = addSpeedButton("SpeedButton6", QStringLiteral("Konec"), PanelIcons::icon(Glyph::Exit));
    row->removeWidget(b6);
    row->insertWidget(row->count() - 2, b6);

    AnalogClock1 = new AnalogClock(Panel1);
    AnalogClock1->setObjectName(QStringLiteral("AnalogClock1"));
    AnalogClock1->resize(panelHeight - 4, panelHeight - 4);

    connect(b1, &QToolButton::clicked, this, &MainWindow::Nov1Click);
    connect(b6, &QToolButton::clicked, this, &MainWindow::Konec1Click);
    connect(SpeedButton7, &QToolButton::clicked, this, &MainWindow::SpeedButton7Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &MainWindow::SpeedButton8Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &MainWindow::SpeedButton9Click);
    connect(b2, &QToolButton::clicked, this, &MainWindow::Otevt1Click);
    connect(b5, &QToolButton::clicked, this, &MainWindow::Uloit1Click);
    connect(b3, &QToolButton::clicked, this, &MainWindow::Stanice1Click);
    connect(b4, &QToolButton::clicked, this, &MainWindow::Vlaky1Click);

    // The check boxes and the ratio belong to the document's settings; a
    // check box changed by the user or the program runs its click operation,
    // which does nothing while the program sets the controls.
    connect(CheckBox1, &QCheckBox::toggled, this, &MainWindow::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::toggled, this, &MainWindow::CheckBox2Click);
    connect(CheckBox3, &QCheckBox::toggled, this, &MainWindow::CheckBox3Click);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this](int v) { m_session.document.settings.ratioX = v; });
    connect(SpinEdit2, &QSpinBox::valueChanged, this, [this](int v) { m_session.document.settings.ratioY = v; });
    // Their keys scroll the diagram when released.
    for (QWidget *w : {static_cast<QWidget *>(CheckBox1), static_cast<QWidget *>(CheckBox2),
                       static_cast<QWidget *>(SpinEdit1), static_cast<QWidget *>(SpinEdit2)})
        w->installEventFilter(this);
}

void MainWindow::FormCreate()
{
    Document &doc = m_session.document;
    doc.untitled = true;
    doc.redrawNeeded = true;
    doc.labelImagesStale = false;
    doc.clearTimeLabels();
    doc.clearStationKinds();
    doc.trainCount = 0;
    m_renderer.keepTimeText = true;
    m_renderer.labelSelector = 0;
    m_renderer.dragLabelNumber = -1;
    setBitmapExportEnabled(false);

    DocumentCommands::readStartupSettings(m_session);
    doc.settings.zoom =
        static_cast<uint8_t>(std::clamp<int>(doc.settings.zoom, DiagramView::minZoom, DiagramView::maxZoom));
    doc.settings.ratioX = SpinEdit1->value();
    doc.settings.ratioY = SpinEdit2->value();
    doc.settings.showTimeLabels = doc.settings.zoom >= 5;
    doc.settings.smoothing = CheckBox2->isChecked();
    doc.settings.showCategory = CheckBox3->isChecked();
    showDocumentSettings();

    resize(900, 600);
    FormResize();
    doc.noDocument = true;
    m_view.updateScale(doc.settings);
    m_view.hpos = 0;
    m_view.vpos = 0;
    {
        ProgrammaticScroll bars(*this, m_view);
        bars.setValue(Qt::Horizontal, 0);
        bars.setValue(Qt::Vertical, 0);
        bars.setMaximum(Qt::Horizontal, 1160);
    }
    doc.redrawNeeded = true;
    render();
    // The timer runs from the start; its first tick, with the insert tool
    // closed, stops it.
    Timer1->start();
}

void MainWindow::showDocumentSettings()
{
    DocumentSettings &s = m_session.document.settings;
    const DocumentSettings wanted = s;
    {
        RenderGuard guard(m_renderer);
        SpinEdit1->setValue(wanted.ratioX);
        SpinEdit2->setValue(wanted.ratioY);
        CheckBox1->setChecked(wanted.showTimeLabels);
        CheckBox2->setChecked(wanted.smoothing);
        CheckBox3->setChecked(wanted.showCategory);
        Label1->setText(zoomText(wanted.zoom));
    }
    s.ratioX = SpinEdit1->value();
    s.ratioY = SpinEdit2->value();
    s.showTimeLabels = CheckBox1->isChecked();
    s.smoothing = CheckBox2->isChecked();
    s.showCategory = CheckBox3->isChecked();
    m_view.updateScale(s);
}

void MainWindow::documentCleared()
{
    m_renderer.dragLabelNumber = -1;
    closeInsertTool();
}

// A train being laid belongs to the stations it was laid along: when the
// document goes, so does the tool.
void MainWindow::closeInsertTool()
{
    if (m_insertWindow && m_insertWindow->isVisible())
        m_insertWindow->close();
    m_insertTool.FormClose();
}

// Label generation shows the progress window, and showing it lets the
// system deliver what waits for the main window (its first resize at
// start-up). A render then would draw a document whose labels are half
// made, and the render after the labels would draw it all again: while the
// labels are made, renders wait, and a waiting resize is taken up after.
template <typename Steps> void MainWindow::withRendersHeld(Steps steps)
{
    {
        RenderGuard guard(m_renderer);
        steps();
    }
    if (m_resizePending)
        QTimer::singleShot(0, this, &MainWindow::FormResize);
}

void MainWindow::makeTrainLabels()
{
    withRendersHeld([this] { MakeTrainLabels(m_session.document, m_view.scale); });
}

void MainWindow::makeTimeLabels()
{
    withRendersHeld([this] { MakeTimeLabels(m_session.document, m_view.scale, *m_progress); });
}

void MainWindow::prepareFullRebuild()
{
    m_renderer.keepTimeText = false;
    m_renderer.labelSelector = 0;
}

bool MainWindow::openFile(const QString &path)
{
    if (!FileCommands::settleUnsavedChanges(m_session))
        return false;
    const bool opened = FileCommands::openFile(m_session, *this, path);
    historyChanged();
    return opened;
}

void MainWindow::setRecoveryKeeper(RecoveryKeeper *keeper)
{
    m_recovery = keeper;
    if (keeper)
        keeper->busy = [this] { return m_mouse.labelDrag().armed(); };
}

QString MainWindow::captionFor(const QString &documentName)
{
    return QStringLiteral("Program pro tvoření vlakorysu - %1[*]").arg(documentName);
}

void MainWindow::historyChanged()
{
    const EditHistory &history = m_session.history;
    setWindowTitle(captionFor(FileCommands::documentName(m_session)));
    setWindowModified(FileCommands::hasUnsavedChanges(m_session));
    Zpt1->setText(StepNames::caption(StepNames::undo, history.undoText()));
    Znovu1->setText(StepNames::caption(StepNames::redo, history.redoText()));
    Zpt1->setEnabled(history.canUndo());
    Znovu1->setEnabled(history.canRedo());
}

// After undo or redo: the document is another one, drawn as after Open,
// with its own train labels.
void MainWindow::documentRestored()
{
    documentCleared();
    makeTimeLabels();
    m_session.document.redrawNeeded = true;
    prepareFullRebuild();
    render();
}

void MainWindow::Zpt1Click()
{
    const bool could = m_session.history.canUndo();
    if (!m_session.history.undo() && could)
        m_session.prompter.error(StepNames::restoreFailed);
}

void MainWindow::Znovu1Click()
{
    const bool could = m_session.history.canRedo();
    if (!m_session.history.redo() && could)
        m_session.prompter.error(StepNames::restoreFailed);
}

void MainWindow::setListDialogs(StationListDialog *stations, TrainListDialog *trains)
{
    m_stationList = stations;
    m_trainList = trains;
}

DiagramActions MainWindow::diagramActions()
{
    DiagramActions actions;
    actions.render = [this] { render(); };
    actions.makeLabelsForNewTrains = [this] { MakeLabelsForNewTrains(m_session.document, m_view.scale); };
    actions.makeTrainLabels = [this] { makeTrainLabels(); };
    actions.makeTimeLabels = [this] { makeTimeLabels(); };
    return actions;
}

// The menu's commands come before what the control with the focus would do
// with their keys (a spin box's line takes Ctrl+Z to undo its text and,
// under X11's key bindings, Ctrl+E to its end).
bool MainWindow::isMenuShortcut(const QKeyEvent &key) const
{
    const QKeySequence typed(QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
    const QList<QAction *> actions = menuBar()->findChildren<QAction *>();
    return std::any_of(actions.begin(), actions.end(),
                       [&typed](const QAction *a) { return a->shortcuts().contains(typed); });
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && isMenuShortcut(*static_cast<QKeyEvent *>(event))) {
        event->ignore();
        return true;
    }
    if (watched == m_client && event->type() == QEvent::Resize) {
        FormResize();
    } else if (watched == m_client && event->type() == QEvent::MouseMove) {
        m_mouse.FormMouseMove();
    } else if (watched == m_client && event->type() == QEvent::MouseButtonRelease) {
        labelRelease([&] { m_mouse.FormMouseUp(mouseEvent(*static_cast<QMouseEvent *>(event))); });
    } else if (watched == ScrollBar1 || watched == ScrollBar2) {
        // The bars' own key handling would move them a second time.
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (FormKeyPress(key) || FormKeyDown(key))
                return true;
        }
    } else if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
               && (watched == CheckBox1 || watched == CheckBox2 || watched == SpinEdit1 || watched == SpinEdit2)) {
        auto isScrollKey = [](int k) {
            return k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down
                   || k == Qt::Key_Escape;
        };
        auto *key = static_cast<QKeyEvent *>(event);
        if (event->type() == QEvent::KeyPress && isScrollKey(key->key())) {
            m_scrollKeyTarget = watched;
            m_scrollKey = key->key();
            // A check box would pass the arrows on to the window, which would
            // scroll on the press as well.
            if (watched == CheckBox1 || watched == CheckBox2)
                return true;
        } else if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat() && isScrollKey(key->key())) {
            // Only the release of a key pressed here: Esc that closed a
            // dialog is released here once the focus is back.
            const bool pressedHere = m_scrollKeyTarget == watched && m_scrollKey == key->key();
            m_scrollKeyTarget = nullptr;
            if (pressedHere)
                FormKeyDown(key);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (FormKeyPress(event) || FormKeyDown(event)) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool MainWindow::FormKeyPress(QKeyEvent *event)
{
    if (event->text() == QLatin1String("+")) {
        m_commands.zoomIn();
        return true;
    }
    if (event->text() == QLatin1String("-")) {
        m_commands.zoomOut();
        return true;
    }
    return false;
}

bool MainWindow::FormKeyDown(QKeyEvent *event)
{
    return m_commands.keyScroll(event->key(), event->modifiers());
}

void MainWindow::FormResize()
{
    if (!PaintBox1 || !ScrollBar2)
        return; // still being built
    const int w = m_client->width();
    const int h = m_client->height();
    Panel1->setGeometry(0, 0, w, panelHeight);
    AnalogClock1->move(w - 60, (panelHeight - AnalogClock1->height()) / 2);
    const int top = panelHeight;
    PaintBox1->setGeometry(0, top, std::max(1, w - 17), std::max(1, h - 16 - top));
    ScrollBar1->setGeometry(0, h - 16, std::max(1, w - 17), 16);
    ScrollBar2->setGeometry(w - 17, top, 17, std::max(1, h - top - 16));
    // A resize that arrives while a render runs (its progress window lets
    // the system show itself) is taken up once that render has ended.
    if (m_renderer.renderInProgress) {
        m_resizePending = true;
        return;
    }
    m_resizePending = false;
    m_commands.resize();
    m_commands.paint();
}

void MainWindow::render()
{
    m_renderer.render(*this);
}

QSize MainWindow::clientSize() const
{
    return m_client->size();
}

QSize MainWindow::paintBoxSize() const
{
    return PaintBox1->size();
}

void MainWindow::surfaceChanged()
{
    PaintBox1->update();
    if (m_resizePending)
        QTimer::singleShot(0, this, &MainWindow::FormResize);
}

int MainWindow::scrollValue(Qt::Orientation o) const
{
    return bar(o)->value();
}

void MainWindow::setScrollValue(Qt::Orientation o, int value)
{
    bar(o)->setValue(value);
}

int MainWindow::scrollMaximum(Qt::Orientation o) const
{
    return bar(o)->maximum();
}

void MainWindow::setScrollMaximum(Qt::Orientation o, int maximum)
{
    bar(o)->setMaximum(std::max(0, maximum));
}

bool MainWindow::scrollBarVisible(Qt::Orientation o) const
{
    return !bar(o)->isHidden();
}

void MainWindow::setScrollBarVisible(Qt::Orientation o, bool visible)
{
    bar(o)->setVisible(visible);
}

bool MainWindow::isChecked(CheckBox box) const
{
    switch (box) {
    case CheckBox::TimeLabels:
        return CheckBox1->isChecked();
    case CheckBox::Smoothing:
        return CheckBox2->isChecked();
    case CheckBox::Category:
        return CheckBox3->isChecked();
    }
    return false;
}

void MainWindow::setChecked(CheckBox box, bool checked)
{
    switch (box) {
    case CheckBox::TimeLabels:
        CheckBox1->setChecked(checked);
        break;
    case CheckBox::Smoothing:
        CheckBox2->setChecked(checked);
        break;
    case CheckBox::Category:
        CheckBox3->setChecked(checked);
        break;
    }
}

void MainWindow::setBitmapExportEnabled(bool enabled)
{
    m_bitmapExportEnabled = enabled;
    Tiskdobitmapy1->setEnabled(enabled);
    // Printing and export need a diagram as much as the bitmap does.
    Tisk1->setEnabled(enabled);
    Exportovat1->setEnabled(enabled);
}

void MainWindow::surfaceAreaChanged(const QRect &area)
{
    PaintBox1->update(area);
}

bool MainWindow::askYesNo(const QString &text)
{
    return m_session.prompter.askYesNo(text);
}

void MainWindow::PaintBox1MouseDown(QMouseEvent *event)
{
    const MouseEvent e = mouseEvent(*event);
    // Shift and a left click hand the train the insert tool has laid to
    // "Přidat vlak": the train added is one step.
    const Qt::KeyboardModifiers keys = e.modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (m_insertTool.isActive() && e.button == Qt::LeftButton && keys == Qt::ShiftModifier
        && m_insertTool.count() >= 2) {
        EditStep step(m_session.history, StepNames::insertTrain);
        m_mouse.PaintBox1MouseDown(e);
        return;
    }
    m_mouse.PaintBox1MouseDown(e);
}

void MainWindow::PaintBox1MouseMove(QMouseEvent *event)
{
    m_mouse.PaintBox1MouseMove(mouseEvent(*event));
}

void MainWindow::PaintBox1MouseUp(QMouseEvent *event)
{
    labelRelease([&] { m_mouse.PaintBox1MouseUp(mouseEvent(*event)); });
}

template <typename Release> void MainWindow::labelRelease(Release release)
{
    LabelDrag &drag = m_mouse.labelDrag();
    if (!drag.armed() || !drag.moved()) {
        release();
        return;
    }
    EditStep step(m_session.history);
    release();
    step.setName(StepNames::labelDrop(drag.lastDrop()));
}

void MainWindow::setZoomText(const QString &text)
{
    Label1->setText(text);
}

void MainWindow::SpeedButton7Click()
{
    m_commands.zoomIn();
}

void MainWindow::SpeedButton8Click()
{
    m_commands.zoomOut();
}

void MainWindow::SpeedButton9Click()
{
    m_commands.refresh();
}

void MainWindow::CheckBox1Click()
{
    m_session.document.settings.showTimeLabels = CheckBox1->isChecked();
    m_commands.toggleTimeLabels();
}

void MainWindow::CheckBox2Click()
{
    m_session.document.settings.smoothing = CheckBox2->isChecked();
    m_commands.toggleSmoothing();
}

void MainWindow::CheckBox3Click()
{
    m_session.document.settings.showCategory = CheckBox3->isChecked();
    m_commands.toggleCategory();
}

void MainWindow::ScrollBar1Change(int position)
{
    m_commands.scrollChanged(Qt::Horizontal, position);
}

void MainWindow::ScrollBar2Change(int position)
{
    m_commands.scrollChanged(Qt::Vertical, position);
}

void MainWindow::Nov1Click()
{
    if (!FileCommands::settleUnsavedChanges(m_session))
        return;
    closeInsertTool();
    DocumentCommands::newDocument(m_session);
    if (m_stationList)
        m_stationList->clearFirstRow();
    render();
}

void MainWindow::Otevt1Click()
{
    if (!FileCommands::settleUnsavedChanges(m_session))
        return;
    FileCommands::open(m_session, *this);
    historyChanged();
}

void MainWindow::Uloit1Click()
{
    FileCommands::save(m_session, false);
    historyChanged();
}

void MainWindow::Uloitjako1Click()
{
    FileCommands::save(m_session, true);
    historyChanged();
}

void MainWindow::Import1Click()
{
    EditStep step(m_session.history, StepNames::import);
    FileCommands::importTimetable(m_session, *this);
}

void MainWindow::importRealTimetable(RealImportSource::Format format)
{
    RealImportDialog dialog(format, m_session.document, m_session.prompter, m_session.settingsFile, this);
    const std::optional<RealImportChoice> choice = dialog.ask();
    if (!choice)
        return;
    {
        EditStep step(m_session.history, StepNames::import);
        FileCommands::importRealTimetable(m_session, *this, *choice);
    }
    historyChanged();
}

void MainWindow::Tiskdobitmapy1Click()
{
    // The item is hidden; it works only while the renderer enables it.
    if (m_bitmapExportEnabled)
        ExportCommands::exportBitmap(m_session.prompter, m_renderer, *this, m_bitmapFileName);
}

PrintSheet::Options MainWindow::sheetOptions() const
{
    return {CheckBox1->isChecked(), CheckBox3->isChecked()};
}

QString MainWindow::documentTitle() const
{
    const QString name = QFileInfo(m_session.fileName).completeBaseName();
    return name.isEmpty() ? QStringLiteral("Vlakorys") : name;
}

void MainWindow::Tisk1Click()
{
    if (!m_bitmapExportEnabled || !m_printDialog)
        return;
    m_printDialog->exec();
    switch (m_printDialog->action()) {
    case PrintToBitmapDialog::Action::Print:
        ExportCommands::printSheet(m_session.prompter, m_session.document, m_printDialog->choice(), sheetOptions(),
                                   documentTitle());
        break;
    case PrintToBitmapDialog::Action::Export:
        ExportCommands::exportSheet(m_session.prompter, m_session.document, m_printDialog->choice(), sheetOptions(),
                                    m_printDialog->resolution(), documentTitle(), m_pictureFileName);
        break;
    case PrintToBitmapDialog::Action::None:
        break;
    }
}

void MainWindow::Exportovat1Click()
{
    if (!m_bitmapExportEnabled || !m_exportDialog || !m_printDialog)
        return;
    const PrintPlan::Choice choice = m_printDialog->choice();
    m_exportDialog->setSheetSummary(PrintPlan(m_session.document).summary(choice));
    if (m_exportDialog->exec() != QDialog::Accepted)
        return;
    if (m_exportDialog->viewChosen())
        ExportCommands::exportView(m_session.prompter, m_renderer, *this, m_session.document, m_view, documentTitle(),
                                   m_pictureFileName);
    else
        ExportCommands::exportSheet(m_session.prompter, m_session.document, choice, sheetOptions(),
                                    m_printDialog->resolution(), documentTitle(), m_pictureFileName);
}

void MainWindow::Nastaven1Click()
{
    if (!m_settings)
        return;
    SettingsActions actions;
    actions.makeTimeLabels = [this] { makeTimeLabels(); };
    actions.render = [this](bool keepTimeText, int32_t labelSelector) {
        m_renderer.keepTimeText = keepTimeText;
        m_renderer.labelSelector = labelSelector;
        render();
    };
    EditStep step(m_session.history, StepNames::settings);
    SettingsCommands::settingsCommand(m_session.document, m_session.settingsFile, m_session.prompter, *m_settings,
                                      actions);
}

void MainWindow::Stanice1Click()
{
    if (!m_stationList)
        return;
    EditStep step(m_session.history, StepNames::stationList);
    ListCommands::stationList(m_session.document, m_session.prompter, *m_stationList, diagramActions());
}

void MainWindow::Vlaky1Click()
{
    if (!m_trainList)
        return;
    EditStep step(m_session.history, StepNames::trainList);
    ListCommands::trainList(m_session.document, m_session.prompter, *m_trainList, diagramActions());
}

void MainWindow::Jzdndoby1Click()
{
    if (!m_profiles)
        return;
    EditStep step(m_session.history, StepNames::profiles);
    ProfileCommands::travelTimes(m_session.document, m_session.prompter, *m_profiles);
}

void MainWindow::Vloitvlakzjzddob1Click()
{
    QString refusal;
    if (!m_insertTool.open(&refusal))
        m_session.prompter.error(refusal);
}

void MainWindow::Timer1Timer()
{
    m_insertTool.Timer1Timer();
}

void MainWindow::setInsertToolWindows(InsertToolWindow *toolWindow, AddTrainDialog *addTrain)
{
    m_insertWindow = toolWindow;
    InsertToolActions a;
    a.renderPaintOnly = [this] {
        m_renderer.paintOnly = true;
        render();
    };
    a.setEditMenuEnabled = [this](bool on) { setEditMenuEnabled(on); };
    a.setTimerRunning = [this](bool on) { on ? Timer1->start() : Timer1->stop(); };
    a.showWindow = [toolWindow] {
        toolWindow->show();
        toolWindow->raise();
    };
    a.closeWindow = [toolWindow] { toolWindow->close(); };
    a.windowVisible = [toolWindow] { return toolWindow->isVisible(); };
    a.stateChanged = [toolWindow] { toolWindow->showState(); };
    a.confirmTrain = [addTrain](const std::vector<AddTrainRow> &rows) { return addTrain->ask(rows); };
    a.makeLabelsForNewTrains = [this] { MakeLabelsForNewTrains(m_session.document, m_view.scale); };
    a.makeTimeLabels = [this] { makeTimeLabels(); };
    a.render = [this] { render(); };
    m_insertTool.setActions(std::move(a));
}

void MainWindow::setEditMenuEnabled(bool enabled)
{
    if (enabled == editMenuEnabled())
        return;
    // A disabled menu still lets its commands' shortcuts through: the
    // commands are disabled too, and get their own states back.
    if (!enabled) {
        m_editActions = Editace1->actions();
        m_editActionsEnabled.clear();
        for (QAction *a : m_editActions) {
            m_editActionsEnabled << a->isEnabled();
            a->setEnabled(false);
        }
    } else {
        for (qsizetype i = 0; i < m_editActions.size(); ++i)
            m_editActions[i]->setEnabled(m_editActionsEnabled[i]);
        m_editActions.clear();
    }
    Editace1->setEnabled(enabled);
    // No step is taken back while a train is being laid; Zpět and Znovu
    // show the history as it is once the tool is gone.
    m_session.history.setBlocked(!enabled);
    historyChanged();
}

bool MainWindow::editMenuEnabled() const
{
    return Editace1->isEnabled();
}

void MainWindow::Najdivlak1Click()
{
    if (!m_findTrain)
        return;
    const std::optional<QString> typed = m_findTrain->ask();
    if (!typed)
        return; // cancelled: the highlight stays as it was
    if (!FindTrain::run(m_session.document, m_renderer, *typed))
        m_session.prompter.information(FindTrain::notFoundMessage(*typed));
    render();
}

void MainWindow::Konec1Click()
{
    close();
}

void MainWindow::Oaplikaci1Click()
{
    if (auto *dialog = qobject_cast<QDialog *>(aboutBox))
        dialog->exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closeSettled && !FileCommands::settleUnsavedChanges(m_session)) {
        event->ignore();
        historyChanged(); // a save that failed may still have named the document
        return;
    }
    // Closed after the question: the copy kept against a crash goes.
    if (m_recovery)
        m_recovery->discard();
    DocumentCommands::writeCloseSettings(m_session);
    QMainWindow::closeEvent(event);
}

void MainWindow::commitData(QSessionManager &manager)
{
    if (!FileCommands::hasUnsavedChanges(m_session))
        return;
    if (!manager.allowsInteraction()) {
        // No question may be asked: the copy keeps the work for the next
        // start.
        if (m_recovery)
            m_recovery->flush();
        return;
    }
    const bool settled = FileCommands::settleUnsavedChanges(m_session);
    manager.release();
    if (!settled) {
        manager.cancel();
        return;
    }
    m_closeSettled = true;
    if (m_recovery)
        m_recovery->discard();
}
