#include "InsertTool.h"

#include "Diagram.h"
#include "EditHistory.h"
#include "StepNames.h"

#include "render/DiagramWindow.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Kilometres.h"
#include "render/DiagramView.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double halfMinutesPerDay = 2880.0;

int64_t roundSeconds(double seconds)
{
    const double r = std::nearbyint(seconds);
    if (!(r == r))
        return 0;
    return static_cast<int64_t>(std::clamp(r, -1e15, 1e15));
}

// A point's time as a timetable row holds it: whole minutes, and the
// half-minute flag for the seconds.
struct RowTime
{
    double time = 0.0;
    uint8_t halfMinute = 0;
};

RowTime rowTime(double time)
{
    const int64_t sec = roundSeconds(time * 86400.0 + 1e-05);
    return {static_cast<double>(sec / 60 * 60) / 86400.0, static_cast<uint8_t>(sec % 60 >= 1 ? 1 : 0)};
}

// A difference of two point times for the add-train table: minutes, and
// ",5" for a half.
QString differenceText(double from, double to)
{
    const int64_t sec = roundSeconds((to - from) * 86400.0 + 0.0001);
    QString text = QString::number(sec / 60);
    if (sec % 60 > 0)
        text += QStringLiteral(",5");
    return text;
}

// A point's time as the train will keep it: past midnight the hours count
// on ("24:12:30"), as the rows stored do.
QString clockText(double time)
{
    return formatTrainTime(time, true);
}

} // namespace

InsertTool::InsertTool(Diagram &diagram, EditHistory &history, int pointCapacity)
    : m_diagram(diagram), m_history(history), m_doc(diagram.document()), m_view(diagram.view()),
      m_capacity(static_cast<size_t>(std::max(1, pointCapacity)))
{
    m_points.reserve(m_capacity);
    // The preview goes on the picture after every render, between the
    // station column and the window's edge, above the visible bottom.
    m_diagram.setOverlay([this](QImage &surface) {
        drawOverlay(surface, OverlayClip{DiagramView::stationColumn, 0, m_diagram.window().clientSize().width(),
                                         m_diagram.renderer().visibleBottom()});
    });
}

InsertTool::~InsertTool()
{
    m_diagram.setOverlay(nullptr);
}

void InsertTool::paintPreview()
{
    m_diagram.repaint();
}

bool InsertTool::open(QString *refusal)
{
    if (m_active) {
        // Already open: the window comes back to the front.
        emit windowWanted();
        return true;
    }
    const int count1 = m_doc.profiles.countOf(1);
    const int count2 = m_doc.profiles.countOf(2);
    if (count1 == 0 && count2 == 0) {
        if (refusal)
            *refusal = noProfilesMessage;
        return false;
    }
    if (m_direction == 2 && count2 == 0)
        m_direction = 1;
    if (m_direction == 1 && count1 == 0)
        m_direction = 2;
    m_maximum = m_doc.profiles.countOf(m_direction);
    m_number = std::clamp(m_number, 1, m_maximum);
    m_profileName = cp1250::toUnicode(profile().name.view());
    m_stationText.clear();
    m_timeText.clear();
    m_points.clear();
    m_currentStation = 0;
    buildBands();

    m_active = true;
    emit timerWanted(true);
    emit windowWanted();
    emit editMenuWanted(false);
    emit stateChanged();
    return true;
}

// Each station owns the thousandths of a kilometre from the midpoint below
// it to the midpoint above it; the lowest band starts at 0 and the highest
// ends at its own station. The table has a band for every station.
void InsertTool::buildBands()
{
    m_bands.clear();
    int32_t i = 0;
    for (const Station &s : m_doc.stations)
        m_bands.push_back({int64_t{s.metres}, 0, ++i});
    std::stable_sort(m_bands.begin(), m_bands.end(),
                     [](const StationBand &a, const StationBand &b) { return a.lo < b.lo; });
    const size_t n = m_bands.size();
    if (n == 0)
        return;
    if (n == 1) {
        m_bands[0].hi = m_bands[0].lo;
        m_bands[0].lo = 0;
        return;
    }
    m_bands[0].hi = (m_bands[1].lo + m_bands[0].lo) / 2;
    m_bands[0].lo = 0;
    for (size_t k = 1; k + 1 < n; ++k) {
        m_bands[k].hi = (m_bands[k + 1].lo + m_bands[k].lo) / 2;
        m_bands[k].lo = m_bands[k - 1].hi + 1;
    }
    m_bands[n - 1].hi = m_bands[n - 1].lo;
    m_bands[n - 1].lo = m_bands[n - 2].hi + 1;
}

double InsertTool::pointedTime(int x) const
{
    const double halfMinutes = Geometry::round(
        2.0 * (x - DiagramView::stationColumn + DiagramView::hUnit * double(m_view.hpos)) / m_view.scale);
    return halfMinutes / halfMinutesPerDay;
}

int64_t InsertTool::pointedDistance(int y) const
{
    const int z = m_doc.settings.zoom;
    const double d = std::trunc((Kilometres::toKm(m_doc.maxMetres)
                                 - (y - DiagramView::topMargin + DiagramView::vUnit * double(m_view.vpos)) / (2.0 * z))
                                * 1000.0);
    if (!(d == d))
        return 0;
    return static_cast<int64_t>(std::clamp(d, -1e15, 1e15));
}

void InsertTool::pointerMove(const MouseEvent &e)
{
    if (!m_active) {
        emit editMenuWanted(true);
        return;
    }
    // Left of midnight a click lays nothing, so no time is shown there.
    const double t = pointedTime(e.pos.x());
    m_timeText = t < 0 ? QString() : clockText(t);
    const int64_t d = pointedDistance(e.pos.y());
    for (const StationBand &band : m_bands) {
        if (band.lo <= d && d <= band.hi && band.station != m_currentStation) {
            m_currentStation = band.station;
            m_stationText = stationName(band.station);
            if (count() > 0) {
                RouteTo(m_currentStation, false);
                paintPreview();
            }
        }
    }
    emit stateChanged();
}

void InsertTool::leftPress(const MouseEvent &e)
{
    if (!m_active)
        return;
    const Qt::KeyboardModifiers held = e.modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const double t = pointedTime(e.pos.x());
    const int32_t c = m_currentStation;

    if (count() == 0) {
        // A time before midnight (the pointer over the station column) is
        // no departure.
        if (held != Qt::NoModifier || c < 1 || c > static_cast<int32_t>(m_doc.stations.size()) || t < 0)
            return;
        // An origin from which the train cannot leave in its direction.
        const int32_t metres = stationMetres(c);
        if ((m_direction == 1 && metres == m_doc.maxMetres) || (m_direction == 2 && metres == 0))
            return;
        m_points.push_back({c, t, t});
        paintPreview();
        return;
    }
    if (held == Qt::ControlModifier) {
        ctrlClick();
        return;
    }
    if (held == Qt::ShiftModifier) {
        if (count() >= 2)
            emit commitRequested();
        return;
    }
    if (held != Qt::NoModifier || t < 0)
        return;
    clickAtStation(t);
    paintPreview();
}

void InsertTool::ctrlClick()
{
    const int32_t c = m_currentStation;
    if (count() == 1 && m_points[0].station == c) {
        m_points.clear(); // the origin is taken back
        paintPreview();
        return;
    }
    for (size_t k = 1; k < m_points.size(); ++k) {
        if (m_points[k].station == c && m_points[k].fixedTime) {
            m_points[k].fixedTime.reset();
            RouteTo(c, true);
            paintPreview();
            return;
        }
    }
}

// A plain click with a point placed: a stop at the end of the train, or a
// departure fixed at a station the train already reaches.
void InsertTool::clickAtStation(double t)
{
    const int32_t c = m_currentStation;
    InsertPoint &last = m_points.back();
    if (c == last.station) {
        const int32_t i = profileIndex(c);
        const int32_t dwell = i >= 1 && i <= TravelTimeProfile::entries ? profile().dwellAt(i) : 0;
        const double w = std::max(dwell, 0) / halfMinutesPerDay;
        // The last point is a computed departure when its predecessor is the
        // arrival at the same station: fixing the stop moves that departure,
        // so a stop never gets a second one.
        const bool computedDeparture = !last.fixedTime && count() > 1 && m_points[m_points.size() - 2].station == c;
        if (!last.fixedTime && !computedDeparture) {
            const double time = std::max(last.time + w, t);
            append(c, t, time);
        } else if (count() == 1) {
            last.fixedTime = t;
            last.time = t;
        } else {
            last.fixedTime = t;
            last.time = std::max(m_points[m_points.size() - 2].time + w, t);
        }
        return;
    }
    for (size_t k = 0; k < m_points.size(); ++k) {
        if (m_points[k].station == c && m_points[k].fixedTime) {
            m_points[k].fixedTime = t;
            if (k == 0)
                m_points[k].time = t;
            RouteTo(c, true);
            return;
        }
    }
    for (InsertPoint &p : m_points) {
        if (p.station == c) {
            p.fixedTime = t;
            RouteTo(c, true);
            return;
        }
    }
}

void InsertTool::RouteTo(int32_t target, bool keepFixed)
{
    const int32_t n = static_cast<int32_t>(m_doc.stations.size());
    if (target < 1 || target > n || m_points.empty())
        return;

    struct Fixed
    {
        int32_t station;
        double fixedTime;
    };
    std::vector<Fixed> remembered;
    size_t kept = 1;
    for (size_t k = 1; k < m_points.size(); ++k) {
        if (m_points[k].fixedTime) {
            kept = k + 1;
            if (keepFixed) {
                remembered.push_back({m_points[k].station, *m_points[k].fixedTime});
                m_points[k].fixedTime.reset();
            }
        }
    }
    m_points.resize(keepFixed ? 1 : kept);
    if (keepFixed && !remembered.empty()) {
        const int32_t last = remembered.back().station;
        if (m_direction == 1 ? last > target : last < target)
            target = last;
    }

    const InsertPoint from = m_points.back();
    if (from.station < 1 || from.station > n)
        return;
    const bool forward = m_direction == 1;
    if (forward ? !(stationMetres(target) > stationMetres(from.station))
                : !(stationMetres(target) < stationMetres(from.station)))
        return;

    const TravelTimeProfile &p = profile();
    double t = from.time;
    const int32_t step = forward ? 1 : -1;
    for (int32_t j = from.station + step; forward ? j <= target : j >= target; j += step) {
        const int32_t i = profileIndex(j);
        // Stations beyond the profile's entries have no running time.
        if (i < 1 || i > TravelTimeProfile::entries || p.runTimeAt(i) < 1)
            continue;
        t += p.runTimeAt(i) / halfMinutesPerDay;
        if (!append(j, std::nullopt, t))
            return;
        const auto fixed =
            std::find_if(remembered.begin(), remembered.end(), [j](const Fixed &f) { return f.station == j; });
        if (keepFixed && fixed != remembered.end()) {
            t = std::max(t + std::max(p.dwellAt(i), 0) / halfMinutesPerDay, fixed->fixedTime);
            if (!append(j, fixed->fixedTime, t))
                return;
            continue;
        }
        if (!keepFixed && j == target)
            continue; // the train ends with an arrival
        if (p.dwellAt(i) >= 0) {
            t += p.dwellAt(i) / halfMinutesPerDay;
            if (!append(j, std::nullopt, t))
                return;
        }
    }
}

bool InsertTool::append(int32_t station, std::optional<double> fixedTime, double time)
{
    if (m_points.size() >= m_capacity)
        return false;
    m_points.push_back({station, fixedTime, time});
    return true;
}

void InsertTool::Timer1Timer()
{
    if (m_active) {
        if (m_recomputePending) {
            RouteTo(m_currentStation, true);
            m_recomputePending = false;
        }
        if (m_redrawPending) {
            paintPreview();
            m_redrawPending = false;
        }
        return;
    }
    emit editMenuWanted(true);
    emit windowCloseWanted();
    emit timerWanted(false);
    paintPreview();
}

void InsertTool::FormShow()
{
    m_recomputePending = false;
    m_redrawPending = false;
}

void InsertTool::FormClose()
{
    m_active = false;
    m_points.clear();
}

// A train being laid belongs to the stations it was laid along.
void InsertTool::close()
{
    emit windowCloseWanted();
    FormClose();
}

int InsertTool::RadioGroup1Click(int direction)
{
    if (direction != 1 && direction != 2)
        return m_direction;
    // From two points on the train has its direction.
    if (count() >= 2)
        return m_direction;
    if (m_doc.profiles.countOf(direction) == 0)
        direction = 3 - direction;
    m_direction = direction;
    m_maximum = std::max<int>(1, m_doc.profiles.countOf(direction));
    m_number = std::min(m_number, m_maximum);
    if (count() >= 1)
        m_redrawPending = true;
    SpinEdit1Change(m_number);
    return m_direction;
}

void InsertTool::SpinEdit1Change(int number)
{
    m_number = std::clamp(number, 1, std::max(1, m_maximum));
    m_profileName = cp1250::toUnicode(profile().name.view());
    if (count() >= 2) {
        m_recomputePending = true;
        m_redrawPending = true;
    }
    emit stateChanged();
}

const TravelTimeProfile &InsertTool::profile() const
{
    return m_doc.profiles.at(m_direction, std::clamp(m_number, 1, ProfileTable::perDirection));
}

int32_t InsertTool::stationMetres(int32_t station) const
{
    return m_doc.stations[static_cast<size_t>(station - 1)].metres;
}

// Entry of a station in the direction's profile: its position in the
// direction's order less one (0 for the direction's first station).
int32_t InsertTool::profileIndex(int32_t station) const
{
    return m_direction == 1 ? station - 1 : static_cast<int32_t>(m_doc.stations.size()) - station;
}

QString InsertTool::stationName(int32_t station) const
{
    if (station < 1 || station > static_cast<int32_t>(m_doc.stations.size()))
        return {};
    return cp1250::toUnicode(m_doc.stations[static_cast<size_t>(station - 1)].name.view());
}

std::vector<AddTrainRow> InsertTool::commitTable() const
{
    std::vector<AddTrainRow> rows;
    if (m_points.empty())
        return rows;
    rows.push_back({stationName(m_points[0].station), {}, {}, {}, clockText(m_points[0].time)});
    const size_t n = m_points.size();
    if (n > 1)
        rows.push_back({stationName(m_points[1].station), {}, {}, {}, {}});
    for (size_t p = 1; p < n; ++p) {
        const InsertPoint &point = m_points[p];
        const bool last = p + 1 == n;
        const bool atPrevious = point.station == m_points[p - 1].station;
        const QString difference = differenceText(m_points[p - 1].time, point.time);
        AddTrainRow &row = rows.back();
        if (atPrevious && !last) { // the departure of a stop
            row.dwell = difference;
            row.departure = clockText(point.time);
            rows.push_back({stationName(m_points[p + 1].station), {}, {}, {}, {}});
        } else if ((!last && m_points[p + 1].station == point.station) || (last && !atPrevious)) {
            row.runTime = difference; // the arrival of a stop, or the end
            row.arrival = clockText(point.time);
        } else if (!last) { // the train passes
            row.runTime = difference;
            row.departure = clockText(point.time);
            rows.push_back({stationName(m_points[p + 1].station), {}, {}, {}, {}});
        }
    }
    return rows;
}

QByteArray InsertTool::trainName(const QString &category, int number)
{
    return cp1250::fromUnicode(category + u' ' + QString::number(number)).left(20);
}

Train InsertTool::makeTrain(const NewTrainChoice &choice) const
{
    Train train;
    if (m_points.empty())
        return train;
    train.rusici = choice.rusici;
    train.podlePotreby = choice.podlePotreby;
    train.name = trainName(choice.category, choice.number);
    const RowTime first = rowTime(m_points[0].time);
    train.firstStation = m_points[0].station;
    train.firstTime = first.time;
    train.firstHalfMinute = first.halfMinute;
    const size_t n = m_points.size();
    for (size_t p = 1; p < n; ++p) {
        const InsertPoint &point = m_points[p];
        const bool atPrevious = point.station == m_points[p - 1].station;
        if (atPrevious && point.time == m_points[p - 1].time)
            continue; // a stop shorter than half a minute: one row
        if (atPrevious && p + 1 == n)
            break; // the train ends with its arrival
        const RowTime t = rowTime(point.time);
        TrainStop stop;
        stop.station = point.station;
        stop.time = t.time;
        stop.halfMinute = t.halfMinute;
        stop.shortDwell = p + 1 < n && m_points[p + 1].station == point.station && m_points[p + 1].time == point.time;
        train.stops.push_back(stop);
    }
    return train;
}

void InsertTool::addTrain(const NewTrainChoice &choice)
{
    if (!m_active || m_points.empty())
        return;
    EditStep step(m_history, StepNames::insertTrain);
    m_doc.trains.push_back(makeTrain(choice));
    ++m_doc.trainCount;
    emit editMenuWanted(true);
    emit windowCloseWanted();
    FormClose();
    emit timerWanted(false);
    m_diagram.contentChanged(Diagram::TrainLabels::ForNewTrains);
}

void InsertTool::drawOverlay(QImage &surface, const OverlayClip &clip) const
{
    if (m_active && !m_points.empty())
        DrawInsertOverlay(surface, m_points, m_direction, m_doc, m_view, clip);
}
