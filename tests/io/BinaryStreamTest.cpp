// The little-endian stream under the document reader and writer.
#include "io/BinaryReader.h"
#include "io/BinaryWriter.h"

#include <QBuffer>

#include <gtest/gtest.h>

TEST(BinaryReader, LittleEndianFieldsAndAStickyError)
{
    QByteArray bytes("\x01\x02\x03\x04\xFF\xFF\xFF\xFF", 8);
    bytes += QByteArray("\x00\x00\x00\x00\x00\x00\xF8\x3F", 8); // 1.5
    bytes += QByteArray("\x7F\x80", 2);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    BinaryReader in(buffer);
    EXPECT_EQ(in.readInt32(), 0x04030201);
    EXPECT_EQ(in.readInt32(), -1);
    EXPECT_EQ(in.readDouble(), 1.5);
    EXPECT_EQ(in.bytesLeft(), 2);
    EXPECT_EQ(in.readByte(), 0x7F);
    EXPECT_TRUE(in.ok());
    // Past the end: zero, and every later read fails too.
    EXPECT_EQ(in.readInt32(), 0);
    EXPECT_FALSE(in.ok());
    EXPECT_EQ(in.readByte(), 0);
    EXPECT_EQ(in.bytesLeft(), 0);
}

TEST(BinaryReader, ALongerRunThanTheDataHoldsIsRefusedBeforeAllocating)
{
    QByteArray bytes(10, 'x');
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    BinaryReader in(buffer);
    EXPECT_TRUE(in.readBytes(qint64(1) << 40).isEmpty());
    EXPECT_FALSE(in.ok());
}

TEST(BinaryReader, FieldsAcrossItsBufferRefills)
{
    QByteArray bytes;
    for (int32_t i = 0; i < 100000; ++i)
        bytes.append(reinterpret_cast<const char *>(&i), 4); // this machine is little-endian too
    bytes.append('\x05');
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    BinaryReader in(buffer);
    in.readByte(); // every int from here on straddles 4-byte boundaries
    for (int32_t i = 1; i < 100000; ++i)
        ASSERT_EQ(in.readInt32(), (i << 24) | ((i - 1) >> 8)) << i;
    EXPECT_EQ(in.readBytes(3), QByteArray("\x86\x01\x00", 3)); // the rest of 99999
    EXPECT_EQ(in.readByte(), 5);
    EXPECT_TRUE(in.ok());
}

TEST(BinaryWriter, CountsPatchedAfterTheirRecordsEvenWhenAlreadyFlushed)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    BinaryWriter out(buffer);
    const qint64 first = out.reserveInt32();
    out.writeBytes(QByteArray(300 * 1024, 'a')); // past the writer's own buffer
    const qint64 second = out.reserveInt32();
    out.writeByte(0xAB);
    out.patchInt32(first, 0x11223344);
    out.patchInt32(second, -2);
    out.writeDouble(-0.5);
    ASSERT_TRUE(out.finish());
    const QByteArray bytes = buffer.data();
    ASSERT_EQ(bytes.size(), 4 + 300 * 1024 + 4 + 1 + 8);
    EXPECT_EQ(bytes.left(4), QByteArray("\x44\x33\x22\x11", 4));
    EXPECT_EQ(bytes.mid(4 + 300 * 1024, 5), QByteArray("\xFE\xFF\xFF\xFF\xAB", 5));
    EXPECT_EQ(bytes.right(8), QByteArray("\x00\x00\x00\x00\x00\x00\xE0\xBF", 8));
}

TEST(BinaryWriter, AFailedDeviceIsReported)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadOnly); // cannot be written
    BinaryWriter out(buffer);
    out.writeInt32(1);
    EXPECT_FALSE(out.finish());
}
