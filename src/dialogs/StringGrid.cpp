#include "StringGrid.h"

#include "EditMask.h"
#include "model/Cp1250.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QValidator>

namespace {

// The texts of the grids go into the document in code page 1250: a
// character it cannot hold is not taken, instead of turning into "?".
class Cp1250Validator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override { return cp1250::canEncode(input) ? Acceptable : Invalid; }
};

} // namespace

// The grid's texts as a Qt model: model row r is grid row r + 1, model
// column c is grid column c + 1; row 0 and column 0 are the headers. The row
// count is kept here so that rows are inserted and removed in step with the
// source when the grid refreshes.
class StringGridModel : public QAbstractTableModel
{
public:
    StringGridModel(QObject *parent, int columns, int fixedColumns)
        : QAbstractTableModel(parent), m_columns(columns), m_fixedColumns(fixedColumns)
    {
    }

    StringGrid::RowCount rows;
    StringGrid::CellText cells;
    bool editing = true;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_shown; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_columns; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || !cells)
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return cells(index.column() + 1, index.row() + 1);
        case Qt::BackgroundRole:
            if (isFixed(index.column()))
                return QApplication::palette().brush(QPalette::Button);
            return {};
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || !cells)
            return {};
        return orientation == Qt::Horizontal ? cells(section + 1, 0) : cells(0, section + 1);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        if (isFixed(index.column()))
            return Qt::ItemIsEnabled;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editing)
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool isFixed(int modelColumn) const { return modelColumn + 1 < m_fixedColumns; }

    void refresh()
    {
        const int wanted = rows ? std::max(0, rows() - 1) : 0;
        if (wanted > m_shown) {
            beginInsertRows({}, m_shown, wanted - 1);
            m_shown = wanted;
            endInsertRows();
        } else if (wanted < m_shown) {
            beginRemoveRows({}, wanted, m_shown - 1);
            m_shown = wanted;
            endRemoveRows();
        }
        if (m_shown > 0) {
            emit dataChanged(index(0, 0), index(m_shown - 1, m_columns - 1));
            emit headerDataChanged(Qt::Vertical, 0, m_shown - 1);
        }
        emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
    }

private:
    int m_columns;
    int m_fixedColumns;
    int m_shown = 0;
};

StringGrid::StringGrid(int columnCount, int fixedColumns, QWidget *parent)
    : QTableView(parent), m_columns(columnCount), m_fixedColumns(std::max(1, fixedColumns)),
      m_model(new StringGridModel(this, columnCount - 1, std::max(1, fixedColumns)))
{
    setModel(m_model);
    setItemDelegate(new StringGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // No editing on a click of the current cell: Qt would hold back the
    // keys typed during the double-click interval after it.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::EditKeyPressed);
    // Tab inside the editor commits like Enter; on the grid it goes on to the
    // next control, so every control of the dialog is reachable by keys.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

StringGrid::~StringGrid() = default;

void StringGrid::setSource(RowCount rows, CellText cells)
{
    m_model->rows = std::move(rows);
    m_model->cells = std::move(cells);
    refresh();
}

void StringGrid::setColumnWidths(std::initializer_list<int> widths)
{
    int column = 0;
    for (int w : widths) {
        // The widths were chosen for a smaller font than today's desktops
        // use; a header cut off ("Kilome") tells the user nothing.
        if (column == 0)
            verticalHeader()->setMinimumWidth(w);
        else
            setColumnWidth(column - 1, std::max(w, horizontalHeader()->sectionSizeHint(column - 1)));
        ++column;
    }
}

void StringGrid::setRowHeight(int pixels)
{
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(pixels);
}

void StringGrid::setEditingEnabled(bool on)
{
    m_model->editing = on;
}

int StringGrid::rowCountShown() const
{
    return m_model->rowCount() + 1;
}

void StringGrid::refresh()
{
    ++m_silent;
    m_model->refresh();
    --m_silent;
}

void StringGrid::setCurrentCell(int column, int row)
{
    const QModelIndex index = m_model->index(row - 1, column - 1);
    if (!index.isValid())
        return;
    ++m_silent;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
    --m_silent;
}

int StringGrid::currentColumn() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.column() + 1 : m_fixedColumns;
}

int StringGrid::currentRowNumber() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() + 1 : 1;
}

QRect StringGrid::cellRect(int column, int row) const
{
    return visualRect(m_model->index(row - 1, column - 1));
}

QModelIndex StringGrid::firstEditable(int modelRow) const
{
    return m_model->index(modelRow, m_fixedColumns - 1);
}

void StringGrid::editorOpened(QLineEdit *editor, const QModelIndex &index)
{
    m_editor = editor;
    m_editIndex = index;
}

void StringGrid::finishEditing()
{
    if (QLineEdit *editor = m_editor) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

// Shift+Tab in the editor: the cursor goes back one cell first, so the
// commit finds it moved and the rules take no step forward.
void StringGrid::stepBack()
{
    const QModelIndex back = moveCursor(MovePrevious, Qt::NoModifier);
    if (back.isValid() && back != currentIndex())
        setCurrentIndex(back);
    else
        finishEditing();
}

void StringGrid::commitData(QWidget *editor)
{
    auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!edit || edit != m_editor || !m_editIndex.isValid())
        return;
    Commit c;
    c.column = m_editIndex.column() + 1;
    c.row = m_editIndex.row() + 1;
    const EditMask mask(m_mask ? m_mask(c.column, c.row) : QString());
    c.text = mask.committedText(edit);
    c.modified = edit->isModified();
    c.focusLost = m_focusLeaving;
    m_pending = c;
}

void StringGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The rules move the cursor after a commit; Qt's own stepping is not used.
    if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)
        hint = QAbstractItemDelegate::NoHint;
    QTableView::closeEditor(editor, hint);
    if (editor == m_editor) {
        m_editor = nullptr;
        m_editIndex = QPersistentModelIndex();
    }
    if (!m_inCurrentChanged)
        flushCommit();
}

void StringGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // Moving the cursor closes an open editor; its commit is reported first,
    // with the cursor already on the new cell, then the move itself.
    m_inCurrentChanged = true;
    QTableView::currentChanged(current, previous);
    m_inCurrentChanged = false;
    flushCommit();
    if (!m_silent && currentIndex().isValid())
        emit currentCellChanged(currentColumn(), currentRowNumber());
}

void StringGrid::flushCommit()
{
    if (!m_pending)
        return;
    Commit c = *m_pending;
    m_pending.reset();
    c.cursorColumn = currentColumn();
    c.cursorRow = currentRowNumber();
    emit cellCommitted(c);
}

void StringGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        // Enter opens the current cell's editor; it never reaches the
        // dialog's default button from inside the grid.
        const QModelIndex index = currentIndex();
        if (index.isValid() && (index.flags() & Qt::ItemIsEditable))
            edit(index, EditKeyPressed, event);
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) && event->modifiers() == Qt::NoModifier
        && state() != EditingState) {
        // As in a spreadsheet: the cell's editor opens and the key clears
        // the text, which the editor holds selected.
        const QModelIndex index = currentIndex();
        if (index.isValid() && (index.flags() & Qt::ItemIsEditable) && edit(index, EditKeyPressed, event)) {
            if (QLineEdit *editor = m_editor)
                QApplication::sendEvent(editor, event);
        }
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void StringGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && isFixedModelColumn(index.column())) {
        // A fixed cell cannot take the cursor: its row's first cell does.
        if (event->button() == Qt::LeftButton)
            setCurrentIndex(firstEditable(index.row()));
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && isFixedModelColumn(index.column())) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

QModelIndex StringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex index = QTableView::moveCursor(action, modifiers);
    if (index.isValid() && isFixedModelColumn(index.column()))
        return currentIndex().isValid() && currentIndex().row() == index.row() ? currentIndex()
                                                                               : firstEditable(index.row());
    return index;
}

// --- In-place editor ---------------------------------------------------------

StringGridDelegate::StringGridDelegate(StringGrid *grid) : QStyledItemDelegate(grid), m_grid(grid)
{
}

QWidget *StringGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    const StringGrid::EditMaskOf maskOf = m_grid->editMask();
    const EditMask mask(maskOf ? maskOf(index.column() + 1, index.row() + 1) : QString());
    const StringGrid::EditPatternOf patternOf = m_grid->editPattern();
    const QString pattern = patternOf ? patternOf(index.column() + 1, index.row() + 1) : QString();
    if (!mask.isEmpty())
        mask.apply(edit);
    else if (!pattern.isEmpty())
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    else
        edit->setValidator(new Cp1250Validator(edit));
    m_grid->editorOpened(edit, index);
    return edit;
}

void StringGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setText(index.data(Qt::EditRole).toString());
}

void StringGridDelegate::setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const
{
    // Commits go to the rules through StringGrid::cellCommitted.
}

bool StringGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(object);
    if (!edit)
        return QStyledItemDelegate::eventFilter(object, event);

    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // The grid's own shortcuts (a popup menu's items) work in its editor
        // too, before the editor's keys of the same name.
        const QKeySequence typed(key->keyCombination());
        for (QAction *action : m_grid->actions()) {
            if (action->isEnabled() && action->shortcuts().contains(typed)) {
                action->trigger();
                return true;
            }
        }
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
            emit commitData(edit);
            emit closeEditor(edit, QAbstractItemDelegate::NoHint);
            return true;
        case Qt::Key_Backtab:
            m_grid->stepBack();
            return true;
        default:
            break;
        }
        // A separator typed right behind the same separator is the user
        // typing what the mask already shows: it is skipped, not stored.
        if (!edit->inputMask().isEmpty() && key->text().size() == 1 && !edit->hasSelectedText()) {
            const int at = edit->cursorPosition() - 1;
            const StringGrid::EditMaskOf maskOf = m_grid->editMask();
            const QModelIndex index = m_grid->m_editIndex;
            const EditMask mask(maskOf && index.isValid() ? maskOf(index.column() + 1, index.row() + 1) : QString());
            if (mask.isSeparator(at) && edit->displayText().at(at) == key->text().front())
                return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Focus moving inside the editor is not leaving it.
        for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget())
            if (w == edit)
                return false;
        m_grid->m_focusLeaving = true;
        emit commitData(edit);
        m_grid->m_focusLeaving = false;
        emit closeEditor(edit, QAbstractItemDelegate::NoHint);
        return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
