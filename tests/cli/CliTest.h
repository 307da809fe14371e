#pragma once

#include "cli/CliApp.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

// A stream a command writes to (its standard output or error), read back.
class CapturedStream
{
public:
    CapturedStream() : m_file(std::tmpfile()) {}
    ~CapturedStream() { std::fclose(m_file); }
    CapturedStream(const CapturedStream &) = delete;
    CapturedStream &operator=(const CapturedStream &) = delete;

    std::FILE *file() const { return m_file; }
    QByteArray text() const
    {
        std::fflush(m_file);
        std::rewind(m_file);
        QFile read;
        return read.open(m_file, QIODevice::ReadOnly) ? read.readAll() : QByteArray();
    }

private:
    std::FILE *m_file;
};

struct CommandRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

template <typename Command> CommandRun capture(Command command)
{
    CapturedStream out;
    CapturedStream err;
    const int status = command(out.file(), err.file());
    return {status, out.text(), err.text()};
}

// The example line of the repository.
inline const QString example = QStringLiteral(VLAKORYS_SOURCE_DIR "/examples/liberec-tanvald.vrs");

// The commands' tests: a directory of their own and the tool's command line.
class CliTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    static CommandRun cli(const QStringList &args)
    {
        return capture([&](std::FILE *out, std::FILE *err) { return CliApp::run(args, out, err); });
    }
};
