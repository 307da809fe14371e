// Writes the benchmarks' generated busy line (60 stations over 300 km, 1000
// trains) as a document file, for timing the command-line tool as a whole
// process (bench/cli-pictures.sh).
#include "io/DocumentFile.h"

#include "SampleLine.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: sample_line_file OUT.vrs\n");
        return 1;
    }
    Document doc;
    SampleLine::fill(doc);
    if (DocumentFile::save(doc, QString::fromLocal8Bit(argv[1])).status != DocumentFile::Status::Ok) {
        std::fprintf(stderr, "sample_line_file: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
