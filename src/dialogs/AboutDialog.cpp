#include "AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("O aplikaci"));
    auto *layout = new QVBoxLayout(this);
    auto *name = new QLabel(QStringLiteral("<b>Vlakorys 1.0</b>"), this);
    name->setObjectName(QStringLiteral("Label1"));
    auto *description = new QLabel(QStringLiteral("Program pro tvoření vlakorysu"), this);
    description->setObjectName(QStringLiteral("Label2"));
    auto *toolkit = new QLabel(QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())), this);
    toolkit->setObjectName(QStringLiteral("Label3"));
    layout->addWidget(name);
    layout->addWidget(description);
    layout->addWidget(toolkit);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("BitBtn1"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
