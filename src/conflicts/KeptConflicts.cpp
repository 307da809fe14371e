#include "KeptConflicts.h"

#include "ListRoom.h"

#include <algorithm>

void KeptConflicts::dropAfter(const Conflict &last)
{
    std::erase_if(m_list, [&last](const Conflict &c) { return last < c; });
}

void KeptConflicts::clear()
{
    m_list.clear();
    m_last.reset();
    m_total = 0;
    m_warnings = 0;
    m_offered = 0;
}

void KeptConflicts::trim()
{
    if (m_shared && m_offered < m_list.size()) {
        const std::optional<Conflict> bound = m_shared->offer(std::span<const Conflict>(m_list).subspan(m_offered));
        if (bound && (!m_last || *bound < *m_last)) {
            m_last = bound;
            dropAfter(*bound);
        }
        m_offered = m_list.size();
    }
    if (m_list.size() <= static_cast<size_t>(m_cap))
        return;
    if (m_cap <= 0) {
        m_list.clear();
        m_offered = 0;
        return;
    }
    std::nth_element(m_list.begin(), m_list.begin() + (m_cap - 1), m_list.end());
    m_list.resize(static_cast<size_t>(m_cap));
    m_last = m_list.back();
    m_offered = m_list.size();
}

void KeptConflicts::share(SharedBound *bound)
{
    m_shared = bound;
    m_offered = 0;
}

void KeptConflicts::finish()
{
    trim();
    m_shared = nullptr;
    m_offered = 0;
    giveBackRoom();
}

void KeptConflicts::giveBackRoom()
{
    ListRoom::giveBack(m_list);
}

bool KeptConflicts::removeTrain(int32_t train)
{
    if (cut())
        return false;
    std::erase_if(m_list, [train](const Conflict &c) { return c.trainA == train || c.trainB == train; });
    m_total = static_cast<int64_t>(m_list.size());
    m_warnings = std::count_if(m_list.begin(), m_list.end(), [](const Conflict &c) { return c.isWarning(); });
    return true;
}

std::optional<Conflict> SharedBound::offer(std::span<const Conflict> added)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    for (const Conflict &c : added)
        m_first.push_back(c);
    // The last kept when the list was last cut: all before it are the
    // first `cap` of what was taken then.
    return m_first.m_last;
}
