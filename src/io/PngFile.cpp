#include "PngFile.h"

#include <QImageWriter>
#include <QList>
#include <QSaveFile>
#include <QtConcurrent/QtConcurrentMap>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <vector>

namespace PngFile {

namespace {

// Qt's PNG writer turns a quality of 80 into zlib's level 1.
constexpr int fastest = 80;

// The colours of a picture and their indices: an open-addressed table,
// since runs of one colour, the common case, skip it anyway.
class ColourTable
{
public:
    ColourTable() { m_values.fill(-1); }

    // The colour's index, added when new; -1 when a 257th colour comes.
    int add(QRgb c)
    {
        size_t slot = start(c);
        while (m_values[slot] >= 0 && m_keys[slot] != c)
            slot = (slot + 1) & (size - 1);
        if (m_values[slot] < 0) {
            if (m_colours.size() == 256)
                return -1;
            m_keys[slot] = c;
            m_values[slot] = static_cast<int16_t>(m_colours.size());
            m_colours.push_back(c);
        }
        return m_values[slot];
    }
    const QList<QRgb> &colours() const { return m_colours; }

private:
    static constexpr size_t size = 1024;
    static size_t start(QRgb c) { return (c * 2654435761u) >> 22 & (size - 1); }

    std::array<QRgb, size> m_keys{};
    std::array<int16_t, size> m_values;
    QList<QRgb> m_colours;
};

// Indices of a row's pixels, through the table; false when a colour is
// missing and the table is full.
bool indexRow(const QRgb *in, uchar *to, int width, ColourTable &table)
{
    QRgb last = 0;
    int lastIndex = -1;
    for (int x = 0; x < width; ++x) {
        const QRgb p = in[x] | 0xFF000000u;
        if (lastIndex < 0 || p != last) {
            lastIndex = table.add(p);
            if (lastIndex < 0)
                return false;
            last = p;
        }
        to[x] = static_cast<uchar>(lastIndex);
    }
    return true;
}

// A PNG chunk: length, type, data, and the CRC of type and data.
bool writeChunk(QIODevice &device, const char type[4], const std::vector<std::pair<const uchar *, size_t>> &parts)
{
    size_t size = 0;
    for (const auto &p : parts)
        size += p.second;
    uchar head[8];
    qToBigEndian<quint32>(static_cast<quint32>(size), head);
    std::memcpy(head + 4, type, 4);
    uLong crc = crc32(0, head + 4, 4);
    if (device.write(reinterpret_cast<const char *>(head), 8) != 8)
        return false;
    for (const auto &[data, length] : parts) {
        if (length == 0) // zlib answers 0 for no data at all
            continue;
        crc = crc32(crc, data, static_cast<uInt>(length));
        if (device.write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length))
            return false;
    }
    uchar tail[4];
    qToBigEndian<quint32>(static_cast<quint32>(crc), tail);
    return device.write(reinterpret_cast<const char *>(tail), 4) == 4;
}

// A band of rows compressed on its own: a raw deflate stream that ends on
// a byte boundary (the last band ends the whole stream), and the Adler-32
// of what it compressed. Bands joined in order are one zlib stream.
struct Band
{
    int first = 0;
    int end = 0;
    bool last = false;
    std::vector<uchar> deflated;
    uLong adler = 1;
    uLong length = 0;
    bool ok = false;
};

void compress(Band &band, const QImage &image, const std::vector<QRgb> &keys, const std::vector<uchar> &indices)
{
    // The merged palette as a lookup: every colour of the picture is in it.
    ColourTable table;
    for (QRgb c : keys)
        table.add(c);
    const size_t rowBytes = static_cast<size_t>(image.width()) + 1;
    std::vector<uchar> row(rowBytes, 0); // filter byte 0: none
    z_stream z{};
    // zlib's fastest level with run-length matching: a diagram's rows are
    // long runs of one index.
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK)
        return;
    band.deflated.resize(deflateBound(&z, static_cast<uLong>(rowBytes * (band.end - band.first))) + 16);
    z.next_out = band.deflated.data();
    z.avail_out = static_cast<uInt>(band.deflated.size());
    bool ok = true;
    for (int y = band.first; y < band.end && ok; ++y) {
        indexRow(reinterpret_cast<const QRgb *>(image.constScanLine(y)), row.data() + 1, image.width(), table);
        for (size_t x = 1; x < rowBytes; ++x)
            row[x] = indices[row[x]];
        band.adler = adler32(band.adler, row.data(), static_cast<uInt>(rowBytes));
        band.length += static_cast<uLong>(rowBytes);
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(rowBytes);
        const bool end = y + 1 == band.end;
        ok = deflate(&z, end ? (band.last ? Z_FINISH : Z_SYNC_FLUSH) : Z_NO_FLUSH) != Z_STREAM_ERROR;
    }
    band.deflated.resize(band.deflated.size() - z.avail_out);
    deflateEnd(&z);
    band.ok = ok;
}

// The picture as a palette PNG, its bands gathered and compressed on the
// cores there are; nothing written when it has more than 256 colours.
bool writeIndexed(const QImage &image, QIODevice &device, bool &tooManyColours)
{
    // Four bands whatever the machine, so the file's bytes are the same
    // everywhere; the thread pool takes them as it has cores.
    constexpr int parts = 4;
    const int bands = image.height() >= 64 * parts ? parts : 1;
    std::vector<Band> work(static_cast<size_t>(bands));
    for (int b = 0; b < bands; ++b) {
        work[size_t(b)].first = image.height() * b / bands;
        work[size_t(b)].end = image.height() * (b + 1) / bands;
        work[size_t(b)].last = b + 1 == bands;
    }

    // The colours of each band, then one palette in the order the picture
    // shows them, so the file is the same however the work was shared.
    std::vector<ColourTable> seen(work.size());
    std::vector<uchar> fits(work.size(), 0);
    std::vector<int> order(work.size());
    std::iota(order.begin(), order.end(), 0);
    QtConcurrent::blockingMap(order, [&](int b) {
        std::vector<uchar> row(static_cast<size_t>(image.width()));
        bool ok = true;
        for (int y = work[size_t(b)].first; y < work[size_t(b)].end && ok; ++y)
            ok = indexRow(reinterpret_cast<const QRgb *>(image.constScanLine(y)), row.data(), image.width(),
                          seen[size_t(b)]);
        fits[size_t(b)] = ok;
    });
    ColourTable palette;
    std::vector<std::vector<uchar>> indices(work.size());
    for (size_t b = 0; b < work.size(); ++b) {
        if (!fits[b]) {
            tooManyColours = true;
            return false;
        }
        for (QRgb c : seen[b].colours()) {
            const int i = palette.add(c);
            if (i < 0) {
                tooManyColours = true;
                return false;
            }
            indices[b].push_back(static_cast<uchar>(i));
        }
    }

    QtConcurrent::blockingMap(order, [&](int b) {
        const QList<QRgb> &own = seen[size_t(b)].colours();
        compress(work[size_t(b)], image, std::vector<QRgb>(own.begin(), own.end()), indices[size_t(b)]);
    });

    static const uchar signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (device.write(reinterpret_cast<const char *>(signature), 8) != 8)
        return false;
    uchar header[13];
    qToBigEndian<quint32>(static_cast<quint32>(image.width()), header);
    qToBigEndian<quint32>(static_cast<quint32>(image.height()), header + 4);
    header[8] = 8;  // bits an index
    header[9] = 3;  // a palette image
    header[10] = 0; // deflate
    header[11] = 0; // the standard filters
    header[12] = 0; // not interlaced
    std::vector<uchar> colours;
    for (QRgb c : palette.colours())
        colours.insert(colours.end(), {uchar(qRed(c)), uchar(qGreen(c)), uchar(qBlue(c))});
    if (!writeChunk(device, "IHDR", {{header, sizeof header}})
        || !writeChunk(device, "PLTE", {{colours.data(), colours.size()}}))
        return false;

    // The zlib stream: its header, the bands, the Adler-32 of them all.
    static const uchar zlibHeader[2] = {0x78, 0x01};
    std::vector<std::pair<const uchar *, size_t>> stream{{zlibHeader, 2}};
    uLong adler = 1;
    for (const Band &band : work) {
        if (!band.ok)
            return false;
        stream.emplace_back(band.deflated.data(), band.deflated.size());
        adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.length));
    }
    uchar trailer[4];
    qToBigEndian<quint32>(static_cast<quint32>(adler), trailer);
    stream.emplace_back(trailer, 4);
    return writeChunk(device, "IDAT", stream) && writeChunk(device, "IEND", {});
}

} // namespace

QImage withPalette(const QImage &source)
{
    if (source.isNull())
        return {};
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    QImage out(image.size(), QImage::Format_Indexed8);
    if (out.isNull())
        return {};
    ColourTable table;
    for (int y = 0; y < image.height(); ++y)
        if (!indexRow(reinterpret_cast<const QRgb *>(image.constScanLine(y)), out.scanLine(y), image.width(), table))
            return {};
    out.setColorTable(table.colours());
    return out;
}

bool write(const QImage &source, QIODevice &device)
{
    if (source.isNull())
        return false;
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    bool tooManyColours = false;
    const qint64 start = device.pos();
    if (writeIndexed(image, device, tooManyColours))
        return true;
    if (!tooManyColours || device.pos() != start)
        return false;
    QImageWriter writer(&device, "png");
    writer.setQuality(fastest);
    return writer.write(source);
}

bool write(const QImage &image, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!write(image, static_cast<QIODevice &>(file))) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace PngFile
