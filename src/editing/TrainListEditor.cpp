#include "TrainListEditor.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Errors.h"

#include <algorithm>

namespace {

constexpr double oneMinute = 1.0 / 1440.0;

bool isSuffix(QChar c)
{
    return c == u'+' || c == u'-' || c == u'*';
}

// "+" marks the half minute, "-" the short dwell, "*" both.
void applySuffix(QChar c, bool &half, bool &shortDwell)
{
    if (c == u'+' || c == u'*')
        half = true;
    if (c == u'-' || c == u'*')
        shortDwell = true;
}

} // namespace

TrainListEditor::TrainListEditor(Document &doc) : m_doc(doc)
{
    m_trainCells.push_back({QString(), QStringLiteral("Číslo vlaku")});
    m_trainCells.push_back({QStringLiteral("1"), QString()});
    m_rowCells.push_back({QString(), QStringLiteral("Stanice"), QStringLiteral("Čas odj.")});
    m_rowCells.push_back({QStringLiteral("1"), QString(), QStringLiteral("0:00")});
}

QString TrainListEditor::trainCell(int column, int row) const
{
    if (row < 0 || row >= trainRowCount() || column < 0 || column >= TrainColumnCount)
        return {};
    return m_trainCells[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

QString TrainListEditor::rowCell(int column, int row) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= RowColumnCount)
        return {};
    return m_rowCells[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

QString TrainListEditor::editMask(int column, int row) const
{
    return column == TimeColumn && row > 0 ? timeMask : QString();
}

bool TrainListEditor::hasTrainAt(int gridRow) const
{
    return gridRow >= 1 && gridRow <= static_cast<int>(m_doc.trains.size());
}

Train *TrainListEditor::currentTrain()
{
    return hasTrainAt(m_currentTrainRow) ? &m_doc.trains[static_cast<size_t>(m_currentTrainRow - 1)] : nullptr;
}

QString TrainListEditor::stationText(int32_t ref) const
{
    if (ref < 0)
        return QStringLiteral("Km: ") + QString::number(static_cast<int64_t>(ref) + 1000);
    // A reference past the end of the list is left from a longer list whose
    // trains were kept; it names no station.
    if (ref == 0 || ref > static_cast<int32_t>(m_doc.stations.size()))
        return {};
    return cp1250::toUnicode(m_doc.stations[static_cast<size_t>(ref - 1)].name.view());
}

void TrainListEditor::fill()
{
    m_items.clear();
    for (const Station &s : m_doc.stations) {
        const bool traffic = s.kind && (s.kind->dopravna || s.kind->odbocka);
        m_items << QString(traffic ? u'+' : u'-') + cp1250::toUnicode(s.name.view());
    }
    m_selection = -1;
    m_movingDown = m_movingUp = false;

    m_trainCells.resize(1);
    for (const Train &t : m_doc.trains)
        m_trainCells.push_back({QString::number(trainRowCount()), cp1250::toUnicode(t.name.view())});
    m_trainCells.push_back({QString::number(trainRowCount()), QString()});
    // Without trains the last train's row would be the header: the trailing
    // row takes the cursor instead.
    m_trainCursor = std::max(1, trainRowCount() - 2);
    m_insertPosition = InsertPosition::AtEnd;
}

void TrainListEditor::show()
{
    m_busy = true;
    m_currentTrainRow = 0;
    setCurrentTrain(m_trainCursor);
    m_rowCursor = 1;
    showRows();
    m_busy = false;
}

void TrainListEditor::setCurrentTrain(int gridRow)
{
    const int row = hasTrainAt(gridRow) ? gridRow : 0;
    if (row != m_currentTrainRow)
        m_rowCursor = 1; // another train: its rows from the top
    m_currentTrainRow = row;
}

void TrainListEditor::showRows()
{
    m_rowCells.resize(1);
    const Train *t = currentTrain();
    if (t) {
        const int rows = std::max(1, t->rowCount());
        for (int k = 0; k < rows; ++k) {
            const TrainRow r = t->row(k);
            m_rowCells.push_back({QString::number(k + 1), stationText(r.station), formatClockTime(r.time)});
        }
        m_rowsEnabled = true;
        m_rusici = t->rusici;
        m_podlePotreby = t->podlePotreby;
    } else {
        m_rowCells.push_back({QStringLiteral("1"), QString(), QStringLiteral("0:00")});
        m_rowsEnabled = false;
        m_rusici = m_podlePotreby = false;
    }
    m_rowCursor = std::clamp(m_rowCursor, 1, rowCount() - 1);
    showRowFlags();
}

// The two row boxes always show the row under the cursor, so that a click on
// them changes the row the user sees them for.
void TrainListEditor::showRowFlags()
{
    const Train *t = currentTrain();
    if (!t) {
        m_halfMinute = m_shortDwell = false;
        return;
    }
    const int k = std::clamp(m_rowCursor - 1, 0, std::max(0, t->rowCount() - 1));
    const TrainRow r = t->row(k);
    m_halfMinute = r.halfMinute;
    m_shortDwell = r.shortDwell;
}

void TrainListEditor::setTrainCursor(int row)
{
    if (m_busy || row < 1 || row >= trainRowCount())
        return;
    m_trainCursor = row;
    setCurrentTrain(row);
    showRows();
}

void TrainListEditor::commitTrainName(int row, const QString &text, int cursorRow, bool trainGridActive)
{
    if (m_busy || row < 1 || row >= trainRowCount())
        return;
    m_busy = true;
    if (cursorRow >= 1 && cursorRow < trainRowCount())
        m_trainCursor = cursorRow;
    m_trainCells[static_cast<size_t>(row)][TrainNameColumn] = text;
    int editRow = row;
    setCurrentTrain(editRow);

    // Names cleared at the end of the list take their trains with them.
    for (;;) {
        const int last = trainRowCount() - 1;
        if (last < 2 || m_doc.trains.empty())
            break;
        if (!trainCell(TrainNameColumn, last).trimmed().isEmpty()
            || !trainCell(TrainNameColumn, last - 1).trimmed().isEmpty())
            break;
        const size_t index = static_cast<size_t>(last - 2);
        if (index >= m_doc.trains.size())
            break;
        m_doc.trains.erase(m_doc.trains.begin() + static_cast<std::ptrdiff_t>(index));
        m_trainCursor = last - 1;
        editRow = last - 1;
        m_trainCells.pop_back();
    }

    const QString typed = trainCell(TrainNameColumn, editRow);
    const int trailing = trainRowCount() - 1;
    if (editRow == trailing && !typed.trimmed().isEmpty()) {
        Train t;
        t.name = cp1250::fromUnicode(typed.trimmed());
        t.firstTime = makeTime(0, 0);
        m_doc.trains.push_back(std::move(t));
        m_trainCells.push_back({QString::number(trainRowCount()), QString()});
    } else if (typed.trimmed().isEmpty()) {
        // A blank name over a train is not stored; the train keeps its name.
        setCurrentTrain(editRow);
        showRows();
        m_busy = false;
        return;
    } else if (hasTrainAt(editRow)) {
        m_doc.trains[static_cast<size_t>(editRow - 1)].name = cp1250::fromUnicode(typed);
    }
    setCurrentTrain(editRow);

    if (m_trainCursor == editRow && editRow + 1 < trainRowCount() && trainGridActive) {
        m_trainCursor = editRow + 1;
        setCurrentTrain(m_trainCursor);
    }
    showRows();
    m_busy = false;
}

void TrainListEditor::setRowCursor(int row)
{
    if (m_busy || row < 1 || row >= rowCount())
        return;
    m_rowCursor = row;
    showRowFlags();
}

// An entry of one to three characters: a minute in the hour of the row
// above, or "+" for half a minute after it. Returns the new time, or the old
// one for an entry that is not a minute.
double TrainListEditor::shortEntryTime(QString t, int row, const TrainRow *previous, double oldTime, bool &half,
                                       bool &shortDwell)
{
    const qsizetype n = t.size();
    if ((n == 3 && isSuffix(t[2])) || (n == 2 && isSuffix(t[1]))) {
        applySuffix(t[n - 1], half, shortDwell);
        t.chop(1);
    }
    if (t == u"+") {
        if (row == 1 || !previous)
            return makeTime(0, 0);
        if (previous->halfMinute)
            return previous->time + oneMinute;
        half = true;
        return previous->time;
    }
    int minute = -1;
    if (!tryParseClockNumber(t.toLatin1(), minute) || minute > 59)
        return oldTime;
    if (row == 1 || !previous)
        return makeTime(0, 0);
    return makeTime(decodeTime(previous->time).hours, minute);
}

void TrainListEditor::commitTime(int row, const QString &text, int cursorRow, bool step)
{
    Train *t = currentTrain();
    if (m_busy || !t || row < 1 || row >= rowCount())
        return;
    m_busy = true;
    if (cursorRow >= 1 && cursorRow < rowCount())
        m_rowCursor = cursorRow;

    const int k = row - 1; // 0-based row of the train; an empty train shows one
    if (k >= std::max(1, t->rowCount())) {
        m_busy = false;
        return;
    }
    TrainRow r = t->row(k);
    TrainRow previous;
    if (k > 0)
        previous = t->row(k - 1);

    QString entry = text.trimmed();
    bool half = false;
    bool shortDwell = false;
    double time = r.time;
    if (entry.size() >= 1 && entry.size() <= 3) {
        time = shortEntryTime(entry, row, k > 0 ? &previous : nullptr, r.time, half, shortDwell);
    } else {
        if (entry.size() == 5 && isSuffix(entry[4])) {
            applySuffix(entry[4], half, shortDwell);
            entry.chop(1);
        }
        try {
            time = parseClockDigits(entry);
        } catch (const ConversionError &) {
            time = r.time; // not a time of day: the row keeps its time
        }
    }

    r.time = time;
    r.halfMinute = half;
    r.shortDwell = shortDwell;
    t->setRow(k, r);
    m_rowCells[static_cast<size_t>(row)][TimeColumn] = formatClockTime(time);

    if (step && m_rowCursor == row && row + 1 < rowCount())
        ++m_rowCursor;
    showRows();
    m_busy = false;
}

void TrainListEditor::deleteRow()
{
    Train *t = currentTrain();
    if (m_busy || !t)
        return;
    const int k = m_rowCursor - 1;
    if (k == 0) {
        if (!t->stops.empty()) {
            const TrainStop &s = t->stops.front();
            t->setRow(0, TrainRow{s.station, s.time, s.mark, s.halfMinute, s.shortDwell});
            t->stops.erase(t->stops.begin());
        } else {
            t->firstStation = 0;
            t->firstTime = makeTime(0, 0);
        }
    } else if (k >= 1 && static_cast<size_t>(k) <= t->stops.size()) {
        t->stops.erase(t->stops.begin() + (k - 1));
    } else {
        return;
    }
    showRows();
}

void TrainListEditor::insertRow(int32_t stationRef, bool atCursor)
{
    Train *t = currentTrain();
    if (!t)
        return;
    const TrainRow fresh{stationRef, makeTime(0, 0), 0, 0, 0};
    TrainStop stop;
    stop.station = stationRef;
    stop.time = fresh.time;

    if (t->isEmpty()) {
        t->setRow(0, fresh);
        m_rowCursor = 1;
    } else if (!atCursor) {
        t->stops.push_back(stop);
        m_rowCursor = t->rowCount();
    } else {
        const int k = std::clamp(m_rowCursor, 1, t->rowCount());
        if (k == 1) {
            const TrainRow old = t->row(0);
            TrainStop moved;
            moved.station = old.station;
            moved.time = old.time;
            moved.mark = old.mark;
            moved.halfMinute = old.halfMinute;
            moved.shortDwell = old.shortDwell;
            t->stops.insert(t->stops.begin(), moved);
            t->setRow(0, fresh);
        } else {
            t->stops.insert(t->stops.begin() + (k - 2), stop);
        }
        m_rowCursor = k;
    }
    showRows();
}

void TrainListEditor::insertStation(int index, bool twice)
{
    if (m_busy || !currentTrain() || index < 0 || index >= m_items.size()
        || index >= static_cast<int>(m_doc.stations.size()))
        return;
    const bool atCursor = m_insertPosition == InsertPosition::AtCursor;
    insertRow(index + 1, atCursor);
    if (twice)
        insertRow(index + 1, atCursor);
}

void TrainListEditor::insertKilometre(int km)
{
    if (m_busy || !currentTrain() || km < -maxKilometre || km > maxKilometre)
        return;
    insertRow(km - 1000, false);
}

void TrainListEditor::setNavigation(Navigation n)
{
    m_navigation = n;
    if (n == Navigation::All)
        m_movingDown = m_movingUp = false;
}

void TrainListEditor::stationKeyDown(Arrow arrow)
{
    m_movingDown = arrow == Arrow::Down;
    m_movingUp = arrow == Arrow::Up;
}

void TrainListEditor::stationKeyUp()
{
    m_movingDown = m_movingUp = false;
}

int TrainListEditor::selectStation(int index)
{
    const int n = static_cast<int>(m_items.size());
    m_selection = index >= 0 && index < n ? index : -1;
    if (m_navigation == Navigation::All) {
        m_movingDown = m_movingUp = false;
        return m_selection;
    }
    if (m_selection < 0)
        return m_selection;
    int i = m_selection;
    if (m_movingDown) {
        while (i < n && !isTrafficPoint(m_items[i]))
            ++i;
        m_selection = i < n ? i : -1;
    } else if (m_movingUp) {
        while (i > 0 && !isTrafficPoint(m_items[i]))
            --i;
        m_selection = i;
    }
    return m_selection;
}

void TrainListEditor::setRusici(bool on)
{
    if (Train *t = currentTrain())
        t->rusici = on;
    showRows();
}

void TrainListEditor::setPodlePotreby(bool on)
{
    if (Train *t = currentTrain())
        t->podlePotreby = on;
    showRows();
}

void TrainListEditor::setHalfMinute(bool on)
{
    Train *t = currentTrain();
    if (t && m_rowCursor >= 1 && m_rowCursor <= std::max(1, t->rowCount())) {
        TrainRow r = t->row(m_rowCursor - 1);
        r.halfMinute = on;
        t->setRow(m_rowCursor - 1, r);
    }
    showRowFlags();
}

void TrainListEditor::setShortDwell(bool on)
{
    Train *t = currentTrain();
    if (t && m_rowCursor >= 1 && m_rowCursor <= std::max(1, t->rowCount())) {
        TrainRow r = t->row(m_rowCursor - 1);
        r.shortDwell = on;
        t->setRow(m_rowCursor - 1, r);
    }
    showRowFlags();
}
