#pragma once

#include "MouseEvent.h"
#include "TrainPick.h"

#include "model/Records.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class Diagram;
class EditHistory;

// Moving a train on the diagram: a left press that no label took picks the
// train whose line is under the pointer (TrainPick), draws it green as the
// find command does and names it with the time under the pointer; the pick
// stays until Esc. Dragging moves it by the pointer's horizontal travel in
// half-minutes (TrainShift), redrawn at every new step with its labels and
// its conflict marks; with Shift held at the press only the row nearest the
// press and the rows after it move, held to the row ahead of it. The
// release is one undo step ("posun vlaku Os 13262 o +10 min"); Esc during
// the drag puts the train back and records nothing. Alt+arrows move the
// picked train (or its picked rows) by a half-minute or, with Shift, five
// minutes: one step per press, one for all the presses of a held key.
class TrainDrag
{
public:
    static constexpr int keyStep = 1;       // half-minutes, Alt+arrow
    static constexpr int shiftKeyStep = 10; // Alt+Shift+arrow

    TrainDrag(Diagram &diagram, EditHistory &history) : m_diagram(diagram), m_history(history) {}

    // A left press no label took. Returns whether a train was picked.
    bool press(const MouseEvent &e);
    void move(const MouseEvent &e);
    // The drag ends where it is: one undo step when the train moved.
    void release();
    // Esc: a drag puts the train back (true); otherwise the pick is
    // forgotten and false lets the view drop the highlight as for a found
    // train.
    bool escape();
    // An Alt+arrow; repeat: the key is held. False without a pick.
    bool nudge(int amount, bool repeat);
    // Another document, or the lists edited: nothing is picked any more.
    void forget();

    bool picked();
    bool dragging() const { return m_dragging; }
    int train() const { return m_pick.train; }
    int fromRow() const { return m_pick.row; }
    // Half-minutes the drag has moved the train so far.
    int amount() const { return m_amount; }
    // "Os 13262  10:25:30", with "  +10 min" while a drag has moved it.
    const QString &status() const { return m_status; }
    // Called with the status text whenever it changes (empty: nothing
    // picked).
    std::function<void(const QString &)> statusChanged;

private:
    QPoint diagramPoint(QPoint viewPoint) const;
    void showStatus(QPoint viewPoint);
    // The train and its labels as the press found them.
    void putBack();
    void followWait(int rowsBefore);
    void renderMoved();

    Diagram &m_diagram;
    EditHistory &m_history;
    TrainPick::Hit m_pick;
    QByteArray m_name;
    bool m_dragging = false;
    int m_pressX = 0;
    int m_amount = 0;
    Train m_original;
    std::vector<std::pair<size_t, double>> m_labelTimes;
    QString m_status;
    // The held key's presses: the step they join, how far they moved.
    int m_mergeId = 0;
    int m_keyTotal = 0;
};
