#include "LabelImage.h"

#include "Colours.h"
#include "DiagramView.h"
#include "Fonts.h"
#include "LabelText.h"
#include "TrainCategory.h"

#include "model/Cp1250.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cmath>

namespace {

constexpr int supersampling = 3;

// A font size or a label angle read from a damaged file must not turn into
// a huge or undefined bitmap size.
int32_t boundedRound(double v)
{
    if (!std::isfinite(v))
        return 0;
    return Geometry::round(std::clamp(v, -1.0e6, 1.0e6));
}

inline uint8_t channelOf(QRgb pixel, LabelChannel channel)
{
    return static_cast<uint8_t>(channel == LabelChannel::Red ? qRed(pixel) : qBlue(pixel));
}

// Appends runs of at most 255 pixels: a longer run of one value becomes
// several runs of that value.
class RunWriter
{
public:
    explicit RunWriter(TrainLabel &label) : m_label(label) {}

    void pixel(uint8_t value)
    {
        if (m_length > 0 && (value != m_value || m_length == 255))
            flush();
        m_value = value;
        ++m_length;
    }
    void endRow()
    {
        if (m_length > 0)
            flush();
        m_label.imageCodes.push_back(0);
    }

private:
    void flush()
    {
        m_label.imageCodes.push_back(static_cast<uint8_t>(m_length));
        m_label.imageValues.push_back(m_value);
        m_length = 0;
    }

    TrainLabel &m_label;
    uint8_t m_value = 0;
    int m_length = 0;
};

} // namespace

// The text bitmap is drawn without the platform's font smoothing: "Vyhlazení"
// is the program's own smoothing, and without it labels stay crisp.
QFont labelTextFont(const QFont &labelFont, bool smoothing)
{
    QFont font = labelFont;
    font.setStyleStrategy(QFont::NoAntialias);
    if (smoothing) {
        if (font.pixelSize() > 0)
            font.setPixelSize(font.pixelSize() * supersampling);
        else
            font.setPointSizeF(font.pointSizeF() * supersampling);
    }
    return font;
}

int32_t labelImageColour(QByteArrayView text, bool rusici)
{
    return rusici ? Colours::red : TrainCategory::style(TrainCategory::key(text)).labelColour;
}

LabelImageSize labelImageSize(QSize textSize, double angle, bool smoothing)
{
    const int tw = textSize.width();
    const int th = textSize.height();
    if (tw <= 0 || th <= 0)
        return {};
    if (!std::isfinite(angle))
        angle = 0.0;
    const double a = std::fabs(angle);
    const double off = std::sin(a) * th;
    const int32_t rw = boundedRound(std::cos(a) * tw + off);
    const int32_t rh = boundedRound(std::sin(std::atan(static_cast<double>(th) / tw) + a)
                                    * std::sqrt(static_cast<double>(tw) * tw + static_cast<double>(th) * th));
    if (rw <= 0 || rh <= 0)
        return {};
    LabelImageSize size;
    size.bitmap = QSize(rw, rh);
    size.encoded = smoothing ? QSize(rw / supersampling, rh / supersampling) : size.bitmap;
    return size;
}

LabelImage MakeLabelImage(QByteArrayView text, bool rusici, double angle, const QFont &font, bool smoothing,
                          bool showCategory)
{
    LabelImage result;
    result.colour = labelImageColour(text, rusici);
    result.channel = rusici ? LabelChannel::Blue : LabelChannel::Red;

    const QByteArray shown = LabelText::displayText(text, showCategory);
    const QFont tFont = labelTextFont(font, smoothing);
    const QString drawn = cp1250::toUnicode(shown);
    const QFontMetrics metrics(tFont, &LabelText::measureSurface());
    const int tw = metrics.horizontalAdvance(drawn);
    const int th = metrics.height();
    if (tw <= 0 || th <= 0)
        return result;

    QImage t(tw, th, QImage::Format_RGB32);
    t.setDotsPerMeterX(LabelText::measureSurface().dotsPerMeterX());
    t.setDotsPerMeterY(LabelText::measureSurface().dotsPerMeterY());
    t.fill(Qt::white);
    {
        QPainter p(&t);
        p.setFont(tFont);
        p.setPen(Colours::toQColor(result.colour));
        p.drawText(0, metrics.ascent(), drawn);
    }

    const LabelImageSize size = labelImageSize(QSize(tw, th), angle, smoothing);
    if (size.bitmap.isEmpty())
        return result;
    if (!std::isfinite(angle))
        angle = 0.0;
    const double a = std::fabs(angle);
    const double sa = std::sin(a);
    const double ca = std::cos(a);
    const double off = sa * th;
    const int32_t rw = size.bitmap.width();
    const int32_t rh = size.bitmap.height();

    QImage r(rw, rh, QImage::Format_RGB32);
    r.fill(Qt::white);

    // A forward mapping: every source pixel (column c, row r) is turned about
    // the text's top-left corner (bottom-left when the text rises) and lands
    // where it lands; result pixels no source pixel reaches stay white. The
    // turn is written as c·cos a − r·sin a rather than through the pixel's
    // polar angle: the same point, without that form's rounding, which at
    // angle 0 could put a pixel one column short of where it belongs.
    // Column 0 of the text is not copied. Where two source pixels land on
    // one result pixel the later one stays, white or not.
    const bool rising = angle < 0;
    uchar *const rBits = r.bits();
    const qsizetype rStride = r.bytesPerLine();
    for (int row = 0; row < th; ++row) {
        const auto *src = reinterpret_cast<const QRgb *>(t.constScanLine(row));
        const double v = rising ? th - row : row;
        const double baseX = off - v * sa;
        const double baseY = v * ca;
        for (int c = 1; c < tw; ++c) {
            const double fx = baseX + c * ca;
            const double fy = baseY + c * sa;
            const int x = static_cast<int>(std::trunc(fx));
            const int y = rising ? rh - static_cast<int>(std::trunc(fy)) : static_cast<int>(std::trunc(fy));
            if (x >= 0 && x < rw && y >= 0 && y < rh)
                reinterpret_cast<QRgb *>(rBits + y * rStride)[x] = src[c];
        }
    }
    result.bitmap = std::move(r);
    return result;
}

QSize EncodeLabelImage(TrainLabel &label, const QImage &bitmap, LabelChannel channel, bool smoothed)
{
    label.dropImage();
    if (bitmap.isNull())
        return {0, 0};
    const QImage image =
        bitmap.format() == QImage::Format_RGB32 ? bitmap : bitmap.convertToFormat(QImage::Format_RGB32);
    RunWriter runs(label);
    if (!smoothed) {
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                runs.pixel(channelOf(line[x], channel));
            runs.endRow();
        }
        return image.size();
    }

    const int w = image.width() / supersampling;
    const int h = image.height() / supersampling;
    for (int i = 0; i < h; ++i) {
        const auto *l0 = reinterpret_cast<const QRgb *>(image.constScanLine(i * 3));
        const auto *l1 = reinterpret_cast<const QRgb *>(image.constScanLine(i * 3 + 1));
        const auto *l2 = reinterpret_cast<const QRgb *>(image.constScanLine(i * 3 + 2));
        for (int j = 0; j < w; ++j) {
            int sum = 0;
            for (int k = j * 3; k < j * 3 + 3; ++k)
                sum += channelOf(l0[k], channel) + channelOf(l1[k], channel) + channelOf(l2[k], channel);
            runs.pixel(static_cast<uint8_t>(sum / 9));
        }
        runs.endRow();
    }
    return {w, h};
}

void DrawOwedLabelImage(TrainLabel &label)
{
    if (!label.imageOrder)
        return;
    const LabelImageOrder order = std::move(*label.imageOrder);
    const QFont font = Fonts::makeFont(order.fontName, order.fontSize, order.fontStyle);
    const LabelImage image =
        MakeLabelImage(order.text.view(), order.rusici, order.angle, font, order.smoothing, order.showCategory);
    label.imageColour = image.colour;
    const QSize size = EncodeLabelImage(label, image.bitmap, image.channel, order.smoothing);
    // The size was worked out when the label was placed; drawing gives it.
    Q_ASSERT(size == QSize(label.width, label.height));
    label.width = size.width();
    label.height = size.height();
}

void DrawOwedLabelImages(std::vector<TrainLabel *> &labels)
{
    if (labels.size() < 2) {
        for (TrainLabel *label : labels)
            DrawOwedLabelImage(*label);
        return;
    }
    QtConcurrent::blockingMap(labels, [](TrainLabel *label) { DrawOwedLabelImage(*label); });
}

void DrawOwedLabelImages(std::deque<TrainLabel> &labels)
{
    std::vector<TrainLabel *> owed;
    for (TrainLabel &label : labels)
        if (label.imageOwed())
            owed.push_back(&label);
    DrawOwedLabelImages(owed);
}

namespace {

// The rows firstRow..lastRowWanted of an RGB32 bitmap of width x height
// pixels at bits: the rows are reached through the pixels, not a QImage,
// since bands of one bitmap are composed on several threads at once.
void composeRows(const std::deque<TrainLabel> &labels, uchar *bits, qsizetype stride, int width, int height,
                 int32_t vx0, int32_t vy0, int32_t vx1, int32_t vy1, int firstRow, int lastRowWanted)
{
    const auto scanLine = [&](int64_t row) { return reinterpret_cast<QRgb *>(bits + row * stride); };
    // The viewport's own limits are inclusive; the bitmap's rows and columns
    // end one before its width and height, and nothing is written past them.
    const int64_t lastColumn = std::min<int64_t>(int64_t(vx1) - vx0, width - 1);
    const int64_t lastRow = std::min({int64_t(vy1) - vy0, int64_t(height) - 1, int64_t(lastRowWanted)});
    const int64_t topRow = std::max(0, firstRow);

    for (const TrainLabel &label : labels) {
        if (!label.hasImage())
            continue;
        if (int64_t(label.x) + label.width < vx0 || int64_t(label.y) + label.height < vy0 || label.x > vx1
            || label.y > vy1)
            continue;
        const int colour[3] = {label.imageColour & 0xFF, (label.imageColour >> 8) & 0xFF,
                               (label.imageColour >> 16) & 0xFF};
        const QRgb solid = qRgb(colour[0], colour[1], colour[2]);

        const std::vector<uint8_t> &codes = label.imageCodes;
        const std::vector<uint8_t> &values = label.imageValues;
        size_t ci = 0;
        size_t vi = 0;
        int64_t row = int64_t(label.y) - vy0;
        // Above or below the rows wanted: nothing to walk.
        if (row > lastRow || row + label.height < topRow)
            continue;
        const int64_t columnStart = int64_t(label.x) - vx0;
        int64_t column = columnStart;

        while (row < topRow && ci < codes.size()) {
            if (codes[ci++] == 0)
                ++row;
            else
                ++vi;
        }
        QRgb *line = row <= lastRow && row >= topRow ? scanLine(row) : nullptr;
        while (ci < codes.size() && row <= lastRow) {
            const uint8_t code = codes[ci++];
            if (code == 0) {
                ++row;
                column = columnStart;
                line = row <= lastRow ? scanLine(row) : nullptr;
                continue;
            }
            if (vi >= values.size())
                break; // a damaged image: fewer values than runs
            const uint8_t v = values[vi++];
            const int64_t from = std::max<int64_t>(column, 0);
            const int64_t to = std::min<int64_t>(column + code - 1, lastColumn);
            column += code;
            if (v == 255 || from > to)
                continue;
            if (v == 0) {
                std::fill(line + from, line + to + 1, solid);
                continue;
            }
            const double keep = v / 255.0;
            const double take = 1.0 - keep;
            for (int64_t px = from; px <= to; ++px) {
                const QRgb old = line[px];
                line[px] = qRgb(Geometry::round(qRed(old) * keep + colour[0] * take),
                                Geometry::round(qGreen(old) * keep + colour[1] * take),
                                Geometry::round(qBlue(old) * keep + colour[2] * take));
            }
        }
    }
}

} // namespace

void ComposeLabelImages(const std::deque<TrainLabel> &labels, QImage &bitmap, int32_t vx0, int32_t vy0, int32_t vx1,
                        int32_t vy1, int bands)
{
    if (bitmap.isNull())
        return;
    Q_ASSERT(bitmap.format() == QImage::Format_RGB32);
    uchar *const bits = bitmap.bits();
    const qsizetype stride = bitmap.bytesPerLine();
    const int width = bitmap.width();
    const int height = bitmap.height();
    bands = std::clamp(bands, 1, std::max(1, height));
    if (bands == 1) {
        composeRows(labels, bits, stride, width, height, vx0, vy0, vx1, vy1, 0, height - 1);
        return;
    }
    // Each band writes its own rows, label by label in list order, as one
    // pass over the whole bitmap does.
    std::vector<std::pair<int, int>> rows;
    for (int b = 0; b < bands; ++b)
        rows.emplace_back(static_cast<int>(int64_t{height} * b / bands),
                          static_cast<int>(int64_t{height} * (b + 1) / bands) - 1);
    QtConcurrent::blockingMap(rows, [&](const std::pair<int, int> &band) {
        composeRows(labels, bits, stride, width, height, vx0, vy0, vx1, vy1, band.first, band.second);
    });
}
