#include "EditHistory.h"

#include <QSet>
#include <QUndoCommand>

#include <exception>
#include <vector>

// A step: the document before and after one command. Pushing it does not
// run it again; the command has done its work already.
class SnapshotStep : public QUndoCommand
{
public:
    using Snapshot = std::shared_ptr<const DocumentSnapshot>;

    SnapshotStep(EditHistory &history, const QString &name, Snapshot before, Snapshot after, int mergeId = -1)
        : QUndoCommand(name), before(std::move(before)), after(std::move(after)), m_history(history), m_mergeId(mergeId)
    {
    }

    int id() const override { return m_mergeId; }
    // A step of the same repeated key as the step below it: one step from
    // the first document to the last, under the newest name.
    bool mergeWith(const QUndoCommand *other) override
    {
        after = static_cast<const SnapshotStep *>(other)->after;
        setText(other->text());
        return true;
    }

    void undo() override { m_history.apply(before); }
    void redo() override
    {
        if (m_pushed) {
            m_pushed = false;
            return;
        }
        m_history.apply(after);
    }

    const Snapshot before;
    Snapshot after;

private:
    EditHistory &m_history;
    int m_mergeId;
    bool m_pushed = true;
};

namespace {

const SnapshotStep *stepAt(const QUndoStack &stack, int i)
{
    return static_cast<const SnapshotStep *>(stack.command(i));
}

// Bytes of the steps' snapshots, every buffer counted once.
qint64 uniqueBytes(const std::vector<const SnapshotStep *> &steps, size_t from)
{
    QSet<const void *> seen;
    qint64 total = 0;
    auto add = [&](const DocumentSnapshot &s) {
        if (!seen.contains(s.contentId())) {
            seen.insert(s.contentId());
            total += s.contentSize();
        }
        if (!seen.contains(s.imagesId())) {
            seen.insert(s.imagesId());
            total += s.imagesSize();
        }
    };
    for (size_t i = from; i < steps.size(); ++i) {
        add(*steps[i]->before);
        add(*steps[i]->after);
    }
    return total;
}

std::vector<const SnapshotStep *> stepsOf(const QUndoStack &stack)
{
    std::vector<const SnapshotStep *> steps;
    for (int i = 0; i < stack.count(); ++i)
        steps.push_back(stepAt(stack, i));
    return steps;
}

} // namespace

EditHistory::EditHistory(Document &doc, QObject *parent) : QObject(parent), m_doc(doc)
{
    m_stack.setUndoLimit(maxSteps);
}

EditHistory::~EditHistory() = default;

void EditHistory::begin()
{
    if (m_depth++ > 0)
        return;
    m_before = std::make_shared<DocumentSnapshot>(DocumentSnapshot::take(m_doc));
    emit changed();
}

bool EditHistory::commit(const QString &stepName, int mergeId)
{
    if (m_depth == 0 || --m_depth > 0)
        return false;
    bool pushed = false;
    try {
        std::shared_ptr<DocumentSnapshot> before = std::move(m_before);
        auto after = std::make_shared<DocumentSnapshot>(DocumentSnapshot::take(m_doc));
        if (!after->sameContent(*before)) {
            // Nothing came between the last command and this one: the same
            // document is held once.
            if (m_current)
                before->shareEqualParts(*m_current);
            after->shareEqualParts(*before);
            m_stack.push(new SnapshotStep(*this, stepName, before, after, mergeId));
            pushed = true;
        }
        m_current = after;
        if (pushed)
            trim();
    } catch (const std::exception &) {
        // No memory for the history: the document stays as the command
        // left it, without steps to take back.
        m_before.reset();
        reset(true);
        return false;
    }
    emit changed();
    if (pushed)
        emit documentChanged();
    return pushed;
}

void EditHistory::reset(bool modified)
{
    m_stack.clear();
    if (modified)
        m_stack.resetClean();
    m_current.reset();
    emit changed();
}

void EditHistory::markSaved()
{
    m_stack.setClean();
    emit changed();
}

bool EditHistory::isModified() const
{
    return !m_stack.isClean();
}

void EditHistory::setBlocked(bool blocked)
{
    if (blocked == m_blocked)
        return;
    m_blocked = blocked;
    emit changed();
}

bool EditHistory::canUndo() const
{
    return !m_blocked && m_depth == 0 && m_stack.canUndo();
}

bool EditHistory::canRedo() const
{
    return !m_blocked && m_depth == 0 && m_stack.canRedo();
}

QString EditHistory::undoText() const
{
    return m_stack.canUndo() ? m_stack.undoText() : QString();
}

QString EditHistory::redoText() const
{
    return m_stack.canRedo() ? m_stack.redoText() : QString();
}

bool EditHistory::undo()
{
    if (!canUndo())
        return false;
    m_restoreFailed = false;
    m_stack.undo();
    return afterRestore();
}

bool EditHistory::redo()
{
    if (!canRedo())
        return false;
    m_restoreFailed = false;
    m_stack.redo();
    return afterRestore();
}

bool EditHistory::afterRestore()
{
    if (m_restoreFailed) {
        // The stack has moved but the document has not: the history no
        // longer describes it.
        reset(true);
        return false;
    }
    emit changed();
    emit documentChanged();
    return true;
}

void EditHistory::apply(const Snapshot &snapshot)
{
    if (!snapshot->restore(m_doc, DocumentSnapshot::View::Keep)) {
        m_restoreFailed = true;
        return;
    }
    m_current = snapshot;
    emit restored();
}

qint64 EditHistory::bytesHeld() const
{
    return uniqueBytes(stepsOf(m_stack), 0);
}

void EditHistory::setLimits(int steps, qint64 bytes)
{
    reset();
    m_stack.setUndoLimit(steps);
    m_byteLimit = bytes;
}

void EditHistory::trim()
{
    // QUndoStack drops the steps beyond its count itself; it knows nothing
    // of memory. Steps are pushed only at the top, so every step is one to
    // undo here, and the oldest go first. The stack cannot lose its bottom
    // steps, so it is made again from the ones that stay.
    const std::vector<const SnapshotStep *> old = stepsOf(m_stack);
    if (old.size() <= 1 || uniqueBytes(old, 0) <= m_byteLimit)
        return;
    size_t drop = 1;
    while (drop + 1 < old.size() && uniqueBytes(old, drop) > m_byteLimit)
        ++drop;

    struct Kept
    {
        QString name;
        Snapshot before, after;
    };
    std::vector<Kept> kept;
    for (size_t i = drop; i < old.size(); ++i)
        kept.push_back({old[i]->text(), old[i]->before, old[i]->after});
    const int clean = m_stack.cleanIndex(); // -1 once the saved state has gone
    const int n = static_cast<int>(old.size());

    m_stack.clear();
    for (int i = static_cast<int>(drop); i < n; ++i) {
        if (clean == i)
            m_stack.setClean();
        const Kept &k = kept[static_cast<size_t>(i) - drop];
        m_stack.push(new SnapshotStep(*this, k.name, k.before, k.after));
    }
    if (clean == n)
        m_stack.setClean();
    else if (clean < static_cast<int>(drop))
        m_stack.resetClean();
}
