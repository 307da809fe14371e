#pragma once

#include "editing/TimetableDiff.h"

#include <QDialog>

class QLabel;
class QTreeWidget;

// "Rozdíly": what changed against the compared document, one row a train
// (its name, "přidán", "zrušen" or "změněn", and where and how), with the
// counts under it and, when a name stands twice, a note that such trains
// were paired in list order. The window stays open beside the diagram; its
// owner hands it the comparison again after every change. Choosing a row
// (by the mouse or the keys) asks the owner to show that train.
class DifferenceListDialog : public QDialog
{
    Q_OBJECT

public:
    enum Column { TrainColumn, KindColumn, DetailColumn };

    explicit DifferenceListDialog(QWidget *parent = nullptr);

    // The rows anew; the row chosen before stays chosen when it is still
    // in the list.
    void setResult(const TimetableDiff::Result &result);

    QTreeWidget *list() const { return m_list; }
    QString summary() const;

signals:
    // The trains of the row chosen (0-based; -1 for the side it is not on).
    void differenceChosen(int currentTrain, int comparedTrain);

private:
    void currentChanged();

    std::vector<TimetableDiff::Row> m_rows;
    bool m_filling = false;
    QTreeWidget *m_list = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_note = nullptr;
};
