#pragma once

#include <QByteArray>
#include <QByteArrayView>

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

    uint8_t readByte();
    int32_t readInt32();
    double readDouble();
    // Exactly n bytes, or an empty array and a failure.
    QByteArray readBytes(qint64 n);
    bool readInto(char *dst, qint64 n);

    // For byte-wise decoding without a call per byte: the bytes buffered
    // from the current position on (at least min(atLeast, bytesLeft()) of
    // them, empty after a failure), and then how many of them were used.
    QByteArrayView window(qint64 atLeast);
    void consume(qint64 n);

private:
    // Makes n bytes available in the buffer; false at the end of the data.
    bool ensure(qint64 n);

    QIODevice &m_device;
    QByteArray m_buffer;
    qint64 m_offset = 0; // read position inside m_buffer
    // What the device still holds beyond the buffer, asked once: for a file
    // every question is a system call.
    qint64 m_deviceLeft = 0;
    bool m_failed = false;
};
