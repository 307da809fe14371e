#pragma once

#include <QByteArray>

#include <cstdint>

class QIODevice;

// Little-endian reads from a device with a sticky error flag: once a read
// runs past the end (or the device fails), every later read returns zeros
// and ok() stays false, so a reader checks once per record instead of after
// every field. The reader keeps its own buffer because document files are
// read field by field.
class BinaryReader
{
public:
    explicit BinaryReader(QIODevice &device);

    bool ok() const { return !m_failed; }
    // Marks the data as bad: the rest of the read is refused.
    void fail() { m_failed = true; }

    // Bytes that can still be read (0 after a failure). Every count read
    // from a file is checked against this before anything is allocated.
    qint64 bytesLeft() const;
    // Bytes consumed so far.
    qint64 position() const { return m_consumed; }

    uint8_t readByte();
    int32_t readInt32();
    double readDouble();
    // Exactly n bytes, or an empty array and a failure.
    QByteArray readBytes(qint64 n);
    bool readInto(char *dst, qint64 n);
    void skip(qint64 n);
    // Up to n bytes from the current position, without consuming them;
    // fewer at the end of the data.
    QByteArray peek(qint64 n);

private:
    // Makes n bytes available in the buffer; false at the end of the data.
    bool ensure(qint64 n);

    QIODevice &m_device;
    QByteArray m_buffer;
    qint64 m_offset = 0; // read position inside m_buffer
    qint64 m_consumed = 0;
    bool m_failed = false;
};
