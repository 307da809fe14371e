#include "StationMatch.h"

#include "Document.h"

#include <QHash>

namespace StationMatch {

QByteArray key(QByteArrayView name)
{
    return name.trimmed().toByteArray();
}

std::vector<int32_t> of(const Document &current, const Document &other)
{
    QHash<QByteArray, int32_t> index;
    int32_t i = 0;
    for (const Station &s : current.stations) {
        ++i;
        const QByteArray k = key(s.name.view());
        if (!index.contains(k))
            index.insert(k, i);
    }
    std::vector<int32_t> match(other.stations.size() + 1, 0);
    for (size_t k = 0; k < other.stations.size(); ++k)
        match[k + 1] = index.value(key(other.stations[k].name.view()), 0);
    return match;
}

} // namespace StationMatch
