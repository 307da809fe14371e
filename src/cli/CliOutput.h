#pragma once

#include "io/DocumentFile.h"
#include "io/FileMessages.h"
#include "io/WholeFile.h"

#include <QString>
#include <QStringList>

#include <cstdio>

// How the commands of this tool report: one line on standard error that
// names the tool and the file, in the program's words with the system's
// cause after a colon ("vlakorys-cli: trať.vrs: Chyba při ukládání do
// souboru: disk je plný"), and exit status 1.
namespace CliOutput {

constexpr int success = 0;
constexpr int failure = 1;

inline const QString cannotWriteOutput = QStringLiteral("Chyba při zápisu na standardní výstup");

int fail(std::FILE *err, const QString &file, const QString &message);
// A command that succeeds with something to say about its input (a document
// opened without its damaged part) says it in the same form on one line;
// nothing when the message is empty.
void warn(std::FILE *err, const QString &file, const QString &message);
// "vlakorys-cli: použití: " and the command's usage.
int usageError(std::FILE *err, const QString &usage);

// "vlakorys-cli: neznámá volba --bogus".
inline const QString unknownOptionMessage = QStringLiteral("neznámá volba ");
int unknownOption(std::FILE *err, const QString &option);
// The arguments of a command that takes `count` files and "--json": an
// unknown option or another count of files is said on `err`, and `status`
// is then the failure's.
struct FilesAndJson
{
    QStringList files;
    bool json = false;
    int status = success;
};
FilesAndJson filesAndJson(const QStringList &args, std::FILE *err, qsizetype count, const char *usage);
// For the commands that take no options: the first argument that looks
// like one (empty when none does).
QString optionAmong(const QStringList &args);

// A file read whole that failed: cannotOpen (or the command's own words for
// it) when it could not be opened, otherwise FileMessages::cannotRead.
int readFailed(std::FILE *err, const QString &file, const WholeFile::Read &read,
               const QString &cannotOpen = FileMessages::cannotOpen);

// A command's output file that is one of its inputs (the same file by
// another name too) is refused before anything is read: success when it
// is not.
inline const QString outputIsInputMessage = QStringLiteral("výstupní soubor je zároveň vstupní");
int outputIsNoInput(std::FILE *err, const QString &target, const QStringList &inputs);

// The exit status once standard output is flushed: a command that
// succeeded fails when what it wrote there did not all arrive (a full
// disk), with the cause.
int flushed(std::FILE *out, std::FILE *err, int status);
int outputFailed(std::FILE *err);
// Writes `text` whole to standard output and flushes it: true when all of
// it arrived; otherwise the failure with its cause is said on `err`.
bool wroteAll(std::FILE *out, std::FILE *err, const QByteArray &text);

// The end of a command that saves a document: success, or the save's
// failure.
int saved(std::FILE *err, const QString &file, const DocumentFile::SaveOutcome &outcome);

} // namespace CliOutput
