#include "ConflictCheck.h"

#include <QtConcurrent/QtConcurrentMap>

#include "model/ClockTime.h"
#include "model/Document.h"
#include "model/Kilometres.h"
#include "model/Tracks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr double day = 1440.0;
// Slack for the searches only: what counts is decided by exact comparisons
// in relate, the same way whichever train is looked at first.
constexpr double searchSlack = 1e-6;
// Interpolated times carry rounding; a gap that is the minimum headway to
// within this is the minimum.
constexpr double headwaySlack = 1e-9;
// How many lists' worth of conflicts the sections and stations may keep
// between them before each keeps only what comes before the list's last.
constexpr int64_t heldLists = 16;

const double eightPm = makeTime(20, 0);
const double fourAm = makeTime(4, 0);

// The shift that brings a time into the day [0, 1440).
double dayShift(double t)
{
    return -std::floor(t / day) * day;
}

int8_t sign(double v)
{
    return v > 0 ? 1 : v < 0 ? -1 : 0;
}

int8_t visitDirection(int8_t in, int8_t out)
{
    if (in == 0)
        return out;
    if (out == 0 || out == in)
        return in;
    return 0; // turned back
}

bool passageBefore(double tIn, double tOut, int32_t train, int32_t seq, double tIn2, double tOut2, int32_t train2,
                   int32_t seq2)
{
    return std::tie(tIn, tOut, train, seq) < std::tie(tIn2, tOut2, train2, seq2);
}

} // namespace

// Walks a train's rows as the diagram draws them and cuts the line into
// pieces within sections and visits at the places.
class ConflictCheck::Tracer
{
public:
    Tracer(const ConflictCheck &check, int32_t train, TrainTrack &out)
        : m_places(check.m_places), m_sections(check.m_sections), m_train(train), m_out(out)
    {
    }

    double time() const { return m_t; }

    void start(double t, double d)
    {
        m_t = t;
        m_d = d;
        const int place = placeAt(d);
        if (place >= 0)
            openVisit(place, t, 0);
    }

    // A drawn segment from where the train is.
    void moveTo(double t1, double d1)
    {
        if (d1 == m_d) {
            // Standing at a kilometre point is drawn; at a station it is the
            // visit going on.
            if (m_visit < 0)
                addPiece(sectionOf(m_d, d1), t1, d1);
            m_t = t1;
            return;
        }
        const double t0 = m_t;
        const double d0 = m_d;
        const int8_t dir = d1 > d0 ? 1 : -1;
        // The places strictly between the ends, in the order passed.
        const auto lo = std::upper_bound(m_places.begin(), m_places.end(), std::min(d0, d1),
                                         [](double v, const Place &p) { return v < p.metres; });
        const auto hi = std::lower_bound(m_places.begin(), m_places.end(), std::max(d0, d1),
                                         [](const Place &p, double v) { return p.metres < v; });
        auto passPlace = [&](std::ptrdiff_t place) {
            const double pc = m_places[static_cast<size_t>(place)].metres;
            const double tc = t0 + (t1 - t0) * (pc - d0) / (d1 - d0);
            leave(dir);
            addPiece(sectionOf(m_d, pc), tc, pc);
            closePassage();
            openVisit(static_cast<int>(place), tc, dir);
            m_t = tc;
            m_d = pc;
        };
        if (lo < hi) {
            const std::ptrdiff_t first = lo - m_places.begin();
            const std::ptrdiff_t last = hi - m_places.begin() - 1;
            if (dir > 0)
                for (std::ptrdiff_t p = first; p <= last; ++p)
                    passPlace(p);
            else
                for (std::ptrdiff_t p = last; p >= first; --p)
                    passPlace(p);
        }
        leave(dir);
        addPiece(sectionOf(m_d, d1), t1, d1);
        const int place = placeAt(d1);
        if (place >= 0) {
            closePassage();
            openVisit(place, t1, dir);
        }
        m_t = t1;
        m_d = d1;
    }

    // A dwell at the station the train stands at.
    void stayUntil(double t) { m_t = t; }

    // The line ends, or breaks where it would go back in time.
    void finish()
    {
        closePassage();
        closeVisit(0);
    }

private:
    int placeAt(double d) const
    {
        const auto it = std::lower_bound(m_places.begin(), m_places.end(), d,
                                         [](const Place &p, double v) { return p.metres < v; });
        return it != m_places.end() && it->metres == d ? static_cast<int>(it - m_places.begin()) : -1;
    }

    // The section holding the stretch between two positions, or -1 beyond
    // the first and last station.
    int sectionOf(double a, double b) const
    {
        const double low = std::min(a, b);
        const double high = std::max(a, b);
        const auto it = std::upper_bound(m_places.begin(), m_places.end(), low,
                                         [](double v, const Place &p) { return v < p.metres; });
        const std::ptrdiff_t s = (it - m_places.begin()) - 1;
        if (s < 0 || s >= static_cast<std::ptrdiff_t>(m_sections.size()))
            return -1;
        return high <= m_sections[static_cast<size_t>(s)].dHigh ? static_cast<int>(s) : -1;
    }

    void leave(int8_t dir) { closeVisit(dir); }

    void addPiece(int section, double t1, double d1)
    {
        if (section < 0) {
            closePassage();
            return;
        }
        if (section != m_section) {
            closePassage();
            m_section = section;
            m_firstPiece = static_cast<int32_t>(m_out.pieces.size());
        }
        m_out.pieces.push_back({m_t, m_d, t1, d1});
    }

    void closePassage()
    {
        if (m_section < 0)
            return;
        const Section &s = m_sections[static_cast<size_t>(m_section)];
        const Piece &first = m_out.pieces[static_cast<size_t>(m_firstPiece)];
        const Piece &last = m_out.pieces.back();
        Passage p;
        p.shift = dayShift(first.t0);
        p.tIn = first.t0 + p.shift;
        p.tOut = last.t1 + p.shift;
        p.train = m_train;
        p.firstPiece = m_firstPiece;
        p.pieceCount = static_cast<int32_t>(m_out.pieces.size()) - m_firstPiece;
        p.seq = m_passageSeq++;
        p.dir = sign(last.d1 - first.d0);
        p.entersAtEnd = first.d0 == s.dLow || first.d0 == s.dHigh;
        p.leavesAtEnd = last.d1 == s.dLow || last.d1 == s.dHigh;
        m_out.passages.emplace_back(m_section, p);
        m_section = -1;
    }

    void openVisit(int place, double t, int8_t dirIn)
    {
        m_visit = place;
        m_visitArr = t;
        m_visitDirIn = dirIn;
    }

    void closeVisit(int8_t dirOut)
    {
        if (m_visit < 0)
            return;
        Visit v;
        const double shift = dayShift(m_visitArr);
        v.arr = m_visitArr + shift;
        v.dep = m_t + shift;
        v.train = m_train;
        v.seq = m_visitSeq++;
        v.dir = visitDirection(m_visitDirIn, dirOut);
        m_out.visits.emplace_back(m_visit, v);
        m_visit = -1;
    }

    const std::vector<Place> &m_places;
    const std::vector<Section> &m_sections;
    const int32_t m_train;
    TrainTrack &m_out;
    double m_t = 0.0;
    double m_d = 0.0;
    int m_section = -1;
    int32_t m_firstPiece = 0;
    int32_t m_passageSeq = 0;
    int m_visit = -1;
    double m_visitArr = 0.0;
    int8_t m_visitDirIn = 0;
    int32_t m_visitSeq = 0;
};

ConflictCheck::ConflictCheck(const Document &doc, int32_t kept) : m_doc(&doc), m_kept(kept)
{
}

void ConflictCheck::Found::push_back(const Conflict &c)
{
    ++m_total;
    if (c.isWarning())
        ++m_warnings;
    m_list.push_back(c);
    if (m_list.size() >= 2 * static_cast<size_t>(m_cap))
        trim();
}

void ConflictCheck::Found::dropAfter(const Conflict &last)
{
    std::erase_if(m_list, [&last](const Conflict &c) { return last < c; });
}

void ConflictCheck::Found::clear()
{
    m_list.clear();
    m_total = 0;
    m_warnings = 0;
}

void ConflictCheck::Found::trim()
{
    if (m_list.size() <= static_cast<size_t>(m_cap))
        return;
    std::nth_element(m_list.begin(), m_list.begin() + m_cap, m_list.end());
    m_list.resize(static_cast<size_t>(m_cap));
}

bool ConflictCheck::Found::removeTrain(int32_t train)
{
    if (cut())
        return false;
    std::erase_if(m_list, [train](const Conflict &c) { return c.trainA == train || c.trainB == train; });
    m_total = static_cast<int64_t>(m_list.size());
    m_warnings = std::count_if(m_list.begin(), m_list.end(), [](const Conflict &c) { return c.isWarning(); });
    return true;
}

void ConflictCheck::buildLayout()
{
    // The lists of the last layout lend their memory to the new one: a
    // check done again allocates little.
    std::vector<Place> oldPlaces = std::move(m_places);
    std::vector<Section> oldSections = std::move(m_sections);
    m_places.clear();
    m_sections.clear();
    const auto count = static_cast<int32_t>(std::min<size_t>(m_doc->stations.size(), Document::maxStations));
    std::vector<int32_t> order(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        order[static_cast<size_t>(i)] = i;
    auto metresOf = [this](int32_t i) { return m_doc->stations[static_cast<size_t>(i)].metres; };
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return metresOf(a) < metresOf(b); });

    // The station whose section leads up from each place: the last of the
    // stations there, as the list sorts them.
    std::vector<int32_t> lastAt;
    for (int32_t i : order) {
        const Station &s = m_doc->stations[static_cast<size_t>(i)];
        if (m_places.empty() || m_places.back().metres != s.metres) {
            Place p;
            p.conflicts = Found(m_kept);
            p.metres = s.metres;
            p.station = i + 1;
            m_places.push_back(p);
            lastAt.push_back(i);
        }
        Place &p = m_places.back();
        p.capacity = std::max(p.capacity, Tracks::stationTracks(s));
        lastAt.back() = i;
    }
    for (size_t g = 0; g + 1 < m_places.size(); ++g) {
        Section s;
        s.conflicts = Found(m_kept);
        s.lowStation = lastAt[g] + 1;
        s.highStation = m_places[g + 1].station;
        s.dLow = m_places[g].metres;
        s.dHigh = m_places[g + 1].metres;
        s.tracks = Tracks::sectionTracks(m_doc->lineTracks, m_doc->stations[static_cast<size_t>(lastAt[g])]);
        s.headway = Tracks::sectionHeadway(m_doc->lineTracks, m_doc->stations[static_cast<size_t>(lastAt[g])]);
        m_sections.push_back(std::move(s));
    }
    for (size_t g = 0; g < oldSections.size() && g < m_sections.size(); ++g) {
        m_sections[g].passages = std::move(oldSections[g].passages);
        m_sections[g].passages.clear();
        m_sections[g].conflicts = std::move(oldSections[g].conflicts);
        m_sections[g].conflicts.clear();
    }
    for (size_t g = 0; g < oldPlaces.size() && g < m_places.size(); ++g) {
        m_places[g].visits = std::move(oldPlaces[g].visits);
        m_places[g].visits.clear();
        m_places[g].conflicts = std::move(oldPlaces[g].conflicts);
        m_places[g].conflicts.clear();
    }
    for (size_t g = 0; g < m_places.size(); ++g) {
        int main = m_sections.empty() ? m_doc->lineTracks.mainTracks : 0;
        if (g > 0)
            main = std::max(main, m_sections[g - 1].tracks);
        if (g < m_sections.size())
            main = std::max(main, m_sections[g].tracks);
        m_places[g].mainTracks = main;
    }
}

ConflictCheck::TrainTrack ConflictCheck::trace(int32_t index) const
{
    TrainTrack out;
    const Train &train = m_doc->trains[static_cast<size_t>(index)];
    const auto stationCount = static_cast<int32_t>(std::min<size_t>(m_doc->stations.size(), Document::maxStations));
    Tracer tracer(*this, index, out);
    bool started = false;
    double prevEffective = 0.0;
    int32_t prevStation = 0;
    double offset = 0.0;
    const int rows = train.rowCount();
    for (int k = 0; k < rows; ++k) {
        const TrainRow r = train.row(k);
        // A row beyond the station list is not drawn.
        if (r.station > stationCount)
            continue;
        const double minutes = minuteOfDay(r.time) + (r.halfMinute ? 0.5 : 0.0);
        const double metres = r.station > 0 ? double(m_doc->stations[static_cast<size_t>(r.station - 1)].metres)
                                            : (double(r.station) + 1000.0) * Kilometres::metresPerKm;
        const int32_t station = r.station > 0 ? r.station : 0;
        const double effective = r.time + (r.halfMinute ? 30.0 / 86400.0 : 0.0);
        if (!started) {
            started = true;
            tracer.start(minutes, metres);
        } else {
            // Past midnight the line goes on into the next day.
            if (prevEffective > eightPm && r.time < fourAm && r.station > 0)
                offset += day;
            const double t = minutes + offset;
            if (t < tracer.time()) {
                // Drawn back to the left: no run of a train.
                tracer.finish();
                tracer.start(t, metres);
            } else if (station == 0 || station != prevStation) {
                tracer.moveTo(t, metres);
            } else {
                tracer.stayUntil(t);
            }
        }
        prevEffective = effective;
        prevStation = station;
    }
    if (started)
        tracer.finish();
    return out;
}

void ConflictCheck::insert(int32_t train)
{
    const TrainTrack &track = m_tracks[static_cast<size_t>(train)];
    for (const auto &[s, p] : track.passages) {
        Section &section = m_sections[static_cast<size_t>(s)];
        const auto at = std::upper_bound(
            section.passages.begin(), section.passages.end(), p, [](const Passage &a, const Passage &b) {
                return passageBefore(a.tIn, a.tOut, a.train, a.seq, b.tIn, b.tOut, b.train, b.seq);
            });
        section.passages.insert(at, p);
        section.longest = std::max(section.longest, p.tOut - p.tIn);
    }
    for (const auto &[g, v] : track.visits) {
        Place &place = m_places[static_cast<size_t>(g)];
        const auto at =
            std::upper_bound(place.visits.begin(), place.visits.end(), v, [](const Visit &a, const Visit &b) {
                return passageBefore(a.arr, a.dep, a.train, a.seq, b.arr, b.dep, b.train, b.seq);
            });
        place.visits.insert(at, v);
    }
}

void ConflictCheck::remove(int32_t train)
{
    const TrainTrack &track = m_tracks[static_cast<size_t>(train)];
    for (const auto &[s, p] : track.passages)
        std::erase_if(m_sections[static_cast<size_t>(s)].passages,
                      [train](const Passage &q) { return q.train == train; });
    for (const auto &[g, v] : track.visits)
        std::erase_if(m_places[static_cast<size_t>(g)].visits, [train](const Visit &w) { return w.train == train; });
}

void ConflictCheck::recompute()
{
    buildLayout();
    const auto trains = static_cast<int32_t>(m_doc->trains.size());
    // Trains are traced, and sections and stations checked, each apart from
    // the others: on all cores, then gathered in train order so the lists
    // come out as one core would make them.
    m_tracks.assign(static_cast<size_t>(trains), {});
    std::vector<int32_t> order(static_cast<size_t>(trains));
    std::iota(order.begin(), order.end(), 0);
    QtConcurrent::blockingMap(order, [this](int32_t t) { m_tracks[static_cast<size_t>(t)] = trace(t); });
    for (const TrainTrack &track : m_tracks) {
        for (const auto &[s, p] : track.passages)
            m_sections[static_cast<size_t>(s)].passages.push_back(p);
        for (const auto &[g, v] : track.visits)
            m_places[static_cast<size_t>(g)].visits.push_back(v);
    }
    QtConcurrent::blockingMap(m_sections, [this](Section &section) {
        std::sort(section.passages.begin(), section.passages.end(), [](const Passage &a, const Passage &b) {
            return passageBefore(a.tIn, a.tOut, a.train, a.seq, b.tIn, b.tOut, b.train, b.seq);
        });
        for (const Passage &p : section.passages)
            section.longest = std::max(section.longest, p.tOut - p.tIn);
        checkSection(section);
    });
    QtConcurrent::blockingMap(m_places, [this](Place &place) {
        std::sort(place.visits.begin(), place.visits.end(), [](const Visit &a, const Visit &b) {
            return passageBefore(a.arr, a.dep, a.train, a.seq, b.arr, b.dep, b.train, b.seq);
        });
        checkPlace(place);
        place.conflicts.trim();
    });
    settle();
}

void ConflictCheck::checkSection(Section &section) const
{
    section.conflicts.clear();
    for (const Passage &p : section.passages)
        checkPassage(section, p, true, section.conflicts);
    section.conflicts.trim();
}

void ConflictCheck::recheckTrain(int32_t index)
{
    const auto trains = static_cast<int32_t>(m_doc->trains.size());
    if (trains < static_cast<int32_t>(m_tracks.size()) || index < 0 || index >= trains) {
        if (trains != static_cast<int32_t>(m_tracks.size()))
            recompute();
        return;
    }
    // Trains appended since are traced one by one after the edited one.
    std::vector<int32_t> todo;
    if (index < static_cast<int32_t>(m_tracks.size()))
        todo.push_back(index);
    for (auto t = static_cast<int32_t>(m_tracks.size()); t < trains; ++t)
        todo.push_back(t);

    // A list already gathered is kept sorted: what the trains' changes took
    // out goes, what they put in is merged.
    const bool keepAll = !m_allStale && countAll() <= m_kept;
    for (int32_t t : todo) {
        std::vector<int32_t> sections;
        std::vector<int32_t> places;
        auto touched = [&](const TrainTrack &track) {
            for (const auto &[s, p] : track.passages)
                sections.push_back(s);
            for (const auto &[g, v] : track.visits)
                places.push_back(g);
        };
        if (t < static_cast<int32_t>(m_tracks.size())) {
            touched(m_tracks[static_cast<size_t>(t)]);
            remove(t);
        } else {
            m_tracks.emplace_back();
        }
        m_tracks[static_cast<size_t>(t)] = trace(t);
        insert(t);
        const TrainTrack &track = m_tracks[static_cast<size_t>(t)];
        touched(track);
        std::sort(sections.begin(), sections.end());
        sections.erase(std::unique(sections.begin(), sections.end()), sections.end());
        std::sort(places.begin(), places.end());
        places.erase(std::unique(places.begin(), places.end()), places.end());

        for (int32_t s : sections) {
            Section &section = m_sections[static_cast<size_t>(s)];
            if (!section.conflicts.removeTrain(t)) {
                checkSection(section);
                continue;
            }
            for (const auto &[ps, p] : track.passages)
                if (ps == s)
                    checkPassage(section, p, false, section.conflicts);
            section.conflicts.trim();
        }
        for (int32_t g : places) {
            Place &place = m_places[static_cast<size_t>(g)];
            checkPlace(place);
            place.conflicts.trim();
        }
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
        stations.push_back(m_places[static_cast<size_t>(g)].station);
    std::sort(stations.begin(), stations.end());
    std::erase_if(m_all, [&](const Conflict &c) {
        if (c.atStation())
            return std::binary_search(stations.begin(), stations.end(), c.stationLow);
        return c.trainA == train || c.trainB == train;
    });
    std::vector<Conflict> added;
    for (int32_t s : sections)
        for (const Conflict &c : m_sections[static_cast<size_t>(s)].conflicts)
            if (c.trainA == train || c.trainB == train)
                added.push_back(c);
    for (int32_t g : places) {
        const Found &own = m_places[static_cast<size_t>(g)].conflicts;
        added.insert(added.end(), own.begin(), own.end());
    }
    std::sort(added.begin(), added.end());
    const auto middle = static_cast<std::ptrdiff_t>(m_all.size());
    m_all.insert(m_all.end(), added.begin(), added.end());
    std::inplace_merge(m_all.begin(), m_all.begin() + middle, m_all.end());
}

void ConflictCheck::checkPassage(const Section &section, const Passage &p, bool laterOnly,
                                 Found &out) const
{
    const auto &list = section.passages;
    const double reach = section.headway + searchSlack;
    for (const double k : {-day, 0.0, day}) {
        // Passages of another train, k minutes later, that may meet p.
        const double lo = p.tIn - reach - section.longest - k;
        const double hi = p.tOut + reach - k;
        if (hi < 0.0 || lo >= day)
            continue;
        auto it = std::lower_bound(list.begin(), list.end(), lo, [](const Passage &q, double v) { return q.tIn < v; });
        for (; it != list.end() && it->tIn <= hi; ++it) {
            const Passage &q = *it;
            if (q.train == p.train || (laterOnly && q.train < p.train))
                continue;
            if (q.tOut + k < p.tIn - reach)
                continue;
            if (p.train < q.train)
                relate(section, p, q, k, out);
            else
                relate(section, q, p, -k, out);
        }
    }
}

Conflict::Severity ConflictCheck::severityOf(int32_t a, int32_t b) const
{
    const bool asRequired = m_doc->trains[static_cast<size_t>(a)].podlePotreby != 0
                            || m_doc->trains[static_cast<size_t>(b)].podlePotreby != 0;
    return asRequired ? Conflict::Severity::Warning : Conflict::Severity::Error;
}

namespace {

// The span brought into the day, as every conflict holds it.
void setSpan(Conflict &c, double from, double to)
{
    const double shift = dayShift(from);
    c.from = from + shift;
    c.to = to + shift;
}

} // namespace

// a.train < b.train; b's times are taken `shift` minutes later.
void ConflictCheck::relate(const Section &section, const Passage &a, const Passage &b, double shift,
                           Found &out) const
{
    const double bIn = b.tIn + shift;
    const double bOut = b.tOut + shift;
    Conflict c;
    c.trainA = a.train;
    c.trainB = b.train;
    c.stationLow = section.lowStation;
    c.stationHigh = section.highStation;

    const bool sameDirection = a.dir != 0 && a.dir == b.dir;
    if (!sameDirection) {
        if (section.tracks >= Tracks::doubleTrack || !(a.tIn < bOut && bIn < a.tOut))
            return;
        c.kind = Conflict::Kind::Meet;
        c.severity = severityOf(a.train, b.train);
        setSpan(c, std::max(a.tIn, bIn), std::min(a.tOut, bOut));
        double minute = 0.0;
        double metres = 0.0;
        if (firstCommonPoint(a, b, shift, minute, metres)) {
            c.hasPoint = true;
            c.pointMinute = minute + dayShift(minute);
            c.pointMetres = metres;
        }
        out.push_back(c);
        return;
    }

    if (section.tracks < Tracks::manyTracks && a.tIn <= bOut && bIn <= a.tOut) {
        double minute = 0.0;
        double metres = 0.0;
        if (firstCommonPoint(a, b, shift, minute, metres) && metres > section.dLow && metres < section.dHigh) {
            Conflict o = c;
            o.kind = Conflict::Kind::Overtaking;
            o.severity = severityOf(a.train, b.train);
            setSpan(o, std::max(a.tIn, bIn), std::min(a.tOut, bOut));
            o.hasPoint = true;
            o.pointMinute = minute + dayShift(minute);
            o.pointMetres = metres;
            out.push_back(o);
        }
    }
    if (section.headway > 0) {
        const double least = section.headway - headwaySlack;
        const bool entering = a.entersAtEnd && b.entersAtEnd && std::fabs(a.tIn - bIn) < least;
        const bool leaving = a.leavesAtEnd && b.leavesAtEnd && std::fabs(a.tOut - bOut) < least;
        if (entering || leaving) {
            c.kind = Conflict::Kind::Headway;
            c.severity = severityOf(a.train, b.train);
            const double from = entering ? std::min(a.tIn, bIn) : std::min(a.tOut, bOut);
            const double to = leaving ? std::max(a.tOut, bOut) : std::max(a.tIn, bIn);
            setSpan(c, from, to);
            out.push_back(c);
        }
    }
}

namespace {

double cross(double ax, double ay, double bx, double by)
{
    return ax * by - ay * bx;
}

// The earliest point two straight pieces have in common, if any.
bool intersect(double at0, double ad0, double at1, double ad1, double bt0, double bd0, double bt1, double bd1,
               double &minute, double &metres)
{
    const double rt = at1 - at0;
    const double rd = ad1 - ad0;
    const double st = bt1 - bt0;
    const double sd = bd1 - bd0;
    const double qt = bt0 - at0;
    const double qd = bd0 - ad0;
    const double denom = cross(rt, rd, st, sd);
    if (denom != 0.0) {
        const double u = cross(qt, qd, st, sd) / denom;
        const double v = cross(qt, qd, rt, rd) / denom;
        if (u < 0.0 || u > 1.0 || v < 0.0 || v > 1.0)
            return false;
        minute = at0 + u * rt;
        metres = ad0 + u * rd;
        return true;
    }
    if (cross(qt, qd, rt, rd) != 0.0)
        return false; // parallel, apart
    // On one line: the overlap along it, by time (by position when the
    // pieces take no time).
    const bool byTime = rt != 0.0 || st != 0.0;
    auto along = [byTime](double t, double d) { return byTime ? t : d; };
    const double a0 = std::min(along(at0, ad0), along(at1, ad1));
    const double a1 = std::max(along(at0, ad0), along(at1, ad1));
    const double b0 = std::min(along(bt0, bd0), along(bt1, bd1));
    const double b1 = std::max(along(bt0, bd0), along(bt1, bd1));
    const double first = std::max(a0, b0);
    if (first > std::min(a1, b1))
        return false;
    const double span = along(at1, ad1) - along(at0, ad0);
    const double u = span != 0.0 ? (first - along(at0, ad0)) / span : 0.0;
    minute = at0 + u * rt;
    metres = ad0 + u * rd;
    return true;
}

} // namespace

bool ConflictCheck::firstCommonPoint(const Passage &a, const Passage &b, double shift, double &minute,
                                     double &metres) const
{
    const std::vector<Piece> &pa = m_tracks[static_cast<size_t>(a.train)].pieces;
    const std::vector<Piece> &pb = m_tracks[static_cast<size_t>(b.train)].pieces;
    const double sa = a.shift;
    const double sb = b.shift + shift;
    bool found = false;
    for (int32_t i = 0; i < a.pieceCount; ++i) {
        const Piece &x = pa[static_cast<size_t>(a.firstPiece + i)];
        for (int32_t j = 0; j < b.pieceCount; ++j) {
            const Piece &y = pb[static_cast<size_t>(b.firstPiece + j)];
            double m = 0.0;
            double d = 0.0;
            if (intersect(x.t0 + sa, x.d0, x.t1 + sa, x.d1, y.t0 + sb, y.d0, y.t1 + sb, y.d1, m, d)
                && (!found || m < minute)) {
                found = true;
                minute = m;
                metres = d;
            }
        }
    }
    return found;
}

void ConflictCheck::checkPlace(Place &place) const
{
    place.conflicts.clear();
    const std::vector<Visit> &visits = place.visits;
    // A visit that lasts past midnight stands at the start of the day too.
    std::vector<Visit> early;
    for (const Visit &v : visits)
        if (v.dep >= day)
            early.push_back({v.arr - day, v.dep - day, v.train, v.seq, v.dir});
    const int tracks = std::max(place.capacity, 1);
    std::vector<Visit> present;
    auto arrive = [&](const Visit &v, bool counted) {
        std::erase_if(present, [&v](const Visit &w) { return w.dep < v.arr; });
        if (counted) {
            int needed = 1;
            const Visit *latest = nullptr;
            std::vector<int32_t> there;
            for (const Visit &w : present) {
                if (w.train == v.train)
                    continue;
                const bool same = v.dir != 0 && v.dir == w.dir;
                const bool opposite = v.dir * w.dir < 0;
                // Trains one behind the other are at a station at once only
                // while both are there; trains meeting, also at the moment
                // one leaves as the other comes.
                if (same ? !(v.arr < w.dep) : !(v.arr <= w.dep))
                    continue;
                if (opposite && place.mainTracks >= Tracks::doubleTrack)
                    continue;
                ++needed;
                there.push_back(w.train);
                if (!latest
                    || passageBefore(latest->arr, latest->dep, latest->train, latest->seq, w.arr, w.dep, w.train,
                                     w.seq))
                    latest = &w;
            }
            if (needed > tracks && latest) {
                Conflict c;
                c.kind = v.dir != 0 && v.dir == latest->dir ? Conflict::Kind::StationOvertaking
                                                            : Conflict::Kind::StationMeet;
                c.severity = severityOf(v.train, latest->train);
                c.trainA = std::min(v.train, latest->train);
                c.trainB = std::max(v.train, latest->train);
                c.stationLow = c.stationHigh = place.station;
                // Every train there at once is one too many for the tracks.
                std::erase_if(there, [&](int32_t t) { return t == latest->train; });
                std::sort(there.begin(), there.end());
                there.erase(std::unique(there.begin(), there.end()), there.end());
                c.others = std::move(there);
                setSpan(c, v.arr, std::min(v.dep, latest->dep));
                place.conflicts.push_back(c);
            }
        }
        present.push_back(v);
    };
    for (const Visit &v : early)
        arrive(v, false);
    for (const Visit &v : visits)
        arrive(v, true);
}

template <typename F> void ConflictCheck::eachKept(F &&f) const
{
    for (const Section &s : m_sections)
        for (const Conflict &c : s.conflicts)
            f(c);
    for (const Place &p : m_places)
        for (const Conflict &c : p.conflicts)
            f(c);
}

const std::vector<Conflict> &ConflictCheck::conflicts() const
{
    if (m_allStale) {
        // The first `kept` of what the sections and stations keep, never
        // more than twice that at hand.
        m_all.clear();
        Found first(m_kept);
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
    // lists' worth: a recheck then checks what the train touched alone.
    int64_t held = 0;
    eachKept([&held](const Conflict &) { ++held; });
    if (held <= heldLists * static_cast<int64_t>(m_kept))
        return;
    const Conflict last = m_all.back();
    m_cutAfter = last;
    for (Section &s : m_sections)
        s.conflicts.dropAfter(last);
    for (Place &p : m_places)
        p.conflicts.dropAfter(last);
}

int64_t ConflictCheck::countAll() const
{
    m_total = 0;
    m_warnings = 0;
    for (const Section &s : m_sections) {
        m_total += s.conflicts.total();
        m_warnings += s.conflicts.warnings();
    }
    for (const Place &p : m_places) {
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

std::vector<Conflict> ConflictCheck::conflictsOf(int32_t train) const
{
    std::vector<Conflict> out;
    for (const Conflict &c : conflicts())
        if (c.trainA == train || c.trainB == train)
            out.push_back(c);
    return out;
}
