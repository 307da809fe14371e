#include "TrainPick.h"

#include "render/TrainLines.h"

#include <cmath>
#include <limits>

namespace TrainPick {

namespace {

double squaredDistance(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length = QPointF::dotProduct(ab, ab);
    double t = length > 0.0 ? QPointF::dotProduct(p - a, ab) / length : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return QPointF::dotProduct(d, d);
}

} // namespace

Hit at(const Document &doc, double scale, QPoint diagramPoint)
{
    const TrainLines::Frame frame = TrainLines::frameOf(doc, scale);
    const QPointF p(diagramPoint);
    Hit hit;
    double best = reach * reach;
    for (size_t i = 0; i < doc.trains.size(); ++i) {
        bool near = false;
        TrainLines::walkTrain(
            doc.trains[i], frame,
            [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1, int) {
                const double d = squaredDistance(p, QPointF(x0, y0), QPointF(x1, y1));
                if (d <= best) {
                    best = d;
                    near = true;
                }
            },
            [](int, int32_t, int32_t) {});
        if (near)
            hit.train = static_cast<int>(i);
    }
    if (!hit.found())
        return hit;
    const Train &train = doc.trains[static_cast<size_t>(hit.train)];
    double nearest = std::numeric_limits<double>::infinity();
    for (int k = 0; k < train.rowCount(); ++k) {
        const TrainRow r = train.row(k);
        TrainLines::RowPoint q;
        if (!TrainLines::rowPoint(frame, r.station, r.time, r.halfMinute, q))
            continue;
        const QPointF d = p - QPointF(q.x, q.y);
        const double squared = QPointF::dotProduct(d, d);
        if (squared <= nearest) {
            nearest = squared;
            hit.row = k;
        }
    }
    return hit;
}

} // namespace TrainPick
