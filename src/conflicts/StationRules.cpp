#include "StationRules.h"

#include "DayCircle.h"

#include "model/Document.h"
#include "model/Tracks.h"

#include <algorithm>

void StationRules::check(LineLayout::Place &place) const
{
    place.conflicts.clear();
    const std::vector<TrainTrace::Visit> &visits = place.visits;
    // A visit that lasts past midnight stands at the start of the day too.
    std::vector<TrainTrace::Visit> early;
    for (const TrainTrace::Visit &v : visits)
        if (v.dep >= DayCircle::day)
            early.push_back({v.arr - DayCircle::day, v.dep - DayCircle::day, v.train, v.seq, v.dir});
    const int tracks = std::max(place.capacity, 1);
    std::vector<TrainTrace::Visit> present;
    auto arrive = [&](const TrainTrace::Visit &v, bool counted) {
        std::erase_if(present, [&v](const TrainTrace::Visit &w) { return w.dep < v.arr; });
        if (counted) {
            int needed = 1;
            const TrainTrace::Visit *latest = nullptr;
            std::vector<int32_t> there;
            for (const TrainTrace::Visit &w : present) {
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
                    || DayCircle::before(latest->arr, latest->dep, latest->train, latest->seq, w.arr, w.dep, w.train,
                                         w.seq))
                    latest = &w;
            }
            if (needed > tracks && latest) {
                Conflict c;
                c.kind = v.dir != 0 && v.dir == latest->dir ? Conflict::Kind::StationOvertaking
                                                            : Conflict::Kind::StationMeet;
                c.severity = DayCircle::severity(m_doc, v.train, latest->train);
                c.trainA = std::min(v.train, latest->train);
                c.trainB = std::max(v.train, latest->train);
                c.stationLow = c.stationHigh = place.station;
                // Every train there at once is one too many for the tracks.
                std::erase_if(there, [&](int32_t t) { return t == latest->train; });
                std::sort(there.begin(), there.end());
                there.erase(std::unique(there.begin(), there.end()), there.end());
                c.others = std::move(there);
                DayCircle::setSpan(c, v.arr, std::min(v.dep, latest->dep));
                place.conflicts.push_back(c);
            }
        }
        present.push_back(v);
    };
    for (const TrainTrace::Visit &v : early)
        arrive(v, false);
    for (const TrainTrace::Visit &v : visits)
        arrive(v, true);
}
