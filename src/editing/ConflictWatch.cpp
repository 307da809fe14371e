#include "ConflictWatch.h"

#include "model/Document.h"

#include <cstring>

namespace {

// FNV-1a over the bytes of plain values.
class Fingerprint
{
public:
    template <typename T> Fingerprint &add(const T &value)
    {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) {
            m_hash ^= b;
            m_hash *= 1099511628211ULL;
        }
        return *this;
    }
    uint64_t value() const { return m_hash; }

private:
    uint64_t m_hash = 14695981039346656037ULL;
};

uint64_t trainFingerprint(const Train &train)
{
    Fingerprint f;
    f.add(train.podlePotreby).add(train.rowCount());
    for (int k = 0; k < train.rowCount(); ++k) {
        const TrainRow row = train.row(k);
        f.add(row.station).add(row.time);
    }
    return f.value();
}

} // namespace

ConflictWatch::ConflictWatch(const Document &doc) : m_doc(doc), m_check(doc)
{
}

uint64_t ConflictWatch::lineFingerprint() const
{
    Fingerprint f;
    f.add(m_doc.lineTracks.mainTracks).add(m_doc.lineTracks.minHeadway).add(m_doc.stations.size());
    for (const Station &s : m_doc.stations) {
        f.add(s.metres).add(s.sectionTracks).add(s.stationTracks).add(s.sectionHeadway);
        const StationKind none;
        const StationKind &k = s.kind ? *s.kind : none;
        f.add(k.dopravna).add(k.hradlo).add(k.hlaska).add(k.odbocka).add(k.nakladiste).add(k.zastavka).add(k.kilometr);
    }
    return f.value();
}

bool ConflictWatch::refresh()
{
    const uint64_t line = lineFingerprint();
    std::vector<uint64_t> trains;
    trains.reserve(m_doc.trains.size());
    for (const Train &t : m_doc.trains)
        trains.push_back(trainFingerprint(t));

    std::vector<size_t> changed;
    const bool sameLine = m_checked && line == m_line && trains.size() >= m_trains.size();
    if (sameLine) {
        for (size_t i = 0; i < m_trains.size(); ++i) {
            if (trains[i] != m_trains[i])
                changed.push_back(i);
        }
    }
    const bool appended = sameLine && trains.size() > m_trains.size();
    bool any = true;
    if (sameLine && changed.empty() && !appended) {
        any = false;
    } else if (sameLine && changed.size() + (appended ? 1 : 0) <= 1) {
        // recheckTrain traces every train beyond those it knows as well.
        m_check.recheckTrain(static_cast<int32_t>(changed.empty() ? m_trains.size() : changed.front()));
        ++m_trainChecks;
    } else {
        m_check.recompute();
        ++m_fullChecks;
    }
    m_checked = true;
    m_line = line;
    m_trains = std::move(trains);
    return any;
}
