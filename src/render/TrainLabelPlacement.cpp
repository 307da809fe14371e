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
#include "model/Kilometres.h"

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

TrainLabelFonts::Measure::Measure(const QFont &font)
    : metrics(font, &LabelText::measureSurface()), height(metrics.height())
{
}

QSize TrainLabelFonts::Measure::size(const QByteArray &shown)
{
    auto it = widths.constFind(shown);
    if (it == widths.constEnd())
        it = widths.insert(shown, metrics.horizontalAdvance(cp1250::toUnicode(shown)));
    return QSize(it.value(), height);
}

TrainLabelFonts::TrainLabelFonts(const DocumentSettings &settings)
    : m_settings(settings), m_style(diagramStyle(settings)),
      m_small(labelFont(settings, TrainCategory::LabelFont::Small)),
      m_large(labelFont(settings, TrainCategory::LabelFont::Large)),
      m_measures{Measure(m_small), Measure(labelTextFont(m_small, false)), Measure(labelTextFont(m_small, true)),
                 Measure(m_large), Measure(labelTextFont(m_large, false)), Measure(labelTextFont(m_large, true))}
{
}

bool TrainLabelFonts::sameFonts(const DocumentSettings &settings) const
{
    return diagramStyle(settings) == m_style && settings.trainFontSmallName == m_settings.trainFontSmallName
           && settings.trainFontSmallSize == m_settings.trainFontSmallSize
           && settings.trainFontLargeName == m_settings.trainFontLargeName
           && settings.trainFontLargeSize == m_settings.trainFontLargeSize;
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
    return m_measures[large(labelText) ? 3 : 0].metrics;
}

QByteArray TrainLabelFonts::fontName(QByteArrayView labelText) const
{
    return TrainCategory::labelFontName(m_settings, large(labelText) ? TrainCategory::LabelFont::Large
                                                                     : TrainCategory::LabelFont::Small);
}

int32_t TrainLabelFonts::fontSize(QByteArrayView labelText) const
{
    return TrainCategory::labelFontSize(m_settings, large(labelText) ? TrainCategory::LabelFont::Large
                                                                     : TrainCategory::LabelFont::Small);
}

QSize TrainLabelFonts::textSize(QByteArrayView labelText, const QByteArray &shown)
{
    return m_measures[large(labelText) ? 3 : 0].size(shown);
}

QSize TrainLabelFonts::imageTextSize(QByteArrayView labelText, const QByteArray &shown, bool smoothing)
{
    return m_measures[(large(labelText) ? 3 : 0) + (smoothing ? 2 : 1)].size(shown);
}

TrainLabelPlace placeTrainLabel(const TrainLabel &label, TrainLabelFonts &fonts, const DocumentSettings &settings,
                                double scale, int32_t maxMetres, bool showCategory)
{
    const int zoom = settings.zoom;
    TrainLabelPlace place;
    int32_t x = Geometry::x(minuteOfDay(label.time), scale);
    place.text = LabelText::displayText(label.text.view(), showCategory);
    const QSize size = fonts.textSize(label.text.view(), place.text);
    place.width = size.width();
    place.height = size.height();
    const int32_t w = place.width;
    x -= w / 2;
    if (!label.visible) {
        if (label.ascending)
            x += w / 2 + 4 * zoom;
        else
            x -= w / 2;
    }
    place.x = x;
    const double topLine = DiagramView::topMargin + 2.0 * zoom * Kilometres::toKm(maxMetres);
    place.y = boundedRound(topLine - 2.0 * zoom * label.level) - place.height / 2;
    return place;
}

void PlaceTrainLabels(Document &doc, double scale, int32_t selector, bool smoothing, bool showCategory,
                      LabelOutlineList &outlines, ProgressSink &progress, bool drawImages)
{
    TrainLabelFonts fonts(doc.settings);
    PlaceTrainLabels(doc, fonts, scale, selector, smoothing, showCategory, outlines, progress, drawImages);
}

void PlaceTrainLabels(Document &doc, TrainLabelFonts &fonts, double scale, int32_t selector, bool smoothing,
                      bool showCategory, LabelOutlineList &outlines, ProgressSink &progress, bool drawImages)
{
    progress.setText(QStringLiteral("Vytvářím popisky vlaků..."));
    progress.setProgress(0);
    progress.setMaximum(doc.trainLabelCount());
    progress.setGaugeVisible(true);
    progress.repaintNow();
    if (selector < 0)
        return;

    const DocumentSettings &settings = doc.settings;
    const bool stale = doc.labelImagesStale;
    int32_t number = 0;
    for (TrainLabel &label : doc.trainLabels) {
        ++number;
        if (selector > 0 && number != selector)
            continue;
        const TrainLabelPlace place = placeTrainLabel(label, fonts, settings, scale, doc.maxMetres, showCategory);

        const bool hasImage = label.hasImage() || label.imageOwed();
        if (stale && hasImage)
            label.dropImage();
        if ((stale || !hasImage) && drawImages) {
            // Drawn at once, from the label as it stands.
            const LabelImage image = MakeLabelImage(label.text.view(), label.rusici, label.angle,
                                                    fonts.font(label.text.view()), smoothing, showCategory);
            label.imageColour = image.colour;
            const QSize size = EncodeLabelImage(label, image.bitmap, image.channel, smoothing);
            label.width = size.width();
            label.height = size.height();
        } else if (stale || !hasImage) {
            // The image's colour and size now; its pixels when it is shown.
            const QByteArrayView text = label.text.view();
            LabelImageOrder order;
            order.text = label.text;
            order.rusici = label.rusici;
            order.angle = label.angle;
            order.fontName = fonts.fontName(text);
            order.fontSize = fonts.fontSize(text);
            order.fontStyle = fonts.fontStyle();
            order.smoothing = smoothing;
            order.showCategory = showCategory;
            const QSize textSize = fonts.imageTextSize(text, place.text, smoothing);
            const LabelImageSize size = labelImageSize(textSize, label.angle, smoothing);
            label.dropImage();
            label.imageColour = labelImageColour(text, label.rusici);
            label.width = size.encoded.width();
            label.height = size.encoded.height();
            label.imageOrder = std::move(order);
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
