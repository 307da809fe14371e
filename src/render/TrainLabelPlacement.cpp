#include "TrainLabelPlacement.h"

#include "DiagramView.h"
#include "Fonts.h"
#include "LabelImage.h"
#include "LabelText.h"
#include "ProgressSink.h"
#include "TrainCategory.h"

#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Document.h"

#include <algorithm>
#include <cmath>

namespace {

int32_t boundedRound(double v)
{
    if (!std::isfinite(v))
        return 0;
    return Geometry::round(std::clamp(v, -1.0e9, 1.0e9));
}

uint8_t diagramStyle(const DocumentSettings &settings)
{
    return settings.zoom > 2 ? Fonts::Bold : 0;
}

QFont labelFont(const DocumentSettings &settings, TrainCategory::LabelFont which)
{
    return Fonts::makeFont(TrainCategory::labelFontName(settings, which), TrainCategory::labelFontSize(settings, which),
                           diagramStyle(settings));
}

} // namespace

TrainLabelFonts::TrainLabelFonts(const DocumentSettings &settings)
    : m_small(labelFont(settings, TrainCategory::LabelFont::Small)),
      m_large(labelFont(settings, TrainCategory::LabelFont::Large)),
      m_smallMetrics(m_small, &LabelText::measureSurface()), m_largeMetrics(m_large, &LabelText::measureSurface())
{
}

bool TrainLabelFonts::large(QByteArrayView labelText) const
{
    return TrainCategory::style(TrainCategory::key(labelText)).labelFont == TrainCategory::LabelFont::Large;
}

const QFont &TrainLabelFonts::font(QByteArrayView labelText) const
{
    return large(labelText) ? m_large : m_small;
}

const QFontMetrics &TrainLabelFonts::metrics(QByteArrayView labelText) const
{
    return large(labelText) ? m_largeMetrics : m_smallMetrics;
}

TrainLabelPlace placeTrainLabel(const TrainLabel &label, const TrainLabelFonts &fonts, const DocumentSettings &settings,
                                double scale, int32_t maxKm, bool showCategory)
{
    const int zoom = settings.zoom;
    TrainLabelPlace place;
    int32_t x = Geometry::x(minuteOfDay(label.time), scale);
    place.text = LabelText::displayText(label.text.view(), showCategory);
    const QFontMetrics &metrics = fonts.metrics(label.text.view());
    place.width = metrics.horizontalAdvance(cp1250::toUnicode(place.text));
    place.height = metrics.height();
    const int32_t w = place.width;
    x -= w / 2;
    if (!label.visible) {
        if (label.ascending)
            x += w / 2 + 4 * zoom;
        else
            x -= w / 2;
    }
    place.x = x;
    place.y = boundedRound(20.0 + 2.0 * zoom * maxKm - 2.0 * zoom * label.level) - place.height / 2;
    return place;
}

void PlaceTrainLabels(Document &doc, double scale, int32_t selector, bool smoothing, bool showCategory,
                      LabelOutlineList &outlines, ProgressSink &progress)
{
    progress.setText(QStringLiteral("Vytvářím popisky vlaků..."));
    progress.setProgress(0);
    progress.setMaximum(doc.trainLabelCount());
    progress.setGaugeVisible(true);
    progress.repaintNow();
    if (selector < 0)
        return;

    const DocumentSettings &settings = doc.settings;
    const TrainLabelFonts fonts(settings);
    const bool stale = doc.labelImagesStale;
    int32_t number = 0;
    for (TrainLabel &label : doc.trainLabels) {
        ++number;
        if (selector > 0 && number != selector)
            continue;
        const TrainLabelPlace place = placeTrainLabel(label, fonts, settings, scale, doc.maxKm, showCategory);

        if (stale && label.hasImage())
            label.dropImage();
        if (stale || !label.hasImage()) {
            const LabelImage image =
                MakeLabelImage(label.text.view(), label.rusici, label.angle, fonts.font(label.text.view()),
                               smoothing, showCategory);
            label.imageColour = image.colour;
            const QSize size = EncodeLabelImage(label, image.bitmap, image.channel, smoothing);
            label.width = size.width();
            label.height = size.height();
        }
        label.x = place.x;
        label.y = place.y;

        const double angle = std::isfinite(label.angle) ? label.angle : 0.0;
        const LabelOutline outline =
            LabelOutline::make(place.x, place.y, place.width, place.height, angle, label.height, number);
        LabelOutline *reused = selector == 0 ? nullptr : findOutline(outlines, number);
        if (reused)
            *reused = outline;
        else
            outlines.push_front(outline);

        if (number % 5 == 0) {
            progress.setProgress(number);
            progress.repaintNow();
        }
    }
}
