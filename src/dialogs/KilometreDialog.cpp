#include "KilometreDialog.h"

#include "DialogPlacement.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

KilometreDialog::KilometreDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Kilometr"));

    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(minimum, maximum);
    SpinEdit1->findChild<QLineEdit *>()->setMaxLength(5);
    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Zrušit"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SpinEdit1);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &KilometreDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(layout->sizeHint().expandedTo(QSize(174, 91)));
    DialogPlacement::centre(this);
}

int KilometreDialog::value() const
{
    return SpinEdit1->value();
}

void KilometreDialog::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void KilometreDialog::FormShow()
{
    DialogPlacement::keepOnScreen(this);
    m_ok = false;
    SpinEdit1->setValue(0);
    SpinEdit1->selectAll();
    SpinEdit1->setFocus();
}

void KilometreDialog::BitBtn1Click()
{
    // A value still being typed counts as entered.
    SpinEdit1->interpretText();
    m_ok = true;
    accept();
}

std::optional<int> KilometreDialog::ask()
{
    exec();
    if (!m_ok)
        return std::nullopt;
    return value();
}
