#pragma once

#include "model/Conflict.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

class SharedBound;

// The conflicts of one section or station: its first `cap`, in no order,
// and how many there are. The list fills the room it has before it is cut
// back, so keeping the first costs a selection now and then, not a sort;
// once cut, a conflict after the last kept is only counted, as it can never
// be among the first, and the room is not outgrown.
//
// While many lists are filled at once (the whole line checked), they may
// share a SharedBound: every few hundred conflicts a list hands its new ones
// over and keeps only those up to the last the first `cap` of all lists
// can hold. The lists then hold about one list's worth between them instead
// of one each.
class KeptConflicts
{
public:
    KeptConflicts() = default;
    explicit KeptConflicts(int32_t cap) : m_cap(cap) {}

    void push_back(const Conflict &c)
    {
        ++m_total;
        if (c.isWarning())
            ++m_warnings;
        if (m_last && *m_last < c)
            return;
        m_list.push_back(c);
        if (m_shared ? m_list.size() - m_offered >= shareEvery
                     : m_list.size() > static_cast<size_t>(m_cap) && m_list.size() == m_list.capacity())
            trim();
    }
    void clear();
    // Keeps only those not after `last`; the count stays.
    void dropAfter(const Conflict &last);
    // Gives back the room of those dropped, when it is much (ListRoom).
    void giveBackRoom();
    // Leaves the first `cap`, and with a shared bound no more than it allows.
    void trim();
    // The list is filled beside others sharing `bound` until finish(), which
    // hands the last ones over, keeps what the bound allows and gives back
    // the room left.
    void share(SharedBound *bound);
    void finish();
    // Takes out the conflicts of one train: false, changing nothing, when
    // some were dropped before (the caller checks all again).
    bool removeTrain(int32_t train);
    bool cut() const { return m_total > static_cast<int64_t>(m_list.size()); }
    int64_t total() const { return m_total; }
    int64_t warnings() const { return m_warnings; }
    auto begin() const { return m_list.begin(); }
    auto end() const { return m_list.end(); }
    size_t size() const { return m_list.size(); }

private:
    static constexpr size_t shareEvery = 512;

    std::vector<Conflict> m_list;
    // The last kept since the list was first cut.
    std::optional<Conflict> m_last;
    int32_t m_cap = 0;
    int64_t m_total = 0;
    int64_t m_warnings = 0;
    SharedBound *m_shared = nullptr;
    // The list's first m_offered were handed to m_shared.
    size_t m_offered = 0;

    friend class SharedBound;
};

// The first `cap` of what many lists hand over, on any threads, and so the
// last conflict any of them needs to keep.
class SharedBound
{
public:
    explicit SharedBound(int32_t cap) : m_first(cap) {}
    // Takes the conflicts; once more were taken than `cap`, the last of
    // the first `cap` when its list was last cut (none of the first `cap`
    // of all comes after it).
    std::optional<Conflict> offer(std::span<const Conflict> added);
    // Whether a list was told to keep fewer than it found.
    bool cut() const { return m_first.cut(); }

private:
    std::mutex m_mutex;
    KeptConflicts m_first;
};
