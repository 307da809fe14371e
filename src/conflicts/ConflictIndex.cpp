#include "ConflictIndex.h"

#include "DayCircle.h"
#include "SectionRules.h"
#include "StationRules.h"

#include "model/Document.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <numeric>

namespace {

constexpr auto passageBefore = [](const TrainTrace::Passage &a, const TrainTrace::Passage &b) {
    return DayCircle::before(a.tIn, a.tOut, a.train, a.seq, b.tIn, b.tOut, b.train, b.seq);
};

constexpr auto visitBefore = [](const TrainTrace::Visit &a, const TrainTrace::Visit &b) {
    return DayCircle::before(a.arr, a.dep, a.train, a.seq, b.arr, b.dep, b.train, b.seq);
};

// Over the pool's threads and the calling one; with no pool, on the calling
// thread alone.
template <typename Items, typename Step> void each(QThreadPool *pool, Items &items, Step step)
{
    if (pool)
        QtConcurrent::blockingMap(pool, items, step);
    else
        std::for_each(items.begin(), items.end(), step);
}

} // namespace

void ConflictIndex::rebuild(const Document &doc, int32_t kept, QThreadPool *pool)
{
    m_layout.build(doc, kept);
    const auto trains = static_cast<int32_t>(doc.trains.size());
    m_traces.assign(static_cast<size_t>(trains), {});
    std::vector<int32_t> order(static_cast<size_t>(trains));
    std::iota(order.begin(), order.end(), 0);
    each(pool, order, [this, &doc](int32_t t) { m_traces[static_cast<size_t>(t)] = TrainTrace::of(doc, m_layout, t); });
    for (const TrainTrace &trace : m_traces) {
        for (const auto &[s, p] : trace.passages)
            m_layout.sections[static_cast<size_t>(s)].passages.push_back(p);
        for (const auto &[g, v] : trace.visits)
            m_layout.places[static_cast<size_t>(g)].visits.push_back(v);
    }
    const SectionRules sectionRules(doc, m_traces);
    each(pool, m_layout.sections, [&sectionRules](LineLayout::Section &section) {
        std::sort(section.passages.begin(), section.passages.end(), passageBefore);
        for (const TrainTrace::Passage &p : section.passages)
            section.longest = std::max(section.longest, p.tOut - p.tIn);
        sectionRules.check(section);
    });
    const StationRules stationRules(doc);
    each(pool, m_layout.places, [&stationRules](LineLayout::Place &place) {
        std::sort(place.visits.begin(), place.visits.end(), visitBefore);
        stationRules.check(place);
        place.conflicts.trim();
    });
}

void ConflictIndex::recheck(const Document &doc, int32_t t, std::vector<int32_t> &sections,
                            std::vector<int32_t> &places)
{
    sections.clear();
    places.clear();
    auto touched = [&](const TrainTrace &trace) {
        for (const auto &[s, p] : trace.passages)
            sections.push_back(s);
        for (const auto &[g, v] : trace.visits)
            places.push_back(g);
    };
    if (t < trainCount()) {
        touched(m_traces[static_cast<size_t>(t)]);
        remove(t);
    } else {
        m_traces.emplace_back();
    }
    m_traces[static_cast<size_t>(t)] = TrainTrace::of(doc, m_layout, t);
    insert(t);
    const TrainTrace &trace = m_traces[static_cast<size_t>(t)];
    touched(trace);
    std::sort(sections.begin(), sections.end());
    sections.erase(std::unique(sections.begin(), sections.end()), sections.end());
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());

    const SectionRules sectionRules(doc, m_traces);
    for (int32_t s : sections) {
        LineLayout::Section &section = m_layout.sections[static_cast<size_t>(s)];
        if (!section.conflicts.removeTrain(t)) {
            sectionRules.check(section);
            continue;
        }
        for (const auto &[ps, p] : trace.passages)
            if (ps == s)
                sectionRules.checkPassage(section, p, false, section.conflicts);
        section.conflicts.trim();
    }
    const StationRules stationRules(doc);
    for (int32_t g : places) {
        LineLayout::Place &place = m_layout.places[static_cast<size_t>(g)];
        stationRules.check(place);
        place.conflicts.trim();
    }
}

void ConflictIndex::insert(int32_t train)
{
    const TrainTrace &trace = m_traces[static_cast<size_t>(train)];
    for (const auto &[s, p] : trace.passages) {
        LineLayout::Section &section = m_layout.sections[static_cast<size_t>(s)];
        const auto at = std::upper_bound(section.passages.begin(), section.passages.end(), p, passageBefore);
        section.passages.insert(at, p);
        section.longest = std::max(section.longest, p.tOut - p.tIn);
    }
    for (const auto &[g, v] : trace.visits) {
        LineLayout::Place &place = m_layout.places[static_cast<size_t>(g)];
        const auto at = std::upper_bound(place.visits.begin(), place.visits.end(), v, visitBefore);
        place.visits.insert(at, v);
    }
}

void ConflictIndex::remove(int32_t train)
{
    const TrainTrace &trace = m_traces[static_cast<size_t>(train)];
    for (const auto &[s, p] : trace.passages)
        std::erase_if(m_layout.sections[static_cast<size_t>(s)].passages,
                      [train](const TrainTrace::Passage &q) { return q.train == train; });
    for (const auto &[g, v] : trace.visits)
        std::erase_if(m_layout.places[static_cast<size_t>(g)].visits,
                      [train](const TrainTrace::Visit &w) { return w.train == train; });
}
