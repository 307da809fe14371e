#include "SheetLayout.h"

#include "DiagramView.h"
#include "Fonts.h"
#include "LabelText.h"
#include "Renderer.h"
#include "StationLegend.h"
#include "VectorLabels.h"

#include "model/Document.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int column = DiagramView::stationColumn;
constexpr int topMargin = DiagramView::topMargin;
constexpr int hoursBelowAxis = 19; // as under the window's time axis
constexpr int hoursGap = 5;        // white under the hour numbers
constexpr int legendMargin = 10;   // above and below the legend

QFont hourFontOf(const QFont &diagramFont)
{
    QFont f = diagramFont;
    f.setPixelSize(Fonts::pixelSize(14));
    return f;
}

int textHeight(const QFont &font)
{
    return QFontMetrics(font, &LabelText::measureSurface()).height();
}

int32_t clampToInt(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, 0, std::numeric_limits<int32_t>::max()));
}

} // namespace

SheetLayout SheetLayout::plan(const Document &doc, const Request &request)
{
    if (!request.wholeLine)
        return plan(doc, request, {});
    DocumentSettings settings = doc.settings;
    settings.zoom = static_cast<uint8_t>(std::clamp(request.zoom, DiagramView::minZoom, DiagramView::maxZoom));
    return plan(doc, request, vectorLabels(doc, settings, settings.zoom, request.showCategory));
}

SheetLayout SheetLayout::plan(const Document &doc, const Request &r, const std::vector<VectorLabel> &labels)
{
    SheetLayout s;
    const int z = std::clamp(r.zoom, DiagramView::minZoom, DiagramView::maxZoom);
    s.zoom = z;
    s.scale = z;
    s.diagramFont = Renderer::diagramFontOf(z);
    s.hourFont = hourFontOf(s.diagramFont);
    const int hourHeight = textHeight(s.hourFont);

    // Across: one layer's share of the time range.
    const int64_t layers = std::clamp(r.layers, 1, 1000);
    const int64_t overlap = std::max(0, r.overlap);
    const int64_t minutes = r.wholeDay ? 1440 : std::max(0, r.toMinute - r.fromMinute);
    const int64_t span = r.wholeDay || layers == 1 ? minutes : minutes + overlap;
    const int64_t layerWidth = (z * span + (layers - 1) * z * overlap) / layers;
    s.width = layerWidth + column;
    const int64_t start = r.wholeDay ? 0 : int64_t{z} * std::max(0, r.fromMinute);
    // Layer k starts k steps of the layer width less the overlap on; where
    // the division left pixels over, the steps take them, so the last layer
    // still ends with the range.
    auto layerStart = [&](int64_t k) {
        return layers == 1 ? start : start + k * (z * span - layerWidth) / (layers - 1);
    };

    // Down: the station lines of the range.
    const int32_t maxMetres = doc.maxMetres;
    const int32_t lineBottom = Geometry::yOfMetres(r.wholeLine ? 0 : std::min(r.lowMetres, r.highMetres), z, maxMetres);
    const int32_t lineTop =
        Geometry::yOfMetres(r.wholeLine ? maxMetres : std::max(r.lowMetres, r.highMetres), z, maxMetres);
    const int64_t rangeMargin = 5
                                    * int64_t{QFontMetrics(s.diagramFont, &LabelText::measureSurface())
                                                  .horizontalAdvance(QStringLiteral("asaas"))}
                                + 13;

    int64_t top = 0;
    for (int64_t k = 0; k < layers; ++k) {
        Layer layer;
        layer.top = top;
        layer.width = clampToInt(layerWidth);
        layer.vx0 = Geometry::saturate(layerStart(k));
        int64_t areaTop = int64_t{lineTop} - topMargin;
        int64_t areaBottom = lineBottom;
        if (r.wholeLine) {
            // Room for the labels that stand beyond the station lines within
            // the layer's time.
            const double left = layer.vx0;
            const double right = double(layer.vx0) + layerWidth;
            for (const VectorLabel &label : labels) {
                const QRectF box = label.box();
                if (box.right() < left || box.left() >= right)
                    continue;
                areaTop = std::min<int64_t>(areaTop, static_cast<int64_t>(std::floor(box.top())));
                areaBottom = std::max<int64_t>(areaBottom, static_cast<int64_t>(std::ceil(box.bottom())));
            }
        }
        layer.vy0 = Geometry::saturate(areaTop);
        layer.height = clampToInt(areaBottom - areaTop);
        layer.axisY = top + (int64_t{lineBottom} - areaTop);
        layer.hoursTop = top + layer.height + hoursBelowAxis;
        layer.columnEnd = layer.axisY + 5;
        int64_t height = int64_t{layer.height} + hoursBelowAxis + hourHeight + hoursGap;
        if (!r.wholeLine)
            height = std::max(height, rangeMargin + (int64_t{lineBottom} - lineTop));
        top += height;
        s.layers.push_back(layer);
    }

    s.height = top;
    if (r.legend && !doc.stations.empty()) {
        StationLegend legend;
        s.legend = legend.layout(doc, s.diagramFont, nullptr, clampToInt(s.width));
        s.legendTop = top + legendMargin;
        s.height =
            s.legendTop + int64_t{textHeight(s.diagramFont)} * static_cast<int64_t>(s.legend.size()) + legendMargin;
    }
    return s;
}

SheetLayout SheetLayout::view(const Document &doc, const DiagramView &view, int paintBoxWidth, int paintBoxHeight,
                              int32_t visibleBottom, const std::vector<QString> &legend)
{
    SheetLayout s;
    s.zoom = doc.settings.zoom;
    s.scale = view.scale;
    s.diagramFont = Renderer::diagramFontOf(s.zoom);
    s.hourFont = hourFontOf(s.diagramFont);
    s.width = paintBoxWidth;
    s.height = paintBoxHeight;
    Layer layer;
    layer.top = 0;
    layer.width = std::max(0, paintBoxWidth - column);
    layer.height = std::max(0, visibleBottom - 1);
    layer.vx0 = DiagramView::hUnit * view.hpos;
    layer.vy0 = DiagramView::vUnit * view.vpos;
    layer.axisY = visibleBottom;
    layer.hoursTop = int64_t{visibleBottom} + hoursBelowAxis;
    layer.columnEnd = int64_t{visibleBottom} + 5;
    s.layers.push_back(layer);
    s.legend = legend;
    s.legendTop = int64_t{visibleBottom} + view.legendGap + 5;
    return s;
}

std::vector<int32_t> SheetLayout::hourPositions() const
{
    std::vector<int32_t> hours;
    int32_t x = 0;
    for (int i = 0; i <= 144; ++i) {
        if (i % 6 == 0)
            hours.push_back(x);
        x = Geometry::round(x + 10.0 * scale);
    }
    return hours;
}
