#pragma once

#include "io/DocumentWriter.h"
#include "model/Document.h"

#include <QBuffer>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// A document as the bytes Save writes, and files written and read whole:
// shared by the tests of the reader, the file commands and the command-line
// tool.
namespace FileBytes {

inline QByteArray of(const Document &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(DocumentWriter::write(doc, buffer));
    return buffer.data();
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
