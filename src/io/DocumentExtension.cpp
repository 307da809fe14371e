#include "DocumentExtension.h"

#include "FileMessages.h"

#include "model/Document.h"
#include "model/Kilometres.h"

#include <QtEndian>

#include <libdeflate.h>

#include <cstring>
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

} // namespace

QByteArray DocumentExtension::bytesOf(const Document &doc)
{
    if (!needsMetres(doc))
        return {};
    QByteArray out(magic, tagSize);
    appendChunk(out, QByteArrayView(metresTag, tagSize), metresPayload(doc));
    return out;
}

QString DocumentExtension::apply(QByteArrayView bytes, Document &doc)
{
    if (bytes.size() < tagSize || bytes.first(tagSize) != QByteArrayView(magic, tagSize))
        return {};
    bool damaged = false;
    bool metresApplied = false;
    qsizetype at = tagSize;
    while (at < bytes.size()) {
        const qsizetype left = bytes.size() - at;
        const int32_t length = left >= chunkOverhead ? int32At(bytes, at + tagSize) : -1;
        if (length < 0 || length > left - chunkOverhead) {
            damaged = true; // no way to the next chunk
            break;
        }
        const QByteArrayView tag = bytes.sliced(at, tagSize);
        const QByteArrayView payload = bytes.sliced(at + tagSize + 4, length);
        const auto check = static_cast<uint32_t>(int32At(bytes, at + tagSize + 4 + length));
        at += chunkOverhead + length;
        if (check != checkOf(tag, payload)) {
            damaged = true;
            continue;
        }
        if (tag == QByteArrayView(metresTag, tagSize)) {
            // A second list of positions can only be damage.
            if (metresApplied || !applyMetres(payload, doc))
                damaged = true;
            else
                metresApplied = true;
        }
    }
    // Damage the positions survived is in a chunk this program does not
    // use; it is left out of the next save as every unknown chunk is.
    return damaged && !metresApplied ? FileMessages::damagedExtension : QString();
}
