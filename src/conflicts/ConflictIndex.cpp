#include "ConflictIndex.h"

#include "DayCircle.h"
#include "ListRoom.h"
#include "SectionRules.h"
#include "StationRules.h"

#include "model/Document.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <numeric>
#include <span>

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
    m_where.assign(m_traces.size(), {});
    // The trains are traced in runs and each run's passages and visits
    // filed where they go at once: never more than a run's are held twice.
    constexpr int32_t run = 512;
    std::vector<int32_t> part;
    for (int32_t from = 0; from < trains; from += run) {
        part.resize(static_cast<size_t>(std::min(run, trains - from)));
        std::iota(part.begin(), part.end(), from);
        each(pool, part,
             [this, &doc](int32_t t) { m_traces[static_cast<size_t>(t)] = TrainTrace::of(doc, m_layout, t); });
        for (int32_t t : part) {
            for (const auto &[s, p] : m_traces[static_cast<size_t>(t)].passages)
                m_layout.sections[static_cast<size_t>(s)].passages.push_back(p);
            for (const auto &[g, v] : m_traces[static_cast<size_t>(t)].visits)
                m_layout.places[static_cast<size_t>(g)].visits.push_back(v);
            keepWhere(t);
        }
        // The first run foretells how full each list gets: reserved now,
        // the lists are not doubled, and held twice over, as they fill.
        if (from == 0 && trains > run) {
            const auto foretell = [trains](auto &list) {
                const size_t expected = list.size() * static_cast<size_t>(trains) / static_cast<size_t>(run);
                list.reserve(expected + expected / 16 + 16);
            };
            for (LineLayout::Section &section : m_layout.sections)
                foretell(section.passages);
            for (LineLayout::Place &place : m_layout.places)
                foretell(place.visits);
        }
    }
    // The sections and places share one bound while they are checked, so
    // that a line of millions of conflicts holds about `kept` of them.
    SharedBound bound(kept);
    const SectionRules sectionRules(doc, m_traces);
    // The lists were grown a run at a time; one that left much room
    // unfilled gives it back before it is kept between edits.
    each(pool, m_layout.sections, [&sectionRules, &bound](LineLayout::Section &section) {
        ListRoom::giveBack(section.passages);
        std::sort(section.passages.begin(), section.passages.end(), passageBefore);
        for (const TrainTrace::Passage &p : section.passages)
            section.longest = std::max(section.longest, p.tOut - p.tIn);
        section.conflicts.share(&bound);
        sectionRules.check(section);
        section.conflicts.finish();
    });
    const StationRules stationRules(doc);
    each(pool, m_layout.places, [&stationRules, &bound](LineLayout::Place &place) {
        ListRoom::giveBack(place.visits);
        std::sort(place.visits.begin(), place.visits.end(), visitBefore);
        place.conflicts.share(&bound);
        stationRules.check(place);
        place.conflicts.finish();
    });
    m_boundCut = bound.cut();
}

void ConflictIndex::recheck(const Document &doc, int32_t t, std::vector<int32_t> &sections,
                            std::vector<int32_t> &places)
{
    sections.clear();
    places.clear();
    if (t < trainCount()) {
        const Where &before = m_where[static_cast<size_t>(t)];
        sections.assign(before.ids.begin(), before.ids.begin() + before.sections);
        places.assign(before.ids.begin() + before.sections, before.ids.end());
        remove(t);
    } else {
        m_traces.emplace_back();
        m_where.emplace_back();
    }
    m_traces[static_cast<size_t>(t)] = TrainTrace::of(doc, m_layout, t);
    insert(t);
    const TrainTrace &trace = m_traces[static_cast<size_t>(t)];
    for (const auto &[s, p] : trace.passages)
        sections.push_back(s);
    for (const auto &[g, v] : trace.visits)
        places.push_back(g);
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
    keepWhere(t);
}

// The sections and places hold the train's passages and visits; the train
// keeps only where they are.
void ConflictIndex::keepWhere(int32_t train)
{
    TrainTrace &trace = m_traces[static_cast<size_t>(train)];
    Where &where = m_where[static_cast<size_t>(train)];
    std::vector<int32_t> ids;
    ids.reserve(trace.passages.size() + trace.visits.size());
    for (const auto &sp : trace.passages)
        if (ids.empty() || ids.back() != sp.first)
            ids.push_back(sp.first);
    where.sections = static_cast<int32_t>(ids.size());
    for (const auto &gv : trace.visits)
        if (static_cast<int32_t>(ids.size()) == where.sections || ids.back() != gv.first)
            ids.push_back(gv.first);
    where.ids = std::move(ids);
    trace.passages = decltype(trace.passages)();
    trace.visits = decltype(trace.visits)();
}

void ConflictIndex::insert(int32_t train)
{
    const TrainTrace &trace = m_traces[static_cast<size_t>(train)];
    for (const auto &[s, p] : trace.passages) {
        LineLayout::Section &section = m_layout.sections[static_cast<size_t>(s)];
        ListRoom::insertSorted(section.passages, p, passageBefore);
        section.longest = std::max(section.longest, p.tOut - p.tIn);
    }
    for (const auto &[g, v] : trace.visits) {
        LineLayout::Place &place = m_layout.places[static_cast<size_t>(g)];
        ListRoom::insertSorted(place.visits, v, visitBefore);
    }
}

void ConflictIndex::remove(int32_t train)
{
    const Where &where = m_where[static_cast<size_t>(train)];
    const auto split = where.ids.begin() + where.sections;
    for (int32_t s : std::span(where.ids.begin(), split))
        std::erase_if(m_layout.sections[static_cast<size_t>(s)].passages,
                      [train](const TrainTrace::Passage &q) { return q.train == train; });
    for (int32_t g : std::span(split, where.ids.end()))
        std::erase_if(m_layout.places[static_cast<size_t>(g)].visits,
                      [train](const TrainTrace::Visit &w) { return w.train == train; });
}
