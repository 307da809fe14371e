#include "DocumentSnapshot.h"

#include "DocumentReader.h"
#include "DocumentWriter.h"

#include "model/Document.h"

#include <QBuffer>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

void appendInt32(QByteArray &out, int32_t v)
{
    const int32_t le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char *>(&le), sizeof le);
}

void appendInt64(QByteArray &out, qint64 v)
{
    const qint64 le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char *>(&le), sizeof le);
}

// A forward reader over bytes that refuses to read past their end.
class Cursor
{
public:
    explicit Cursor(QByteArrayView bytes) : m_bytes(bytes) {}

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_at == m_bytes.size(); }
    qsizetype left() const { return m_bytes.size() - m_at; }

    QByteArrayView take(qsizetype n)
    {
        if (!m_ok || n < 0 || n > left()) {
            m_ok = false;
            return {};
        }
        const QByteArrayView v = m_bytes.sliced(m_at, n);
        m_at += n;
        return v;
    }
    uint8_t byte()
    {
        const QByteArrayView v = take(1);
        return v.isEmpty() ? 0 : static_cast<uint8_t>(v[0]);
    }
    int32_t int32()
    {
        const QByteArrayView v = take(4);
        return v.isEmpty() ? 0 : qFromLittleEndian<int32_t>(v.data());
    }
    qint64 int64()
    {
        const QByteArrayView v = take(8);
        return v.isEmpty() ? 0 : qFromLittleEndian<qint64>(v.data());
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    bool m_ok = true;
};

// Every label's image in list order: a presence byte, then the code and
// value counts, colour, width, height, the codes and the values.
QByteArray imagesOf(const std::deque<TrainLabel> &labels)
{
    qsizetype size = 0;
    for (const TrainLabel &l : labels)
        size += 1 + (l.hasImage() ? 20 + qsizetype(l.imageCodes.size() + l.imageValues.size()) : 0);
    QByteArray out;
    out.reserve(size);
    for (const TrainLabel &l : labels) {
        out.append(char(l.hasImage() ? 1 : 0));
        if (!l.hasImage())
            continue;
        appendInt32(out, static_cast<int32_t>(l.imageCodes.size()));
        appendInt32(out, static_cast<int32_t>(l.imageValues.size()));
        appendInt32(out, l.imageColour);
        appendInt32(out, l.width);
        appendInt32(out, l.height);
        out.append(reinterpret_cast<const char *>(l.imageCodes.data()), qsizetype(l.imageCodes.size()));
        out.append(reinterpret_cast<const char *>(l.imageValues.data()), qsizetype(l.imageValues.size()));
    }
    return out;
}

bool attachImages(std::deque<TrainLabel> &labels, QByteArrayView images)
{
    Cursor in(images);
    for (TrainLabel &l : labels) {
        if (in.byte() == 0)
            continue;
        const int32_t codes = in.int32();
        const int32_t values = in.int32();
        l.imageColour = in.int32();
        l.width = in.int32();
        l.height = in.int32();
        const QByteArrayView c = in.take(codes);
        const QByteArrayView v = in.take(values);
        if (!in.ok())
            return false;
        l.imageCodes.assign(c.begin(), c.end());
        l.imageValues.assign(v.begin(), v.end());
    }
    return in.ok() && in.atEnd();
}

constexpr char serialMagic[] = "VRSNAP1";

} // namespace

DocumentSnapshot DocumentSnapshot::take(const Document &doc)
{
    DocumentSnapshot s;
    {
        QBuffer buffer(&s.m_content);
        buffer.open(QIODevice::WriteOnly);
        DocumentWriterOptions options;
        options.labelImages = false;
        options.everyProfile = true;
        DocumentWriter::write(doc, buffer, options);
    }
    s.m_images = imagesOf(doc.trainLabels);
    s.m_state.noDocument = doc.noDocument;
    s.m_state.labelImagesStale = doc.labelImagesStale;
    s.m_state.trainCount = doc.trainCount;
    s.m_state.profileCount1 = doc.profiles.countOf(1);
    s.m_state.profileCount2 = doc.profiles.countOf(2);
    return s;
}

bool DocumentSnapshot::restore(Document &doc, View view) const
{
    // Read aside first: a snapshot that cannot be read leaves the document
    // as it is.
    Document read;
    QBuffer buffer;
    buffer.setData(m_content);
    buffer.open(QIODevice::ReadOnly);
    const DocumentReader::Outcome outcome = DocumentReader::read(read, buffer);
    if (outcome.status != DocumentReader::Status::Ok || !outcome.settingsRead)
        return false;
    // The reader puts every label it reads at the head of the list.
    std::reverse(read.trainLabels.begin(), read.trainLabels.end());
    if (!attachImages(read.trainLabels, m_images))
        return false;
    if (m_state.profileCount1 > ProfileTable::perDirection || m_state.profileCount2 > ProfileTable::perDirection)
        return false;
    read.profiles.countOf(1) = m_state.profileCount1;
    read.profiles.countOf(2) = m_state.profileCount2;

    DocumentSettings settings = read.settings;
    if (view == View::Keep) {
        const DocumentSettings &now = doc.settings;
        settings.zoom = now.zoom;
        settings.ratioX = now.ratioX;
        settings.ratioY = now.ratioY;
        settings.showTimeLabels = now.showTimeLabels;
        settings.smoothing = now.smoothing;
        settings.showCategory = now.showCategory;
    }
    const bool imagesFit =
        settings.smoothing == read.settings.smoothing && settings.showCategory == read.settings.showCategory;

    // The kind list moves whole, its records where they were.
    doc.stations = std::move(read.stations);
    doc.stationKinds = std::move(read.stationKinds);
    doc.trains = std::move(read.trains);
    doc.trainLabels = std::move(read.trainLabels);
    doc.profiles = read.profiles;
    doc.settings = settings;
    doc.lineTracks = read.lineTracks;
    doc.clearTimeLabels();
    doc.clearLegacyLists();
    doc.linkStationKinds();
    doc.rebuildStationTable();
    doc.trainCount = m_state.trainCount;
    doc.noDocument = m_state.noDocument;
    doc.labelImagesStale = m_state.labelImagesStale;
    if (!imagesFit)
        doc.dropLabelImages();
    return true;
}

bool DocumentSnapshot::sameContent(const DocumentSnapshot &other) const
{
    return m_state.noDocument == other.m_state.noDocument && m_state.profileCount1 == other.m_state.profileCount1
           && m_state.profileCount2 == other.m_state.profileCount2 && m_content == other.m_content;
}

void DocumentSnapshot::shareEqualParts(const DocumentSnapshot &other)
{
    if (m_content.constData() != other.m_content.constData() && m_content == other.m_content)
        m_content = other.m_content;
    if (m_images.constData() != other.m_images.constData() && m_images == other.m_images)
        m_images = other.m_images;
}

QByteArray DocumentSnapshot::serialize() const
{
    QByteArray out;
    out.reserve(qsizetype(sizeof serialMagic) + 32 + byteSize());
    out.append(serialMagic, sizeof serialMagic);
    out.append(char(m_state.noDocument ? 1 : 0));
    out.append(char(m_state.labelImagesStale ? 1 : 0));
    appendInt32(out, m_state.trainCount);
    out.append(char(m_state.profileCount1));
    out.append(char(m_state.profileCount2));
    appendInt64(out, m_content.size());
    out.append(m_content);
    appendInt64(out, m_images.size());
    out.append(m_images);
    return out;
}

std::optional<DocumentSnapshot> DocumentSnapshot::deserialize(const QByteArray &bytes)
{
    Cursor in(bytes);
    if (in.take(sizeof serialMagic) != QByteArrayView(serialMagic, sizeof serialMagic))
        return std::nullopt;
    DocumentSnapshot s;
    s.m_state.noDocument = in.byte() != 0;
    s.m_state.labelImagesStale = in.byte() != 0;
    s.m_state.trainCount = in.int32();
    s.m_state.profileCount1 = in.byte();
    s.m_state.profileCount2 = in.byte();
    s.m_content = in.take(in.int64()).toByteArray();
    s.m_images = in.take(in.int64()).toByteArray();
    if (!in.ok() || !in.atEnd())
        return std::nullopt;
    return s;
}
