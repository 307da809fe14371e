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
#include <optional>
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

namespace {

// The payload's size a known chunk must have for the document's stations,
// which finds the next chunk past a damaged length.
qsizetype expectedLength(QByteArrayView tag, const Document &doc)
{
    const auto stations = static_cast<qsizetype>(doc.stations.size());
    if (tag == QByteArrayView(DocumentExtension::metresTag, tagSize))
        return 4 + 4 * stations;
    if (tag == QByteArrayView(DocumentExtension::tracksTag, tagSize))
        return 9 + 2 * stations;
    if (tag == QByteArrayView(DocumentExtension::headwayTag, tagSize))
        return 4 + stations;
    return -1;
}

// The known tag a cut tag begins, else the cut bytes.
QByteArrayView completedTag(QByteArrayView cut)
{
    for (const char *known : {DocumentExtension::metresTag, DocumentExtension::tracksTag, DocumentExtension::headwayTag})
        if (QByteArrayView(known, tagSize).startsWith(cut))
            return QByteArrayView(known, tagSize);
    return cut;
}

// A sound chunk starts at `at`: its length in range and its check right.
bool soundAt(QByteArrayView bytes, qsizetype at)
{
    const qsizetype left = bytes.size() - at;
    if (left < chunkOverhead)
        return false;
    const int32_t length = int32At(bytes, at + tagSize);
    if (length < 0 || length > left - chunkOverhead)
        return false;
    const auto check = static_cast<uint32_t>(int32At(bytes, at + tagSize + 4 + length));
    return check == checkOf(bytes.sliced(at, tagSize), bytes.sliced(at + tagSize + 4, length));
}

// Where the chunk after a damaged one begins: where its length says, or
// past the size its kind must have, when a sound chunk stands there or
// what is left is too short for one (a cut chunk, judged next); else at
// the next sound chunk of a known kind; else nowhere (the end).
qsizetype nextAfterDamage(QByteArrayView bytes, qsizetype at, qsizetype declaredEnd, const Document &doc)
{
    auto fits = [&](qsizetype next) {
        return next > at && next <= bytes.size() && (bytes.size() - next < chunkOverhead || soundAt(bytes, next));
    };
    if (fits(declaredEnd))
        return declaredEnd;
    const qsizetype expected = expectedLength(bytes.sliced(at, tagSize), doc);
    if (expected >= 0 && fits(at + chunkOverhead + expected))
        return at + chunkOverhead + expected;
    for (qsizetype from = at + 1; from + chunkOverhead <= bytes.size(); ++from)
        if (expectedLength(bytes.sliced(from, tagSize), doc) >= 0 && soundAt(bytes, from))
            return from;
    return bytes.size();
}

} // namespace

QString DocumentExtension::apply(QByteArrayView bytes, Document &doc)
{
    if (bytes.size() < tagSize || bytes.first(tagSize) != QByteArrayView(magic, tagSize))
        return {};
    const QByteArrayView metres(metresTag, tagSize);
    const QByteArrayView tracks(tracksTag, tagSize);
    const QByteArrayView headways(headwayTag, tagSize);
    // Each chunk is judged on its own; damage is laid to the kind whose tag
    // it carries. A kind is taken from its one sound payload; two that
    // differ are damage, as no one can tell which holds.
    struct Kind
    {
        std::optional<QByteArrayView> payload;
        bool damaged = false;
        bool conflicting = false;
    };
    Kind metresKind;
    Kind tracksKind;
    Kind headwaysKind;
    bool otherDamaged = false;
    auto kindOf = [&](QByteArrayView tag) -> Kind * {
        if (tag == metres)
            return &metresKind;
        if (tag == tracks)
            return &tracksKind;
        if (tag == headways)
            return &headwaysKind;
        return nullptr;
    };
    auto damage = [&](QByteArrayView tag) {
        if (Kind *kind = kindOf(tag))
            kind->damaged = true;
        else
            otherDamaged = true;
    };
    qsizetype at = tagSize;
    while (at < bytes.size()) {
        const qsizetype left = bytes.size() - at;
        if (left < tagSize) {
            damage(completedTag(bytes.sliced(at)));
            break;
        }
        const QByteArrayView tag = bytes.sliced(at, tagSize);
        const int32_t length = left >= chunkOverhead ? int32At(bytes, at + tagSize) : -1;
        if (length < 0 || length > left - chunkOverhead) {
            damage(tag);
            at = nextAfterDamage(bytes, at, -1, doc);
            continue;
        }
        const QByteArrayView payload = bytes.sliced(at + tagSize + 4, length);
        const auto check = static_cast<uint32_t>(int32At(bytes, at + tagSize + 4 + length));
        if (check != checkOf(tag, payload)) {
            damage(tag);
            at = nextAfterDamage(bytes, at, at + chunkOverhead + length, doc);
            continue;
        }
        at += chunkOverhead + length;
        if (Kind *kind = kindOf(tag)) {
            if (!kind->payload)
                kind->payload = payload;
            else if (*kind->payload != payload)
                kind->damaged = kind->conflicting = true;
        }
    }
    // A damaged copy beside a sound one loses nothing; two sound ones that
    // differ lose both.
    const bool metresTaken =
        metresKind.payload && !metresKind.conflicting && applyMetres(*metresKind.payload, doc);
    const bool tracksTaken = tracksKind.payload && !tracksKind.conflicting && applyTracks(*tracksKind.payload, doc);
    const bool headwaysTaken =
        headwaysKind.payload && !headwaysKind.conflicting && applyHeadways(*headwaysKind.payload, doc);
    QStringList messages;
    if (!metresTaken && (metresKind.damaged || metresKind.payload))
        messages.append(FileMessages::damagedExtension);
    if ((!tracksTaken && (tracksKind.damaged || tracksKind.payload))
        || (!headwaysTaken && (headwaysKind.damaged || headwaysKind.payload)))
        messages.append(FileMessages::damagedTracks);
    if (otherDamaged)
        messages.append(FileMessages::damagedOther);
    return messages.join(u' ');
}
