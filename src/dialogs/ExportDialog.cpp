#include "ExportDialog.h"

#include "DialogPlacement.h"
#include "WidgetHelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExportDialog::ExportDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(QStringLiteral("Exportovat"));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QGroupBox(QStringLiteral("Co exportovat"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    RadioButton1 = new QRadioButton(QStringLiteral("Celý vlakorys podle nastavení tisku"), group);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    Label1 = new QLabel(group);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setIndent(24);
    RadioButton2 = new QRadioButton(QStringLiteral("Zobrazenou část vlakorysu"), group);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton1->setChecked(true);
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(RadioButton1);
    groupLayout->addWidget(Label1);
    groupLayout->addWidget(RadioButton2);
    layout->addWidget(group);

    const WidgetHelpers::OkCancel buttons =
        WidgetHelpers::okCancel(this, QStringLiteral("&Uložit..."), QStringLiteral("&Zrušit"));
    BitBtn1 = buttons.ok;
    BitBtn2 = buttons.cancel;
    layout->addLayout(buttons.row);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    DialogPlacement::centre(this);
}

void ExportDialog::setSheetSummary(const QString &summary)
{
    Label1->setText(summary);
}

bool ExportDialog::viewChosen() const
{
    return RadioButton2->isChecked();
}

void ExportDialog::showEvent(QShowEvent *event)
{
    DialogPlacement::keepOnScreen(this);
    QDialog::showEvent(event);
}
