#include "KilometreDialog.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

KilometreDialog::KilometreDialog(QWidget *parent) : PromptDialog(parent, "TForm4", QStringLiteral("Kilometr"))
{
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(minimum, maximum);
    SpinEdit1->findChild<QLineEdit *>()->setMaxLength(5);
    fieldLayout()->addWidget(SpinEdit1);
    finish(QStringLiteral("Zrušit"), QSize(174, 91));
}

int KilometreDialog::value() const
{
    return SpinEdit1->value();
}

void KilometreDialog::prepare()
{
    SpinEdit1->setValue(0);
    SpinEdit1->selectAll();
    SpinEdit1->setFocus();
}

void KilometreDialog::take()
{
    // A value still being typed counts as entered.
    SpinEdit1->interpretText();
}

std::optional<int> KilometreDialog::ask()
{
    if (!run())
        return std::nullopt;
    return value();
}
