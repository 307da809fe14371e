#include "LineLayout.h"

#include "model/Document.h"
#include "model/Tracks.h"

#include <algorithm>

void LineLayout::build(const Document &doc, int32_t kept)
{
    std::vector<Place> oldPlaces = std::move(places);
    std::vector<Section> oldSections = std::move(sections);
    places.clear();
    sections.clear();
    const auto count = static_cast<int32_t>(std::min<size_t>(doc.stations.size(), Document::maxStations));
    std::vector<int32_t> order(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        order[static_cast<size_t>(i)] = i;
    auto metresOf = [&doc](int32_t i) { return doc.stations[static_cast<size_t>(i)].metres; };
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return metresOf(a) < metresOf(b); });

    // The station whose section leads up from each place: the last of the
    // stations there, as the list sorts them.
    std::vector<int32_t> lastAt;
    for (int32_t i : order) {
        const Station &s = doc.stations[static_cast<size_t>(i)];
        if (places.empty() || places.back().metres != s.metres) {
            Place p;
            p.conflicts = KeptConflicts(kept);
            p.metres = s.metres;
            p.station = i + 1;
            places.push_back(p);
            lastAt.push_back(i);
        }
        Place &p = places.back();
        p.capacity = std::max(p.capacity, Tracks::stationTracks(s));
        lastAt.back() = i;
    }
    for (size_t g = 0; g + 1 < places.size(); ++g) {
        Section s;
        s.conflicts = KeptConflicts(kept);
        s.lowStation = lastAt[g] + 1;
        s.highStation = places[g + 1].station;
        s.dLow = places[g].metres;
        s.dHigh = places[g + 1].metres;
        s.tracks = Tracks::sectionTracks(doc.lineTracks, doc.stations[static_cast<size_t>(lastAt[g])]);
        s.headway = Tracks::sectionHeadway(doc.lineTracks, doc.stations[static_cast<size_t>(lastAt[g])]);
        sections.push_back(std::move(s));
    }
    for (size_t g = 0; g < oldSections.size() && g < sections.size(); ++g) {
        sections[g].passages = std::move(oldSections[g].passages);
        sections[g].passages.clear();
        sections[g].conflicts = std::move(oldSections[g].conflicts);
        sections[g].conflicts.clear();
    }
    for (size_t g = 0; g < oldPlaces.size() && g < places.size(); ++g) {
        places[g].visits = std::move(oldPlaces[g].visits);
        places[g].visits.clear();
        places[g].conflicts = std::move(oldPlaces[g].conflicts);
        places[g].conflicts.clear();
    }
    for (size_t g = 0; g < places.size(); ++g) {
        int main = sections.empty() ? doc.lineTracks.mainTracks : 0;
        if (g > 0)
            main = std::max(main, sections[g - 1].tracks);
        if (g < sections.size())
            main = std::max(main, sections[g].tracks);
        places[g].mainTracks = main;
    }
}
