#include "FindTrainDialog.h"

#include "DialogPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FindTrainDialog::FindTrainDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("-"));

    Label1 = new QLabel(QStringLiteral("Číslo vlaku:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Zrušit"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto *field = new QHBoxLayout;
    field->addWidget(Label1);
    field->addWidget(Edit1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &FindTrainDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(layout->sizeHint().expandedTo(windowSize));
    DialogPlacement::centre(this);
}

void FindTrainDialog::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void FindTrainDialog::FormShow()
{
    DialogPlacement::keepOnScreen(this);
    m_ok = false;
    Edit1->setFocus();
}

void FindTrainDialog::BitBtn1Click()
{
    m_ok = true;
    accept();
}

std::optional<QString> FindTrainDialog::ask()
{
    Edit1->clear();
    exec();
    if (!m_ok)
        return std::nullopt;
    return Edit1->text();
}
