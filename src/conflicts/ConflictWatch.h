#pragma once

#include "ConflictCheck.h"

#include <QObject>
#include <QThreadPool>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Document;

// Keeps a ConflictCheck in step with its document without being told what
// changed: before the marks are drawn or the list is shown, refresh()
// compares a fingerprint of what the check reads (the stations' positions,
// kinds and tracks, the line's tracks and headway, every train's rows and
// "Podle potřeby") with the one it checked. Nothing of that changed (a
// label was moved, the view scrolled): nothing is done. One train changed,
// or trains were appended: only those are checked again, at once (a
// millisecond), unless beside the work on a line of more conflicts than
// the list keeps: such a line is checked whole, and the worker lets the
// index go. Anything else: a full check.
//
// In the foreground (the command-line tool, the tests) the full check is
// done before refresh() returns. Beside the work (setBeside, the editor) it
// runs on a worker with a copy of what it reads, started from the event
// loop once the picture that asked for it is made; refresh() returns at once
// and the conflicts stay those checked before (none when the line itself
// changed) until the worker ends: its result is taken on the watch's thread
// and `checked` is called. An edit that needs another full check meanwhile
// starts it, and the one in flight is dropped when it ends.
class ConflictWatch
{
public:
    explicit ConflictWatch(const Document &doc);
    ~ConflictWatch();

    // True when the conflicts may have changed.
    bool refresh();

    void setBeside(std::function<void()> checked);
    // A full check runs on a worker.
    bool pending() const { return m_inFlight != nullptr; }
    // Waits for the check in flight and takes its result (no `checked`).
    void wait();

    const std::vector<Conflict> &conflicts() const { return m_check.conflicts(); }
    const ConflictCheck &check() const { return m_check; }

    // How often each way was taken, for tests and benchmarks.
    int fullChecks() const { return m_fullChecks; }
    int trainChecks() const { return m_trainChecks; }

private:
    struct Job;

    uint64_t lineFingerprint() const;
    void startJob(uint64_t line, std::vector<uint64_t> trains);
    void launch(const std::shared_ptr<Job> &job);
    void take(const std::shared_ptr<Job> &job);

    const Document &m_doc;
    ConflictCheck m_check; // its list stays where the renderer finds it
    bool m_checked = false;
    uint64_t m_line = 0;
    std::vector<uint64_t> m_trains;
    int m_fullChecks = 0;
    int m_trainChecks = 0;

    std::function<void()> m_onChecked;
    bool m_beside = false;
    std::shared_ptr<Job> m_inFlight;
    // Receives the workers' results; the results of a watch gone are dropped.
    QObject m_context;
    // The threads the worker's check spreads over, with the worker's own:
    // all cores but one, so that the labels and the picture, which use the
    // shared pool, never wait for a check. On two cores the worker checks
    // alone.
    QThreadPool m_checkPool;
    // The worker: one thread of its own. Gone first, waiting for a check in
    // flight.
    QThreadPool m_worker;
};
