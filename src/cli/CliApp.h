#pragma once

#include <QStringList>

#include <cstdio>

// vlakorys-cli: the editor's document work without a window. One class per
// command; this one reads the command line and dispatches.
namespace CliApp {

int run(int argc, char *argv[]);

// The same with the arguments after the program name and explicit output
// streams, for tests.
int run(const QStringList &args, std::FILE *out, std::FILE *err);

QString usage();

} // namespace CliApp
