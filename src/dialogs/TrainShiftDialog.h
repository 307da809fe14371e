#pragma once

#include <QDialog>

class Document;
class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;
class TrainListEditor;

// The train list's "Posunout vlak..." (the chosen train by a number of
// minutes, or its rows from the chosen row on) and "Kopírovat s
// intervalem..." (copies of the chosen train every N minutes, numbered on
// by a step). The moves and copies are TrainShift's; the dialog asks for
// the numbers, does it and shows the train list again.
class TrainShiftDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Mode { Shift, Series };

    TrainShiftDialog(Mode mode, Document &doc, TrainListEditor &editor, QWidget *parent = nullptr);

    // Asks, and on OK changes the document and the editor's grids. False
    // when nothing was done (no train chosen, or cancelled).
    bool run();

    QDoubleSpinBox *minutesEdit() const { return m_minutes; }
    QCheckBox *fromRowBox() const { return m_fromRow; }
    QSpinBox *countEdit() const { return m_count; }
    QSpinBox *intervalEdit() const { return m_interval; }
    QSpinBox *numberStepEdit() const { return m_numberStep; }

private:
    void limitMinutes();

    Mode m_mode;
    Document &m_doc;
    TrainListEditor &m_editor;
    int m_train = -1;
    int m_row = 0;
    QDoubleSpinBox *m_minutes = nullptr;
    QCheckBox *m_fromRow = nullptr;
    QSpinBox *m_count = nullptr;
    QSpinBox *m_interval = nullptr;
    QSpinBox *m_numberStep = nullptr;
};
