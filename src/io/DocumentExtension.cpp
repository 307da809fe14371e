#include "DocumentExtension.h"

#include "FileMessages.h"

#include "model/Document.h"
#include "model/Kilometres.h"
#include "model/Tracks.h"

#include <QStringList>
#include <QtEndian>

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

constexpr qsizetype tagSize = 4;
constexpr qsizetype chunkOverhead = tagSize + 4 + 4; // tag, length, check

void appendInt32(QByteArray &out, int32_t v)
{
    const int32_t le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char *>(&le), sizeof le);
}

int32_t int32At(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<int32_t>(bytes.data() + at);
}

uint32_t checkOf(QByteArrayView tag, QByteArrayView payload)
{
    uint32_t crc = libdeflate_crc32(0, tag.data(), static_cast<size_t>(tag.size()));
    return libdeflate_crc32(crc, payload.data(), static_cast<size_t>(payload.size()));
}

void appendChunk(QByteArray &out, QByteArrayView tag, const QByteArray &payload)
{
    out.append(tag);
    appendInt32(out, static_cast<int32_t>(payload.size()));
    out.append(payload);
    appendInt32(out, static_cast<int32_t>(checkOf(tag, payload)));
}

bool needsMetres(const Document &doc)
{
    for (const Station &s : doc.stations)
        if (s.metres % Kilometres::metresPerKm != 0)
            return true;
    return false;
}

QByteArray metresPayload(const Document &doc)
{
    QByteArray payload;
    payload.reserve(static_cast<qsizetype>(4 + 4 * doc.stations.size()));
    appendInt32(payload, static_cast<int32_t>(doc.stations.size()));
    for (const Station &s : doc.stations)
        appendInt32(payload, s.metres);
    return payload;
}

// The stations' positions, all or none: the count must be the document's
// and each position must round to the whole kilometre its record holds.
bool applyMetres(QByteArrayView payload, Document &doc)
{
    if (payload.size() < 4)
        return false;
    const int32_t count = int32At(payload, 0);
    if (count < 0 || static_cast<size_t>(count) != doc.stations.size() || payload.size() != 4 + qsizetype{count} * 4)
        return false;
    std::vector<int32_t> metres(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t m = int32At(payload, 4 + qsizetype{i} * 4);
        const int32_t recordMetres = doc.stations[static_cast<size_t>(i)].metres;
        if (recordMetres % Kilometres::metresPerKm != 0
            || Kilometres::nearestWhole(m) != recordMetres / Kilometres::metresPerKm)
            return false;
        metres[static_cast<size_t>(i)] = m;
    }
    for (int32_t i = 0; i < count; ++i)
        doc.stations[static_cast<size_t>(i)].metres = metres[static_cast<size_t>(i)];
    return true;
}

constexpr uint8_t stationTracksByKind = 255;

bool needsTracks(const Document &doc)
{
    if (doc.lineTracks != LineTracks{})
        return true;
    for (const Station &s : doc.stations)
        if (s.sectionTracks != Tracks::lineDefault || s.stationTracks != Tracks::byKind)
            return true;
    return false;
}

QByteArray tracksPayload(const Document &doc)
{
    QByteArray payload;
    payload.reserve(static_cast<qsizetype>(9 + 2 * doc.stations.size()));
    appendInt32(payload, doc.lineTracks.minHeadway);
    payload.append(char(doc.lineTracks.mainTracks));
    appendInt32(payload, static_cast<int32_t>(doc.stations.size()));
    for (const Station &s : doc.stations) {
        payload.append(char(s.sectionTracks));
        payload.append(char(s.stationTracks == Tracks::byKind ? stationTracksByKind : uint8_t(s.stationTracks)));
    }
    return payload;
}

// The line's numbers and every station's, all or none.
bool applyTracks(QByteArrayView payload, Document &doc)
{
    if (payload.size() < 9)
        return false;
    LineTracks line;
    line.minHeadway = int32At(payload, 0);
    line.mainTracks = static_cast<uint8_t>(payload[4]);
    const int32_t count = int32At(payload, 5);
    if (!Tracks::validLine(line) || count < 0 || static_cast<size_t>(count) != doc.stations.size()
        || payload.size() != 9 + qsizetype{count} * 2)
        return false;
    std::vector<std::pair<uint8_t, int8_t>> values(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const auto section = static_cast<uint8_t>(payload[9 + 2 * i]);
        const auto own = static_cast<uint8_t>(payload[10 + 2 * i]);
        const int stationTracks = own == stationTracksByKind ? Tracks::byKind : own;
        if (!Tracks::validSectionTracks(section) || !Tracks::validStationTracks(stationTracks))
            return false;
        values[static_cast<size_t>(i)] = {section, static_cast<int8_t>(stationTracks)};
    }
    doc.lineTracks = line;
    for (int32_t i = 0; i < count; ++i) {
        Station &s = doc.stations[static_cast<size_t>(i)];
        std::tie(s.sectionTracks, s.stationTracks) = values[static_cast<size_t>(i)];
    }
    return true;
}

constexpr uint8_t lineHeadway = 255;

bool needsHeadways(const Document &doc)
{
    return std::any_of(doc.stations.begin(), doc.stations.end(),
                       [](const Station &s) { return s.sectionHeadway != Tracks::lineHeadway; });
}

QByteArray headwaysPayload(const Document &doc)
{
    QByteArray payload;
    appendInt32(payload, static_cast<int32_t>(doc.stations.size()));
    for (const Station &s : doc.stations)
        payload.append(char(s.sectionHeadway == Tracks::lineHeadway ? lineHeadway : uint8_t(s.sectionHeadway)));
    return payload;
}

bool applyHeadways(QByteArrayView payload, Document &doc)
{
    if (payload.size() < 4)
        return false;
    const int32_t count = int32At(payload, 0);
    if (count < 0 || static_cast<size_t>(count) != doc.stations.size() || payload.size() != 4 + qsizetype{count})
        return false;
    std::vector<int8_t> values(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const auto v = static_cast<uint8_t>(payload[4 + i]);
        const int minutes = v == lineHeadway ? Tracks::lineHeadway : v;
        if (!Tracks::validSectionHeadway(minutes))
            return false;
        values[static_cast<size_t>(i)] = static_cast<int8_t>(minutes);
    }
    for (int32_t i = 0; i < count; ++i)
        doc.stations[static_cast<size_t>(i)].sectionHeadway = values[static_cast<size_t>(i)];
    return true;
}

} // namespace

QByteArray DocumentExtension::bytesOf(const Document &doc)
{
    const bool metres = needsMetres(doc);
    const bool tracks = needsTracks(doc);
    const bool headways = needsHeadways(doc);
    if (!metres && !tracks && !headways)
        return {};
    QByteArray out(magic, tagSize);
    if (metres)
        appendChunk(out, QByteArrayView(metresTag, tagSize), metresPayload(doc));
    if (tracks)
        appendChunk(out, QByteArrayView(tracksTag, tagSize), tracksPayload(doc));
    if (headways)
        appendChunk(out, QByteArrayView(headwayTag, tagSize), headwaysPayload(doc));
    return out;
}

QString DocumentExtension::apply(QByteArrayView bytes, Document &doc)
{
    if (bytes.size() < tagSize || bytes.first(tagSize) != QByteArrayView(magic, tagSize))
        return {};
    const QByteArrayView metres(metresTag, tagSize);
    const QByteArrayView tracks(tracksTag, tagSize);
    const QByteArrayView headways(headwayTag, tagSize);
    bool headwaysApplied = false;
    // Damage is laid to the chunk whose tag it carries; damage without a
    // known tag (a chain cut before the next tag, a chunk of a later
    // program) counts against the positions unless something was read.
    bool metresDamaged = false;
    bool tracksDamaged = false;
    bool otherDamaged = false;
    bool metresApplied = false;
    bool tracksApplied = false;
    auto damage = [&](QByteArrayView tag) {
        if (tag == metres)
            metresDamaged = true;
        else if (tag == tracks || tag == headways)
            tracksDamaged = true;
        else
            otherDamaged = true;
    };
    qsizetype at = tagSize;
    while (at < bytes.size()) {
        const qsizetype left = bytes.size() - at;
        const QByteArrayView tag = left >= tagSize ? bytes.sliced(at, tagSize) : QByteArrayView();
        const int32_t length = left >= chunkOverhead ? int32At(bytes, at + tagSize) : -1;
        if (length < 0 || length > left - chunkOverhead) {
            damage(tag); // no way to the next chunk
            break;
        }
        const QByteArrayView payload = bytes.sliced(at + tagSize + 4, length);
        const auto check = static_cast<uint32_t>(int32At(bytes, at + tagSize + 4 + length));
        at += chunkOverhead + length;
        if (check != checkOf(tag, payload)) {
            damage(tag);
            continue;
        }
        // A second chunk of a kind already taken can only be damage.
        if (tag == metres) {
            if (metresApplied || !applyMetres(payload, doc))
                metresDamaged = true;
            else
                metresApplied = true;
        } else if (tag == tracks) {
            if (tracksApplied || !applyTracks(payload, doc))
                tracksDamaged = true;
            else
                tracksApplied = true;
        } else if (tag == headways) {
            if (headwaysApplied || !applyHeadways(payload, doc))
                tracksDamaged = true;
            else
                headwaysApplied = true;
        }
    }
    // Damage the positions survived is in a chunk this program does not
    // use; it is left out of the next save as every unknown chunk is.
    QStringList messages;
    if (!metresApplied && (metresDamaged || (otherDamaged && !tracksApplied)))
        messages.append(FileMessages::damagedExtension);
    if ((!tracksApplied || !headwaysApplied) && tracksDamaged)
        messages.append(FileMessages::damagedTracks);
    return messages.join(u' ');
}
