#include "StationListBox.h"

#include <QKeyEvent>
#include <QPainter>

StationListBox::StationListBox(QWidget *parent) : QListWidget(parent)
{
    setItemDelegate(new StationItemDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void StationListBox::setStations(const QStringList &items)
{
    clear();
    for (const QString &text : items) {
        auto *item = new QListWidgetItem(text.mid(1), this);
        item->setData(TrafficPointRole, text.startsWith(u'+'));
    }
}

int StationListBox::selectedRow() const
{
    const QList<QListWidgetItem *> items = selectedItems();
    return items.isEmpty() ? -1 : row(items.front());
}

void StationListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)
        emit arrowPressed(event->key() == Qt::Key_Down);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter inserts when it is released; pressed, it must not reach the
        // dialog's default button.
        if (!event->isAutoRepeat()) {
            m_enterPressed = true;
            m_shiftAtPress = event->modifiers() & Qt::ShiftModifier;
        }
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
    emit keyPressDone();
}

void StationListBox::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)
        emit arrowReleased();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat() && m_enterPressed) {
        m_enterPressed = false;
        emit enterReleased(m_shiftAtPress || (event->modifiers() & Qt::ShiftModifier));
    }
    QListWidget::keyReleaseEvent(event);
}

void StationListBox::focusOutEvent(QFocusEvent *event)
{
    m_enterPressed = false;
    QListWidget::focusOutEvent(event);
}

void StationItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &palette = option.palette;
    painter->save();
    painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
    QFont font = option.font;
    font.setBold(index.data(StationListBox::TrafficPointRole).toBool());
    painter->setFont(font);
    painter->setPen(selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
    painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
        QPen pen(palette.color(QPalette::Text), 1, Qt::DotLine);
        painter->setPen(pen);
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

QSize StationItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QFont bold = option.font;
    bold.setBold(true);
    const int height = std::max(StationListBox::itemHeight, QFontMetrics(bold).height());
    return {QStyledItemDelegate::sizeHint(option, index).width(), height};
}
