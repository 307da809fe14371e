#pragma once

#include "ConflictCheck.h"

#include <cstdint>
#include <vector>

class Document;

// Keeps a ConflictCheck in step with its document without being told what
// changed: before the marks are drawn or the list is shown, refresh()
// compares a fingerprint of what the check reads (the stations' positions,
// kinds and tracks, the line's tracks and headway, every train's rows and
// "Podle potřeby") with the one it checked. Nothing of that changed (a
// label was moved, the view scrolled): nothing is done. One train changed,
// or trains were appended: only those are checked again. Anything else: a
// full check.
class ConflictWatch
{
public:
    explicit ConflictWatch(const Document &doc);

    // True when the conflicts may have changed.
    bool refresh();

    const std::vector<Conflict> &conflicts() const { return m_check.conflicts(); }
    const ConflictCheck &check() const { return m_check; }

    // How often each way was taken, for tests and benchmarks.
    int fullChecks() const { return m_fullChecks; }
    int trainChecks() const { return m_trainChecks; }

private:
    uint64_t lineFingerprint() const;

    const Document &m_doc;
    ConflictCheck m_check;
    bool m_checked = false;
    uint64_t m_line = 0;
    std::vector<uint64_t> m_trains;
    int m_fullChecks = 0;
    int m_trainChecks = 0;
};
