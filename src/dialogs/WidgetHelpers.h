#pragma once

#include <QStringList>
#include <utility>

class QButtonGroup;
class QDialog;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;
class QWidget;

// Small pieces the hand-built dialogs share.
namespace WidgetHelpers {

// Gives a new control the name its handlers and the tests look it up by.
template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Runs f with the flag set, so that handlers ignore what the window itself
// changes.
template <typename F> void guarded(bool &flag, F &&f)
{
    const bool was = flag;
    flag = true;
    std::forward<F>(f)();
    flag = was;
}

// A dialog's OK and Zrušit buttons and their row: OK is the default button,
// Zrušit rejects the dialog; what OK does the dialog connects itself. The
// captions and names are each dialog's own. The row holds a stretch (when
// the buttons keep to the right), then OK, then Zrušit.
struct OkCancel
{
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    QHBoxLayout *row = nullptr;
};
OkCancel okCancel(QDialog *dialog, const QString &okText, const QString &cancelText, bool toTheRight = true,
                  const char *okName = "BitBtn1", const char *cancelName = "BitBtn2");

// The group "Směr jízdy" (RadioGroup1) with "&1" and "&2" side by side
// (RadioButton1, RadioButton2), each button's id its direction; direction 1
// is checked.
QButtonGroup *directionGroup(QWidget *parent, QGroupBox *&box);

// A modeless list window's list of rows (named `name`, one row chosen at a
// time, the columns as wide as their texts), put into `layout`.
QTreeWidget *rowList(QWidget *parent, QVBoxLayout *layout, const char *name, const QStringList &headers,
                     int minimumWidth);
// Its "Zavřít" (CloseButton) row at the bottom of `layout`, closing `dialog`.
void closeRow(QDialog *dialog, QVBoxLayout *layout);

} // namespace WidgetHelpers
