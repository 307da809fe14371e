#include "VectorLabels.h"

#include "Colours.h"
#include "Fonts.h"
#include "LabelText.h"
#include "SoftClip.h"
#include "TrainCategory.h"
#include "TrainLabelPlacement.h"

#include "model/Cp1250.h"
#include "model/Document.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

double finiteAngle(double a)
{
    return std::isfinite(a) ? a : 0.0;
}

} // namespace

QRectF VectorLabel::box() const
{
    const double a = std::fabs(angle);
    const double w = width * std::cos(a) + height * std::sin(a);
    const double h = width * std::sin(a) + height * std::cos(a);
    return QRectF(x, y, w, h);
}

// The label image turns the text about its top-left corner when it falls
// to the right and about its bottom-left corner when it rises; either way
// the turned text's bounding box starts at the image's top-left corner.
QPointF VectorLabel::textOrigin() const
{
    const double a = angle;
    if (a >= 0)
        return QPointF(x + height * std::sin(a), y);
    return QPointF(x, y + width * std::sin(-a));
}

std::vector<VectorLabel> vectorLabels(const Document &doc, const DocumentSettings &settings, double scale,
                                      bool showCategory)
{
    std::vector<VectorLabel> labels;
    labels.reserve(doc.trainLabels.size());
    TrainLabelFonts fonts(settings);
    // Two fonts serve every label; their ascents are measured once.
    const QFont *lastFont = nullptr;
    QFont lastDrawn;
    int lastAscent = 0;
    for (const TrainLabel &label : doc.trainLabels) {
        const TrainLabelPlace place = placeTrainLabel(label, fonts, settings, scale, doc.maxMetres, showCategory);
        VectorLabel v;
        v.text = cp1250::toUnicode(place.text);
        v.colour =
            label.rusici ? Colours::red : TrainCategory::style(TrainCategory::key(label.text.view())).labelColour;
        v.angle = finiteAngle(label.angle);
        v.x = place.x;
        v.y = place.y;
        v.width = place.width;
        v.height = place.height;
        const QFont &font = fonts.font(label.text.view());
        if (&font != lastFont) {
            lastFont = &font;
            lastDrawn = Fonts::drawnFamily(font);
            lastAscent = QFontMetrics(font, &LabelText::measureSurface()).ascent();
        }
        v.font = lastDrawn;
        v.ascent = lastAscent;
        labels.push_back(std::move(v));
    }
    return labels;
}

void drawVectorLabel(QPainter &painter, const VectorLabel &label)
{
    if (label.text.isEmpty())
        return;
    const SoftClip clip = SoftClip::of(painter); // before the text is turned
    painter.save();
    painter.translate(label.textOrigin());
    painter.rotate(label.angle * 180.0 / M_PI);
    painter.setFont(label.font);
    painter.setPen(Colours::toQColor(label.colour));
    clip.drawText(painter, QPointF(0, label.ascent), label.text);
    painter.restore();
}
