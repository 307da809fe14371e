#include "WidgetHelpers.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace WidgetHelpers {

OkCancel okCancel(QDialog *dialog, const QString &okText, const QString &cancelText, bool toTheRight,
                  const char *okName, const char *cancelName)
{
    OkCancel b;
    b.ok = named(new QPushButton(okText, dialog), okName);
    b.ok->setDefault(true);
    b.cancel = named(new QPushButton(cancelText, dialog), cancelName);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    b.row = new QHBoxLayout;
    if (toTheRight)
        b.row->addStretch(1);
    b.row->addWidget(b.ok);
    b.row->addWidget(b.cancel);
    return b;
}

QButtonGroup *directionGroup(QWidget *parent, QGroupBox *&box)
{
    box = named(new QGroupBox(QStringLiteral("Směr jízdy"), parent), "RadioGroup1");
    auto *group = new QButtonGroup(parent);
    auto *row = new QHBoxLayout(box);
    for (int d = 1; d <= 2; ++d) {
        auto *b = new QRadioButton(QStringLiteral("&%1").arg(d), box);
        b->setObjectName(QStringLiteral("RadioButton%1").arg(d));
        group->addButton(b, d);
        row->addWidget(b);
    }
    group->button(1)->setChecked(true);
    return group;
}

QTreeWidget *rowList(QWidget *parent, QVBoxLayout *layout, const char *name, const QStringList &headers,
                     int minimumWidth)
{
    auto *list = named(new QTreeWidget(parent), name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setHeaderLabels(headers);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->setMinimumSize(minimumWidth, 260);
    layout->addWidget(list);
    return list;
}

void closeRow(QDialog *dialog, QVBoxLayout *layout)
{
    auto *buttons = new QDialogButtonBox(dialog);
    QPushButton *close =
        named(buttons->addButton(QStringLiteral("Zavřít"), QDialogButtonBox::RejectRole), "CloseButton");
    close->setAutoDefault(false);
    layout->addWidget(buttons);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::close);
}

} // namespace WidgetHelpers
