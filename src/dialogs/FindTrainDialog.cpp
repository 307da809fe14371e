#include "FindTrainDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

FindTrainDialog::FindTrainDialog(QWidget *parent) : PromptDialog(parent, "TForm6", QStringLiteral("-"))
{
    Label1 = new QLabel(QStringLiteral("Číslo vlaku:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    auto *field = new QHBoxLayout;
    field->addWidget(Label1);
    field->addWidget(Edit1, 1);
    fieldLayout()->addLayout(field);
    finish(QStringLiteral("&Zrušit"), windowSize);
}

void FindTrainDialog::prepare()
{
    Edit1->setFocus();
}

std::optional<QString> FindTrainDialog::ask()
{
    Edit1->clear();
    if (!run())
        return std::nullopt;
    return Edit1->text();
}
