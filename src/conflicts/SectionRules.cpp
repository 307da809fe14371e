#include "SectionRules.h"

#include "DayCircle.h"

#include "model/Document.h"
#include "model/Tracks.h"

#include <algorithm>
#include <cmath>

namespace {

// Slack for the searches only: what counts is decided by exact comparisons
// in relate, the same way whichever train is looked at first.
constexpr double searchSlack = 1e-6;
// Interpolated times carry rounding; a gap that is the minimum headway to
// within this is the minimum.
constexpr double headwaySlack = 1e-9;

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

void SectionRules::check(LineLayout::Section &section) const
{
    section.conflicts.clear();
    for (const TrainTrace::Passage &p : section.passages)
        checkPassage(section, p, true, section.conflicts);
    section.conflicts.trim();
}

void SectionRules::checkPassage(const LineLayout::Section &section, const TrainTrace::Passage &p, bool laterOnly,
                                KeptConflicts &out) const
{
    const auto &list = section.passages;
    const double reach = section.headway + searchSlack;
    for (const double k : {-DayCircle::day, 0.0, DayCircle::day}) {
        // Passages of another train, k minutes later, that may meet p.
        const double lo = p.tIn - reach - section.longest - k;
        const double hi = p.tOut + reach - k;
        if (hi < 0.0 || lo >= DayCircle::day)
            continue;
        auto it = std::lower_bound(list.begin(), list.end(), lo,
                                   [](const TrainTrace::Passage &q, double v) { return q.tIn < v; });
        for (; it != list.end() && it->tIn <= hi; ++it) {
            const TrainTrace::Passage &q = *it;
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

// a.train < b.train; b's times are taken `shift` minutes later.
void SectionRules::relate(const LineLayout::Section &section, const TrainTrace::Passage &a,
                          const TrainTrace::Passage &b, double shift, KeptConflicts &out) const
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
        c.severity = DayCircle::severity(m_doc, a.train, b.train);
        DayCircle::setSpan(c, std::max(a.tIn, bIn), std::min(a.tOut, bOut));
        double minute = 0.0;
        double metres = 0.0;
        if (firstCommonPoint(section, a, b, shift, minute, metres)) {
            c.hasPoint = true;
            c.pointMinute = minute + DayCircle::shiftOf(minute);
            c.pointMetres = metres;
        }
        out.push_back(c);
        return;
    }

    if (section.tracks < Tracks::manyTracks && a.tIn <= bOut && bIn <= a.tOut) {
        double minute = 0.0;
        double metres = 0.0;
        if (firstCommonPoint(section, a, b, shift, minute, metres) && metres > section.dLow && metres < section.dHigh) {
            Conflict o = c;
            o.kind = Conflict::Kind::Overtaking;
            o.severity = DayCircle::severity(m_doc, a.train, b.train);
            DayCircle::setSpan(o, std::max(a.tIn, bIn), std::min(a.tOut, bOut));
            o.hasPoint = true;
            o.pointMinute = minute + DayCircle::shiftOf(minute);
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
            c.severity = DayCircle::severity(m_doc, a.train, b.train);
            const double from = entering ? std::min(a.tIn, bIn) : std::min(a.tOut, bOut);
            const double to = leaving ? std::max(a.tOut, bOut) : std::max(a.tIn, bIn);
            DayCircle::setSpan(c, from, to);
            out.push_back(c);
        }
    }
}

bool SectionRules::firstCommonPoint(const LineLayout::Section &section, const TrainTrace::Passage &a,
                                    const TrainTrace::Passage &b, double shift, double &minute, double &metres) const
{
    const std::vector<TrainTrace::Piece> &pa = m_traces[static_cast<size_t>(a.train)].pieces;
    const std::vector<TrainTrace::Piece> &pb = m_traces[static_cast<size_t>(b.train)].pieces;
    const double sa = a.shift;
    const double sb = b.shift + shift;
    bool found = false;
    for (int32_t i = 0; i < a.pieces(); ++i) {
        const TrainTrace::Piece x = a.piece(pa, i, section.dLow, section.dHigh);
        for (int32_t j = 0; j < b.pieces(); ++j) {
            const TrainTrace::Piece y = b.piece(pb, j, section.dLow, section.dHigh);
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
