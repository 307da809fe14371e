#include "ProfileEditor.h"

#include "HalfMinuteText.h"

#include "model/Cp1250.h"

#include <cmath>
#include <limits>

namespace {

// Seconds of a row's time, held far inside 64 bits for a damaged file's
// times.
int64_t roundedSeconds(double time)
{
    const double s = std::nearbyint(time * 86400.0);
    if (!(s == s))
        return 0;
    return static_cast<int64_t>(std::clamp(s, -1e15, 1e15));
}

int64_t effectiveSeconds(const TrainRow &row)
{
    return roundedSeconds(row.time) + (row.halfMinute ? 30 : 0);
}

int32_t toInt32(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

QString ProfileEditor::noFreeNumberMessage(int direction)
{
    return QStringLiteral("Ve směru %1 je již 99 jízdních dob, další nelze přidat.").arg(direction);
}

ProfileEditor::ProfileEditor(Document &doc) : m_doc(doc)
{
}

void ProfileEditor::fill()
{
    m_direction = 1;
    m_count = m_doc.profiles.countOf(1);
    m_number = 1;
    m_saved = m_doc.profiles;
    m_cursorColumn = RunTimeColumn;
    m_cursorRow = std::min(2, rowCount() - 1);
}

void ProfileEditor::restore()
{
    m_doc.profiles = m_saved;
}

void ProfileEditor::store()
{
    m_doc.profiles.countOf(m_direction) = static_cast<uint8_t>(m_count);
}

void ProfileEditor::setDirection(int direction)
{
    if (direction == m_direction || (direction != 1 && direction != 2))
        return;
    switchDirection(direction, 1);
}

void ProfileEditor::switchDirection(int direction, int number)
{
    m_doc.profiles.countOf(m_direction) = static_cast<uint8_t>(m_count);
    m_direction = direction;
    m_count = m_doc.profiles.countOf(direction);
    setNumber(number);
}

void ProfileEditor::setNumber(int number)
{
    m_number = std::clamp(number, 1, maximum());
}

QString ProfileEditor::name() const
{
    return cp1250::toUnicode(profile().name.view());
}

void ProfileEditor::setName(const QString &text)
{
    profile().name = cp1250::fromUnicode(text).left(maxNameLength);
    recheck();
}

int ProfileEditor::rowCount() const
{
    return 1 + std::min(stationCount(), maxStations);
}

int ProfileEditor::stationOfRow(int row) const
{
    return m_direction == 1 ? row : stationCount() + 1 - row;
}

QString ProfileEditor::cell(int column, int row) const
{
    if (row == 0) {
        static const QString headers[ColumnCount] = {QStringLiteral("Název"), QStringLiteral("J.doba"),
                                                     QStringLiteral("Pob.")};
        return column >= 0 && column < ColumnCount ? headers[column] : QString();
    }
    if (row < 1 || row >= rowCount())
        return {};
    switch (column) {
    case NameColumn:
        return cp1250::toUnicode(m_doc.stations[static_cast<size_t>(stationOfRow(row) - 1)].name.view());
    case RunTimeColumn:
        return row < 2 ? QString() : HalfMinuteText::format(profile().runTimeAt(row - 1), TravelTimeProfile::noRunTime);
    case DwellColumn:
        return row < 2 ? QString() : HalfMinuteText::format(profile().dwellAt(row - 1), TravelTimeProfile::noDwell);
    default:
        return {};
    }
}

QString ProfileEditor::editMask(int column, int row) const
{
    return row >= 2 && (column == RunTimeColumn || column == DwellColumn) ? valueMask : QString();
}

void ProfileEditor::setCursor(int column, int row)
{
    m_cursorColumn = column;
    m_cursorRow = row == 1 && rowCount() > 2 ? 2 : row;
}

void ProfileEditor::commitCell(int column, int row, const QString &text, int cursorColumn, int cursorRow)
{
    if (row < 2 || row >= rowCount() || (column != RunTimeColumn && column != DwellColumn))
        return;
    const bool run = column == RunTimeColumn;
    int32_t &entry = run ? profile().runTimeAt(row - 1) : profile().dwellAt(row - 1);
    int32_t value = entry;
    switch (HalfMinuteText::parse(text, run ? TravelTimeProfile::noRunTime : TravelTimeProfile::noDwell, value)) {
    case HalfMinuteText::Reading::Value:
        entry = value;
        if (m_number == m_count + 1 && m_count < maxProfiles)
            ++m_count; // the free slot is now in use
        break;
    case HalfMinuteText::Reading::None:
        entry = value;
        recheck();
        break;
    case HalfMinuteText::Reading::Unreadable:
        break;
    }

    const bool stillThere = (cursorColumn < 0 || cursorColumn == column) && (cursorRow < 0 || cursorRow == row);
    if (cursorColumn >= 0 && cursorRow >= 0) {
        m_cursorColumn = cursorColumn;
        m_cursorRow = cursorRow;
    }
    if (!stillThere)
        return;
    if (run) {
        m_cursorColumn = DwellColumn;
        m_cursorRow = row;
    } else if (row + 1 < rowCount()) {
        m_cursorColumn = RunTimeColumn;
        m_cursorRow = row + 1;
    } else {
        m_cursorColumn = column;
        m_cursorRow = row;
    }
}

// Only the last profile in use and the free slot are checked, so the
// numbers offered stay the profiles in use plus one free slot.
void ProfileEditor::recheck()
{
    if (m_number < m_count)
        return;
    const bool used = profile().inUse();
    if (used && m_number == m_count + 1 && m_count < maxProfiles)
        ++m_count;
    else if (!used && m_number == m_count && m_count > 0)
        --m_count;
}

int ProfileEditor::trainDirection(const Train &train, int *startRow) const
{
    const int n = stationCount();
    auto isStation = [n](int32_t ref) { return ref >= 1 && ref <= n; };
    const int rows = train.rowCount();
    if (rows < 2)
        return 0;
    int start = 0;
    int32_t a = train.row(0).station;
    int32_t b = train.row(1).station;
    if (a == b) {
        // An arrival and a departure row: the next row tells.
        if (rows < 3)
            return 0;
        start = 1;
        b = train.row(2).station;
        if (a == b)
            return 0;
    }
    // Kilometre points have no place in a profile: the walk starts at a
    // station and its first step goes to one.
    if (!isStation(a) || !isStation(b))
        return 0;
    const int direction = b > a ? 1 : 2;
    // A first step beyond the stations a profile holds would make an empty
    // profile.
    if ((direction == 1 ? b - 1 : n - b) > TravelTimeProfile::entries)
        return 0;
    if (startRow)
        *startRow = start;
    return direction;
}

ProfileEditor::FromTrain ProfileEditor::profileFromTrain(const Train &train, bool dwellsFromTrain,
                                                         int32_t standardDwell)
{
    int start = 0;
    const int direction = trainDirection(train, &start);
    if (direction == 0)
        return FromTrain::NoDirection;

    int number = 0;
    if (direction == m_direction) {
        if (m_count >= maxProfiles)
            return FromTrain::NoFreeNumber;
        number = ++m_count;
    } else {
        uint8_t &count = m_doc.profiles.countOf(direction);
        if (count >= maxProfiles)
            return FromTrain::NoFreeNumber;
        number = ++count;
    }
    TravelTimeProfile &p = m_doc.profiles.at(direction, number);

    const int n = stationCount();
    // Entry of station j in the train's direction; 0 is the first station,
    // which has none.
    auto index = [direction, n](int32_t j) { return direction == 1 ? j - 1 : n - j; };

    int32_t s = train.row(start).station;
    int64_t t = effectiveSeconds(train.row(start));
    for (int r = start + 1; r < train.rowCount(); ++r) {
        const TrainRow row = train.row(r);
        const int32_t ref = row.station;
        // The walk ends where the train turns back, at a kilometre point, and
        // at a station the profile cannot hold.
        if (ref < 1 || ref > n || (direction == 1 ? ref < s : ref > s) || index(ref) > TravelTimeProfile::entries)
            break;
        const int32_t difference = toInt32((roundedSeconds(row.time) - t) / 30 + (row.halfMinute ? 1 : 0));
        if (ref == s) {
            if (dwellsFromTrain && index(s) >= 1)
                p.dwellAt(index(s)) = difference;
        } else {
            for (int32_t j = direction == 1 ? s + 1 : s - 1; j != ref; j += direction == 1 ? 1 : -1) {
                p.runTimeAt(index(j)) = TravelTimeProfile::noRunTime;
                p.dwellAt(index(j)) = TravelTimeProfile::noDwell;
            }
            p.runTimeAt(index(ref)) = difference;
            p.dwellAt(index(ref)) = dwellsFromTrain ? (row.shortDwell ? 0 : TravelTimeProfile::noDwell) : standardDwell;
            s = ref;
        }
        t = effectiveSeconds(row);
    }

    if (direction != m_direction)
        switchDirection(direction, number);
    else
        setNumber(number);
    return FromTrain::Made;
}
