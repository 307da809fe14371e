// A whole year of the national timetable as it is published: 13,000 CZPTT
// messages, each zipped on its own inside one zip, about 400 MiB of XML.
// The archive is made once from the real messages in tests/data (their
// numbers, names and calendars varied, so that the copies are the trains of
// some 330 other lines; the first 39 are the Vsetín – Velké Karlovice line
// as published) and kept in the build directory.
//
// Measured: picking the line's Wednesday out of the year (what an import
// into the line does), and reading every message of the year (what the
// dialog does before the user has named the line). The peak of resident
// memory during each run is a counter.
#include "io/czptt/CzpttTimetable.h"
#include "import/LineTrains.h"
#include "model/Document.h"

#include "SampleLine.h"
#include "VsetinLine.h"
#include "ZipBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int messageCount = 13000;
const QDate wednesday(2026, 3, 4);

QString archivePath()
{
    return QStringLiteral(VLAKORYS_BINARY_DIR "/bench/czptt-2026-synthetic.zip");
}

std::vector<std::pair<QString, QByteArray>> realMessages()
{
    std::vector<std::pair<QString, QByteArray>> messages;
    for (const char *sub : {"vsetin-velke-karlovice", "edge-cases"}) {
        const QDir dir(QStringLiteral(VLAKORYS_SOURCE_DIR "/tests/data/czptt/") + QLatin1StringView(sub));
        for (const QString &name : dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                messages.emplace_back(name, f.readAll());
        }
    }
    return messages;
}

// Every element's text between the tags replaced by what make gives it.
void replaceTexts(QByteArray &xml, const QByteArray &tag, const std::function<QByteArray(QByteArrayView)> &make)
{
    const QByteArray open = '<' + tag + '>';
    const QByteArray close = "</" + tag + '>';
    qsizetype from = 0;
    while ((from = xml.indexOf(open, from)) >= 0) {
        const qsizetype start = from + open.size();
        const qsizetype end = xml.indexOf(close, start);
        if (end < 0)
            return;
        const QByteArray text = make(QByteArrayView(xml).sliced(start, end - start));
        xml.replace(start, end - start, text);
        from = start + text.size() + close.size();
    }
}

// Copy k of a message: another path and train number, its points renamed
// for line `line`, its calendar shifted by a few days.
QByteArray varied(QByteArray xml, int k, int line)
{
    replaceTexts(xml, "Core", [&](QByteArrayView core) {
        return core.startsWith("KT") ? QByteArray("SY") + QByteArray::number(k).rightJustified(10, '-')
                                     : core.toByteArray();
    });
    replaceTexts(xml, "OperationalTrainNumber", [&](QByteArrayView) { return QByteArray::number(100000 + k); });
    replaceTexts(xml, "PrimaryLocationName",
                 [&](QByteArrayView name) { return name.toByteArray() + ' ' + QByteArray::number(line); });
    replaceTexts(xml, "LocationPrimaryCode",
                 [&](QByteArrayView code) { return QByteArray::number(line) + '-' + code.toByteArray(); });
    replaceTexts(xml, "BitmapDays", [&](QByteArrayView bits) {
        const qsizetype shift = k % 7;
        return bits.sliced(shift).toByteArray() + bits.first(shift).toByteArray();
    });
    return xml;
}

bool makeArchive(const QString &path)
{
    const auto messages = realMessages();
    if (messages.size() < 40)
        return false;
    std::vector<ZipBuilder::Member> members;
    members.reserve(messageCount);
    qint64 xmlBytes = 0;
    for (int k = 0; k < messageCount; ++k) {
        const auto &[name, xml] = messages[static_cast<size_t>(k) % messages.size()];
        // The line as published first, then copies for other lines.
        const QByteArray bytes = k < 39 ? xml : varied(xml, k, k / 39);
        const QString file = QStringLiteral("SY_%1.xml").arg(k, 5, 10, QLatin1Char('0'));
        xmlBytes += bytes.size();
        members.push_back({QString(file).replace(QStringLiteral(".xml"), QStringLiteral(".zip")),
                           ZipBuilder::zip({{k < 39 ? name : file, bytes}})});
    }
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path + QStringLiteral(".part"));
    const QByteArray zip = ZipBuilder::zip(members, false);
    if (!out.open(QIODevice::WriteOnly) || out.write(zip) != zip.size() || !out.flush())
        return false;
    out.close();
    std::fprintf(stderr, "made %s: %d messages, %.0f MiB of XML, %.0f MiB zipped\n", qPrintable(path), messageCount,
                 xmlBytes / 1048576.0, zip.size() / 1048576.0);
    return QFile::rename(out.fileName(), path);
}

const QString &archive()
{
    static const QString path = [] {
        const QString p = archivePath();
        if (!QFileInfo::exists(p) && !makeArchive(p))
            std::fprintf(stderr, "cannot make %s\n", qPrintable(p));
        return p;
    }();
    return path;
}

// The peak of resident memory is reset before a run and read after it
// (Linux: /proc/self/clear_refs, VmHWM).
void resetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double peakMemoryMiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    }
    return 0;
}

void BM_CzpttLineDayOutOfTheYear(benchmark::State &state)
{
    const QString &path = archive();
    CzpttTimetable::ScanOptions options;
    options.names = VsetinLine::stations;
    options.minNames = 2;
    int trains = 0;
    double peak = 0;
    for (auto _ : state) {
        resetPeakMemory();
        const CzpttTimetable year = CzpttTimetable::scan({path}, options);
        Document doc;
        for (const QString &n : VsetinLine::stations)
            SampleLine::addStation(doc, n.toUtf8().constData(), 0);
        trains = LineTrains::appendTo(doc, year.day(wednesday)).added;
        peak = std::max(peak, peakMemoryMiB());
    }
    state.counters["trains"] = trains; // 37
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_CzpttLineDayOutOfTheYear)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

void BM_CzpttWholeYear(benchmark::State &state)
{
    const QString &path = archive();
    size_t paths = 0;
    size_t trains = 0;
    double peak = 0;
    for (auto _ : state) {
        resetPeakMemory();
        const CzpttTimetable year = CzpttTimetable::scan({path});
        paths = year.paths().size();
        trains = year.day(wednesday).trains.size();
        peak = std::max(peak, peakMemoryMiB());
    }
    state.counters["paths"] = static_cast<double>(paths);
    state.counters["trains_on_the_day"] = static_cast<double>(trains);
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_CzpttWholeYear)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

} // namespace
