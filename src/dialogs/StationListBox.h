#pragma once

#include <QListWidget>
#include <QStyledItemDelegate>

#include <functional>

// The station list of the train list editor (ListBox1): one item per
// station, Dopravny and Odbočky in bold. It reports the keys the editor
// reacts to: arrow keys pressed (before the selection moves) and released,
// and Enter released, with or without Shift; and the end of every key press,
// when the list has moved its selection and the editor may move it on.
//
// Only an Enter pressed in the list counts when it is released: the release
// of the Enter that closed another window (the kilometre dialog) arrives
// here once the focus is back, and must not insert a station. Shift counts
// when it was held at the press or at the release, so that Shift+Enter
// typed quickly, Shift let go first, still gives two rows.
class StationListBox : public QListWidget
{
    Q_OBJECT

public:
    // Item data: whether the station is a Dopravna or an Odbočka.
    static constexpr int TrafficPointRole = Qt::UserRole + 1;
    // Fixed item height of the program's list; taller when the font needs it.
    static constexpr int itemHeight = 13;

    explicit StationListBox(QWidget *parent = nullptr);

    // Items from "+name" / "-name" texts.
    void setStations(const QStringList &items);

    // The selected item, or -1: the one Enter inserts. The focus frame may
    // stand on an item that is not selected.
    int selectedRow() const;

signals:
    void arrowPressed(bool down);
    void arrowReleased();
    void enterReleased(bool shift);
    // A key press has been handled, the list's own moves included.
    void keyPressDone();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_enterPressed = false;
    bool m_shiftAtPress = false;
};

// Draws a station item (ListBox1DrawItem): the rectangle in the current
// background, the name at its top left, bold for a Dopravna or Odbočka.
class StationItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
