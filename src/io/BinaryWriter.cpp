#include "BinaryWriter.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>

namespace {

constexpr qsizetype flushSize = 256 * 1024;

} // namespace

BinaryWriter::BinaryWriter(QIODevice &device) : m_device(device)
{
    m_buffer.reserve(flushSize + 64);
}

void BinaryWriter::writeByte(uint8_t v)
{
    m_buffer.append(static_cast<char>(v));
    if (m_buffer.size() >= flushSize)
        flush();
}

void BinaryWriter::writeInt32(int32_t v)
{
    char b[4];
    qToLittleEndian<qint32>(v, b);
    writeBytes(QByteArrayView(b, 4));
}

void BinaryWriter::writeDouble(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    char b[8];
    qToLittleEndian<quint64>(bits, b);
    writeBytes(QByteArrayView(b, 8));
}

void BinaryWriter::writeBytes(QByteArrayView bytes)
{
    m_buffer.append(bytes);
    if (m_buffer.size() >= flushSize)
        flush();
}

qint64 BinaryWriter::reserveInt32()
{
    const qint64 at = position();
    writeInt32(0);
    return at;
}

void BinaryWriter::patchInt32(qint64 at, int32_t v)
{
    char b[4];
    qToLittleEndian<qint32>(v, b);
    if (at >= m_flushed) {
        std::memcpy(m_buffer.data() + (at - m_flushed), b, 4);
        return;
    }
    // The placeholder has already gone to the device: seek back, write,
    // and return to the end.
    flush();
    if (m_failed)
        return;
    const qint64 end = m_device.pos();
    if (!m_device.seek(at) || m_device.write(b, 4) != 4 || !m_device.seek(end))
        m_failed = true;
}

void BinaryWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    if (!m_failed && m_device.write(m_buffer) != m_buffer.size())
        m_failed = true;
    m_flushed += m_buffer.size();
    m_buffer.clear();
}

bool BinaryWriter::finish()
{
    flush();
    return !m_failed;
}
