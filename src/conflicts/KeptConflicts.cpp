#include "KeptConflicts.h"

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
}

void KeptConflicts::trim()
{
    if (m_list.size() <= static_cast<size_t>(m_cap))
        return;
    if (m_cap <= 0) {
        m_list.clear();
        return;
    }
    std::nth_element(m_list.begin(), m_list.begin() + (m_cap - 1), m_list.end());
    m_list.resize(static_cast<size_t>(m_cap));
    m_last = m_list.back();
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
