#include "PngFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QList>
#include <QtEndian>

#include <libdeflate.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace PngFile {

namespace {

// Qt's PNG writer turns a quality of 80 into zlib's level 1.
constexpr int fastest = 80;
// libdeflate's level 2: as fast as its level 1 on a diagram, a tenth smaller.
constexpr int deflateLevel = 2;

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
bool writeChunk(QIODevice &device, const char type[4], const uchar *data, size_t size)
{
    uchar head[8];
    qToBigEndian<quint32>(static_cast<quint32>(size), head);
    std::memcpy(head + 4, type, 4);
    uint32_t crc = libdeflate_crc32(0, head + 4, 4);
    if (size > 0) // libdeflate starts over for no data at all
        crc = libdeflate_crc32(crc, data, size);
    uchar tail[4];
    qToBigEndian<quint32>(crc, tail);
    return device.write(reinterpret_cast<const char *>(head), 8) == 8
           && device.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size)
           && device.write(reinterpret_cast<const char *>(tail), 4) == 4;
}

struct CompressorDeleter
{
    void operator()(libdeflate_compressor *c) const { libdeflate_free_compressor(c); }
};

// The picture as a palette PNG: every row's indices (unfiltered) in one
// buffer, compressed at once. Nothing written when it has more than 256
// colours.
bool writeIndexed(const QImage &image, QIODevice &device, bool &tooManyColours)
{
    const size_t rowBytes = static_cast<size_t>(image.width()) + 1;
    std::vector<uchar> rows(rowBytes * static_cast<size_t>(image.height()));
    ColourTable palette;
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = rows.data() + rowBytes * static_cast<size_t>(y);
        row[0] = 0; // filter: none
        if (!indexRow(reinterpret_cast<const QRgb *>(image.constScanLine(y)), row + 1, image.width(), palette)) {
            tooManyColours = true;
            return false;
        }
    }

    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(deflateLevel));
    if (!compressor)
        return false;
    std::vector<uchar> stream(libdeflate_zlib_compress_bound(compressor.get(), rows.size()));
    const size_t streamSize =
        libdeflate_zlib_compress(compressor.get(), rows.data(), rows.size(), stream.data(), stream.size());
    if (streamSize == 0 || streamSize > 0x7FFFFFFF)
        return false;

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
    return writeChunk(device, "IHDR", header, sizeof header)
           && writeChunk(device, "PLTE", colours.data(), colours.size())
           && writeChunk(device, "IDAT", stream.data(), streamSize) && writeChunk(device, "IEND", nullptr, 0);
}

} // namespace

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
    // Made in memory first: libpng prints its own line on standard error
    // when a write fails, and a failure is the caller's to report.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(fastest);
    if (!writer.write(source))
        return false;
    return device.write(buffer.data()) == buffer.size();
}

SafeFile::Result write(const QImage &image, const QString &path)
{
    return SafeFile::write(path, [&image](QIODevice &device) { return write(image, device); });
}

} // namespace PngFile
