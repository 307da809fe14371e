#include "StationListDialog.h"

#include "DialogPlacement.h"
#include "Prompter.h"
#include "WidgetHelpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

StationListDialog::StationListDialog(Document &doc, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_editor(doc), m_prompter(prompter)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Seznam stanic"));

    StringGrid1 = new StringGrid(StationListEditor::ColumnCount, 1, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setRowHeight(std::max(16, fontMetrics().height() + 2));
    StringGrid1->setEditMask([this](int column, int row) { return StringGrid1GetEditMask(column, row); });
    StringGrid1->setEditPattern([this](int column, int row) { return m_editor.editPattern(column, row); });
    StringGrid1->setSource([this] { return m_editor.rowCount(); },
                           [this](int column, int row) { return m_editor.cell(column, row); });
    StringGrid1->setColumnWidths({20, 154, 44, 92, 104, 100});
    // Every column in sight: the track columns stand beside the name.
    int gridWidth = StringGrid1->verticalHeader()->minimumWidth() + 2 * StringGrid1->frameWidth()
                    + StringGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    for (int c = 0; c < StationListEditor::ColumnCount - 1; ++c)
        gridWidth += StringGrid1->columnWidth(c);
    StringGrid1->setMinimumWidth(gridWidth);

    auto box = [this](const char *name, const QString &caption) {
        auto *b = new QCheckBox(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    BorCheck1 = box("BorCheck1", QStringLiteral("&Dopravna"));
    CheckBox1 = box("CheckBox1", QStringLiteral("Hradlo"));
    CheckBox2 = box("CheckBox2", QStringLiteral("Hláska"));
    CheckBox3 = box("CheckBox3", QStringLiteral("Odbočka"));
    CheckBox4 = box("CheckBox4", QStringLiteral("Zastávka"));
    CheckBox5 = box("CheckBox5", QStringLiteral("Nákladiště"));
    CheckBox6 = box("CheckBox6", QStringLiteral("Kilometr"));
    m_boxes = {BorCheck1, CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6};

    const WidgetHelpers::OkCancel buttons =
        WidgetHelpers::okCancel(this, QStringLiteral("&OK"), QStringLiteral("Zrušit"));
    BitBtn1 = buttons.ok;
    BitBtn1->setAutoDefault(false);
    BitBtn2 = buttons.cancel;
    BitBtn2->setAutoDefault(false);

    auto *kinds = new QGridLayout;
    kinds->setSpacing(2);
    kinds->addWidget(BorCheck1, 0, 0);
    kinds->addWidget(CheckBox1, 1, 0);
    kinds->addWidget(CheckBox2, 2, 0);
    kinds->addWidget(CheckBox3, 3, 0);
    kinds->addWidget(CheckBox4, 0, 1);
    kinds->addWidget(CheckBox5, 1, 1);
    kinds->addWidget(CheckBox6, 2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(kinds);
    layout->addLayout(buttons.row);

    connect(StringGrid1, &StringGrid::currentCellChanged, this, &StationListDialog::StringGrid1Click);
    connect(StringGrid1, &StringGrid::cellCommitted, this, &StationListDialog::StringGrid1SetEditText);
    for (int k = 0; k < StationListEditor::KindCount; ++k) {
        const auto kind = static_cast<StationListEditor::Kind>(k);
        connect(m_boxes[static_cast<size_t>(k)], &QCheckBox::clicked, this,
                [this, kind](bool checked) { kindBoxClick(kind, checked); });
    }
    connect(BitBtn1, &QPushButton::clicked, this, &StationListDialog::BitBtn1Click);

    FormCreate();
}

StationListDialog::~StationListDialog()
{
    // A cell editor still open is closed when the grid goes, after this
    // dialog's editing rules are gone: its commit must not reach them.
    StringGrid1->disconnect(this);
}

void StationListDialog::FormCreate()
{
    const QSize client = layout()->sizeHint().expandedTo(QSize(248, 264));
    setFixedSize(client);
    DialogPlacement::centre(this);
    showGrid();
}

void StationListDialog::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void StationListDialog::hideEvent(QHideEvent *event)
{
    FormHide();
    QDialog::hideEvent(event);
}

void StationListDialog::FormShow()
{
    DialogPlacement::keepOnScreen(this);
    m_cancelled = true;
    StringGrid1->setEnabled(true);
    for (QCheckBox *b : m_boxes)
        b->setEnabled(true);
}

void StationListDialog::FormHide()
{
    StringGrid1->setEnabled(true);
    for (QCheckBox *b : m_boxes)
        b->setEnabled(true);
}

void StationListDialog::fill()
{
    m_editor.fill();
    showGrid();
    StringGrid1->setFocus();
}

void StationListDialog::clearFirstRow()
{
    m_editor.clearFirstRow();
    showGrid();
}

QString StationListDialog::StringGrid1GetEditMask(int column, int row) const
{
    return m_editor.editMask(column, row);
}

void StationListDialog::StringGrid1Click(int column, int row)
{
    m_editor.setCurrentCell(column, row);
    showKinds();
}

void StationListDialog::StringGrid1SetEditText(const StringGrid::Commit &c)
{
    // A cell committed because the user went to a kind box keeps the cursor
    // on its row, so the box then marks the point just typed.
    m_editor.commitCell(c.column, c.row, c.text, c.cursorColumn, c.cursorRow, !c.focusLost);
    showGrid();
    const QString refusal = m_editor.takeRefusal();
    if (!refusal.isEmpty()) {
        m_refused = true;
        m_prompter.error(refusal);
    }
}

void StationListDialog::kindBoxClick(StationListEditor::Kind kind, bool checked)
{
    m_editor.clickKind(kind, checked);
    showKinds();
}

void StationListDialog::showGrid()
{
    StringGrid1->refresh();
    StringGrid1->setCurrentCell(m_editor.currentColumn(), m_editor.currentRow());
    showKinds();
}

void StationListDialog::showKinds()
{
    const StationListEditor::KindBoxes &b = m_editor.kindBoxes();
    for (size_t k = 0; k < m_boxes.size(); ++k)
        m_boxes[k]->setChecked(b[k]);
}

void StationListDialog::BitBtn1Click()
{
    // A name still being typed belongs to the list the user confirms; a
    // kilometre refused there keeps the dialog open to be put right.
    m_refused = false;
    StringGrid1->finishEditing();
    if (m_refused)
        return;
    m_cancelled = false;
    accept();
}
