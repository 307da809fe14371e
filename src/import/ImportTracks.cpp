#include "ImportTracks.h"

#include "conflicts/ConflictCheck.h"

#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/Tracks.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

// Each round raises what the conflicts still ask for; a station may need a
// round per track, so a day stops there however strange it is.
constexpr int maxRounds = 200;

Station &lowerOf(Document &doc, const Conflict &c)
{
    return doc.stations[static_cast<size_t>(c.stationLow - 1)];
}

// The gap two following trains keep, when the conflict's span is that gap
// (both entered or both left too close), else one minute less than now.
int headwayFor(const Conflict &c, int now)
{
    const double span = c.to - c.from;
    if (span < now)
        return std::clamp(static_cast<int>(std::floor(span + 1e-6)), 0, now - 1);
    return now - 1;
}

} // namespace

namespace ImportTracks {

QString Inferred::text() const
{
    QStringList parts;
    if (doubleSections > 0)
        parts << QStringLiteral("%1 dvoukolejných úseků").arg(doubleSections);
    if (manySections > 0)
        parts << QStringLiteral("%1 úseků se 3 a více kolejemi").arg(manySections);
    if (stations > 0)
        parts << QStringLiteral("%1 stanic s více dopravními kolejemi").arg(stations);
    if (headwaySections > 0)
        parts << QStringLiteral("%1 úseků s kratším následným intervalem").arg(headwaySections);
    if (parts.isEmpty())
        return QStringLiteral("Z jízdního řádu odvozeno: jednokolejná trať, koleje stanic podle druhu.");
    return QStringLiteral("Z jízdního řádu odvozeno: %1.").arg(parts.join(QStringLiteral(", ")));
}

Inferred infer(Document &doc)
{
    ConflictCheck check(doc);
    for (int round = 0; round < maxRounds; ++round) {
        check.recompute();
        const std::vector<Conflict> &all = check.conflicts();
        if (all.empty())
            break;
        // The sections first: a second main track may free a station too.
        std::map<int32_t, int> headway; // lower station, minutes
        bool sections = false;
        for (const Conflict &c : all) {
            if (c.atStation() || c.stationLow < 1 || static_cast<size_t>(c.stationLow) > doc.stations.size())
                continue;
            Station &s = lowerOf(doc, c);
            const int tracks = Tracks::sectionTracks(doc.lineTracks, s);
            if (c.kind == Conflict::Kind::Meet && tracks < Tracks::doubleTrack) {
                s.sectionTracks = Tracks::doubleTrack;
                sections = true;
            } else if (c.kind == Conflict::Kind::Overtaking && tracks < Tracks::manyTracks) {
                s.sectionTracks = Tracks::manyTracks;
                sections = true;
            } else if (c.kind == Conflict::Kind::Headway) {
                const int now = Tracks::sectionHeadway(doc.lineTracks, s);
                const int wanted = headwayFor(c, now);
                const auto it = headway.find(c.stationLow);
                headway[c.stationLow] = it == headway.end() ? wanted : std::min(it->second, wanted);
            }
        }
        for (const auto &[station, minutes] : headway)
            doc.stations[static_cast<size_t>(station - 1)].sectionHeadway = static_cast<int8_t>(std::max(minutes, 0));
        if (sections || !headway.empty())
            continue;
        std::set<int32_t> crowded;
        for (const Conflict &c : all)
            if (c.atStation() && c.stationLow >= 1 && static_cast<size_t>(c.stationLow) <= doc.stations.size())
                crowded.insert(c.stationLow);
        if (crowded.empty())
            break;
        for (int32_t station : crowded) {
            Station &s = doc.stations[static_cast<size_t>(station - 1)];
            s.stationTracks =
                static_cast<int8_t>(std::min<int>(std::max(Tracks::stationTracks(s), 1) + 1, Tracks::maxStationTracks));
        }
    }

    Inferred inferred;
    for (const Station &s : doc.stations) {
        inferred.doubleSections += s.sectionTracks == Tracks::doubleTrack ? 1 : 0;
        inferred.manySections += s.sectionTracks == Tracks::manyTracks ? 1 : 0;
        inferred.stations += s.stationTracks != Tracks::byKind ? 1 : 0;
        inferred.headwaySections += s.sectionHeadway != Tracks::lineHeadway ? 1 : 0;
    }
    return inferred;
}

int conflictsOf(const Document &doc, const DayTimetable &day)
{
    QSet<QByteArray> names;
    for (const DayTrain &t : day.trains) {
        Train named; // the name as the import stores it
        named.name = cp1250::fromUnicode(t.name);
        names.insert(named.name.toByteArray());
    }
    const auto named = [&](int32_t train) {
        return train >= 0 && static_cast<size_t>(train) < doc.trains.size()
               && names.contains(doc.trains[static_cast<size_t>(train)].name.toByteArray());
    };
    ConflictCheck check(doc);
    check.recompute();
    return static_cast<int>(std::count_if(check.conflicts().begin(), check.conflicts().end(), [&](const Conflict &c) {
        return !c.isWarning() && (named(c.trainA) || named(c.trainB));
    }));
}

void complete(Document &doc, const DayTimetable &day, bool newLine, RealTimetableImport::Result &result)
{
    if (!result.ok())
        return;
    if (newLine) {
        result.notes << infer(doc).text();
        return;
    }
    const int conflicts = conflictsOf(doc, day);
    result.notes << (conflicts == 0 ? QStringLiteral("Přidané vlaky nemají s tratí žádný konflikt.")
                                    : QStringLiteral("Přidané vlaky přinášejí %1 konfliktů (chyb) na kolejích trati.")
                                          .arg(conflicts));
}

} // namespace ImportTracks
