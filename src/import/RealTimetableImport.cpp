#include "RealTimetableImport.h"

#include "LinePlanner.h"
#include "LineTrains.h"

#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/Kilometres.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>
#include <numeric>
#include <optional>

namespace {

// Each point of the line mapped to its station (1-based in the order given),
// every other point to none.
std::vector<int32_t> stationsOfLine(const DayTimetable &day, const std::vector<int> &order)
{
    std::vector<int32_t> stationOfPoint(day.points.size(), 0);
    for (size_t i = 0; i < order.size(); ++i)
        stationOfPoint[static_cast<size_t>(order[i])] = static_cast<int32_t>(i + 1);
    return stationOfPoint;
}

QString tooManyStationsText(size_t stations)
{
    return QStringLiteral("Trať by měla %1 stanic, dokument jich pojme nejvýše %2; zvolte kratší úsek.")
        .arg(stations)
        .arg(Document::maxStations);
}

// "Zkráceno 12 vlaků, které jezdí za konec trati: v San Jose Diridon 6,
// v Tamien 6.": the trains of the line that run on beyond its stations,
// counted by the station where they are cut (the first and last station
// they reach), or empty when none does.
QString cutText(const DayTimetable &day, const std::vector<int32_t> &stationOfPoint, const std::vector<int> &points)
{
    std::map<int32_t, int> cutAt;
    int trains = 0;
    for (const DayTrain &t : day.trains) {
        std::vector<size_t> on;
        for (size_t c = 0; c < t.calls.size(); ++c) {
            const int32_t p = t.calls[c].point;
            if (p >= 0 && static_cast<size_t>(p) < stationOfPoint.size() && stationOfPoint[static_cast<size_t>(p)])
                on.push_back(c);
        }
        if (on.size() < 2)
            continue;
        const int32_t first = stationOfPoint[static_cast<size_t>(t.calls[on.front()].point)];
        const int32_t last = stationOfPoint[static_cast<size_t>(t.calls[on.back()].point)];
        if (first == last)
            continue;
        const bool before = on.front() > 0;
        const bool after = on.back() + 1 < t.calls.size();
        if (before)
            ++cutAt[first];
        if (after)
            ++cutAt[last];
        trains += before || after ? 1 : 0;
    }
    if (trains == 0)
        return {};
    QStringList where;
    for (const auto &[station, count] : cutAt)
        where << QStringLiteral("%1 %2").arg(day.points[static_cast<size_t>(points[static_cast<size_t>(station - 1)])].name.trimmed()).arg(count);
    return QStringLiteral("Zkráceno %1 vlaků, které jezdí i mimo trať, ve stanicích: %2.")
        .arg(trains)
        .arg(where.join(QStringLiteral(", ")));
}

// "Nelze umístit na trať 2 vlaky: Os 1, Os 2 (jízdní řád jim dává stanice
// v jiném pořadí nebo jednu stanici dvakrát)."
QString unplacedText(const QStringList &trains)
{
    if (trains.isEmpty())
        return {};
    return QStringLiteral("Pořadí stanic nebylo odvozeno z %1 vlaků (stanici projíždějí dvakrát nebo v jiném "
                          "pořadí): %2.")
        .arg(trains.size())
        .arg(trains.join(QStringLiteral(", ")));
}

} // namespace

namespace RealTimetableImport {

QString dayText(QDate day)
{
    return day.toString(QStringLiteral("d. M. yyyy"));
}

QString foundText(int trains, int stations)
{
    return QStringLiteral("Nalezeno %1 vlaků, %2 stanic").arg(trains).arg(stations);
}

QString noTrainOnLineText(QDate day)
{
    return QStringLiteral("Dne %1 nejede žádný vlak přes dvě stanice trati.").arg(dayText(day));
}

QString Preview::text() const
{
    return ok() ? foundText(trains, stations) : leftOut.refusedText(error);
}

QString Result::text() const
{
    if (!ok())
        return summary.refusedText(error);
    QStringList lines{summary.text()};
    lines << notes;
    return lines.join(u'\n');
}

void startAtZero(DayTimetable &day, const std::vector<int> &line)
{
    std::optional<int32_t> lowest;
    for (int p : line) {
        if (const std::optional<int32_t> m = day.points[static_cast<size_t>(p)].metres)
            lowest = lowest ? std::min(*lowest, *m) : *m;
    }
    if (!lowest)
        return;
    for (int p : line) {
        std::optional<int32_t> &m = day.points[static_cast<size_t>(p)].metres;
        if (m)
            *m = static_cast<int32_t>(std::min<int64_t>(int64_t{*m} - *lowest, std::numeric_limits<int32_t>::max()));
    }
}

Preview previewNewLine(const DayTimetable &day, const QString &from, const QString &to)
{
    Preview preview;
    preview.leftOut = ImportSummary::leftOutOf(day);
    const LinePlanner::LineChoice choice = LinePlanner::lineBetween(day, from, to);
    if (!choice.error.isEmpty()) {
        preview.error = choice.error;
        return preview;
    }
    if (choice.line.size() > static_cast<size_t>(Document::maxStations)) {
        preview.error = tooManyStationsText(choice.line.size());
        return preview;
    }
    preview.stations = static_cast<int>(choice.line.size());
    preview.trains = LineTrains::countTrains(stationsOfLine(day, choice.line), day);
    return preview;
}

Preview previewIntoLine(const Document &doc, const DayTimetable &day)
{
    Preview preview;
    preview.leftOut = ImportSummary::leftOutOf(day);
    if (day.trains.empty()) {
        preview.error = LinePlanner::noTrainsText(day.day);
        return preview;
    }
    QStringList names;
    for (const Station &s : doc.stations)
        names << cp1250::toUnicode(s.name.view());
    preview.stations = static_cast<int>(doc.stations.size());
    preview.trains = LineTrains::countTrains(names, day);
    if (preview.trains == 0) {
        preview.error = noTrainOnLineText(day.day);
        preview.stations = 0;
    }
    return preview;
}

Result newLine(Document &doc, const DayTimetable &source, const QString &from, const QString &to, const Placer &place)
{
    Result result;
    result.summary = ImportSummary::leftOutOf(source);
    DayTimetable day = source; // placed and kinds guessed here, never in the caller's day
    const LinePlanner::LineChoice choice = LinePlanner::lineBetween(day, from, to);
    if (!choice.error.isEmpty()) {
        result.error = choice.error;
        return result;
    }
    const std::vector<int> &line = choice.line;
    if (line.size() > static_cast<size_t>(Document::maxStations)) {
        result.error = tooManyStationsText(line.size());
        return result;
    }
    if (place)
        place(day, line);
    LinePlanner::guessKinds(day, line);
    const LinePlanner::LinePlan plan = LinePlanner::plan(day, line);

    constexpr int64_t limitMetres = int64_t{kmLimit} * Kilometres::metresPerKm;
    for (const LinePlanner::PlanStation &s : plan.stations) {
        if (std::abs(int64_t{s.metres}) > limitMetres) {
            result.error = QStringLiteral("Stanice „%1“ by ležela na km %2, dál než %3 km od začátku trati; "
                                          "zvolte kratší úsek.")
                               .arg(s.name.trimmed(), Kilometres::text(s.metres))
                               .arg(kmLimit);
            return result;
        }
    }

    // The station list reads from the lowest kilometre up; stations at one
    // kilometre keep their order along the line.
    std::vector<size_t> order(plan.stations.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return plan.stations[a].metres < plan.stations[b].metres; });

    const DocumentSettings settings = doc.settings;
    doc.clearAll();
    doc.settings = settings;
    doc.trainCount = 0;
    std::vector<int> points;
    doc.stations.reserve(order.size());
    for (size_t i : order) {
        const LinePlanner::PlanStation &s = plan.stations[i];
        Station station;
        station.name = cp1250::fromUnicode(s.name.trimmed());
        station.metres = s.metres;
        doc.stations.push_back(station);
        StationKind kind = s.kind;
        kind.stationIndex = static_cast<int32_t>(doc.stations.size());
        doc.appendKind(kind);
        points.push_back(s.point);
    }
    doc.linkStationKinds();
    doc.rebuildStationTable();
    doc.noDocument = false;
    doc.untitled = true;

    const std::vector<int32_t> stationOfPoint = stationsOfLine(day, points);
    result.summary = LineTrains::appendTo(doc, day, stationOfPoint);
    result.stations = static_cast<int>(doc.stations.size());
    for (const QString &note : {cutText(day, stationOfPoint, points), LinePlanner::estimatedText(plan),
                                unplacedText(choice.unplaced)})
        if (!note.isEmpty())
            result.notes << note;
    return result;
}

Result intoLine(Document &doc, const DayTimetable &day)
{
    Result result;
    result.summary = ImportSummary::leftOutOf(day);
    const Preview preview = previewIntoLine(doc, day);
    if (!preview.ok()) {
        result.error = preview.error;
        return result;
    }
    result.summary = LineTrains::appendTo(doc, day);
    result.stations = static_cast<int>(doc.stations.size());
    return result;
}

} // namespace RealTimetableImport
