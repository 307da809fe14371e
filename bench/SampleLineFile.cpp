// Writes the benchmarks' generated busy line (60 stations over 300 km, 1000
// trains, or "random N" trains), or one of GeneratedLines ("periodic N",
// "identical N"), as a
// document file, for timing the command-line tool as a whole process
// (bench/cli-pictures.sh).
#include "io/DocumentFile.h"

#include "GeneratedLines.h"
#include "SampleLine.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray kind = argc == 4 ? argv[2] : "";
    if ((argc != 2 && argc != 4) || (argc == 4 && kind != "periodic" && kind != "identical" && kind != "random")) {
        std::fprintf(stderr, "usage: sample_line_file OUT.vrs [random|periodic|identical TRAINS]\n");
        return 1;
    }
    Document doc;
    if (kind == "periodic")
        GeneratedLines::periodic(doc, std::atoi(argv[3]));
    else if (kind == "identical")
        GeneratedLines::identical(doc, std::atoi(argv[3]));
    else
        SampleLine::fill(doc, {60, 300, argc == 4 ? std::atoi(argv[3]) : 1000, 40});
    if (DocumentFile::save(doc, QString::fromLocal8Bit(argv[1])).status != DocumentFile::Status::Ok) {
        std::fprintf(stderr, "sample_line_file: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
