#pragma once

#include "io/DocumentReader.h"
#include "io/DocumentWriter.h"
#include "model/Document.h"

#include <QBuffer>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// A document as the bytes Save writes, and files written and read whole:
// read back; shared by the tests of the reader, the file commands and the command-line
// tool.
namespace FileBytes {

inline QByteArray of(const Document &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(DocumentWriter::write(doc, buffer));
    return buffer.data();
}

// The bytes read as Open reads a file, without finishing the document.
inline DocumentReader::Outcome load(Document &doc, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DocumentReader::read(doc, buffer);
}

// A file whose last byte (the check of its last chunk) is damaged.
inline QByteArray withLastByteFlipped(QByteArray bytes)
{
    bytes[bytes.size() - 1] = char(bytes.back() ^ 1);
    return bytes;
}

inline void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// Empty when the file cannot be read.
inline QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace FileBytes
