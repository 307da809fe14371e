#include "MainWindow.h"

#include "DiagramScrollBar.h"
#include "DocumentCommands.h"
#include "PaintBox.h"
#include "RecoveryKeeper.h"
#include "Session.h"

#include "dialogs/Prompter.h"
#include "editing/LabelDrag.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSessionManager>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>

#include <cstdlib>

namespace {

MouseEvent mouseEvent(const QMouseEvent &e)
{
    return MouseEvent{e.button(), e.buttons(), e.modifiers(), e.position().toPoint()};
}

class ZoomSettling : public QObject
{
public:
    explicit ZoomSettling(ViewCommands &commands) : m_commands(commands) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (m_commands.zoomOwed() && MainWindow::readsDrawing(*event))
            m_commands.settleZoom();
        return false;
    }

private:
    ViewCommands &m_commands;
};

} // namespace

MainWindow::MainWindow(Session &session, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_client(new QWidget(this)), m_menu(*menuBar(), session.history),
      m_diagram(session.document, *this), m_panel(*m_client, m_menu, m_diagram),
      m_insertTool(m_diagram, session.history), m_mouse(m_diagram, *this, session.history, m_insertTool)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Program pro tvoření vlakorysu"));
    setMinimumSize(600, 400);

    m_client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    PaintBox1 = new PaintBox(m_client);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setSource(&m_diagram.surface());
    connect(PaintBox1, &PaintBox::mousePressed, this, &MainWindow::PaintBox1MouseDown);
    connect(PaintBox1, &PaintBox::mouseMoved, this, &MainWindow::PaintBox1MouseMove);
    connect(PaintBox1, &PaintBox::mouseReleased, this, &MainWindow::PaintBox1MouseUp);
    // The picked train's name and the time under the pointer; the bar comes
    // with the first pick.
    m_mouse.trainDrag().statusChanged = [this](const QString &text) {
        if (!text.isEmpty() || findChild<QStatusBar *>())
            statusBar()->showMessage(text);
    };
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

    connect(m_menu.Nov1, &QAction::triggered, this, &MainWindow::Nov1Click);
    connect(m_menu.Otevt1, &QAction::triggered, this, &MainWindow::Otevt1Click);
    connect(m_menu.Uloit1, &QAction::triggered, this, &MainWindow::Uloit1Click);
    connect(m_menu.Uloitjako1, &QAction::triggered, this, &MainWindow::Uloitjako1Click);
    connect(m_menu.Konec1, &QAction::triggered, this, &MainWindow::Konec1Click);

    connect(&m_session.history, &EditHistory::changed, this, &MainWindow::historyChanged);
    connect(&m_session.history, &EditHistory::documentChanged, this, [this] { m_closeSettled = false; });
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &MainWindow::commitData);
    FormCreate();
    historyChanged();
    // Every control that can take the focus lets the menu's shortcuts
    // through (eventFilter).
    for (QWidget *w : findChildren<QWidget *>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
    PaintBox1->installEventFilter(this);
    // Zoom steps owing their rebuild get it before any input that reads the
    // drawing, in whichever window.
    m_zoomSettling = std::make_unique<ZoomSettling>(m_diagram.commands());
    qApp->installEventFilter(m_zoomSettling.get());
}

MainWindow::~MainWindow() = default;

void MainWindow::FormCreate()
{
    Document &doc = m_session.document;
    doc.untitled = true;
    doc.clearTimeLabels();
    doc.clearStationKinds();
    doc.trainCount = 0;
    m_diagram.documentReplaced();

    DocumentCommands::readStartupSettings(m_session);
    doc.settings.zoom =
        static_cast<uint8_t>(std::clamp<int>(doc.settings.zoom, DiagramView::minZoom, DiagramView::maxZoom));
    m_panel.takeStartSettings();
    m_panel.showDocumentSettings();

    resize(900, 600);
    FormResize();
    doc.noDocument = true;
    DiagramView &view = m_diagram.view();
    view.updateScale(doc.settings);
    view.hpos = 0;
    view.vpos = 0;
    {
        ProgrammaticScroll bars(*this, view);
        bars.setValue(Qt::Horizontal, 0);
        bars.setValue(Qt::Vertical, 0);
        bars.setMaximum(Qt::Horizontal, 1160);
    }
    // The empty axis, with the minute texts (none yet) kept.
    m_diagram.trainsChanged(RenderRequest::Labels::all());
}

void MainWindow::FormResize()
{
    if (!PaintBox1 || !ScrollBar2)
        return; // still being built
    const int w = m_client->width();
    const int h = m_client->height();
    const int top = ToolPanel::height;
    constexpr int barWidth = 17;  // ScrollBar2, right of the paint box
    constexpr int barHeight = 16; // ScrollBar1, below it
    m_panel.place(w);
    PaintBox1->setGeometry(0, top, std::max(1, w - barWidth), std::max(1, h - barHeight - top));
    ScrollBar1->setGeometry(0, h - barHeight, std::max(1, w - barWidth), barHeight);
    ScrollBar2->setGeometry(w - barWidth, top, barWidth, std::max(1, h - top - barHeight));
    m_diagram.resized();
}

// --- Keys ------------------------------------------------------------------

bool MainWindow::readsDrawing(const QEvent &event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
        const auto &key = static_cast<const QKeyEvent &>(event);
        const bool modifier = key.key() == Qt::Key_Control || key.key() == Qt::Key_Shift || key.key() == Qt::Key_Alt
                              || key.key() == Qt::Key_Meta;
        return !modifier && key.text() != QLatin1String("+") && key.text() != QLatin1String("-");
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    case QEvent::MouseMove:
        return static_cast<const QMouseEvent &>(event).buttons() != Qt::NoButton;
    case QEvent::Wheel:
        return !static_cast<const QWheelEvent &>(event).modifiers().testFlag(Qt::ControlModifier);
    default:
        return false;
    }
}

void MainWindow::zoomStep(bool in, std::optional<QPoint> pointer)
{
    ViewCommands &commands = m_diagram.commands();
    if (pointer)
        commands.zoomAt(*pointer, in, ViewCommands::Rebuild::Later);
    else if (in)
        commands.zoomIn(ViewCommands::Rebuild::Later);
    else
        commands.zoomOut(ViewCommands::Rebuild::Later);
    if (commands.zoomOwed())
        QTimer::singleShot(0, this, [this] { m_diagram.commands().settleZoom(); });
}

void MainWindow::PaintBox1Wheel(QWheelEvent *event)
{
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        m_wheelZoom += event->angleDelta().y();
        const QPoint pointer = event->position().toPoint();
        for (; m_wheelZoom >= QWheelEvent::DefaultDeltasPerStep; m_wheelZoom -= QWheelEvent::DefaultDeltasPerStep)
            zoomStep(true, pointer);
        for (; m_wheelZoom <= -QWheelEvent::DefaultDeltasPerStep; m_wheelZoom += QWheelEvent::DefaultDeltasPerStep)
            zoomStep(false, pointer);
        return;
    }
    m_wheelZoom = 0;
    // A notch moves the view as far as three presses of an arrow key.
    constexpr int unitsPerNotch = 15;
    const QPoint turn = event->angleDelta();
    const bool sideways = event->modifiers().testFlag(Qt::ShiftModifier) || std::abs(turn.x()) > std::abs(turn.y());
    m_wheelScroll += (sideways && turn.x() != 0 ? turn.x() : turn.y()) * unitsPerNotch;
    const int units = m_wheelScroll / QWheelEvent::DefaultDeltasPerStep;
    m_wheelScroll -= units * QWheelEvent::DefaultDeltasPerStep;
    QScrollBar *moved = bar(sideways ? Qt::Horizontal : Qt::Vertical);
    moved->setValue(moved->value() - units);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PaintBox1 && event->type() == QEvent::Wheel) {
        PaintBox1Wheel(static_cast<QWheelEvent *>(event));
        return true;
    }
    // The menu's commands come before what the control with the focus would
    // do with their keys (a spin box's line takes Ctrl+Z to undo its text
    // and, under X11's key bindings, Ctrl+E to its end).
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (m_menu.hasShortcut(
                QKeySequence(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key()))))) {
            event->ignore();
            return true;
        }
    }
    if (watched == m_client && event->type() == QEvent::Resize) {
        FormResize();
    } else if (watched == m_client && event->type() == QEvent::MouseMove) {
        m_mouse.FormMouseMove();
    } else if (watched == m_client && event->type() == QEvent::MouseButtonRelease) {
        m_mouse.FormMouseUp(mouseEvent(*static_cast<QMouseEvent *>(event)));
    } else if ((watched == ScrollBar1 || watched == ScrollBar2) && event->type() == QEvent::KeyPress) {
        // The bars' own key handling would move them a second time.
        auto *key = static_cast<QKeyEvent *>(event);
        if (FormKeyPress(key) || FormKeyDown(key))
            return true;
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
    if (event->text() == QLatin1String("+") || event->text() == QLatin1String("-")) {
        zoomStep(event->text() == QLatin1String("+"));
        return true;
    }
    return false;
}

bool MainWindow::FormKeyDown(QKeyEvent *event)
{
    return m_mouse.trainKey(event->key(), event->modifiers(), event->isAutoRepeat())
           || m_diagram.commands().keyScroll(event->key(), event->modifiers());
}

// --- The diagram's window --------------------------------------------------

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
    return m_panel.isChecked(box);
}

void MainWindow::setChecked(CheckBox box, bool checked)
{
    m_panel.setChecked(box, checked);
}

void MainWindow::pictureExists(bool exists)
{
    m_menu.setPrintAndExportEnabled(exists);
}

void MainWindow::setZoomText(const QString &text)
{
    m_panel.setZoomText(text);
}

void MainWindow::surfaceAreaChanged(const QRect &area)
{
    PaintBox1->update(area);
}

bool MainWindow::askYesNo(const QString &text)
{
    return m_session.prompter.askYesNo(text);
}

void MainWindow::ScrollBar1Change(int position)
{
    m_diagram.commands().scrollChanged(Qt::Horizontal, position);
}

void MainWindow::ScrollBar2Change(int position)
{
    m_diagram.commands().scrollChanged(Qt::Vertical, position);
}

void MainWindow::PaintBox1MouseDown(QMouseEvent *event)
{
    m_mouse.PaintBox1MouseDown(mouseEvent(*event));
}

void MainWindow::PaintBox1MouseMove(QMouseEvent *event)
{
    m_mouse.PaintBox1MouseMove(mouseEvent(*event));
}

void MainWindow::PaintBox1MouseUp(QMouseEvent *event)
{
    m_mouse.PaintBox1MouseUp(mouseEvent(*event));
}

// --- The document shown ----------------------------------------------------

void MainWindow::documentReplaced()
{
    m_diagram.documentReplaced();
    m_mouse.trainDrag().forget();
    // A train being laid belongs to the stations it was laid along.
    m_insertTool.close();
}

void MainWindow::showDocumentSettings()
{
    m_panel.showDocumentSettings();
}

QString MainWindow::captionFor(const QString &documentName)
{
    return QStringLiteral("Program pro tvoření vlakorysu - %1[*]").arg(documentName);
}

void MainWindow::historyChanged()
{
    QString caption = captionFor(FileCommands::documentName(m_session));
    if (m_recovery && !m_recovery->protects())
        caption += unprotectedCaption;
    setWindowTitle(caption);
    m_panel.showTracks();
    setWindowModified(FileCommands::hasUnsavedChanges(m_session));
}

void MainWindow::Nov1Click()
{
    if (!FileCommands::settleUnsavedChanges(m_session))
        return;
    m_insertTool.close();
    DocumentCommands::newDocument(m_session);
    emit newDocumentMade();
    m_diagram.contentChanged(Diagram::TrainLabels::Keep, false);
}

void MainWindow::Otevt1Click()
{
    if (!FileCommands::settleUnsavedChanges(m_session))
        return;
    FileCommands::open(m_session, m_diagram, *this);
    historyChanged();
}

bool MainWindow::openFile(const QString &path)
{
    if (!FileCommands::settleUnsavedChanges(m_session))
        return false;
    const bool opened = FileCommands::openFile(m_session, m_diagram, *this, path);
    historyChanged();
    return opened;
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

// --- Closing ---------------------------------------------------------------

void MainWindow::setRecoveryKeeper(RecoveryKeeper *keeper)
{
    m_recovery = keeper;
    if (keeper) {
        keeper->busy = [this] { return m_mouse.labelDrag().armed() || m_mouse.trainDrag().dragging(); };
        connect(keeper, &RecoveryKeeper::protectedChanged, this, &MainWindow::historyChanged);
    }
}

void MainWindow::Konec1Click()
{
    close();
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
