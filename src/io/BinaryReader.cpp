#include "BinaryReader.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 chunkSize = 64 * 1024;

} // namespace

BinaryReader::BinaryReader(QIODevice &device) : m_device(device)
{
}

qint64 BinaryReader::bytesLeft() const
{
    if (m_failed)
        return 0;
    return (m_buffer.size() - m_offset) + std::max<qint64>(0, m_device.bytesAvailable());
}

bool BinaryReader::ensure(qint64 n)
{
    if (m_failed)
        return false;
    const qint64 have = m_buffer.size() - m_offset;
    if (have >= n)
        return true;
    // Keep the unread tail and append the next chunk after it; a request
    // larger than a chunk is read in one go (its size was checked against
    // bytesLeft by the caller, or the read below comes up short).
    m_buffer.remove(0, m_offset);
    m_offset = 0;
    const qint64 want = std::max(chunkSize, n - have);
    const qint64 old = m_buffer.size();
    m_buffer.resize(old + want);
    const qint64 got = m_device.read(m_buffer.data() + old, want);
    m_buffer.resize(old + std::max<qint64>(0, got));
    if (m_buffer.size() < n) {
        m_failed = true;
        return false;
    }
    return true;
}

bool BinaryReader::readInto(char *dst, qint64 n)
{
    if (n < 0 || n > bytesLeft()) {
        m_failed = true;
        return false;
    }
    if (!ensure(n))
        return false;
    std::memcpy(dst, m_buffer.constData() + m_offset, static_cast<size_t>(n));
    m_offset += n;
    m_consumed += n;
    return true;
}

uint8_t BinaryReader::readByte()
{
    if (!ensure(1))
        return 0;
    const auto v = static_cast<uint8_t>(m_buffer.at(m_offset));
    ++m_offset;
    ++m_consumed;
    return v;
}

int32_t BinaryReader::readInt32()
{
    if (!ensure(4))
        return 0;
    const int32_t v = qFromLittleEndian<qint32>(m_buffer.constData() + m_offset);
    m_offset += 4;
    m_consumed += 4;
    return v;
}

double BinaryReader::readDouble()
{
    if (!ensure(8))
        return 0.0;
    const quint64 bits = qFromLittleEndian<quint64>(m_buffer.constData() + m_offset);
    m_offset += 8;
    m_consumed += 8;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QByteArray BinaryReader::readBytes(qint64 n)
{
    if (n < 0 || n > bytesLeft()) {
        m_failed = true;
        return {};
    }
    QByteArray out(n, Qt::Uninitialized);
    if (!readInto(out.data(), n))
        return {};
    return out;
}

void BinaryReader::skip(qint64 n)
{
    if (n < 0 || n > bytesLeft()) {
        m_failed = true;
        return;
    }
    while (n > 0 && ensure(1)) {
        const qint64 step = std::min<qint64>(n, m_buffer.size() - m_offset);
        m_offset += step;
        m_consumed += step;
        n -= step;
    }
}

QByteArray BinaryReader::peek(qint64 n)
{
    if (m_failed || n <= 0)
        return {};
    n = std::min(n, bytesLeft());
    if (!ensure(n))
        return {};
    return m_buffer.mid(m_offset, n);
}
