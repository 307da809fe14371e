#pragma once

#include "model/Conflict.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The conflicts of one section or station: its first `cap`, in no order,
// and how many there are. The list fills the room it has before it is cut
// back, so keeping the first costs a selection now and then, not a sort;
// once cut, a conflict after the last kept is only counted, as it can never
// be among the first, and the room is not outgrown.
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
        if (m_list.size() > static_cast<size_t>(m_cap) && m_list.size() == m_list.capacity())
            trim();
    }
    void clear();
    // Keeps only those not after `last`; the count stays.
    void dropAfter(const Conflict &last);
    // Leaves the first `cap`.
    void trim();
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
    std::vector<Conflict> m_list;
    // The last kept since the list was first cut.
    std::optional<Conflict> m_last;
    int32_t m_cap = 0;
    int64_t m_total = 0;
    int64_t m_warnings = 0;
};
