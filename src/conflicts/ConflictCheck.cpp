#include "ConflictCheck.h"

#include "model/Document.h"

#include <algorithm>

namespace {

// How many lists' worth of conflicts the sections and stations may keep
// between them before each keeps only what comes before the list's last.
constexpr int64_t heldLists = 16;

} // namespace

ConflictCheck::ConflictCheck(const Document &doc, int32_t kept) : m_doc(&doc), m_kept(kept)
{
}

void ConflictCheck::recompute()
{
    m_released = false;
    m_index.rebuild(*m_doc, m_kept, m_pool);
    settle();
}

void ConflictCheck::recheckTrain(int32_t index)
{
    if (m_released) {
        recompute();
        return;
    }
    const auto trains = static_cast<int32_t>(m_doc->trains.size());
    if (trains < m_index.trainCount() || index < 0 || index >= trains) {
        if (trains != m_index.trainCount())
            recompute();
        return;
    }
    // Trains appended since are traced one by one after the edited one.
    std::vector<int32_t> todo;
    if (index < m_index.trainCount())
        todo.push_back(index);
    for (auto t = m_index.trainCount(); t < trains; ++t)
        todo.push_back(t);

    // A list already gathered is kept sorted: what the trains' changes took
    // out goes, what they put in is merged.
    const bool keepAll = !m_allStale && countAll() <= m_kept;
    std::vector<int32_t> sections;
    std::vector<int32_t> places;
    for (int32_t t : todo) {
        m_index.recheck(*m_doc, t, sections, places);
        if (keepAll)
            mergeChanges(t, sections, places);
    }
    // The list is merged only while it holds every conflict. Beyond that,
    // the sections and stations left alone kept only what came before the
    // list's last: enough while they and the ones checked again hold
    // `kept` up to there.
    if (keepAll && countAll() <= m_kept)
        return;
    if (m_cutAfter) {
        int64_t before = 0;
        eachKept([&](const Conflict &c) { before += !(*m_cutAfter < c); });
        if (before < m_kept) {
            recompute();
            return;
        }
    }
    settle();
}

// A section's conflicts of other trains stay as they were; a station's may
// change with any train standing there, so they are all taken anew.
void ConflictCheck::mergeChanges(int32_t train, const std::vector<int32_t> &sections,
                                 const std::vector<int32_t> &places)
{
    std::vector<int32_t> stations;
    stations.reserve(places.size());
    for (int32_t g : places)
        stations.push_back(m_index.layout().places[static_cast<size_t>(g)].station);
    std::sort(stations.begin(), stations.end());
    std::erase_if(m_all, [&](const Conflict &c) {
        if (c.atStation())
            return std::binary_search(stations.begin(), stations.end(), c.stationLow);
        return c.trainA == train || c.trainB == train;
    });
    std::vector<Conflict> added;
    for (int32_t s : sections)
        for (const Conflict &c : m_index.layout().sections[static_cast<size_t>(s)].conflicts)
            if (c.trainA == train || c.trainB == train)
                added.push_back(c);
    for (int32_t g : places) {
        const KeptConflicts &own = m_index.layout().places[static_cast<size_t>(g)].conflicts;
        added.insert(added.end(), own.begin(), own.end());
    }
    std::sort(added.begin(), added.end());
    const auto middle = static_cast<std::ptrdiff_t>(m_all.size());
    m_all.insert(m_all.end(), added.begin(), added.end());
    std::inplace_merge(m_all.begin(), m_all.begin() + middle, m_all.end());
}

template <typename F> void ConflictCheck::eachKept(F &&f) const
{
    for (const LineLayout::Section &s : m_index.layout().sections)
        for (const Conflict &c : s.conflicts)
            f(c);
    for (const LineLayout::Place &p : m_index.layout().places)
        for (const Conflict &c : p.conflicts)
            f(c);
}

const std::vector<Conflict> &ConflictCheck::conflicts() const
{
    if (m_allStale) {
        // The first `kept` of what the sections and stations keep, never
        // more than twice that at hand.
        m_all.clear();
        KeptConflicts first(m_kept);
        eachKept([&first](const Conflict &c) { first.push_back(c); });
        first.trim();
        m_all.assign(first.begin(), first.end());
        std::sort(m_all.begin(), m_all.end());
        m_allStale = false;
    }
    return m_all;
}

void ConflictCheck::settle()
{
    m_allStale = true;
    m_cutAfter.reset();
    if (countAll() <= m_kept)
        return;
    conflicts();
    // What the sections and stations keep stays whole while it is a few
    // lists' worth and each holds its own first: a recheck then checks what
    // the train touched alone. Cut to a shared bound, they hold only what
    // the list needs, and a recheck must know up to where.
    int64_t held = 0;
    eachKept([&held](const Conflict &) { ++held; });
    if (held <= heldLists * static_cast<int64_t>(m_kept) && !m_index.boundCut())
        return;
    const Conflict last = m_all.back();
    m_cutAfter = last;
    for (LineLayout::Section &s : m_index.layout().sections) {
        s.conflicts.dropAfter(last);
        s.conflicts.giveBackRoom();
    }
    for (LineLayout::Place &p : m_index.layout().places) {
        p.conflicts.dropAfter(last);
        p.conflicts.giveBackRoom();
    }
}

int64_t ConflictCheck::countAll() const
{
    if (m_released)
        return m_total;
    m_total = 0;
    m_warnings = 0;
    for (const LineLayout::Section &s : m_index.layout().sections) {
        m_total += s.conflicts.total();
        m_warnings += s.conflicts.warnings();
    }
    for (const LineLayout::Place &p : m_index.layout().places) {
        m_total += p.conflicts.total();
        m_warnings += p.conflicts.warnings();
    }
    return m_total;
}

int64_t ConflictCheck::total() const
{
    return countAll();
}

int64_t ConflictCheck::warningCount() const
{
    countAll();
    return m_warnings;
}

void ConflictCheck::releaseIndex()
{
    conflicts();
    countAll();
    m_released = true;
    m_cutAfter.reset();
    m_index = ConflictIndex();
}

std::vector<Conflict> ConflictCheck::conflictsOf(int32_t train) const
{
    std::vector<Conflict> out;
    for (const Conflict &c : conflicts())
        if (c.trainA == train || c.trainB == train)
            out.push_back(c);
    return out;
}
