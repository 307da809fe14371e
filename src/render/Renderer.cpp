#include "Renderer.h"

#include "Colours.h"
#include "CompareOverlay.h"
#include "ConflictMarks.h"
#include "DiagramWindow.h"
#include "Fonts.h"
#include "LabelImage.h"
#include "LineRaster.h"
#include "MinuteLabels.h"
#include "ProgressSink.h"
#include "TrainLabelPlacement.h"
#include "TrainLines.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cstring>

namespace {

// The diagram's fixed geometry: the station column left of the time axis,
// the margin above the top station line, and the pixels of one scroll unit.
constexpr int column = DiagramView::stationColumn;
constexpr int topMargin = DiagramView::topMargin;
constexpr int hUnit = DiagramView::hUnit;
constexpr int vUnit = DiagramView::vUnit;

const QByteArray diagramFontName = QByteArrayLiteral("ARIAL CE");

QColor olive()
{
    return Colours::toQColor(Colours::olive);
}

} // namespace

Renderer::Renderer(Document &document, DiagramView &view) : m_doc(document), m_view(view)
{
    m_surface = QImage(1, 1, QImage::Format_RGB32);
    m_surface.fill(Qt::white);
}

Renderer::~Renderer() = default;

void Renderer::recordWholeDiagram()
{
    m_minuteTexts.recordAll(m_list);
}

QFont Renderer::diagramFontOf(int zoom)
{
    return Fonts::makeFont(diagramFontName, Geometry::diagramFontSize(zoom),
                           Geometry::diagramFontBold(zoom) ? Fonts::Bold : 0);
}

void Renderer::draw(DiagramWindow &window, const RenderRequest &request, const RenderOptions &options)
{
    if (request.rebuild)
        m_doc.redrawNeeded = true;
    if (m_busy) {
        ++m_stats.dropped;
        return;
    }
    m_busy = true;
    m_request = request;
    m_options = options;
    // The flags end with the render whatever happens in it: a render that
    // fails half-way must not leave the editor refusing every later one.
    struct Finish
    {
        Renderer &r;
        ~Finish()
        {
            r.m_request = {};
            r.m_busy = false;
        }
    } finish{*this};

    ++m_stats.renders;
    m_diagramFont = diagramFontOf(m_doc.settings.zoom);
    prepareSurface(window.paintBoxSize());
    if (m_doc.redrawNeeded && m_request.labels == RenderRequest::Labels::all())
        m_outlines.clear();

    if (m_doc.noDocument) {
        drawEmptyAxis(window);
    } else {
        // The legend gap is set by the first full render of a document, which
        // then runs once more with it; nothing is recorded the second time,
        // and the first pass leaves the picture to the second.
        const bool twoPasses = !m_doc.stations.empty() && m_view.legendGap < 20;
        drawDocument(window, !twoPasses);
        if (twoPasses) {
            m_view.legendGap = DiagramView::legendGapAfterFirstRender;
            drawDocument(window, true);
        }
    }
    window.surfaceChanged();
}

void Renderer::prepareSurface(QSize paintBox)
{
    const QSize size = paintBox.expandedTo(QSize(1, 1));
    if (m_surface.size() != size) {
        m_surface = QImage(size, QImage::Format_RGB32);
        m_surface.fill(Qt::white);
    }
}

void Renderer::resizeDiagramBitmap(QSize clientSize)
{
    if (m_bitmap.isNull())
        return;
    const QSize size = clientSize.expandedTo(QSize(1, 1));
    if (m_bitmap.size() == size)
        return;
    m_bitmap = QImage(size, QImage::Format_RGB32);
    m_bitmap.fill(Qt::white);
}

void Renderer::drawText(QPainter &painter, const QFont &font, int x, int top, const QString &text)
{
    const QFontMetrics fm(font, &m_surface);
    painter.setFont(font);
    painter.drawText(x, top + fm.ascent(), text);
}

int Renderer::legendHeight(const QFont &font, int paintBoxWidth)
{
    const std::vector<QString> &lines = m_legend.layout(m_doc, font, &m_surface, paintBoxWidth);
    const QFontMetrics fm(font, &m_surface);
    return fm.height() * static_cast<int>(lines.size()); // the height of "AAA" times the lines
}

Renderer::ScrollRanges Renderer::scrollRanges(int zoom, double scale, QSize paintBox)
{
    ScrollRanges r;
    if (m_doc.noDocument) {
        r.horizontal = Geometry::horizontalMaximum(Geometry::emptyWidth(zoom), paintBox.width());
        r.vertical = Geometry::emptyVerticalRange(zoom, paintBox.height());
        return r;
    }
    r.horizontal = Geometry::horizontalMaximum(Geometry::fullWidth(scale), paintBox.width());
    const int64_t total = int64_t{Geometry::fullHeight(zoom, m_doc.maxMetres)} + m_view.legendGap
                          + legendHeight(diagramFontOf(zoom), paintBox.width()) + 5;
    r.vertical = Geometry::verticalRange(total, paintBox.height());
    return r;
}

// The time axis of a window without a document, straight on the surface,
// with the zoom level as pixels per minute.
void Renderer::drawEmptyAxis(DiagramWindow &window)
{
    ++m_stats.emptyAxes;
    m_hasPicture = false;
    const int z = m_doc.settings.zoom;
    const int32_t w0 = Geometry::emptyWidth(z);
    const QSize box = window.paintBoxSize();

    ProgrammaticScroll bars(window, m_view);
    const int32_t hmax = Geometry::horizontalMaximum(w0, box.width());
    bars.setMaximum(Qt::Horizontal, hmax);
    m_view.hpos = std::clamp(m_view.hpos, 0, hmax);
    bars.setValue(Qt::Horizontal, m_view.hpos);
    const Geometry::VerticalRange vr = Geometry::emptyVerticalRange(z, box.height());
    bars.setVisible(Qt::Vertical, vr.visible);
    bars.setMaximum(Qt::Vertical, vr.maximum);
    m_view.vpos = vr.visible ? std::clamp(m_view.vpos, 0, vr.maximum) : 0;
    bars.setValue(Qt::Vertical, m_view.vpos);
    m_visibleBottom = Geometry::visibleBottom(z, 0, m_view.vpos, box.height(), m_view.legendGap);

    for (int y = 0; y < m_surface.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(m_surface.scanLine(y));
        std::fill(row, row + m_surface.width(), qRgb(255, 255, 255));
    }
    LineRaster lines(m_surface);
    QPainter p(&m_surface);
    const int h = m_view.hpos;
    const int ya = 5 * z + topMargin - vUnit * m_view.vpos;
    lines.line(QPoint(column, ya), QPoint(w0 - hUnit * h - column, ya), 2, Colours::olive);

    QFont big = m_diagramFont;
    big.setPixelSize(Fonts::pixelSize(16));
    const QFontMetrics measure(m_diagramFont, &m_surface);
    p.setPen(olive());
    for (int i = 0; i <= 48; ++i) {
        const int x = column - hUnit * h + i * 30 * z;
        if (x >= column) {
            lines.line(QPoint(x, ya - 2), QPoint(x, ya + 2), 1, Colours::olive);
            if (i % 2 == 0) {
                // Measured in the diagram font, written at size 16.
                const QString text = QString::number(i / 2);
                const int width = measure.horizontalAdvance(text);
                drawText(p, big, Geometry::round(x - width / 2.0), ya + 10, text);
            }
        }
        const int width = i % 12 == 0 && x >= column ? 2 : 1;
        lines.line(QPoint(x, ya), QPoint(x, ya - 5 * z), width, Colours::olive);
    }
    lines.line(QPoint(column, ya), QPoint(column, ya - 5 * z), 1, Colours::olive);
    lines.line(QPoint(column - 2, ya), QPoint(column, ya), 1, Colours::olive);
    p.setPen(Qt::black);
    drawText(p, m_diagramFont, 35 - measure.horizontalAdvance(QStringLiteral("1")), ya - 5, QStringLiteral("1"));
}

void Renderer::drawDocument(DiagramWindow &window, bool picture)
{
    ++m_stats.passes;
    const int z = m_doc.settings.zoom;
    const int32_t maxMetres = m_doc.maxMetres;
    const QSize client = window.clientSize();
    const QSize box = window.paintBoxSize();
    ProgressSink &progress = window.progress();

    m_hasPicture = true;
    if (m_bitmap.isNull()) {
        m_bitmap = QImage(client.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        m_bitmap.fill(Qt::white);
    }

    const bool rebuild = m_doc.redrawNeeded;
    if (rebuild) {
        ++m_stats.rebuilds;
        progress.setText(QStringLiteral("Měním velikost bitmapy ..."));
        progress.setGaugeVisible(false);
        progress.showNow();
        progress.repaintNow();
        resizeDiagramBitmap(client);
        m_fullHeight = Geometry::fullHeight(z, maxMetres);
        m_cullWidth = Geometry::cullWidth(m_view.scale);
        m_list.startRebuild(m_cullWidth, m_fullHeight, !m_request.keepMinuteTexts);
        if (!m_request.keepMinuteTexts)
            m_minuteTexts.clear();
        m_canvas.indexValid = false; // the font table may have gone with the texts
    }
    const int32_t fullWidth = Geometry::fullWidth(m_view.scale);

    // Legend layout, then the scroll bars and the visible bottom.
    m_legendLines = m_legend.layout(m_doc, m_diagramFont, &m_surface, box.width());
    const QFontMetrics fm(m_diagramFont, &m_surface);
    const int lineHeight = fm.height();
    const int64_t legendHeight = int64_t{lineHeight} * static_cast<int64_t>(m_legendLines.size());

    ProgrammaticScroll bars(window, m_view);
    const int32_t hmax = Geometry::horizontalMaximum(fullWidth, box.width());
    bars.setMaximum(Qt::Horizontal, hmax);
    m_view.hpos = std::clamp(m_view.hpos, 0, hmax);
    bars.setValue(Qt::Horizontal, m_view.hpos);
    const int64_t total = int64_t{Geometry::fullHeight(z, maxMetres)} + m_view.legendGap + legendHeight + 5;
    const Geometry::VerticalRange vr = Geometry::verticalRange(total, box.height());
    bars.setVisible(Qt::Vertical, vr.visible);
    bars.setMaximum(Qt::Vertical, vr.maximum);
    m_view.vpos = vr.visible ? std::clamp(m_view.vpos, 0, vr.maximum) : 0;
    bars.setValue(Qt::Vertical, m_view.vpos);
    const int32_t bottom = Geometry::visibleBottom(z, maxMetres, m_view.vpos, box.height(), m_view.legendGap);
    m_visibleBottom = bottom;
    const int h = m_view.hpos;

    {
        // Below the diagram: white, the bottom axis, the legend, the hours.
        for (int y = std::max(0, bottom - 1); y < m_surface.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(m_surface.scanLine(y));
            std::fill(row, row + m_surface.width(), qRgb(255, 255, 255));
        }
        LineRaster(m_surface).line(QPoint(column, bottom), QPoint(fullWidth - hUnit * h - column, bottom), 2,
                                   Colours::olive);
        QPainter p(&m_surface);

        p.setPen(olive());
        p.setFont(m_diagramFont);
        int y = bottom + m_view.legendGap + 5;
        for (const QString &line : m_legendLines) {
            p.drawText(column, y + fm.ascent(), line);
            y += lineHeight;
        }
        recordHoursAndGrid(p, rebuild, bottom);
    }

    if (rebuild) {
        // The minute labels are laid out on another core while the stations
        // and trains are recorded and the train labels placed: the layout
        // reads only the document's time labels and settings and the list's
        // size, which those steps leave alone.
        QFuture<void> minutes;
        if (!m_request.keepMinuteTexts && !m_options.eager && m_options.timeLabels)
            minutes = QtConcurrent::run([this] { m_minuteTexts.prepare(m_doc, m_list, 0, {}); });
        // Should a step below fail, the layout must still end before the
        // renderer and the document it reads may go.
        struct Join
        {
            QFuture<void> &f;
            ~Join()
            {
                try {
                    if (f.isValid())
                        f.waitForFinished();
                } catch (...) {
                }
            }
        } join{minutes};
        recordStations(fullWidth);
        recordTrains(window);
        if (!m_request.keepMinuteTexts)
            recordMinuteLabels(window, minutes);
        placeTrainLabels(window);
        if (minutes.isValid())
            minutes.waitForFinished();
        progress.hide();
    }
    m_doc.labelImagesStale = false;

    const Replayer::Viewport viewport{hUnit * h, vUnit * m_view.vpos, client.width() + hUnit * h - column,
                                      vUnit * m_view.vpos + bottom - 1};
    const bool stale = !m_lastViewport || m_lastViewport->vx0 != viewport.vx0 || m_lastViewport->vy0 != viewport.vy0
                       || m_lastViewport->vx1 != viewport.vx1 || m_lastViewport->vy1 != viewport.vy1
                       || m_lastReplaySize != m_bitmap.size();
    if (!m_request.paintOnly || stale) {
        if (picture)
            replay(viewport, m_options.timeLabels);
        else
            m_lastViewport.reset(); // the next pass replays in its place
    }
    m_doc.redrawNeeded = false;
    if (!picture)
        return;

    copyToSurface(client.width(), bottom);
    if (m_options.overlay)
        m_options.overlay(m_surface);
}

// Hour numbers under the bottom axis on every render; the ten-minute grid
// into the display list on a rebuild. The positions accumulate their
// rounding: x is Round(x + 10 s), not Round(i * 10 s).
void Renderer::recordHoursAndGrid(QPainter &painter, bool record, int32_t bottom)
{
    const int z = m_doc.settings.zoom;
    const int32_t gridBottom = Geometry::fullHeight(z, m_doc.maxMetres);
    QFont hours = m_diagramFont;
    hours.setPixelSize(Fonts::pixelSize(14));
    const QFontMetrics fm(hours, &m_surface);
    painter.setFont(hours);
    const int shift = column - hUnit * m_view.hpos;
    int32_t x = 0;
    for (int i = 0; i <= 144; ++i) {
        if (i % 6 == 0) {
            const int screenX = x + shift;
            if (screenX >= column) {
                const QString text = QString::number(i / 6);
                const int width = fm.horizontalAdvance(text);
                painter.drawText(Geometry::round(screenX - width / 2.0), bottom + 19 + fm.ascent(), text);
            }
        }
        if (record) {
            uint8_t width = 1;
            uint8_t style = LinePrimitive::Solid;
            if (i % 36 == 0)
                width = 3;
            else if (i % 6 == 0)
                width = 2;
            else if (i % 6 == 3)
                style = LinePrimitive::Dash;
            m_list.recordLine(x, 20, x, gridBottom, style, Colours::olive, width);
        }
        x = Geometry::round(x + 10.0 * m_view.scale);
    }
}

// Station lines into the display list, styled by the station's kind, and
// the station column with its numbers: a number that would overlap the one
// above it in the main position moves to the alternate position, so crowded
// numbers alternate between two columns.
void Renderer::recordStations(int32_t fullWidth)
{
    const int z = m_doc.settings.zoom;
    const int32_t maxMetres = m_doc.maxMetres;
    const int32_t dayEnd = fullWidth - 80;
    const QFontMetrics fm(m_diagramFont, &m_surface);

    std::vector<StationColumn::Number> numbers;
    numbers.reserve(m_doc.stations.size());
    bool haveBand = false;
    bool previousMain = false;
    int32_t bandTop = 0;
    int32_t bandBottom = 0;
    int32_t i = 0;
    for (const Station &station : m_doc.stations) {
        ++i;
        const int32_t y = Geometry::yOfMetres(station.metres, z, maxMetres);
        const StationKind *kind = station.kind;
        if (station.metres == maxMetres) {
            m_list.recordLine(0, y, dayEnd, y, LinePrimitive::Solid, Colours::olive, 3);
            m_list.recordLine(0, y, dayEnd, y, LinePrimitive::Solid, Colours::black, 1);
        } else if (kind && kind->dopravna) {
            m_list.recordLine(0, y, dayEnd, y, LinePrimitive::Solid, Colours::olive, 2);
        } else if (kind && (kind->hradlo || kind->hlaska)) {
            m_list.recordLine(0, y, dayEnd, y, LinePrimitive::Solid, Colours::olive, 1);
        } else if (kind && kind->odbocka) {
            m_list.recordLine(0, y, dayEnd, y, LinePrimitive::DashDot, Colours::olive, 1);
        } else if (kind && (kind->nakladiste || kind->kilometr)) {
            m_list.recordLine(0, y, dayEnd, y, LinePrimitive::Dash, Colours::olive, 1);
        } else {
            m_list.recordLine(0, y, dayEnd, y, LinePrimitive::Dot, Colours::olive, 1);
        }

        StationColumn::Number number;
        number.y = y;
        number.text = QString::number(i);
        const int width = fm.horizontalAdvance(number.text);
        const int64_t top = int64_t{y} - 6;
        const int64_t end = int64_t{y} + 9;
        const bool overlaps = haveBand && ((top < bandTop && bandTop < end) || (top < bandBottom && bandBottom < end));
        if (overlaps && previousMain) {
            number.x = 20 - width;
            previousMain = false;
        } else {
            number.x = 35 - width;
            haveBand = true;
            bandTop = Geometry::saturate(int64_t{y} - 5);
            bandBottom = Geometry::saturate(int64_t{y} + 8);
            previousMain = true;
        }
        numbers.push_back(std::move(number));
    }
    m_column.rebuild(Geometry::saturate(int64_t{m_fullHeight} + 5), Geometry::fullHeight(z, maxMetres),
                     std::move(numbers));
}

void Renderer::recordTrains(DiagramWindow &window)
{
    ProgressSink &progress = window.progress();
    progress.setText(QStringLiteral("Zakresluji vlaky..."));
    progress.repaintNow();
    const TrainLines::Frame frame = TrainLines::frameOf(m_doc, m_view.scale);
    const TrainLines::Highlight highlight{m_options.highlight.on, QByteArrayView(m_options.highlight.found),
                                          QByteArrayView(m_options.highlight.other)};
    m_highlightRecorded = false;
    if (m_options.compared)
        m_highlightRecorded = m_options.compared->record(
            m_doc, frame, m_options.highlight.on ? m_options.highlight.comparedEmphasis : -1, m_list);
    for (const Train &train : m_doc.trains)
        m_highlightRecorded = m_highlightRecorded || highlight.marks(train.name.view());
    const auto recordRun = [&](DisplayList &list, size_t from, size_t to) {
        for (size_t t = from; t < to; ++t) {
            Train &train = m_doc.trains[t];
            TrainLines::RecordTrain(train, frame, TrainLines::trainPen(train, m_doc.settings, highlight), list);
        }
    };
    // A long day is recorded in runs of trains on all cores, each run into
    // a list of its own, and the runs appended in train order: the lines,
    // their strips and their order are those of one recording in order.
    // The eager way keeps the one recording, which the runs are checked
    // against.
    constexpr size_t run = 128;
    const size_t trains = m_doc.trains.size();
    if (m_options.eager || trains < 2 * run) {
        recordRun(m_list, 0, trains);
    } else {
        const size_t runs = (trains + run - 1) / run;
        if (m_trainRuns.size() < runs)
            m_trainRuns.resize(runs);
        std::vector<size_t> indices(runs);
        for (size_t i = 0; i < runs; ++i)
            indices[i] = i;
        QtConcurrent::blockingMap(indices, [&](size_t i) {
            DisplayList &list = m_trainRuns[i];
            list.startRebuild(m_cullWidth, m_fullHeight, false);
            recordRun(list, i * run, std::min(trains, (i + 1) * run));
        });
        for (size_t i = 0; i < runs; ++i)
            m_list.appendLines(m_trainRuns[i]);
    }
    if (m_options.conflictMarks)
        ConflictMarks::record(ConflictMarks::of(*m_options.conflictMarks, ConflictMarks::Frame::of(m_doc, m_view.scale)), m_list);
}

// The minute-label step: every time label as a text of the display list, in
// the time-label font (the arrow "p" in "WINGDINGS 3", a half-minute label
// underlined), while "Časové popisky" is checked. Label generation fills the
// document's time labels; this step lays them out and files them by strip,
// and a strip's texts are recorded when a replay first needs them.
void Renderer::recordMinuteLabels(DiagramWindow &window, QFuture<void> &laidOut)
{
    ProgressSink &progress = window.progress();
    progress.setText(QStringLiteral("Zakresluji časové popisky vlaků..."));
    progress.setGaugeVisible(true);
    progress.setMaximum(m_doc.timeLabelCount());
    progress.setProgress(0);
    progress.repaintNow();

    if (!m_options.timeLabels)
        return;
    if (laidOut.isValid())
        return; // being laid out on another core
    m_minuteTexts.prepare(m_doc, m_list, 20, [&progress](int count) {
        progress.setProgress(count);
        progress.repaintNow();
    });
    if (m_options.eager)
        m_minuteTexts.recordAll(m_list);
}

// The train-label step: each selected label is placed, given an image when
// it has none (or the images are stale) and outlined for the mouse. The
// measured texts are kept while the label fonts stay the same.
void Renderer::placeTrainLabels(DiagramWindow &window)
{
    if (!m_labelFonts || !m_labelFonts->sameFonts(m_doc.settings))
        m_labelFonts = std::make_unique<TrainLabelFonts>(m_doc.settings);
    PlaceTrainLabels(m_doc, *m_labelFonts, m_view.scale, m_request.labels.selector(),
                     m_options.smoothing,
                     m_options.category, m_outlines, window.progress(), m_options.eager);
}

void Renderer::replay(const Replayer::Viewport &viewport, bool texts)
{
    ++m_stats.replays;
    if (texts)
        m_minuteTexts.record(m_list.stripOf(viewport.vx0), m_list.stripOf(viewport.vx1), m_list, !m_options.eager);
    m_replayer.paintEveryText = m_options.eager;
    m_replayer.oneBand = m_options.eager;
    m_replayer.replay(m_list, m_bitmap, viewport, texts);
    drawOwedLabelImages(viewport);
    ComposeLabelImages(m_doc.trainLabels, m_bitmap, viewport.vx0, viewport.vy0, viewport.vx1, viewport.vy1,
                       m_options.eager ? 1 : m_replayer.bandsOf(m_bitmap));
    m_lastViewport = viewport;
    m_lastReplaySize = m_bitmap.size();
}

// The labels whose images are composed into this viewport get the images
// they are owed; the others keep waiting.
void Renderer::drawOwedLabelImages(const Replayer::Viewport &v)
{
    std::vector<TrainLabel *> owed;
    for (TrainLabel &label : m_doc.trainLabels)
        if (label.imageOwed()
            && !(int64_t(label.x) + label.width < v.vx0 || int64_t(label.y) + label.height < v.vy0 || label.x > v.vx1
                 || label.y > v.vy1))
            owed.push_back(&label);
    DrawOwedLabelImages(owed);
}

// DiagramBitmap beside the station column, and the column's visible rows,
// as plain copies of pixel rows.
void Renderer::copyToSurface(int clientWidth, int32_t bottom)
{
    const int rows = std::min({bottom - 1, m_bitmap.height(), m_surface.height()});
    const int columns = std::min({clientWidth - column, m_bitmap.width(), m_surface.width() - column});
    if (columns > 0 && rows > 0) {
        // The rows in bands on all cores, through raw rows: a QImage is not
        // to be touched from several threads.
        uchar *to = m_surface.bits();
        const uchar *from = m_bitmap.constBits();
        const qsizetype toStride = m_surface.bytesPerLine();
        const qsizetype fromStride = m_bitmap.bytesPerLine();
        const int bands = std::min(Replayer::bandsOf(m_bitmap), std::max(1, rows / 64));
        std::vector<std::pair<int, int>> ranges;
        for (int b = 0; b < bands; ++b)
            ranges.emplace_back(rows * b / bands, rows * (b + 1) / bands);
        const auto copy = [&](const std::pair<int, int> &range) {
            for (int r = range.first; r < range.second; ++r)
                std::memcpy(reinterpret_cast<QRgb *>(to + r * toStride) + column, from + r * fromStride,
                            static_cast<size_t>(columns) * sizeof(QRgb));
        };
        if (bands == 1 || m_options.eager)
            std::for_each(ranges.begin(), ranges.end(), copy);
        else
            QtConcurrent::blockingMap(ranges, copy);
    }
    m_column.copyTo(m_surface, int64_t{2} * m_view.vpos, std::max(0, bottom + 5));
}

void Renderer::setTextFont(const QByteArray &name, int32_t size, uint8_t style, int32_t colour)
{
    m_canvas.colour = colour;
    if (m_canvas.indexValid && m_canvas.size == size && m_canvas.style == style && m_canvas.fontName == name)
        return;
    m_canvas.fontName = name;
    m_canvas.size = size;
    m_canvas.style = style;
    m_canvas.font = Fonts::makeFont(name, size, style);
    m_canvas.ascent = QFontMetrics(m_canvas.font, &m_bitmap).ascent();
    m_canvas.indexValid = false;
}

void Renderer::setTextBrush(int32_t colour, uint8_t brushStyle)
{
    m_canvas.brushColour = colour;
    m_canvas.brushStyle = brushStyle;
}

QSize Renderer::measureText(QByteArrayView text)
{
    const QFontMetrics fm(m_canvas.font, &m_bitmap);
    const QString drawable = Fonts::drawableText(m_canvas.fontName, text);
    return QSize(fm.horizontalAdvance(drawable), fm.height());
}

void Renderer::RecordText(int32_t x, int32_t y, QByteArrayView text, int32_t width, int32_t height)
{
    if (!m_canvas.indexValid) {
        m_canvas.index =
            m_list.fontIndex(m_canvas.fontName, m_canvas.size, m_canvas.style, m_canvas.font, m_canvas.ascent);
        m_canvas.indexValid = true;
    }
    TextPrimitive t;
    t.brushColour = m_canvas.brushColour;
    t.fontColour = m_canvas.colour;
    t.brushStyle = m_canvas.brushStyle;
    t.x = x;
    t.y = y;
    t.text = m_list.textIndex(Fonts::drawableText(m_canvas.fontName, text));
    t.font = m_canvas.index;
    t.width = width;
    t.height = height;
    m_list.recordText(t);
}
