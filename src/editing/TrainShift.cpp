#include "TrainShift.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include <algorithm>
#include <cmath>

namespace TrainShift {

namespace {

constexpr double msPerDay = 86400000.0;
constexpr int64_t msPerHalf = 30000;

int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The gap from the row ahead of `row` to it, in half-minutes; a row that
// comes earlier in the day than the one ahead of it is past midnight.
int64_t gapBefore(const Train &train, int row)
{
    const TrainRow a = train.row(row - 1);
    const TrainRow b = train.row(row);
    int64_t gap = halfMinutes(b.time, b.halfMinute) - halfMinutes(a.time, a.halfMinute);
    if (gap < 0)
        gap -= floorDiv(gap, perDay) * perDay;
    return gap;
}

TrainRow moved(TrainRow r, int amount)
{
    const int64_t from = halfMinutes(r.time, r.halfMinute);
    int64_t to = from + amount;
    if (from < perDay || to < 0)
        to -= floorDiv(to, perDay) * perDay;
    const int64_t minutes = to / perMinute;
    r.time = makeTime(0, static_cast<int>(minutes));
    r.halfMinute = static_cast<uint8_t>(to % perMinute);
    return r;
}

double movedLabelTime(double time, int amount)
{
    double t = time + amount / double(perDay);
    if (time >= 0.0 && time < 1.0)
        t -= std::floor(t);
    return t;
}

QByteArray labelText(QByteArrayView name)
{
    return FixedString<15>(name).view().toByteArray();
}

} // namespace

bool passesThrough(const Train &train, int row)
{
    if (row <= 0 || row + 1 >= train.rowCount())
        return false;
    const int32_t station = train.row(row).station;
    return station > 0 && train.row(row - 1).station != station && train.row(row + 1).station != station;
}

int64_t halfMinutes(double time, bool halfMinute)
{
    const double ms = std::nearbyint(time * msPerDay);
    if (!std::isfinite(ms) || std::abs(ms) > 1e15)
        return 0;
    return floorDiv(static_cast<int64_t>(ms), msPerHalf) + (halfMinute ? 1 : 0);
}

int held(const Train &train, int fromRow, int amount)
{
    const int rows = train.rowCount();
    int low = -(perDay - 1);
    int high = perDay - 1;
    if (fromRow > 0 && fromRow < rows) {
        const int64_t gap = gapBefore(train, fromRow);
        low = static_cast<int>(-std::min<int64_t>(gap, perDay - 1));
        high = static_cast<int>(std::max<int64_t>(perDay - 1 - gap, 0));
    }
    return std::clamp(amount, low, high);
}

void shiftRows(Train &train, int fromRow, int amount)
{
    for (int k = std::max(fromRow, 0); k < train.rowCount(); ++k)
        train.setRow(k, moved(train.row(k), amount));
}

int shift(Document &doc, int index, int fromRow, int amount)
{
    if (index < 0 || static_cast<size_t>(index) >= doc.trains.size())
        return 0;
    Train &train = doc.trains[static_cast<size_t>(index)];
    if (fromRow < 0 || fromRow >= train.rowCount())
        return 0;
    amount = held(train, fromRow, amount);
    if (amount == 0)
        return 0;
    if (amount > 0 && passesThrough(train, fromRow)) {
        // The train waits: the row stays as the arrival, its copy departs.
        TrainRow arrival = train.row(fromRow);
        arrival.shortDwell = 0;
        TrainRow departure = arrival;
        departure.mark = 0;
        train.stops.insert(train.stops.begin() + fromRow, TrainStop{});
        train.setRow(fromRow, arrival);
        train.setRow(fromRow + 1, departure);
        ++fromRow;
    }
    shiftRows(train, fromRow, amount);
    if (fromRow == 0) {
        const QByteArray text = labelText(train.name.view());
        for (TrainLabel &label : doc.trainLabels)
            if (label.text.view() == text)
                label.time = movedLabelTime(label.time, amount);
    }
    return amount;
}

QString amountText(int amount)
{
    const int whole = std::abs(amount) / perMinute;
    QString text = (amount < 0 ? QStringLiteral("-") : QStringLiteral("+")) + QString::number(whole);
    if (amount % perMinute != 0)
        text += QStringLiteral(",5");
    return text + QStringLiteral(" min");
}

QString stepName(const Train &train, int amount)
{
    return QStringLiteral("posun vlaku ") + cp1250::toUnicode(train.name.view()) + QStringLiteral(" o ")
           + amountText(amount);
}

QByteArray renumbered(QByteArrayView name, int64_t add)
{
    qsizetype end = name.size();
    while (end > 0 && !(name[end - 1] >= '0' && name[end - 1] <= '9'))
        --end;
    qsizetype begin = end;
    while (begin > 0 && name[begin - 1] >= '0' && name[begin - 1] <= '9')
        --begin;
    if (begin == end || end - begin > 15)
        return name.toByteArray();
    const int64_t number = QByteArrayView(name.data() + begin, end - begin).toLongLong() + add;
    if (number < 0)
        return name.toByteArray();
    return name.first(begin).toByteArray() + QByteArray::number(number) + name.sliced(end).toByteArray();
}

int copySeries(Document &doc, int index, int count, int interval, int numberStep)
{
    if (index < 0 || static_cast<size_t>(index) >= doc.trains.size() || count <= 0)
        return 0;
    const Train original = doc.trains[static_cast<size_t>(index)];
    const QByteArray originalText = labelText(original.name.view());
    std::vector<TrainLabel> labels;
    for (const TrainLabel &label : doc.trainLabels)
        if (label.text.view() == originalText)
            labels.push_back(label);
    doc.trains.reserve(doc.trains.size() + static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        Train copy = original;
        copy.name = renumbered(original.name.view(), int64_t{i} * numberStep);
        const int amount = static_cast<int>(int64_t{i} * interval % perDay);
        shiftRows(copy, 0, amount);
        for (TrainStop &s : copy.stops)
            s = TrainStop{s.station, s.time, s.mark, 0, s.halfMinute, s.shortDwell, {}};
        // Labels are put at the head: the copies keep the original's order.
        for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
            TrainLabel &label = doc.newTrainLabel();
            label.text = labelText(copy.name.view());
            label.time = movedLabelTime(it->time, amount);
            label.level = it->level;
            label.ascending = it->ascending;
            label.rusici = it->rusici;
            label.visible = it->visible;
            label.angle = it->angle;
        }
        doc.trains.push_back(std::move(copy));
    }
    doc.trainCount = static_cast<int32_t>(doc.trains.size());
    return count;
}

} // namespace TrainShift
