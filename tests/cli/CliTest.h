#pragma once

#include "cli/CliApp.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

struct CommandRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a command on two temporary files and reads back what it wrote there.
template <typename Command> CommandRun capture(Command command)
{
    const auto text = [](std::FILE *stream) {
        std::fflush(stream);
        std::rewind(stream);
        QFile read;
        const QByteArray written = read.open(stream, QIODevice::ReadOnly) ? read.readAll() : QByteArray();
        read.close();
        std::fclose(stream);
        return written;
    };
    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    const int status = command(out, err);
    return {status, text(out), text(err)};
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
    // The same with standard output on a full disk.
    static CommandRun cliOnFullDisk(const QStringList &args)
    {
        return capture([&](std::FILE *, std::FILE *err) {
            std::FILE *full = std::fopen("/dev/full", "w");
            const int status = CliApp::run(args, full, err);
            std::fclose(full);
            return status;
        });
    }
    inline static const QByteArray fullDiskSaid = "vlakorys-cli: Chyba při zápisu na standardní výstup: disk je plný\n";
};
