#include "AddTrainDialog.h"

#include "DialogPlacement.h"
#include "StringGrid.h"
#include "WidgetHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

using WidgetHelpers::named;

AddTrainDialog::AddTrainDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm13"));
    setWindowTitle(QStringLiteral("Přidat vlak"));

    Label1 = named(new QLabel(QStringLiteral("Druh vlaku:"), this), "Label1");
    ComboBox1 = named(new QComboBox(this), "ComboBox1");
    ComboBox1->addItems(newTrainCategories);
    Label2 = named(new QLabel(QStringLiteral("Číslo vlaku:"), this), "Label2");
    SpinEdit1 = named(new QSpinBox(this), "SpinEdit1");
    SpinEdit1->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    SpinEdit1->findChild<QLineEdit *>()->setMaxLength(5);
    SpinEdit1->setValue(1);

    // A hidden number column in front, so that the stations are a fixed
    // column with their header.
    StringGrid1 = named(new StringGrid(ColumnCount + 1, 2, this), "StringGrid1");
    StringGrid1->setEditingEnabled(false);
    StringGrid1->setRowHeight(std::max(16, fontMetrics().height() + 2));
    StringGrid1->setSource([this] { return static_cast<int>(m_rows.size()) + 1; },
                           [this](int column, int row) { return column == 0 ? QString() : cell(column - 1, row); });
    // The time columns hold times with seconds: wide enough for them in
    // today's fonts.
    const int time = StringGrid1->fontMetrics().horizontalAdvance(QStringLiteral(" 88:88:88")) + 8;
    StringGrid1->setColumnWidths({0, 179, 34, std::max(50, time), 28, std::max(47, time)});
    StringGrid1->verticalHeader()->hide();
    int tableWidth = 2 * StringGrid1->frameWidth() + StringGrid1->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < ColumnCount; ++c)
        tableWidth += StringGrid1->columnWidth(c);
    StringGrid1->setMinimumWidth(tableWidth);

    CheckBox1 = named(new QCheckBox(QStringLiteral("Rušící"), this), "CheckBox1");
    CheckBox2 = named(new QCheckBox(QStringLiteral("Podle potřeby"), this), "CheckBox2");
    const WidgetHelpers::OkCancel buttons =
        WidgetHelpers::okCancel(this, QStringLiteral("OK"), QStringLiteral("&Zrušit"));
    BitBtn1 = buttons.ok;
    BitBtn2 = buttons.cancel;

    auto *choice = new QGridLayout;
    choice->addWidget(Label1, 0, 0);
    choice->addWidget(ComboBox1, 0, 1);
    choice->addWidget(Label2, 1, 0);
    choice->addWidget(SpinEdit1, 1, 1);
    choice->addWidget(CheckBox1, 0, 2);
    choice->addWidget(CheckBox2, 1, 2);
    choice->setColumnStretch(3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(choice);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(buttons.row);

    connect(BitBtn1, &QPushButton::clicked, this, &AddTrainDialog::BitBtn1Click);

    FormCreate();
}

void AddTrainDialog::FormCreate()
{
    ComboBox1->setCurrentIndex(defaultCategoryIndex);
    resize(layout()->sizeHint().expandedTo(QSize(396, 252)));
    DialogPlacement::centre(this);
}

void AddTrainDialog::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void AddTrainDialog::FormShow()
{
    DialogPlacement::keepOnScreen(this);
    m_ok = false;
    CheckBox1->setChecked(false);
    CheckBox2->setChecked(false);
}

QString AddTrainDialog::cell(int column, int row) const
{
    if (row == 0) {
        static const QString headers[ColumnCount] = {QStringLiteral("Stanice"), QStringLiteral("Jíz.d."),
                                                     QStringLiteral("Přijezd"), QStringLiteral("Pob."),
                                                     QStringLiteral("Odjezd")};
        return column >= 0 && column < ColumnCount ? headers[column] : QString();
    }
    if (row < 1 || row > static_cast<int>(m_rows.size()))
        return {};
    const AddTrainRow &r = m_rows[static_cast<size_t>(row - 1)];
    switch (column) {
    case StationColumn:
        return r.station;
    case RunTimeColumn:
        return r.runTime;
    case ArrivalColumn:
        return r.arrival;
    case DwellColumn:
        return r.dwell;
    case DepartureColumn:
        return r.departure;
    default:
        return {};
    }
}

void AddTrainDialog::setRows(std::vector<AddTrainRow> rows)
{
    m_rows = std::move(rows);
    StringGrid1->refresh();
}

NewTrainChoice AddTrainDialog::choice() const
{
    NewTrainChoice c;
    c.category = ComboBox1->currentText();
    c.number = SpinEdit1->value();
    c.rusici = CheckBox1->isChecked();
    c.podlePotreby = CheckBox2->isChecked();
    return c;
}

void AddTrainDialog::BitBtn1Click()
{
    // A number still being typed counts as entered.
    SpinEdit1->interpretText();
    m_ok = true;
    accept();
}

std::optional<NewTrainChoice> AddTrainDialog::ask(std::vector<AddTrainRow> rows)
{
    setRows(std::move(rows));
    // The number takes the keys when the dialog comes up.
    SpinEdit1->setFocus();
    SpinEdit1->selectAll();
    exec();
    if (!m_ok)
        return std::nullopt;
    return choice();
}
