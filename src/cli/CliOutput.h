#pragma once

#include <QString>

#include <cstdio>

// How the commands of this tool report: one line on standard error that
// names the tool and the file, and exit status 1.
namespace CliOutput {

constexpr int success = 0;
constexpr int failure = 1;

int fail(std::FILE *err, const QString &file, const QString &message);
int usageError(std::FILE *err, const QString &usage);

} // namespace CliOutput
