#include "ProfileDialog.h"

#include "DialogPlacement.h"
#include "ProfileFromTrainDialog.h"
#include "Prompter.h"
#include "WidgetHelpers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

using WidgetHelpers::guarded;
using WidgetHelpers::named;

// The grid has a hidden number column in front of the program's three, so
// that the station names are a fixed column with their header.
int gridColumn(int editorColumn)
{
    return editorColumn + 1;
}

} // namespace

ProfileDialog::ProfileDialog(Document &doc, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_doc(doc), m_editor(doc), m_prompter(prompter)
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("Jízdní doby"));

    Label1 = named(new QLabel(QStringLiteral("Číslo jízdní doby:"), this), "Label1");
    SpinEdit1 = named(new QSpinBox(this), "SpinEdit1");
    SpinEdit1->setRange(1, 1);

    m_directions = WidgetHelpers::directionGroup(this, RadioGroup1);

    Label2 = named(new QLabel(QStringLiteral("Název jízdní doby (max. 20 znaků)"), this), "Label2");
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setMaxLength(ProfileEditor::maxNameLength);

    StringGrid1 = named(new StringGrid(ProfileEditor::ColumnCount + 1, 2, this), "StringGrid1");
    StringGrid1->setRowHeight(std::max(16, fontMetrics().height() + 2));
    StringGrid1->setEditMask([this](int column, int row) { return StringGrid1GetEditMask(column - 1, row); });
    StringGrid1->setSource(
        [this] { return m_editor.rowCount(); },
        [this](int column, int row) { return column == 0 ? QString() : m_editor.cell(column - 1, row); });
    StringGrid1->setColumnWidths({0, 183, 36, 34});
    StringGrid1->verticalHeader()->hide();

    const WidgetHelpers::OkCancel buttons =
        WidgetHelpers::okCancel(this, QStringLiteral("&OK"), QStringLiteral("&Zrušit"));
    BitBtn1 = buttons.ok;
    BitBtn1->setAutoDefault(false);
    BitBtn2 = buttons.cancel;
    BitBtn2->setAutoDefault(false);
    Button1 = named(new QPushButton(QStringLiteral("Jízd. doby z vlaku"), this), "Button1");
    Button1->setAutoDefault(false);

    auto *top = new QGridLayout;
    top->addWidget(Label1, 0, 0);
    top->addWidget(SpinEdit1, 1, 0);
    top->addWidget(RadioGroup1, 0, 1, 2, 1);
    buttons.row->insertWidget(0, Button1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(Label2);
    layout->addWidget(Edit1);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(buttons.row);

    connect(m_directions, &QButtonGroup::idClicked, this, &ProfileDialog::RadioGroup1Click);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &ProfileDialog::SpinEdit1Change);
    connect(Edit1, &QLineEdit::textChanged, this, &ProfileDialog::Edit1Change);
    connect(StringGrid1, &StringGrid::currentCellChanged, this, &ProfileDialog::StringGrid1Click);
    connect(StringGrid1, &StringGrid::cellCommitted, this, &ProfileDialog::StringGrid1SetEditText);
    connect(BitBtn1, &QPushButton::clicked, this, &ProfileDialog::BitBtn1Click);
    connect(Button1, &QPushButton::clicked, this, &ProfileDialog::Button1Click);

    FormCreate();
}

ProfileDialog::~ProfileDialog()
{
    // A cell editor still open is closed when the grid goes, after this
    // dialog's rules are gone: its commit must not reach them.
    StringGrid1->disconnect(this);
}

void ProfileDialog::FormCreate()
{
    setFixedSize(layout()->sizeHint().expandedTo(QSize(323, 324)));
    DialogPlacement::centre(this);
}

void ProfileDialog::fill()
{
    m_editor.fill();
    showProfile();
    // The grid takes the keys when the dialog comes up.
    StringGrid1->setFocus();
}

void ProfileDialog::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void ProfileDialog::FormShow()
{
    DialogPlacement::keepOnScreen(this);
    m_ok = false;
    m_busy = false;
    m_editor.setCursor(ProfileEditor::RunTimeColumn, 2);
    showProfile();
    StringGrid1->setFocus();
}

void ProfileDialog::showNumbers()
{
    guarded(m_busy, [this] {
        SpinEdit1->setRange(1, m_editor.maximum());
        SpinEdit1->setValue(m_editor.number());
        m_directions->button(m_editor.direction())->setChecked(true);
    });
}

void ProfileDialog::showCursor()
{
    guarded(m_busy, [this] { StringGrid1->setCurrentCell(gridColumn(m_editor.cursorColumn()), m_editor.cursorRow()); });
}

void ProfileDialog::showProfile()
{
    showNumbers();
    guarded(m_busy, [this] {
        Edit1->setText(m_editor.name());
        StringGrid1->refresh();
    });
    showCursor();
}

QString ProfileDialog::StringGrid1GetEditMask(int column, int row) const
{
    return m_editor.editMask(column, row);
}

void ProfileDialog::RadioGroup1Click(int direction)
{
    if (m_busy || !isVisible())
        return;
    StringGrid1->finishEditing();
    m_editor.setDirection(direction);
    showProfile();
}

void ProfileDialog::SpinEdit1Change(int value)
{
    if (m_busy || !isVisible())
        return;
    m_editor.setNumber(value);
    showProfile();
}

void ProfileDialog::Edit1Change(const QString &text)
{
    if (m_busy || !isVisible())
        return;
    m_editor.setName(text);
    showNumbers();
}

void ProfileDialog::StringGrid1Click(int column, int row)
{
    if (m_busy)
        return;
    m_editor.setCursor(column - 1, row);
    showCursor();
}

void ProfileDialog::StringGrid1SetEditText(const StringGrid::Commit &c)
{
    if (m_busy)
        return;
    m_editor.commitCell(c.column - 1, c.row, c.text, c.cursorColumn - 1, c.cursorRow);
    guarded(m_busy, [this] { StringGrid1->refresh(); });
    showNumbers();
    showCursor();
}

void ProfileDialog::BitBtn1Click()
{
    // A value still being typed belongs to what the user confirms.
    StringGrid1->finishEditing();
    m_editor.store();
    m_ok = true;
    accept();
}

void ProfileDialog::Button1Click()
{
    StringGrid1->finishEditing();
    if (!m_fromTrain)
        return;
    const std::vector<Train> &trains = m_doc.trains;
    if (trains.empty()) {
        m_prompter.information(noTrainsMessage);
        return;
    }
    const std::optional<int> chosen = m_fromTrain->ask();
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(trains.size()))
        return;
    const ProfileEditor::FromTrain made = m_editor.profileFromTrain(
        trains[static_cast<size_t>(*chosen)], m_fromTrain->dwellsFromTrain(), m_fromTrain->standardDwell());
    if (made == ProfileEditor::FromTrain::NoFreeNumber)
        m_prompter.error(ProfileEditor::noFreeNumberMessage(m_editor.trainDirection(trains[size_t(*chosen)])));
    showProfile();
}
