#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>
#include <optional>

class StringGridModel;

// A grid of texts as the program's dialogs use them (StringGrid1 ...): one
// fixed header row, a fixed number column, possibly further fixed columns,
// and editable cells with an in-place editor and a per-cell edit mask.
//
// The grid holds no texts itself: it shows what its source returns and
// reports what the user does. A cell commits when its in-place editor closes
// (Enter, Tab, leaving the grid, or moving the cursor), and the commit names
// the cell where the edit began together with where the cursor is by then;
// the rules decide what follows. Typing on the current cell starts editing
// it, Enter on a cell that is not being edited opens its editor.
//
// Rows and columns are numbered as the program numbers them: row 0 is the
// header row (shown as the column headers), column 0 the number column
// (shown as the row headers), data from row 1 and column 1.
class StringGrid : public QTableView
{
    Q_OBJECT

public:
    struct Commit
    {
        int column = 0;
        int row = 0;
        QString text;           // as the mask commits it
        bool modified = false;  // the user changed the editor's text
        bool focusLost = false; // the editor closed because the focus left the grid
        int cursorColumn = 0;   // where the cursor is when the commit arrives
        int cursorRow = 0;
    };

    using RowCount = std::function<int()>; // rows, header row included
    using CellText = std::function<QString(int column, int row)>;
    using EditMaskOf = std::function<QString(int column, int row)>; // program notation; empty for none
    // A regular expression the whole text of an unmasked cell's editor must
    // match while it is typed; empty for any text.
    using EditPatternOf = std::function<QString(int column, int row)>;

    StringGrid(int columnCount, int fixedColumns, QWidget *parent = nullptr);
    ~StringGrid() override;

    void setSource(RowCount rows, CellText cells);
    void setEditMask(EditMaskOf mask) { m_mask = std::move(mask); }
    EditMaskOf editMask() const { return m_mask; }
    void setEditPattern(EditPatternOf pattern) { m_pattern = std::move(pattern); }
    EditPatternOf editPattern() const { return m_pattern; }
    // Widths of columns 0 ... n-1 in pixels; a column whose header text
    // needs more room in this font gets it. Set the source first.
    void setColumnWidths(std::initializer_list<int> widths);
    void setRowHeight(int pixels);
    void setEditingEnabled(bool on);

    int columnCount() const { return m_columns; }
    int fixedColumns() const { return m_fixedColumns; }
    int rowCountShown() const; // header row included

    // Reads rows and texts again from the source; reports no cursor move.
    void refresh();
    // Puts the cursor on a cell without reporting it.
    void setCurrentCell(int column, int row);
    int currentColumn() const;
    int currentRowNumber() const;

    bool isEditing() const { return state() == EditingState; }
    QLineEdit *openEditor() const { return m_editor; }
    // Commits and closes an open in-place editor, as Enter would.
    void finishEditing();

    // The viewport rectangle of a data cell (column >= 1, row >= 1).
    QRect cellRect(int column, int row) const;

signals:
    void cellCommitted(const StringGrid::Commit &commit);
    void currentCellChanged(int column, int row);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    friend class StringGridDelegate;

    void editorOpened(QLineEdit *editor, const QModelIndex &index);
    void stepBack();
    void flushCommit();
    QModelIndex firstEditable(int modelRow) const;
    bool isFixedModelColumn(int modelColumn) const { return modelColumn + 1 < m_fixedColumns; }

    int m_columns;
    int m_fixedColumns;
    StringGridModel *m_model;
    EditMaskOf m_mask;
    EditPatternOf m_pattern;
    QPointer<QLineEdit> m_editor;
    QPersistentModelIndex m_editIndex;
    std::optional<Commit> m_pending;
    int m_silent = 0;
    bool m_inCurrentChanged = false;
    bool m_focusLeaving = false;
};

// The in-place editor of a StringGrid: a frameless QLineEdit with the cell's
// translated mask, or its pattern. Enter and Tab commit whatever the editor holds, even
// where a masked position is still free, as the program's editor does.
class StringGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit StringGridDelegate(StringGrid *grid);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    StringGrid *m_grid;
};
