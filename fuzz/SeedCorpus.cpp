// Writes the seed corpora of the fuzz targets: documents of every version
// (the layouts the reader tests build), the example line cut down to a few
// trains as a document, as JSON and as a text timetable, the import texts
// of the import tests, GTFS feeds (the tests' small line and the Caltrain
// fixture cut down to a few trips) and CZPTT messages. Run once after a
// change of the formats:
//   build-fuzz/fuzz/fuzz_seeds . fuzz/corpus
// Inputs that once failed (regress-*) live beside the seeds and stay.
#include "FuzzGtfsFeed.h"
#include "FuzzLine.h"

#include "GtfsTestFeeds.h"

#include "ByteBuilder.h"

#include "io/DocumentWriter.h"
#include "io/json/DocumentJson.h"
#include "model/ClockTime.h"
#include "model/Document.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

QString g_out;

void write(const QString &target, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(g_out + u'/' + target);
    QFile f(g_out + u'/' + target + u'/' + name);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
}

QByteArray bytesOf(const Document &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DocumentWriter::write(doc, buffer);
    return buffer.data();
}

// ---------------------------------------------------------------- documents

// Every version the reader knows, each section present once.
void olderVersions()
{
    ByteBuilder v01;
    v01.header("Vlakorys 0.1!").i32(2).sstr("Tanvald", 50).i32(27).sstr("Sma\x9Eice", 50).i32(20);
    write("document", "seed-v0.1.vrs", v01.bytes());

    ByteBuilder v02;
    v02.header("Vlakorys 0.2!").i32(2).sstr("A", 50).i32(0).sstr("B", 50).i32(10);
    v02.i32(1).sstr("Os 12345", 10).i32(1).f64(0.25).i32(2);
    v02.i32(2).f64(0.26).i32(-990).f64(0.27);
    write("document", "seed-v0.2.vrs", v02.bytes());

    ByteBuilder v03;
    v03.header("Vlakorys 0.3!").i32(3).sstr("A", 50).i32(0).sstr("B", 50).i32(5).sstr("C", 50).i32(9);
    v03.i32(1).sstr("Mn 80001", 10).i32(3).f64(0.5).i32(1).i32(1).f64(0.55);
    v03.i32(2).i32(1).i32(3);
    write("document", "seed-v0.3.vrs", v03.bytes());

    ByteBuilder v04;
    v04.header("Vlakorys 0.4!").i32(1).sstr("A", 50).i32(0);
    v04.i32(1).sstr("Sp 1", 10).i32(1).f64(0.5).raw({1, 1}).i32(0);
    v04.i32(1).i32(1);
    write("document", "seed-v0.4.vrs", v04.bytes());

    ByteBuilder v05;
    v05.header("Vlakorys 0.5!").i32(1).sstr("A", 50).i32(0);
    v05.i32(1).sstr("R 7", 10).i32(1).f64(0.5).raw({0, 1}).i32(1).i32(-995).f64(0.52);
    v05.i32(1).i32(1);
    v05.i32(3).i32(7).i32(8).i32(9);
    write("document", "seed-v0.5.vrs", v05.bytes());

    ByteBuilder v06;
    v06.header("Vlakorys 0.6!").i32(2).sstr("A", 50).i32(0).sstr("B", 50).i32(8);
    v06.i32(1).sstr("Os 1", 10).i32(1).f64(0.3).raw({1, 0}).i32(1).i32(2).f64(0.31);
    v06.i32(1).i32(2).i32(0);
    v06.i32(2);
    v06.sstr("Os 1", 15).f64(0.3).raw({0x84, 0, 0, 0, 0, 0x48}).raw({1, 0, 1});
    v06.sstr("Os 2", 15).f64(0.4).raw({0x82, 0, 0, 0, 0, 0xA0}).raw({0, 1, 1});
    write("document", "seed-v0.6.vrs", v06.bytes());

    ByteBuilder v07;
    v07.header("Vlakorys 0.7!").i32(2).sstr("A", 50).i32(0).sstr("B", 50).i32(3);
    v07.i32(0);
    v07.i32(1).i32(2).raw({0, 1, 0, 0, 0, 0, 1});
    v07.i32(1).sstr("Pn 1", 15).f64(0.1).raw({0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}).raw({1, 0, 1});
    write("document", "seed-v0.7.vrs", v07.bytes());

    ByteBuilder v08;
    v08.header("Vlakorys 0.8!").i32(0).i32(0).i32(0);
    v08.i32(1).sstr("Ex 1", 15).f64(0.1).raw({0x84, 0, 0, 0, 0, 0x48}).raw({1, 0, 1});
    v08.raw({0x80, 0x92, 0xA2, 0xDA, 0x0F, 0xC9});
    write("document", "seed-v0.8.vrs", v08.bytes());

    ByteBuilder v09;
    v09.header("Vlakorys 0.9!").i32(1).sstr("A", 50).i32(4);
    v09.i32(1).sstr("Os 1234567", 10).i32(1).f64(0.5).raw({0, 0}).i32(1).i32(-998).f64(0.52);
    v09.i32(0);
    v09.i32(1).sstr("Os 1234567", 15).f64(0.5).f64(7.75).raw({0, 0, 1}).f64(0.3);
    write("document", "seed-v0.9.vrs", v09.bytes());

    ByteBuilder v10;
    v10.header("Vlakorys 1.0!").i32(1).sstr("A", 50).i32(2);
    v10.i32(1).sstr("Os 12345678901234567", 20).i32(1).f64(0.5).raw({1, 0}).i32(-3).i32(1);
    v10.i32(-1000).f64(0.6).i32(4);
    v10.i32(0).i32(0);
    write("document", "seed-v1.0.vrs", v10.bytes());

    ByteBuilder v11;
    v11.header("Vlakorys 1.1!").i32(1).sstr("A", 50).i32(3);
    v11.i32(1).sstr("R 5", 20).i32(1).f64(0.5).raw({0, 0}).i32(0).raw({1, 0}).i32(1);
    v11.i32(-999).f64(0.6).i32(0).raw({0, 1});
    v11.i32(0);
    v11.i32(1).sstr("R 5", 15).f64(0.5).f64(1).raw({1, 0, 1}).f64(-1);
    write("document", "seed-v1.1.vrs", v11.bytes());
}

// A 1.2 document with something in every section, a label image and
// profiles among them.
void everyField(Document &doc)
{
    Station a;
    a.name = "Ta\x9Aovice";
    a.metres = 7000;
    doc.stations.push_back(a);
    Station b;
    b.name = "Brod";
    b.metres = 12000;
    doc.stations.push_back(b);
    doc.appendKind({2, 1, 0, 0, 1, 0, 0, 0});
    doc.trains.resize(2);
    doc.trains[0].name = "Os 5401";
    doc.trains[0].rusici = 1;
    Document::addRow(doc.trains[0], 1, 0.25, -1, 1, 0);
    Document::addRow(doc.trains[0], 2, 0.26, 0, 0, 1);
    Document::addRow(doc.trains[0], 2, 0.27, 2, 0, 0);
    Document::addRow(doc.trains[0], -990, 0.29, 0, 1, 0);
    doc.trains[1].name = "R 1";
    doc.trains[1].podlePotreby = 1;
    Document::addRow(doc.trains[1], 2, 0.5, 0, 0, 1);
    doc.trainCount = 2;
    doc.settings.saveLabelImages = 1;
    doc.settings.zoom = 13;
    doc.newTrainLabel().text = "R 1";
    TrainLabel &head = doc.newTrainLabel();
    head.text = "Os 5401";
    head.time = 0.25;
    head.level = 8.5;
    head.ascending = 1;
    head.visible = 1;
    head.angle = -0.5;
    head.imageColour = 0x123456;
    head.width = 4;
    head.height = 2;
    head.imageCodes = {4, 0, 1, 3, 0};
    head.imageValues = {10, 20, 30};
    doc.profiles.countOf(1) = 2;
    doc.profiles.at(1, 1).name = "Os";
    doc.profiles.at(1, 1).runTimeAt(1) = 5;
    doc.profiles.at(1, 1).dwellAt(3) = 0;
    doc.profiles.at(1, 2).name = "Empty";
    doc.profiles.countOf(2) = 1;
    doc.profiles.at(2, 1).runTimeAt(2) = 9;
}

// The example line with its first few trains: small enough that libFuzzer's
// mutations stay quick.
void example(Document &doc, const QString &sourceDir)
{
    QFile f(sourceDir + QStringLiteral("/examples/liberec-tanvald.json"));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
    const QString error = DocumentJson::fromText(f.readAll(), doc);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(1);
    }
    doc.trains.resize(4);
    doc.trainCount = 4;
}

// ---------------------------------------------------------------- texts

QByteArray clock(const TrainRow &r)
{
    QByteArray text = formatClockTime(r.time).toLatin1();
    if (r.mark != 0)
        text += (r.mark > 0 ? "+" : "") + QByteArray::number(r.mark);
    if (r.halfMinute)
        text += ";P";
    if (r.shortDwell)
        text += ";PB";
    return text;
}

// A train as a text block: a row followed by one at the same station is an
// arrival and a departure on one line; the last row is an arrival.
QByteArray timetableOf(const Document &doc)
{
    QByteArray text;
    for (const Train &t : doc.trains) {
        text += t.name.toByteArray();
        text += t.podlePotreby ? ";pp" : "";
        text += t.rusici ? ";rus" : "";
        text += "\r\n";
        for (int k = 0; k < t.rowCount(); ++k) {
            const TrainRow r = t.row(k);
            const QByteArray name = doc.stations.at(static_cast<size_t>(r.station - 1)).name.toByteArray();
            if (k + 1 < t.rowCount() && t.row(k + 1).station == r.station) {
                text += name + '\t' + clock(r) + '\t' + clock(t.row(k + 1)) + "\r\n";
                ++k;
            } else if (k + 1 == t.rowCount()) {
                text += name + '\t' + clock(r) + "\t\r\n";
            } else {
                text += name + "\t\t" + clock(r) + "\r\n";
            }
        }
        text += "-\r\n";
    }
    return text;
}

void importTexts(const Document &example)
{
    write("import", "seed-example.txt", timetableOf(example));
    // The import tests' cases, on the example line's stations.
    write("import", "seed-rows.txt",
          "Os 1;pp\nLiberec\t\t 6:00+2;P\nLiberec-Rochlice\t\t 6:05;PB\nVesec u Liberce\t 6:09-1;P;PB\t 6:10-1\n"
          "km 9\t\t 6:15+x;P\nkm 9\t 6:5\nTanvald\t23:59\t\n-\n"
          "Sp 1234;rus;pp\nPraha\t\t 7:00\nLiberec\t\t 7:00-2147483648\nTanvald\t 7:05+2147483647\t 7:06\n-\n"
          "Os 3\nLiberec\t\t 8:00\n-\nOs 4\n");
    write("import", "seed-error.txt",
          "Os 1\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\nOs 2\nLiberec\t\t 7:00\nTanvald\t 7:xx\t\n-\n");
    write("import", "seed-utf8.txt",
          "\xEF\xBB\xBFOs \xC5\xA1\nSmr\xC5\xBEovka\t\t 6:00\nLu\xC4\x8D"
          "any nad Nisou\t 6:05\t\n");
    write("import", "seed-cp1250.txt",
          "Os \x9A\r\nSmr\x9Eovka\t\t 6:00\r\n\r\nLu\xE8"
          "any nad Nisou\t 6:05\t\r\n");
}

// ---------------------------------------------------------------- GTFS

QByteArray firstLines(const QString &path, int lines)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    QByteArray out;
    for (int i = 0; i < lines && !f.atEnd(); ++i)
        out += f.readLine();
    return out;
}

void gtfsFeeds()
{
    using namespace GtfsTestFeeds;
    const QByteArray noDates = "service_id,date,exception_type\n";
    for (const auto &[name, distances] :
         {std::pair{"seed-metres", Distances::Metres}, std::pair{"seed-kilometres", Distances::Kilometres},
          std::pair{"seed-no-distances", Distances::None}}) {
        Tables t = smallLine(distances);
        t[QStringLiteral("calendar_dates.txt")] = noDates;
        write("gtfs", QString::fromLatin1(name), FuzzGtfsFeed::join(t));
    }
    // Caltrain: the first trips and the shapes' first points.
    const QString dir = caltrainDir() + u'/';
    const std::pair<const char *, int> cut[] = {
        {"stops.txt", 70},         {"routes.txt", 10},      {"trips.txt", 40}, {"calendar.txt", 10},
        {"calendar_dates.txt", 8}, {"stop_times.txt", 120}, {"shapes.txt", 60}};
    Tables caltrain;
    for (const auto &[table, lines] : cut)
        caltrain[QString::fromLatin1(table)] = firstLines(dir + QString::fromLatin1(table), lines);
    // Only the Sunday service, whose trips come first: its first day is the
    // day the target reads.
    const QList<QByteArray> calendar = caltrain[QStringLiteral("calendar.txt")].split('\n');
    caltrain[QStringLiteral("calendar.txt")] = calendar[0] + '\n' + calendar[2] + '\n';
    write("gtfs", QStringLiteral("seed-caltrain"), FuzzGtfsFeed::join(caltrain));
}

// ---------------------------------------------------------------- CZPTT

// Real messages of the test data (a branch-line path, one past midnight, one
// from abroad the evening before), a cancellation and a path cut to its
// bones with its elements in another order.
void czpttMessages(const QString &sourceDir)
{
    const QString data = sourceDir + QStringLiteral("/tests/data/czptt/");
    for (const char *file :
         {"vsetin-velke-karlovice/PA_0054_KT----16571A_00_2026.xml", "edge-cases/PA_0054_KT-----7002A_00_2026.xml",
          "edge-cases/PA_0054_KT----57832A_00_2026.xml"}) {
        QFile f(data + QLatin1StringView(file));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(f.fileName()));
            std::exit(1);
        }
        write("czptt", QStringLiteral("seed-") + QFileInfo(f.fileName()).fileName(), f.readAll());
    }
    write("czptt", "seed-cancellation.xml",
          "<?xml version=\"1.0\"?><CZCanceledPTTMessage><PlannedTransportIdentifiers><ObjectType>PA</ObjectType>"
          "<Company>0054</Company><Core>KT----16571A</Core><Variant>00</Variant><TimetableYear>2026"
          "</TimetableYear></PlannedTransportIdentifiers><PlannedCalendar><BitmapDays>0110</BitmapDays>"
          "<ValidityPeriod><StartDateTime>2026-03-03T00:00:00</StartDateTime><EndDateTime>2026-03-06T00:00:00"
          "</EndDateTime></ValidityPeriod></PlannedCalendar></CZCanceledPTTMessage>");
    write("czptt", "seed-small-path.xml",
          "<CZPTTCISMessage><CZPTTInformation><PlannedCalendar><ValidityPeriod><StartDateTime>2026-03-04"
          "</StartDateTime></ValidityPeriod><BitmapDays>11</BitmapDays></PlannedCalendar>"
          "<CZPTTLocation><TrafficType>C2</TrafficType><OperationalTrainNumber>1181</OperationalTrainNumber>"
          "<TimingAtLocation><Timing TimingQualifierCode=\"ALD\"><Offset>0</Offset><Time>23:58:30</Time></Timing>"
          "</TimingAtLocation><Location><LocationPrimaryCode>1</LocationPrimaryCode><PrimaryLocationName>A"
          "</PrimaryLocationName></Location><TrainActivity><TrainActivityType>0001</TrainActivityType>"
          "</TrainActivity></CZPTTLocation>"
          "<CZPTTLocation><Location><PrimaryLocationName>B</PrimaryLocationName></Location><TimingAtLocation>"
          "<Timing TimingQualifierCode=\"ALA\"><Time>00:04:00</Time><Offset>1</Offset></Timing>"
          "</TimingAtLocation></CZPTTLocation></CZPTTInformation>"
          "<Identifiers><PlannedTransportIdentifiers><ObjectType>PA</ObjectType><Core>X</Core>"
          "</PlannedTransportIdentifiers></Identifiers></CZPTTCISMessage>");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds SOURCE_DIR CORPUS_DIR\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    g_out = QString::fromLocal8Bit(argv[2]);

    olderVersions();
    Document full;
    everyField(full);
    write("document", "seed-v1.2-every-field.vrs", bytesOf(full));
    write("json", "seed-every-field.json", DocumentJson::toText(full));
    // Stations off whole kilometres: the positions to the metre follow the
    // profiles.
    Document metres;
    everyField(metres);
    metres.stations[0].metres = 7562;
    metres.stations[1].metres = -12500;
    write("document", "seed-v1.2-metres.vrs", bytesOf(metres));
    write("json", "seed-metres.json", DocumentJson::toText(metres));
    // A track layout other than the default one: its chunk follows too.
    Document tracks;
    everyField(tracks);
    tracks.stations[0].sectionTracks = 2;
    tracks.stations[1].stationTracks = 3;
    tracks.lineTracks = {2, 4};
    write("document", "seed-v1.2-tracks.vrs", bytesOf(tracks));
    write("json", "seed-tracks.json", DocumentJson::toText(tracks));

    Document line;
    example(line, source);
    write("document", "seed-v1.2-example.vrs", bytesOf(line));
    importTexts(line);
    czpttMessages(source);
    gtfsFeeds();
    line.trains.resize(1); // the JSON form is verbose
    write("json", "seed-example.json", DocumentJson::toText(line));

    // The JSON form's other spellings: clock times and true/false flags.
    write("json", "seed-spellings.json",
          "{\"stations\": [{\"name\": \"Liberec\", \"km\": 0}, {\"name\": \"Tanvald\", \"km\": 27}],\n"
          " \"trains\": [{\"name\": \"Os 1\", \"rusici\": true, \"rows\": [{\"station\": 1, \"time\": \"6:00\"},\n"
          "   {\"station\": 2, \"time\": \"6:40:30\", \"halfMinute\": true}]}],\n"
          " \"settings\": {\"zoom\": 21, \"ratioX\": 100, \"ratioY\": 1},\n"
          " \"trainLabels\": [{\"text\": \"Os 1\", \"time\": \"6:10\", \"level\": 3.5, \"image\": null}],\n"
          " \"profiles\": {\"direction2\": [{\"name\": \"Os\", \"runTime\": [4, 6], \"dwell\": [-1, 1]}]}}\n");
    return 0;
}
