#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

class QIODevice;

// Little-endian writes to a seekable device with a sticky error flag. Counts
// that are known only after their records are written are reserved first
// and patched afterwards (reserveInt32, patchInt32). Writes are gathered in
// a buffer and handed to the device in large pieces; finish() hands over
// the rest and tells whether everything reached the device.
class BinaryWriter
{
public:
    explicit BinaryWriter(QIODevice &device);

    bool ok() const { return !m_failed; }

    void writeByte(uint8_t v);
    void writeInt32(int32_t v);
    void writeDouble(double v);
    void writeBytes(QByteArrayView bytes);

    // Position (from the start of the output) of a 4-byte placeholder.
    qint64 reserveInt32();
    void patchInt32(qint64 position, int32_t v);

    qint64 position() const { return m_flushed + m_buffer.size(); }

    bool finish();

private:
    void flush();

    QIODevice &m_device;
    QByteArray m_buffer;
    qint64 m_flushed = 0; // bytes already handed to the device
    bool m_failed = false;
};
