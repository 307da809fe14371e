#include "InsertToolWindow.h"

#include "DialogPlacement.h"
#include "WidgetHelpers.h"

#include "editing/InsertTool.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using WidgetHelpers::named;

namespace {

// Right of the middle and high up, out of the diagram's way: four fifths of
// the free room to its left, a fifth above it.
constexpr DialogPlacement::Spot toolSpot{4, 1, 5};

} // namespace

InsertToolWindow::InsertToolWindow(InsertTool &tool, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      m_tool(tool)
{
    setObjectName(QStringLiteral("TForm12"));
    setWindowTitle(QStringLiteral("Vložit vlak"));
    setModal(false);
    // The main window keeps the keyboard while the user points in it.
    setAttribute(Qt::WA_ShowWithoutActivating);

    m_directions = WidgetHelpers::directionGroup(this, RadioGroup1);

    Label1 = named(new QLabel(QStringLiteral("Číslo:"), this), "Label1");
    SpinEdit1 = named(new QSpinBox(this), "SpinEdit1");
    SpinEdit1->setRange(1, 99);
    SpinEdit1->findChild<QLineEdit *>()->setMaxLength(2);
    SpinEdit1->setValue(1);
    Label2 = named(new QLabel(QStringLiteral("Název:"), this), "Label2");
    Label3 = named(new QLabel(this), "Label3");
    Label4 = named(new QLabel(QStringLiteral("Stanice:"), this), "Label4");
    Label5 = named(new QLabel(this), "Label5");
    Label6 = named(new QLabel(QStringLiteral("Čas:"), this), "Label6");
    Label7 = named(new QLabel(this), "Label7");
    Label8 = named(new QLabel(addHelp, this), "Label8");
    Label9 = named(new QLabel(removeHelp, this), "Label9");
    Label10 = named(new QLabel(commitHelp, this), "Label10");
    for (QLabel *l : {Label3, Label5, Label7})
        l->setMinimumWidth(160);

    auto *form = new QGridLayout;
    form->addWidget(RadioGroup1, 0, 0, 2, 1);
    form->addWidget(Label1, 0, 1);
    form->addWidget(SpinEdit1, 0, 2);
    form->addWidget(Label2, 2, 0);
    form->addWidget(Label3, 2, 1, 1, 2);
    form->addWidget(Label4, 3, 0);
    form->addWidget(Label5, 3, 1, 1, 2);
    form->addWidget(Label6, 4, 0);
    form->addWidget(Label7, 4, 1, 1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addWidget(Label8);
    layout->addWidget(Label9);
    layout->addWidget(Label10);

    connect(m_directions, &QButtonGroup::idClicked, this, &InsertToolWindow::RadioGroup1Click);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &InsertToolWindow::SpinEdit1Change);

    FormCreate();
}

void InsertToolWindow::FormCreate()
{
    setFixedSize(layout()->sizeHint());
    DialogPlacement::place(this, toolSpot);
}

void InsertToolWindow::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void InsertToolWindow::FormShow()
{
    m_tool.FormShow();
    DialogPlacement::keepOnScreen(this, toolSpot);
    showState();
}

// Closing the window in any way (its close box, Esc, the tool) ends the
// tool; the main window's timer then gives the Editace menu back.
void InsertToolWindow::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void InsertToolWindow::FormClose()
{
    m_tool.FormClose();
}

void InsertToolWindow::showState()
{
    const bool was = m_busy;
    m_busy = true;
    m_directions->button(m_tool.direction())->setChecked(true);
    SpinEdit1->setMaximum(std::max(1, m_tool.profileMaximum()));
    SpinEdit1->setValue(m_tool.profileNumber());
    Label3->setText(m_tool.profileName());
    Label5->setText(m_tool.stationText());
    Label7->setText(m_tool.timeText());
    m_busy = was;
}

void InsertToolWindow::RadioGroup1Click(int direction)
{
    if (m_busy || !isVisible())
        return;
    m_tool.RadioGroup1Click(direction);
    showState();
}

void InsertToolWindow::SpinEdit1Change(int value)
{
    if (m_busy || !isVisible())
        return;
    m_tool.SpinEdit1Change(value);
    showState();
}
