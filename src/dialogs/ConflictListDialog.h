#pragma once

#include "model/Conflict.h"

#include <QDialog>

#include <vector>

class ConflictCheck;
class Document;
class QLabel;
class QTreeWidget;

// "Konflikty": the conflicts of the line as a list beside the diagram, one
// row each (time, section or station, trains, kind), warnings of trains that
// run only as required in grey. The window stays open while the user edits;
// its owner hands it the list again whenever the check changes. Choosing a
// row (by the mouse or the keys) asks the owner to show that conflict.
class ConflictListDialog : public QDialog
{
    Q_OBJECT

public:
    enum Column { TimeColumn, PlaceColumn, TrainsColumn, KindColumn };

    explicit ConflictListDialog(QWidget *parent = nullptr);

    // The rows anew; the row chosen before stays chosen when its conflict
    // is still in the list.
    void setConflicts(const Document &doc, const std::vector<Conflict> &conflicts);
    // The check's first conflicts, a last row "… a dalších N" when it found
    // more, and the summary counting them all.
    void setConflicts(const Document &doc, const ConflictCheck &check);

    // The first row chosen and shown (each time the list opens).
    void chooseFirst();

    QTreeWidget *list() const { return m_list; }
    // "Chyby: 3, varování: 1", or "Žádné konflikty".
    QString summary() const;

signals:
    void conflictChosen(const Conflict &conflict);

private:
    void currentChanged();
    void fill(const Document &doc, const std::vector<Conflict> &conflicts, int64_t rest, int64_t warnings);

    std::vector<Conflict> m_conflicts;
    bool m_filling = false;
    QTreeWidget *m_list = nullptr;
    QLabel *m_summary = nullptr;
};
