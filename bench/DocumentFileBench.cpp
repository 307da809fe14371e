// Opening and saving a busy document: 2000 trains of about 40 rows on a
// 60-station line, every train with its label and a stored label image.
#include "io/DocumentFile.h"
#include "io/DocumentReader.h"
#include "model/Document.h"

#include "SampleLine.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A rotated label of some 60 x 60 pixels: a few runs a row.
void addLabels(Document &doc)
{
    doc.settings.saveLabelImages = 1;
    uint32_t seed = 7;
    for (const Train &t : doc.trains) {
        TrainLabel &l = doc.newTrainLabel();
        l.text = t.name.view().first(std::min(15, t.name.size()));
        l.time = t.firstTime;
        l.level = 10.5;
        l.visible = 1;
        l.angle = -0.7853981635;
        l.imageColour = 0x0000FF;
        l.width = 60;
        l.height = 60;
        for (int row = 0; row < l.height; ++row) {
            int left = l.width;
            while (left > 0) {
                seed = seed * 1664525u + 1013904223u;
                const int run = std::min<int>(left, 1 + static_cast<int>(seed >> 26));
                l.imageCodes.push_back(static_cast<uint8_t>(run));
                l.imageValues.push_back(static_cast<uint8_t>(seed >> 8));
                left -= run;
            }
            l.imageCodes.push_back(0);
        }
    }
}

struct BusyFile
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("busy.vrs"));
    Document doc;

    BusyFile()
    {
        SampleLine::fill(doc, {60, 300, 2000, 40});
        addLabels(doc);
        DocumentFile::save(doc, path);
    }
};

BusyFile &busyFile()
{
    static BusyFile file;
    return file;
}

void BM_SaveDocument(benchmark::State &state)
{
    BusyFile &f = busyFile();
    const QString target = f.dir.filePath(QStringLiteral("saved.vrs"));
    for (auto _ : state) {
        if (DocumentFile::save(f.doc, target).status != DocumentFile::Status::Ok)
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = static_cast<double>(QFile(target).size());
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_OpenDocument(benchmark::State &state)
{
    BusyFile &f = busyFile();
    for (auto _ : state) {
        Document doc;
        if (DocumentFile::load(doc, f.path).status != DocumentFile::Status::Ok)
            state.SkipWithError("open failed");
        DocumentReader::finishLoading(doc);
        benchmark::DoNotOptimize(doc.trains.data());
    }
    size_t rows = 0;
    for (const Train &t : f.doc.trains)
        rows += static_cast<size_t>(t.rowCount());
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

} // namespace
