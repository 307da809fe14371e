#include "ToolPanel.h"

#include "AnalogClock.h"
#include "MainMenu.h"
#include "PanelIcons.h"

#include "editing/Diagram.h"
#include "model/Document.h"
#include "model/Tracks.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

using PanelIcons::Glyph;

namespace {

bool isScrollKey(int k)
{
    return k == Qt::Key_Left || k == Qt::Key_Right || k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_Escape;
}

} // namespace

ToolPanel::ToolPanel(QWidget &parent, MainMenu &menu, Diagram &diagram) : m_diagram(diagram)
{
    Panel1 = new QWidget(&parent);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);

    addActionButton("SpeedButton1", menu.Nov1, QStringLiteral("Nový vlakorys"), PanelIcons::icon(Glyph::New));
    addActionButton("SpeedButton2", menu.Otevt1, QStringLiteral("Otevřit vlakorys"), PanelIcons::icon(Glyph::Open));
    addActionButton("SpeedButton5", menu.Uloit1, QStringLiteral("Uložit vlakorys"), PanelIcons::icon(Glyph::Save));
    row->addSpacing(8);
    addActionButton("SpeedButton3", menu.Stanice1, QStringLiteral("Seznam stanic"), PanelIcons::icon(Glyph::Stations));
    addActionButton("SpeedButton4", menu.Vlaky1, QStringLiteral("Seznam vlaků"), PanelIcons::icon(Glyph::Trains));
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
    // The conflict marks; the conflict commands connect it and remember it
    // in the settings file.
    CheckBoxKonflikty = new QCheckBox(QStringLiteral("Konflikty"), Panel1);
    CheckBoxKonflikty->setObjectName(QStringLiteral("CheckBoxKonflikty"));
    row->addWidget(CheckBoxKonflikty);
    row->addSpacing(8);
    LabelKoleje = new QLabel(Panel1);
    LabelKoleje->setObjectName(QStringLiteral("LabelKoleje"));
    row->addWidget(LabelKoleje);
    row->addStretch(1);
    row->addSpacing(64); // room for the clock, placed by place()

    QToolButton *b6 =
        addActionButton("SpeedButton6", menu.Konec1, QStringLiteral("Konec"), PanelIcons::icon(Glyph::Exit));
    row->removeWidget(b6);
    row->insertWidget(row->count() - 2, b6);

    AnalogClock1 = new AnalogClock(Panel1);
    AnalogClock1->setObjectName(QStringLiteral("AnalogClock1"));
    AnalogClock1->resize(height - 4, height - 4);

    connect(SpeedButton7, &QToolButton::clicked, this, &ToolPanel::SpeedButton7Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &ToolPanel::SpeedButton8Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &ToolPanel::SpeedButton9Click);
    // A check box changed by the user or the program runs its click
    // operation, which does nothing while the program sets the controls.
    connect(CheckBox1, &QCheckBox::toggled, this, &ToolPanel::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::toggled, this, &ToolPanel::CheckBox2Click);
    connect(CheckBox3, &QCheckBox::toggled, this, &ToolPanel::CheckBox3Click);
    // The ratio takes effect on "Akt." alone.
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this](int v) { m_diagram.document().settings.ratioX = v; });
    connect(SpinEdit2, &QSpinBox::valueChanged, this, [this](int v) { m_diagram.document().settings.ratioY = v; });
    for (QWidget *w : {static_cast<QWidget *>(CheckBox1), static_cast<QWidget *>(CheckBox2),
                       static_cast<QWidget *>(SpinEdit1), static_cast<QWidget *>(SpinEdit2)})
        w->installEventFilter(this);
}

QToolButton *ToolPanel::addSpeedButton(const char *objectName, const QString &hint, const QIcon &icon)
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

// A button for a menu command: the action's, with the panel's hint and glyph.
QToolButton *ToolPanel::addActionButton(const char *objectName, QAction *action, const QString &hint, const QIcon &icon)
{
    action->setToolTip(hint);
    action->setIcon(icon);
    QToolButton *b = addSpeedButton(objectName, hint, icon);
    b->setDefaultAction(action);
    return b;
}

void ToolPanel::place(int width)
{
    Panel1->setGeometry(0, 0, width, height);
    AnalogClock1->move(width - 60, (height - AnalogClock1->height()) / 2);
}

QCheckBox *ToolPanel::box(DiagramWindow::CheckBox box) const
{
    switch (box) {
    case DiagramWindow::CheckBox::TimeLabels:
        return CheckBox1;
    case DiagramWindow::CheckBox::Smoothing:
        return CheckBox2;
    case DiagramWindow::CheckBox::Category:
        break;
    }
    return CheckBox3;
}

bool ToolPanel::isChecked(DiagramWindow::CheckBox b) const
{
    return box(b)->isChecked();
}

void ToolPanel::setChecked(DiagramWindow::CheckBox b, bool checked)
{
    box(b)->setChecked(checked);
}

void ToolPanel::setZoomText(const QString &text)
{
    Label1->setText(text);
}

void ToolPanel::showDocumentSettings()
{
    DocumentSettings &s = m_diagram.document().settings;
    const DocumentSettings wanted = s;
    {
        const RenderGuard guard = m_diagram.holdRenders();
        SpinEdit1->setValue(wanted.ratioX);
        SpinEdit2->setValue(wanted.ratioY);
        CheckBox1->setChecked(wanted.showTimeLabels);
        CheckBox2->setChecked(wanted.smoothing);
        CheckBox3->setChecked(wanted.showCategory);
        Label1->setText(DiagramView::zoomText(wanted.zoom));
    }
    showTracks();
    s.ratioX = SpinEdit1->value();
    s.ratioY = SpinEdit2->value();
    s.showTimeLabels = CheckBox1->isChecked();
    s.smoothing = CheckBox2->isChecked();
    s.showCategory = CheckBox3->isChecked();
    m_diagram.view().updateScale(s);
}

void ToolPanel::showTracks()
{
    const LineTracks &line = m_diagram.document().lineTracks;
    LabelKoleje->setText(tracksText(line));
}

QString ToolPanel::tracksText(const LineTracks &line)
{
    return (line.mainTracks == Tracks::doubleTrack ? QStringLiteral("Dvoukolejná trať")
                                                   : QStringLiteral("Jednokolejná trať"))
           + QStringLiteral(", interval %1 min").arg(line.minHeadway);
}

void ToolPanel::takeStartSettings()
{
    DocumentSettings &s = m_diagram.document().settings;
    s.ratioX = SpinEdit1->value();
    s.ratioY = SpinEdit2->value();
    s.showTimeLabels = s.zoom >= 5;
    s.smoothing = CheckBox2->isChecked();
    s.showCategory = CheckBox3->isChecked();
}

void ToolPanel::SpeedButton7Click()
{
    m_diagram.commands().zoomIn();
}

void ToolPanel::SpeedButton8Click()
{
    m_diagram.commands().zoomOut();
}

void ToolPanel::SpeedButton9Click()
{
    m_diagram.commands().refresh();
}

void ToolPanel::CheckBox1Click()
{
    m_diagram.commands().toggleTimeLabels();
}

void ToolPanel::CheckBox2Click()
{
    m_diagram.commands().toggleSmoothing();
}

void ToolPanel::CheckBox3Click()
{
    m_diagram.commands().toggleCategory();
}

bool ToolPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (event->type() == QEvent::KeyPress && isScrollKey(key->key())) {
        m_scrollKeyTarget = watched;
        m_scrollKey = key->key();
        // A check box would pass the arrows on to the window, which would
        // scroll on the press as well.
        return watched == CheckBox1 || watched == CheckBox2;
    }
    if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat() && isScrollKey(key->key())) {
        // Only the release of a key pressed here: Esc that closed a dialog
        // is released here once the focus is back.
        const bool pressedHere = m_scrollKeyTarget == watched && m_scrollKey == key->key();
        m_scrollKeyTarget = nullptr;
        if (pressedHere)
            m_diagram.commands().keyScroll(key->key(), key->modifiers());
    }
    return false;
}
