#pragma once

#include "io/DocumentSnapshot.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <memory>

class Document;

// The document's undo history and its modified state.
//
// A command that may change the document runs between begin() and
// commit(name) (EditStep does both): begin takes a snapshot of the
// document, commit takes another and, when the content differs, pushes one
// step holding both onto a QUndoStack. One command is one step, whatever it
// did in between; a command that changed nothing leaves no step. Undo and
// redo restore a snapshot (the view stays as it is) and signal `restored`,
// on which the program makes the minute labels and renders as after Open.
//
// The stack keeps at most maxSteps steps and maxBytes of snapshots; the
// oldest steps go first, the newest always stays. A step's snapshot equal
// to its neighbour's shares its memory.
//
// Modified is the stack's clean state: markSaved() after a save, reset()
// when a document is opened or made anew (or recovered, modified). Undo
// back to the saved state is unmodified again. Undo and redo are not
// available during a command (a modal editor is open) or while blocked
// (the insert-train tool is open).
class EditHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxSteps = 100;
    static constexpr qint64 maxBytes = qint64(256) * 1024 * 1024;

    explicit EditHistory(Document &doc, QObject *parent = nullptr);
    ~EditHistory() override;

    // Commands nest: only the outermost begin and commit count.
    void begin();
    // True when the command changed the document and a step was pushed.
    // A step with the mergeId (>= 0) of the step just done joins it: the
    // presses of one held key are one step.
    bool commit(const QString &stepName, int mergeId = -1);
    bool inCommand() const { return m_depth > 0; }

    // A new document: no steps; unmodified, or modified (a recovered copy).
    void reset(bool modified = false);
    // The document is what its file now holds.
    void markSaved();
    bool isModified() const;

    void setBlocked(bool blocked);
    bool isBlocked() const { return m_blocked; }
    bool canUndo() const;
    bool canRedo() const;
    // The name of the step undo or redo would take; empty when none.
    QString undoText() const;
    QString redoText() const;
    // False when nothing was done; also when a snapshot could not be read,
    // in which case the document is as it was and the history is dropped.
    bool undo();
    bool redo();

    // The document as the history last saw it (after the latest command,
    // undo or redo), or null when it has seen none since the document came.
    std::shared_ptr<const DocumentSnapshot> current() const { return m_current; }

    int count() const { return m_stack.count(); }
    int index() const { return m_stack.index(); }
    // Memory the steps hold, shared snapshots counted once.
    qint64 bytesHeld() const;
    // Other bounds than maxSteps and maxBytes; takes effect with an empty
    // history (tests use small ones).
    void setLimits(int steps, qint64 bytes);

signals:
    // The modified state, the availability of undo or redo, or their names.
    void changed();
    // A step was pushed, undone or redone: the document is another one.
    void documentChanged();
    // Undo or redo has put a snapshot in the document's place.
    void restored();

private:
    friend class SnapshotStep;
    using Snapshot = std::shared_ptr<const DocumentSnapshot>;

    void apply(const Snapshot &snapshot);
    bool afterRestore();
    void trim();

    Document &m_doc;
    QUndoStack m_stack;
    std::shared_ptr<DocumentSnapshot> m_before;
    Snapshot m_current;
    int m_depth = 0;
    bool m_blocked = false;
    bool m_restoreFailed = false;
    qint64 m_byteLimit = maxBytes;
};

// One command of the history: begins on construction, commits on
// destruction under the name it has by then.
class EditStep
{
public:
    EditStep(EditHistory &history, QString name = {}) : m_history(history), m_name(std::move(name))
    {
        m_history.begin();
    }
    ~EditStep() { m_history.commit(m_name, m_mergeId); }
    EditStep(const EditStep &) = delete;
    EditStep &operator=(const EditStep &) = delete;

    void setName(QString name) { m_name = std::move(name); }
    void setMergeId(int id) { m_mergeId = id; }

private:
    EditHistory &m_history;
    QString m_name;
    int m_mergeId = -1;
};
