#include "CodebookPlacement.h"

#include "LinePlanner.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>

namespace CodebookPlacement {

Placement place(const Sr70Codebook &book, DayTimetable &day, const std::vector<int> &line)
{
    Placement result;
    const size_t n = line.size();
    std::vector<const Sr70Codebook::Entry *> entries(n, nullptr);
    QHash<QString, int> pointsOnSection;
    for (size_t i = 0; i < n; ++i) {
        entries[i] = book.find(day.points[static_cast<size_t>(line[i])].key);
        if (!entries[i])
            continue;
        QSet<QString> sections;
        for (const Sr70Codebook::Position &p : entries[i]->positions)
            sections.insert(p.section.left(4));
        for (const QString &s : sections)
            ++pointsOnSection[s];
    }
    for (auto it = pointsOnSection.constBegin(); it != pointsOnSection.constEnd(); ++it) {
        const int best = pointsOnSection.value(result.section, 0);
        if (it.value() > best || (it.value() == best && it.key() < result.section))
            result.section = it.key();
    }

    std::vector<std::optional<double>> metres(n);
    std::vector<size_t> placed;
    std::vector<bool> onSection(n, false);
    for (size_t i = 0; i < n && !result.section.isEmpty(); ++i) {
        if (!entries[i])
            continue;
        for (const Sr70Codebook::Position &p : entries[i]->positions) {
            if (p.section.left(4) == result.section) {
                metres[i] = p.metres;
                placed.push_back(i);
                onSection[i] = true;
                break;
            }
        }
    }
    result.onSection = static_cast<int>(placed.size());

    const auto point = [&](size_t i) -> DayPoint & { return day.points[static_cast<size_t>(line[i])]; };
    const auto ground = [&](size_t a, size_t b) -> std::optional<double> {
        const DayPoint &pa = point(a);
        const DayPoint &pb = point(b);
        if (!pa.latitude || !pa.longitude || !pb.latitude || !pb.longitude)
            return std::nullopt;
        return LinePlanner::groundMetres(*pa.latitude, *pa.longitude, *pb.latitude, *pb.longitude);
    };

    if (!placed.empty()) {
        // Kilometres grow along the line or against it.
        const double sign = metres[placed.back()] >= metres[placed.front()] ? 1.0 : -1.0;
        // Between two placed points: in proportion to the distances.
        for (size_t k = 0; k + 1 < placed.size(); ++k) {
            const size_t a = placed[k];
            const size_t b = placed[k + 1];
            if (b == a + 1)
                continue;
            std::vector<double> along{0.0};
            for (size_t i = a; i < b; ++i) {
                const std::optional<double> d = ground(i, i + 1);
                if (!d) {
                    along.clear();
                    break;
                }
                along.push_back(along.back() + *d);
            }
            if (along.empty() || along.back() <= 0.0)
                continue;
            for (size_t i = a + 1; i < b; ++i)
                metres[i] = *metres[a] + (*metres[b] - *metres[a]) * along[i - a] / along.back();
        }
        // Beyond the ends: chained on from the neighbour.
        for (size_t i = placed.front(); i-- > 0;) {
            const std::optional<double> d = ground(i, i + 1);
            if (!d)
                break;
            metres[i] = *metres[i + 1] - sign * *d;
        }
        for (size_t i = placed.back() + 1; i < n; ++i) {
            const std::optional<double> d = ground(i - 1, i);
            if (!d)
                break;
            metres[i] = *metres[i - 1] + sign * *d;
        }
    }

    for (size_t i = 0; i < n; ++i) {
        if (metres[i]) {
            point(i).metres = static_cast<int32_t>(std::nearbyint(std::clamp(*metres[i], -1.0e9, 1.0e9)));
            if (!onSection[i])
                ++result.chained;
        } else {
            point(i).metres.reset();
            ++result.unplaced;
        }
    }
    return result;
}

} // namespace CodebookPlacement
