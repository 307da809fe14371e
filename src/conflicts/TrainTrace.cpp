#include "TrainTrace.h"

#include "DayCircle.h"
#include "LineLayout.h"

#include "model/ClockTime.h"
#include "model/Document.h"
#include "model/Kilometres.h"

#include <algorithm>

namespace {

const double eightPm = makeTime(20, 0);
const double fourAm = makeTime(4, 0);

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

// Walks a train's rows as the diagram draws them and cuts the line into
// pieces within sections and visits at the places.
class Tracer
{
public:
    Tracer(const LineLayout &layout, int32_t train, TrainTrace &out)
        : m_places(layout.places), m_sections(layout.sections), m_train(train), m_out(out)
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
                                         [](double v, const LineLayout::Place &p) { return v < p.metres; });
        const auto hi = std::lower_bound(m_places.begin(), m_places.end(), std::max(d0, d1),
                                         [](const LineLayout::Place &p, double v) { return p.metres < v; });
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
                                         [](const LineLayout::Place &p, double v) { return p.metres < v; });
        return it != m_places.end() && it->metres == d ? static_cast<int>(it - m_places.begin()) : -1;
    }

    // The section holding the stretch between two positions, or -1 beyond
    // the first and last station.
    int sectionOf(double a, double b) const
    {
        const double low = std::min(a, b);
        const double high = std::max(a, b);
        const auto it = std::upper_bound(m_places.begin(), m_places.end(), low,
                                         [](double v, const LineLayout::Place &p) { return v < p.metres; });
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
        const LineLayout::Section &s = m_sections[static_cast<size_t>(m_section)];
        const TrainTrace::Piece &first = m_out.pieces[static_cast<size_t>(m_firstPiece)];
        const TrainTrace::Piece &last = m_out.pieces.back();
        TrainTrace::Passage p;
        p.shift = DayCircle::shiftOf(first.t0);
        p.tIn = first.t0 + p.shift;
        p.tOut = last.t1 + p.shift;
        p.train = m_train;
        p.firstPiece = m_firstPiece;
        p.pieceCount = static_cast<int32_t>(m_out.pieces.size()) - m_firstPiece;
        p.seq = m_passageSeq++;
        p.dir = sign(last.d1 - first.d0);
        p.entersAtEnd = first.d0 == s.dLow || first.d0 == s.dHigh;
        p.leavesAtEnd = last.d1 == s.dLow || last.d1 == s.dHigh;
        // Straight through from end to end: the passage says all of it.
        if (p.pieceCount == 1 && p.entersAtEnd && p.leavesAtEnd && p.dir != 0 && p.tIn - p.shift == first.t0
            && p.tOut - p.shift == last.t1) {
            m_out.pieces.pop_back();
            p.firstPiece = 0;
            p.pieceCount = 0;
        }
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
        TrainTrace::Visit v;
        const double shift = DayCircle::shiftOf(m_visitArr);
        v.arr = m_visitArr + shift;
        v.dep = m_t + shift;
        v.train = m_train;
        v.seq = m_visitSeq++;
        v.dir = visitDirection(m_visitDirIn, dirOut);
        m_out.visits.emplace_back(m_visit, v);
        m_visit = -1;
    }

    const std::vector<LineLayout::Place> &m_places;
    const std::vector<LineLayout::Section> &m_sections;
    const int32_t m_train;
    TrainTrace &m_out;
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

} // namespace

TrainTrace TrainTrace::of(const Document &doc, const LineLayout &layout, int32_t index)
{
    TrainTrace out;
    const Train &train = doc.trains[static_cast<size_t>(index)];
    const auto stationCount = static_cast<int32_t>(std::min<size_t>(doc.stations.size(), Document::maxStations));
    Tracer tracer(layout, index, out);
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
        const double metres = r.station > 0 ? double(doc.stations[static_cast<size_t>(r.station - 1)].metres)
                                            : (double(r.station) + 1000.0) * Kilometres::metresPerKm;
        const int32_t station = r.station > 0 ? r.station : 0;
        const double effective = r.time + (r.halfMinute ? 30.0 / 86400.0 : 0.0);
        if (!started) {
            started = true;
            tracer.start(minutes, metres);
        } else {
            // Past midnight the line goes on into the next day.
            if (prevEffective > eightPm && r.time < fourAm && r.station > 0)
                offset += DayCircle::day;
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
    // Kept for the document's life: without the room the pushes left.
    out.pieces.shrink_to_fit();
    return out;
}
