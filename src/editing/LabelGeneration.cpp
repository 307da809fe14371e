#include "LabelGeneration.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Document.h"
#include "model/Kilometres.h"
#include "render/DiagramView.h"
#include "render/Fonts.h"
#include "render/LabelText.h"
#include "render/ProgressSink.h"

#include <QFontMetrics>
#include <QHash>
#include <QString>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

constexpr double secondsPerDay = 86400.0;
constexpr double minute = 1.0 / 1440.0;
constexpr double halfMinuteSeconds = 30.0;

// Times and kilometres of a damaged file must not turn into undefined
// integer conversions; any sensible diagram stays far inside these bounds.
int32_t boundedRound(double v)
{
    if (!std::isfinite(v))
        return 0;
    return Geometry::round(std::clamp(v, -1.0e9, 1.0e9));
}

bool hasDistance(int32_t ref)
{
    return ref < 0 || (ref >= 1 && ref <= Document::maxStations);
}

// A time a train label can be worked out from. A file may hold any finite
// number as a time; far beyond any timetable the anchor's arithmetic runs
// past the range of a double, and a label at an infinite time would make
// the saved file unreadable.
bool hasLabelTime(double time)
{
    constexpr double maxDays = 1.0e6;
    return std::fabs(time) <= maxDays; // false for NaN too
}

// The measurements of one run, taken once on the calling thread: the
// arrow's size, the digit height, and the width of every single digit.
// Texts with a mark are measured afterwards, on the calling thread too.
struct TimeLabelMeasures
{
    explicit TimeLabelMeasures(const Document &doc)
        : font(Fonts::makeFont(doc.settings.timeFontName, doc.settings.timeFontSize)),
          metrics(font, &LabelText::measureSurface())
    {
        const QFont arrowFont = Fonts::makeFont(Fonts::arrowFontName, doc.settings.timeFontSize);
        const QSize arrow = LabelText::size(arrowFont, Fonts::arrowFontName, Fonts::arrowText);
        arrowWidth = arrow.width();
        arrowHeight = arrow.height();
        digitHeight = LabelText::size(font, doc.settings.timeFontName, "1234567890").height();
        for (int d = 0; d < 10; ++d)
            digitWidths[static_cast<size_t>(d)] = metrics.horizontalAdvance(QString(QLatin1Char('0' + d)));
    }

    int width(const Document &doc, QByteArrayView text)
    {
        if (text.size() == 1 && text[0] >= '0' && text[0] <= '9')
            return digitWidths[static_cast<size_t>(text[0] - '0')];
        const QByteArray key = text.toByteArray();
        auto it = widths.constFind(key);
        if (it == widths.constEnd())
            it = widths.insert(key, metrics.horizontalAdvance(Fonts::drawableText(doc.settings.timeFontName, text)));
        return it.value();
    }

    QFont font;
    QFontMetrics metrics;
    int arrowWidth = 0;
    int arrowHeight = 0;
    int digitHeight = 0;
    std::array<int, 10> digitWidths{};
    QHash<QByteArray, int> widths;
};

// The time labels of a run of trains, in the order they are made. It reads
// the document and the measurements and writes only its own lists, so runs
// of different trains can go on at once. An arrival label whose text is not
// a single digit still lacks its text's width in x: it is listed in
// needsWidth and finished on the calling thread. Each maker has cache lines
// of its own: makers side by side are filled by different threads.
class alignas(64) TimeLabelMaker
{
public:
    TimeLabelMaker(const Document &doc, double scale, const TimeLabelMeasures &measures)
        : m_doc(doc), m_scale(scale), m_zoom(doc.settings.zoom), m_measures(measures)
    {
    }

    std::vector<TimeLabel> labels;
    // Labels to finish, with their whole text (the label keeps 7 characters).
    std::vector<std::pair<uint32_t, QByteArray>> needsWidth;

    void train(const Train &train)
    {
        if (train.stops.empty())
            return;
        const TrainRow first = train.row(0);
        if (train.firstStation != train.stops.front().station && train.firstStation >= 0)
            departure(first, train.row(1));
        const int rows = train.rowCount();
        for (int k = 1; k < rows; ++k) {
            const TrainRow s = train.row(k);
            const TrainRow previous = train.row(k - 1);
            if (k + 1 == rows) {
                arrival(s, previous, false);
                continue;
            }
            const TrainRow next = train.row(k + 1);
            if (next.station == s.station || s.shortDwell) {
                arrival(s, previous, s.shortDwell);
                if (s.shortDwell)
                    departure(s, next);
            } else {
                departure(s, next);
            }
        }
    }

private:
    struct Common
    {
        double sec;
        int32_t x;
        char text[16];
        int length;
        QByteArrayView view() const { return QByteArrayView(text, length); }
    };

    Common common(const TrainRow &p) const
    {
        const ClockParts t = decodeTime(p.time);
        Common c;
        c.sec = 3600.0 * t.hours + 60.0 * t.minutes + (p.halfMinute ? halfMinuteSeconds : 0.0);
        c.x = static_cast<int32_t>(std::trunc(c.sec / 60.0 * m_scale));
        // The minute's last digit, then a mark with its sign; cut to 7.
        int n = 0;
        c.text[n++] = static_cast<char>('0' + t.minutes % 10);
        if (p.mark != 0) {
            if (p.mark > 0)
                c.text[n++] = '+';
            n += std::snprintf(c.text + n, sizeof c.text - static_cast<size_t>(n), "%d", p.mark);
        }
        c.length = n;
        return c;
    }

    double distance(int32_t ref) const { return PointDistance(m_doc, ref); }

    // Right of the line leaving p towards q.
    void departure(const TrainRow &p, const TrainRow &q)
    {
        if (!hasDistance(p.station) || !hasDistance(q.station))
            return;
        Common c = common(p);
        const double dx =
            (q.time * secondsPerDay + 0.001 + (q.halfMinute ? halfMinuteSeconds : 0.0) - c.sec) / 60.0 * m_scale;
        const double dp = distance(p.station);
        const double dq = distance(q.station);
        const double dy = std::fabs(dq - dp) * 2.0 * m_zoom;
        const int digitHeight = m_measures.digitHeight;
        if (dy != 0 && dx > 0)
            c.x += boundedRound(dx / dy * (digitHeight + 1)) + 1;
        const double at = dq > dp ? dp + (digitHeight + 1) / (2.0 * m_zoom) : dp - 1.0 / (2.0 * m_zoom);
        add(c.view(), c.x, at, p.halfMinute);
    }

    // Left of the line reaching p from r; the arrow of a short dwell when asked.
    void arrival(const TrainRow &p, const TrainRow &r, bool arrow)
    {
        if (!hasDistance(p.station) || !hasDistance(r.station))
            return;
        Common c = common(p);
        const double dx =
            (c.sec - r.time * secondsPerDay - 0.001 - (r.halfMinute ? halfMinuteSeconds : 0.0)) / 60.0 * m_scale;
        const double dp = distance(p.station);
        const double dr = distance(r.station);
        const double dy = std::fabs(dp - dr) * 2.0 * m_zoom;
        const QByteArrayView text = arrow ? QByteArrayView(Fonts::arrowText) : c.view();
        const int h = arrow ? m_measures.arrowHeight : m_measures.digitHeight;
        bool widthLater = false;
        if (dy != 0 && dx > 0) {
            int w = 0;
            if (arrow)
                w = m_measures.arrowWidth;
            else if (text.size() == 1 && text[0] >= '0' && text[0] <= '9')
                w = m_measures.digitWidths[static_cast<size_t>(text[0] - '0')];
            else
                widthLater = true;
            c.x -= boundedRound(dx / dy * (h + 1)) + w + 1;
        }
        const double at = dp > dr ? dp - 1.0 / (2.0 * m_zoom) : dp + (h + 1) / (2.0 * m_zoom);
        if (widthLater)
            needsWidth.emplace_back(static_cast<uint32_t>(labels.size()), text.toByteArray());
        add(text, c.x, at, arrow ? 0 : p.halfMinute);
    }

    void add(QByteArrayView text, int32_t x, double at, uint8_t halfMinute)
    {
        TimeLabel &label = labels.emplace_back();
        label.text = text;
        label.x = x;
        label.distance = at;
        label.halfMinute = halfMinute;
    }

    const Document &m_doc;
    double m_scale;
    int m_zoom;
    const TimeLabelMeasures &m_measures;
};

// Hides the progress window however the run ends.
class ProgressShown
{
public:
    ProgressShown(ProgressSink &progress, bool shown) : m_progress(progress), m_shown(shown) {}
    ~ProgressShown()
    {
        if (m_shown)
            m_progress.hide();
    }
    ProgressShown(const ProgressShown &) = delete;
    ProgressShown &operator=(const ProgressShown &) = delete;

private:
    ProgressSink &m_progress;
    bool m_shown;
};

struct TrainLabelValues
{
    double time;
    double level;
    double angle;
    uint8_t ascending;
};

// The train label of one train, or none when the train's first stop is at
// its first station and nothing follows it, or when a row the label is made
// from has no distance or a time beyond any timetable.
std::optional<TrainLabelValues> trainLabelValues(const Document &doc, const Train &train, double scale,
                                                 bool effectiveTimes, int textWidth)
{
    // The label is made from the first row and one stop (the second when the
    // first stands at the first row's station); later rows do not matter.
    if (train.stops.empty() || !hasDistance(train.firstStation))
        return std::nullopt;
    const int zoom = doc.settings.zoom;
    const double d1 = std::max(0.0, PointDistance(doc, train.firstStation));
    double t1 = train.firstTime;
    uint8_t half1 = train.firstHalfMinute;
    size_t e = 0;
    if (train.stops[0].station == train.firstStation) {
        t1 = train.stops[0].time;
        half1 = train.stops[0].halfMinute;
        e = 1;
        if (e >= train.stops.size())
            return std::nullopt;
    }
    const TrainStop &stop = train.stops[e];
    if (!hasDistance(stop.station) || !hasLabelTime(t1) || !hasLabelTime(stop.time))
        return std::nullopt;
    const double d2 = PointDistance(doc, stop.station);
    double t2 = stop.time;
    if (effectiveTimes) {
        if (half1)
            t1 += halfMinuteSeconds / secondsPerDay;
        if (stop.halfMinute)
            t2 += halfMinuteSeconds / secondsPerDay;
    }

    TrainLabelValues v;
    const double dx = (t2 - t1) * 1440.0 * scale;
    v.angle = dx == 0 ? -std::atan(1e-18) : -std::atan(2.0 * zoom * (d2 - d1) / dx);
    if (d2 > d1) {
        v.level = d1 + textWidth / (2.0 * zoom);
        v.time = stop.time - ((stop.time - t1) / (d2 - d1)) * (d2 - v.level) - 2 * minute;
    } else {
        v.level = d1 - 1;
        v.time = t1 + 5 * minute + std::cos(v.angle) * textWidth / (1440.0 * scale);
    }
    v.ascending = d1 < d2 ? 1 : 0;
    return v;
}

// Train names are measured in "ARIAL CE" 8 bold, whatever the label fonts.
class TrainNameMeasure
{
public:
    TrainNameMeasure() : m_metrics(Fonts::makeFont("ARIAL CE", 8, Fonts::Bold), &LabelText::measureSurface()) {}
    int width(const FixedString<15> &text) const { return m_metrics.horizontalAdvance(cp1250::toUnicode(text.view())); }

private:
    QFontMetrics m_metrics;
};

void addTrainLabel(Document &doc, const Train &train, const FixedString<15> &text, const TrainLabelValues &v)
{
    TrainLabel &label = doc.newTrainLabel();
    label.text = text;
    label.time = v.time;
    label.level = v.level;
    label.angle = v.angle;
    label.ascending = v.ascending;
    label.rusici = train.rusici;
    label.visible = 1;
}

} // namespace

double PointDistance(const Document &doc, int32_t index)
{
    return Kilometres::toKm(doc.rowMetres(index));
}

void MakeTimeLabels(Document &doc, double scale, ProgressSink &progress)
{
    const int32_t trainCount = doc.trainCount;
    progress.setText(QStringLiteral("Vytvářím časové popisky vlaku"));
    progress.setProgress(0);
    progress.setMaximum(trainCount);
    progress.setGaugeVisible(true);
    if (trainCount > 0)
        progress.showNow();
    const ProgressShown shown(progress, trainCount > 0);

    doc.clearTimeLabels();
    TimeLabelMeasures measures(doc);
    const size_t trains = doc.trains.size();
    // Trains are labelled in batches, each batch shared out over the cores
    // in runs of trains; the labels go into the list in train order, so the
    // result is the same however the work was shared. Between batches the
    // progress window shows how far it got.
    constexpr size_t run = 64;
    const size_t batch = std::max<size_t>(run * 8, trains / 16);
    std::vector<TimeLabelMaker> makers;
    size_t done = 0;
    while (done < trains) {
        const size_t end = std::min(trains, done + batch);
        makers.clear();
        for (size_t from = done; from < end; from += run)
            makers.emplace_back(doc, scale, measures);
        QtConcurrent::blockingMap(makers, [&](TimeLabelMaker &maker) {
            const size_t from = done + run * static_cast<size_t>(&maker - makers.data());
            for (size_t t = from; t < std::min(end, from + run); ++t)
                maker.train(doc.trains[t]);
        });
        // Labels go to the head of the list: the last made is the first.
        for (TimeLabelMaker &maker : makers) {
            for (const auto &[i, text] : maker.needsWidth)
                maker.labels[i].x -= measures.width(doc, text);
            for (const TimeLabel &label : maker.labels)
                doc.timeLabels.push_front(label);
        }
        // Progress every 10 trains, as counted in train order; the window
        // itself decides how often it is painted.
        for (size_t counted = (done / 10 + 1) * 10; counted <= end && trainCount > 0; counted += 10) {
            progress.setProgress(static_cast<int>(counted));
            progress.repaintNow();
        }
        done = end;
    }
}

void MakeTrainLabels(Document &doc, double scale)
{
    doc.clearTrainLabels();
    const TrainNameMeasure measure;
    for (const Train &train : doc.trains) {
        const FixedString<15> text(train.name.view());
        if (const auto v = trainLabelValues(doc, train, scale, true, measure.width(text)))
            addTrainLabel(doc, train, text, *v);
    }
}

void MakeLabelsForNewTrains(Document &doc, double scale)
{
    // A label holds 15 characters of its train's name, so names that agree
    // in those share one text. The labels of a text are shared out among the
    // trains of that text that can carry a label, in order: the oldest label
    // (the list's tail) to the first such train in the list, the next to the
    // second, and so on, as MakeTrainLabels and earlier runs made them. A
    // train left without one gets a new label; labels beyond the trains
    // (copies) go with the last train. With one train to a text, as with
    // every name of up to 15 characters, all its labels are that train's.
    struct Share
    {
        std::vector<TrainLabel *> labels; // oldest first
        int trains = 0;                   // trains that can carry a label
        int next = 0;                     // the next such train's place
    };
    QHash<QByteArray, Share> shares;
    for (auto it = doc.trainLabels.rbegin(); it != doc.trainLabels.rend(); ++it)
        shares[it->text.toByteArray()].labels.push_back(&*it);

    // Whether a train can carry a label does not depend on its text's width.
    const auto canCarryLabel = [&](const Train &train) {
        return trainLabelValues(doc, train, scale, false, 0).has_value();
    };
    for (const Train &train : doc.trains)
        if (canCarryLabel(train))
            ++shares[FixedString<15>(train.name.view()).toByteArray()].trains;

    const TrainNameMeasure measure;
    for (const Train &train : doc.trains) {
        if (train.stops.empty())
            continue;
        const FixedString<15> text(train.name.view());
        Share &share = shares[text.toByteArray()];
        const std::vector<TrainLabel *> &labels = share.labels;
        if (!canCarryLabel(train)) {
            // A train that can carry no label still passes its flag on to
            // labels of its text that no other train claims.
            if (share.trains == 0)
                for (TrainLabel *label : labels)
                    label->rusici = train.rusici;
            continue;
        }
        const size_t own = static_cast<size_t>(share.next++);
        if (own >= labels.size()) {
            addTrainLabel(doc, train, text, *trainLabelValues(doc, train, scale, false, measure.width(text)));
            continue;
        }
        const bool last = share.next == share.trains;
        for (size_t k = own; k < (last ? labels.size() : own + 1); ++k)
            labels[k]->rusici = train.rusici;
    }
}
