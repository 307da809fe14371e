#include "TrainListDialog.h"

#include "DialogPlacement.h"
#include "KilometreDialog.h"
#include "StationListBox.h"
#include "TrainShiftDialog.h"
#include "WidgetHelpers.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using WidgetHelpers::guarded;
using WidgetHelpers::named;

bool contains(const QWidget *outer, const QWidget *inner)
{
    for (const QWidget *w = inner; w; w = w->parentWidget())
        if (w == outer)
            return true;
    return false;
}

} // namespace

TrainListDialog::TrainListDialog(Document &doc, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_editor(doc)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Seznam vlaků"));
    const int rowHeight = std::max(16, fontMetrics().height() + 2);

    Label1 = named(new QLabel(QStringLiteral("Vlak:"), this), "Label1");
    StringGrid1 = named(new StringGrid(TrainListEditor::TrainColumnCount, 1, this), "StringGrid1");
    StringGrid1->setRowHeight(rowHeight);
    StringGrid1->setSource([this] { return m_editor.trainRowCount(); },
                           [this](int column, int row) { return m_editor.trainCell(column, row); });
    StringGrid1->setColumnWidths({20, 65});

    Label2 = named(new QLabel(QStringLiteral("Pravidelný odjezd:"), this), "Label2");
    StringGrid2 = named(new StringGrid(TrainListEditor::RowColumnCount, 2, this), "StringGrid2");
    StringGrid2->setRowHeight(rowHeight);
    StringGrid2->setEditMask([this](int column, int row) { return StringGrid2GetEditMask(column, row); });
    StringGrid2->setSource([this] { return m_editor.rowCount(); },
                           [this](int column, int row) { return m_editor.rowCell(column, row); });
    StringGrid2->setColumnWidths({20, 167, 50});

    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    Odstranitpoloku1 = named(PopupMenu1->addAction(QStringLiteral("Odstranit položku")), "Odstranitpoloku1");
    Odstranitpoloku1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    Odstranitpoloku1->setShortcutContext(Qt::WidgetShortcut);
    StringGrid2->addAction(Odstranitpoloku1);
    StringGrid2->setContextMenuPolicy(Qt::CustomContextMenu);

    Label3 = named(new QLabel(QStringLiteral("Seznam stanic:"), this), "Label3");
    ListBox1 = named(new StationListBox(this), "ListBox1");

    BitBtn1 = named(new QPushButton(QStringLiteral("&OK"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(false);
    BitBtn2 = named(new QPushButton(QStringLiteral("&Zrušit"), this), "BitBtn2");
    BitBtn2->setVisible(false);
    BitBtn3 = named(new QPushButton(QStringLiteral("&Vložit kilometr"), this), "BitBtn3");
    BitBtn3->setAutoDefault(false);
    // The chosen train moved in time, or copied as a series (TrainShiftDialog).
    auto *shiftButton = named(new QPushButton(QStringLiteral("Posunout vlak..."), this), "ShiftTrainButton");
    auto *seriesButton = named(new QPushButton(QStringLiteral("Kopírovat s intervalem..."), this), "CopySeriesButton");
    for (auto [button, mode] : {std::pair{shiftButton, TrainShiftDialog::Mode::Shift},
                                std::pair{seriesButton, TrainShiftDialog::Mode::Series}}) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, &doc, mode] {
            if (TrainShiftDialog(mode, doc, m_editor, this).run()) {
                showTrains();
                showRows();
                showFlags();
            }
        });
    }

    GroupBox1 = named(new QGroupBox(QStringLiteral("Vložit stanici"), this), "GroupBox1");
    BorRadio1 = named(new QRadioButton(QStringLiteral("Na konec"), GroupBox1), "BorRadio1");
    BorRadio2 = named(new QRadioButton(QStringLiteral("Na pozici kurzoru"), GroupBox1), "BorRadio2");
    BorRadio1->setChecked(true);
    auto *g1 = new QVBoxLayout(GroupBox1);
    g1->addWidget(BorRadio1);
    g1->addWidget(BorRadio2);

    CheckBox1 = named(new QCheckBox(QStringLiteral("&Rušící"), this), "CheckBox1");
    CheckBox2 = named(new QCheckBox(QStringLiteral("Podle potřeby"), this), "CheckBox2");

    GroupBox2 = named(new QGroupBox(QStringLiteral("Vkládání"), this), "GroupBox2");
    RadioButton1 = named(new QRadioButton(QStringLiteral("Všechno"), GroupBox2), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("Dopravny a odbočky"), GroupBox2), "RadioButton2");
    RadioButton1->setChecked(true);
    auto *g2 = new QVBoxLayout(GroupBox2);
    g2->addWidget(RadioButton1);
    g2->addWidget(RadioButton2);

    CheckBox3 = named(new QCheckBox(QStringLiteral("+ 0.5 min"), this), "CheckBox3");
    CheckBox4 = named(new QCheckBox(QStringLiteral("Pobyt kratší než půl minuty"), this), "CheckBox4");

    auto column = [](std::initializer_list<QWidget *> widgets, int stretchAt = -1) {
        auto *c = new QVBoxLayout;
        int i = 0;
        for (QWidget *w : widgets) {
            c->addWidget(w, i == stretchAt ? 1 : 0);
            ++i;
        }
        return c;
    };
    auto *options =
        column({GroupBox1, CheckBox1, CheckBox2, GroupBox2, CheckBox3, CheckBox4, BitBtn3, shiftButton, seriesButton});
    options->addStretch(1);
    options->addWidget(BitBtn1);
    options->addWidget(BitBtn2);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(column({Label1, StringGrid1}, 1), 2);
    layout->addLayout(column({Label2, StringGrid2}, 1), 5);
    layout->addLayout(column({Label3, ListBox1}, 1), 3);
    layout->addLayout(options, 0);
    StringGrid1->setMinimumWidth(105);
    StringGrid2->setMinimumWidth(257);
    ListBox1->setMinimumWidth(120);

    connect(StringGrid1, &StringGrid::currentCellChanged, this, &TrainListDialog::StringGrid1Click);
    connect(StringGrid1, &StringGrid::cellCommitted, this, &TrainListDialog::StringGrid1SetEditText);
    connect(StringGrid2, &StringGrid::currentCellChanged, this, &TrainListDialog::StringGrid2Click);
    connect(StringGrid2, &StringGrid::cellCommitted, this, &TrainListDialog::StringGrid2SetEditText);
    connect(StringGrid2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(StringGrid2->viewport()->mapToGlobal(at)); });
    connect(Odstranitpoloku1, &QAction::triggered, this, &TrainListDialog::Odstranitpoloku1Click);
    // The selection, not the focus frame, is the station Enter inserts: the
    // frame alone goes to the first item when the list is tabbed into.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { ListBox1Click(ListBox1->selectedRow()); });
    connect(ListBox1, &StationListBox::keyPressDone, this, &TrainListDialog::showStationSelection);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { ListBox1DblClick(ListBox1->row(item)); });
    connect(ListBox1, &StationListBox::arrowPressed, this, &TrainListDialog::ListBox1KeyDown);
    connect(ListBox1, &StationListBox::arrowReleased, this, &TrainListDialog::ListBox1KeyUp);
    connect(ListBox1, &StationListBox::enterReleased, this, &TrainListDialog::ListBox1EnterUp);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn3, &QPushButton::clicked, this, &TrainListDialog::BitBtn3Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TrainListDialog::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &TrainListDialog::CheckBox2Click);
    connect(CheckBox3, &QCheckBox::clicked, this, &TrainListDialog::CheckBox3Click);
    connect(CheckBox4, &QCheckBox::clicked, this, &TrainListDialog::CheckBox4Click);
    connect(BorRadio2, &QRadioButton::toggled, this, [this](bool on) {
        if (!m_busy)
            m_editor.setInsertPosition(on ? TrainListEditor::InsertPosition::AtCursor
                                          : TrainListEditor::InsertPosition::AtEnd);
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        m_editor.setNavigation(on ? TrainListEditor::Navigation::TrafficPoints : TrainListEditor::Navigation::All);
    });

    FormCreate();
}

TrainListDialog::~TrainListDialog()
{
    // A cell editor still open is closed when its grid goes, after this
    // dialog's editing rules are gone: its commit must not reach them.
    StringGrid1->disconnect(this);
    StringGrid2->disconnect(this);
}

void TrainListDialog::FormCreate()
{
    setFixedSize(layout()->sizeHint().expandedTo(QSize(560, 297)));
    DialogPlacement::centre(this);
}

void TrainListDialog::fill()
{
    guarded(m_busy, [this] {
        m_editor.fill();
        ListBox1->setStations(m_editor.stationItems());
        BorRadio1->setChecked(true);
    });
    showTrains();
    StringGrid1->setFocus();
}

void TrainListDialog::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TrainListDialog::FormShow()
{
    DialogPlacement::keepOnScreen(this);
    m_editor.show();
    StringGrid1->setEnabled(true);
    StringGrid2->setEnabled(true);
    ListBox1->setEnabled(true);
    CheckBox1->setEnabled(true);
    CheckBox2->setEnabled(true);
    showTrains();
    showRows();
}

void TrainListDialog::done(int result)
{
    // Whatever is still being typed is stored: the dialog has no cancel.
    StringGrid1->finishEditing();
    StringGrid2->finishEditing();
    QDialog::done(result);
}

void TrainListDialog::showTrains()
{
    guarded(m_busy, [this] {
        StringGrid1->refresh();
        StringGrid1->setCurrentCell(TrainListEditor::TrainNameColumn, m_editor.trainCursorRow());
    });
}

void TrainListDialog::showRows()
{
    guarded(m_busy, [this] {
        StringGrid2->refresh();
        StringGrid2->setCurrentCell(TrainListEditor::TimeColumn, m_editor.rowCursor());
        const bool enabled = m_editor.rowsEnabled();
        const QWidget *focus = QApplication::focusWidget();
        const bool focusInRows = contains(StringGrid2, focus) || contains(ListBox1, focus) || focus == BitBtn3;
        StringGrid2->setEnabled(enabled);
        ListBox1->setEnabled(enabled);
        BitBtn3->setEnabled(enabled);
        if (!enabled && (focusInRows || !focus))
            StringGrid1->setFocus();
    });
    showFlags();
}

void TrainListDialog::showFlags()
{
    CheckBox1->setChecked(m_editor.rusici());
    CheckBox2->setChecked(m_editor.podlePotreby());
    CheckBox3->setChecked(m_editor.halfMinute());
    CheckBox4->setChecked(m_editor.shortDwell());
}

QString TrainListDialog::StringGrid2GetEditMask(int column, int row) const
{
    return m_editor.editMask(column, row);
}

void TrainListDialog::StringGrid1Click(int, int row)
{
    if (m_busy)
        return;
    m_editor.setTrainCursor(row);
    showRows();
}

void TrainListDialog::StringGrid1SetEditText(const StringGrid::Commit &c)
{
    if (m_busy)
        return;
    m_editor.commitTrainName(c.row, c.text, c.cursorRow, StringGrid1->hasFocus());
    showTrains();
    showRows();
}

void TrainListDialog::StringGrid2Click(int, int row)
{
    if (m_busy)
        return;
    m_editor.setRowCursor(row);
    showFlags();
}

void TrainListDialog::StringGrid2SetEditText(const StringGrid::Commit &c)
{
    // Opening and closing the editor without typing changes nothing.
    if (m_busy || !c.modified)
        return;
    // A time committed because the user went to the flag boxes keeps the
    // cursor on its row, so the boxes then change that row.
    m_editor.commitTime(c.row, c.text, c.cursorRow, !c.focusLost);
    showRows();
}

void TrainListDialog::ListBox1Click(int row)
{
    if (m_busy)
        return;
    // Where "Dopravny a odbočky" moves the selection on is shown once the
    // list has finished its own move (showStationSelection): moved from in
    // here, the list would put its highlight back on the item it chose.
    m_editor.selectStation(row);
}

void TrainListDialog::showStationSelection()
{
    guarded(m_busy, [this] {
        const int selected = m_editor.stationSelection();
        if (selected >= 0)
            ListBox1->setCurrentRow(selected);
        else
            ListBox1->clearSelection(); // the focus frame stays where the key left it
    });
}

void TrainListDialog::ListBox1DblClick(int row)
{
    m_editor.insertStation(row);
    showRows();
}

void TrainListDialog::ListBox1KeyDown(bool down)
{
    m_editor.stationKeyDown(down ? TrainListEditor::Arrow::Down : TrainListEditor::Arrow::Up);
}

void TrainListDialog::ListBox1KeyUp()
{
    m_editor.stationKeyUp();
}

void TrainListDialog::ListBox1EnterUp(bool shift)
{
    const int selected = m_editor.stationSelection();
    if (selected < 0)
        return;
    m_editor.insertStation(selected, shift);
    showRows();
}

void TrainListDialog::BitBtn3Click()
{
    if (!m_kilometreDialog || !m_editor.currentTrain())
        return;
    if (const std::optional<int> km = m_kilometreDialog->ask())
        m_editor.insertKilometre(*km);
    showRows();
}

void TrainListDialog::Odstranitpoloku1Click()
{
    // A time still being typed is stored as closing its editor stores it;
    // the row it was typed on is then the one that goes.
    const int row = m_editor.rowCursor();
    StringGrid2->finishEditing();
    m_editor.setRowCursor(row);
    m_editor.deleteRow();
    showRows();
}

void TrainListDialog::CheckBox1Click(bool checked)
{
    m_editor.setRusici(checked);
    showFlags();
}

void TrainListDialog::CheckBox2Click(bool checked)
{
    m_editor.setPodlePotreby(checked);
    showFlags();
}

void TrainListDialog::CheckBox3Click(bool checked)
{
    m_editor.setHalfMinute(checked);
    showFlags();
}

void TrainListDialog::CheckBox4Click(bool checked)
{
    m_editor.setShortDwell(checked);
    showFlags();
}
