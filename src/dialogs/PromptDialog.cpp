#include "PromptDialog.h"

#include "DialogPlacement.h"
#include "WidgetHelpers.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

PromptDialog::PromptDialog(QWidget *parent, const char *name, const QString &title)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_layout(new QVBoxLayout(this))
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
}

void PromptDialog::finish(const QString &cancelText, QSize minimum)
{
    const WidgetHelpers::OkCancel buttons = WidgetHelpers::okCancel(this, QStringLiteral("&OK"), cancelText, false);
    BitBtn1 = buttons.ok;
    BitBtn2 = buttons.cancel;
    m_layout->addLayout(buttons.row);
    connect(BitBtn1, &QPushButton::clicked, this, &PromptDialog::BitBtn1Click);
    setFixedSize(m_layout->sizeHint().expandedTo(minimum));
    DialogPlacement::centre(this);
}

void PromptDialog::showEvent(QShowEvent *event)
{
    DialogPlacement::keepOnScreen(this);
    m_ok = false;
    prepare();
    QDialog::showEvent(event);
}

void PromptDialog::BitBtn1Click()
{
    take();
    m_ok = true;
    accept();
}

bool PromptDialog::run()
{
    exec();
    return m_ok;
}
