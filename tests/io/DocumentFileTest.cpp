// The .vrs reader and writer on literal bytes: the layout of version 1.2 as
// written, every older version as read, and damaged files.
#include "ByteBuilder.h"

#include "io/DocumentReader.h"
#include "io/DocumentWriter.h"
#include "model/Document.h"

#include "SampleLine.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using Status = DocumentReader::Status;

QByteArray save(const Document &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(DocumentWriter::write(doc, buffer));
    return buffer.data();
}

DocumentReader::Outcome load(Document &doc, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DocumentReader::read(doc, buffer);
}

// The settings block of a document with the default settings.
ByteBuilder &defaultSettings(ByteBuilder &b)
{
    return b.pstr("Times New Roman CE")
        .i32(8)
        .pstr("Arial CE")
        .i32(12)
        .pstr("Arial CE")
        .i32(7)
        .raw({1, 2, 3, 0, 4})
        .i32(1)
        .i32(2)
        .raw({0, 0, 1});
}
constexpr int defaultSettingsSize = 1 + 18 + 4 + 1 + 8 + 4 + 1 + 8 + 4 + 5 + 4 + 4 + 3;

Station station(const char *name, int32_t km)
{
    Station s;
    s.name = name;
    s.km = km;
    return s;
}

TrainStop stop(int32_t station, double time, int32_t mark = 0, uint8_t half = 0, uint8_t shortDwell = 0)
{
    TrainStop s;
    s.station = station;
    s.time = time;
    s.mark = mark;
    s.halfMinute = half;
    s.shortDwell = shortDwell;
    return s;
}

// A document with every stored field set to something other than its
// default, in code page 1250 where texts allow it.
void fillRich(Document &doc)
{
    doc.clearAll();
    doc.stations.push_back(station("Liberec", 0));
    doc.stations.push_back(station("Jablonec nad Nisou", 12));
    doc.stations.push_back(station("Ko\x9Al\xE1\x9Ekovice", -3)); // Košlákovice
    doc.stations.push_back(station("Nejdel\x9A\xED n\xE1zev stanice, jak\xFD se do pole vejde!!", 9999));

    StationKind k;
    k.stationIndex = 3;
    k.odbocka = 1;
    k.kilometr = 1;
    doc.appendKind(k);
    k = {};
    k.stationIndex = 1;
    k.dopravna = 1;
    doc.appendKind(k);
    k = {};
    k.stationIndex = 2;
    k.hradlo = 1;
    k.hlaska = 1;
    k.zastavka = 1;
    k.nakladiste = 1;
    doc.appendKind(k);

    Train a;
    a.name = "Os 5401";
    a.rusici = 1;
    a.firstStation = 1;
    a.firstTime = 0.2583333333333333;
    a.firstMark = -2;
    a.firstHalfMinute = 1;
    a.stops = {stop(2, 0.27, 1, 0, 1), stop(-988, 0.275, 0, 1, 0), stop(4, 0.3, 7, 1, 1)};
    doc.trains.push_back(a);
    Train b;
    b.name = "Sp 1234567890123456"; // 19 characters
    b.podlePotreby = 1;
    b.firstStation = 4;
    b.firstTime = 0.999;
    b.firstShortDwell = 1;
    doc.trains.push_back(b);
    Train empty;
    empty.name = "R 1";
    doc.trains.push_back(empty);

    DocumentSettings &s = doc.settings;
    s.trainFontSmallName = "Courier New CE";
    s.trainFontSmallSize = 9;
    s.trainFontLargeName = "Verdana";
    s.trainFontLargeSize = 14;
    s.timeFontName = "Tahoma";
    s.timeFontSize = 6;
    s.penThin = 2;
    s.penMedium = 4;
    s.penThick = 7;
    s.saveLabelImages = 1;
    s.zoom = 13;
    s.ratioX = 3;
    s.ratioY = 100;
    s.showTimeLabels = 1;
    s.smoothing = 1;
    s.showCategory = 0;

    for (int i = 0; i < 3; ++i) {
        TrainLabel &l = doc.newTrainLabel();
        l.text = QByteArray("Os 540") + QByteArray::number(i);
        l.time = 0.25 + i / 100.0;
        l.level = 12.5 - i;
        l.ascending = i % 2;
        l.rusici = i == 2;
        l.visible = i != 1;
        l.angle = -0.7853981635 + i;
        l.width = 10 + i;
        l.height = 20 + i;
    }
    TrainLabel &imaged = doc.trainLabels[1];
    imaged.imageColour = 0x0080FF;
    imaged.imageCodes = {3, 0, 7, 2, 0, 255, 0};
    imaged.imageValues = {0, 255, 128, 9};

    ProfileTable &p = doc.profiles;
    p.countOf(1) = 2;
    p.at(1, 1).name = "Os zastavuje v\x9A\x65";
    p.at(1, 1).runTimeAt(1) = 9;
    p.at(1, 1).dwellAt(1) = 1;
    p.at(1, 1).runTimeAt(2) = 12;
    p.at(1, 1).dwellAt(3) = 0;
    p.at(1, 2).name = "R";
    p.at(1, 2).runTimeAt(99) = 4;
    p.countOf(2) = 1;
    p.at(2, 1).name = "Pn";
    p.at(2, 1).dwellAt(5) = 6;
}

void expectSameTrains(const Document &a, const Document &b)
{
    ASSERT_EQ(a.trains.size(), b.trains.size());
    for (size_t i = 0; i < a.trains.size(); ++i) {
        const Train &x = a.trains[i];
        const Train &y = b.trains[i];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.rusici, y.rusici);
        EXPECT_EQ(x.podlePotreby, y.podlePotreby);
        EXPECT_EQ(x.firstStation, y.firstStation);
        EXPECT_EQ(x.firstTime, y.firstTime);
        EXPECT_EQ(x.firstMark, y.firstMark);
        EXPECT_EQ(x.firstHalfMinute, y.firstHalfMinute);
        EXPECT_EQ(x.firstShortDwell, y.firstShortDwell);
        ASSERT_EQ(x.stops.size(), y.stops.size());
        for (size_t r = 0; r < x.stops.size(); ++r) {
            EXPECT_EQ(x.stops[r].station, y.stops[r].station);
            EXPECT_EQ(x.stops[r].time, y.stops[r].time);
            EXPECT_EQ(x.stops[r].mark, y.stops[r].mark);
            EXPECT_EQ(x.stops[r].halfMinute, y.stops[r].halfMinute);
            EXPECT_EQ(x.stops[r].shortDwell, y.stops[r].shortDwell);
            EXPECT_EQ(y.stops[r].pastMidnight, 0);
        }
    }
}

void expectSameLabel(const TrainLabel &x, const TrainLabel &y, bool withImage)
{
    EXPECT_EQ(x.text, y.text);
    EXPECT_EQ(x.time, y.time);
    EXPECT_EQ(x.level, y.level);
    EXPECT_EQ(x.ascending, y.ascending);
    EXPECT_EQ(x.rusici, y.rusici);
    EXPECT_EQ(x.visible, y.visible);
    EXPECT_EQ(x.angle, y.angle);
    if (withImage && x.hasImage()) {
        EXPECT_EQ(x.imageColour, y.imageColour);
        EXPECT_EQ(x.width, y.width);
        EXPECT_EQ(x.height, y.height);
        EXPECT_EQ(x.imageCodes, y.imageCodes);
        EXPECT_EQ(x.imageValues, y.imageValues);
    } else {
        EXPECT_FALSE(y.hasImage());
    }
}

void expectSameProfiles(const ProfileTable &a, const ProfileTable &b)
{
    EXPECT_EQ(a.count, b.count);
    for (int d = 1; d <= 2; ++d)
        for (int n = 1; n <= 99; ++n) {
            EXPECT_EQ(a.at(d, n).name, b.at(d, n).name) << d << "/" << n;
            EXPECT_EQ(a.at(d, n).runTime, b.at(d, n).runTime) << d << "/" << n;
            EXPECT_EQ(a.at(d, n).dwell, b.at(d, n).dwell) << d << "/" << n;
        }
}

// A small 1.2 file with something in every section.
QByteArray smallFile()
{
    Document doc;
    fillRich(doc);
    return save(doc);
}

} // namespace

// ---------------------------------------------------------------- writing

TEST(DocumentWriter, EmptyDocumentIsHeaderCountsSettingsAndTwoProfileCounts)
{
    Document doc;
    ByteBuilder expected;
    expected.raw({0x0D, 0x56, 0x6C, 0x61, 0x6B, 0x6F, 0x72, 0x79, 0x73, 0x20, 0x31, 0x2E, 0x32, 0x21});
    expected.i32(0).i32(0).i32(0);
    defaultSettings(expected);
    expected.i32(0).raw({0, 0});
    EXPECT_EQ(save(doc), expected.bytes());
}

TEST(DocumentWriter, LengthWithoutTrainsFollowsTheStationAndKindRecords)
{
    for (int stations : {1, 7, 60}) {
        Document doc;
        for (int i = 0; i < stations; ++i)
            doc.stations.push_back(station("S", i));
        doc.relinkStationKinds();
        StationKind extra;
        extra.stationIndex = 500;
        doc.appendKind(extra);
        const int kinds = static_cast<int>(doc.stationKinds.size());
        EXPECT_EQ(save(doc).size(), 14 + 4 + 55 * stations + 4 + 4 + 11 * kinds + defaultSettingsSize + 4 + 2);
    }
}

TEST(DocumentWriter, StationRecordIsNameFieldOf51BytesAndKilometre)
{
    Document doc;
    doc.stations.push_back(station("Ta\x9Aovice", -7));
    // A longer name stored earlier must not leak past the new length.
    doc.stations[0].name = "Xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx";
    doc.stations[0].name = "Ta\x9Aovice";
    const QByteArray bytes = save(doc);
    ByteBuilder expected;
    expected.i32(1).sstr("Ta\x9Aovice", 50).i32(-7);
    EXPECT_EQ(bytes.mid(14, 4 + 55), expected.bytes());
}

TEST(DocumentWriter, TrainRecordAndRowsAtTheirOffsets)
{
    Document doc;
    Train t;
    t.name = "Os 5401";
    t.rusici = 1;
    t.podlePotreby = 0;
    t.firstStation = 3;
    t.firstTime = 0.25;
    t.firstMark = -1;
    t.firstHalfMinute = 1;
    t.firstShortDwell = 0;
    t.stops = {stop(-1000, 0.5, 2, 0, 1)};
    doc.trains.push_back(t);
    const QByteArray bytes = save(doc);
    ByteBuilder expected;
    expected.i32(1).sstr("Os 5401", 20).i32(3).f64(0.25).raw({1, 0}).i32(-1).raw({1, 0}).i32(1);
    expected.i32(-1000).f64(0.5).i32(2).raw({0, 1});
    ASSERT_EQ(expected.size(), 4 + 45 + 18);
    EXPECT_EQ(bytes.mid(18, expected.size()), expected.bytes());
}

TEST(DocumentWriter, OneRowTrainHasRowCountZero)
{
    Document doc;
    Train t;
    t.name = "R 1";
    Document::addRow(t, 2, 0.5, 0, 0, 0);
    ASSERT_TRUE(t.stops.empty());
    doc.trains.push_back(t);
    const QByteArray bytes = save(doc);
    // station count, train count, then the row count at offset 41 of the record
    ByteBuilder rowCount;
    rowCount.i32(0);
    EXPECT_EQ(bytes.mid(14 + 4 + 4 + 41, 4), rowCount.bytes());
    EXPECT_EQ(bytes.size(), 14 + 4 + 4 + 45 + 4 + defaultSettingsSize + 4 + 2);
}

TEST(DocumentWriter, KindFlagsAreStoredInFileOrder)
{
    Document doc;
    StationKind k;
    k.stationIndex = 2;
    k.dopravna = 1;   // 4
    k.odbocka = 2;    // 5
    k.hradlo = 3;     // 6
    k.hlaska = 4;     // 7
    k.kilometr = 5;   // 8
    k.zastavka = 6;   // 9
    k.nakladiste = 7; // 10
    doc.appendKind(k);
    const QByteArray bytes = save(doc);
    ByteBuilder expected;
    expected.i32(1).i32(2).raw({1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(bytes.mid(14 + 4 + 4, 4 + 11), expected.bytes());
}

TEST(DocumentWriter, SettingsBlockInOrder)
{
    Document doc;
    fillRich(doc);
    doc.clearStations();
    doc.clearTrains();
    doc.clearStationKinds();
    doc.clearTrainLabels();
    doc.clearProfiles();
    ByteBuilder expected;
    expected.pstr("Courier New CE").i32(9).pstr("Verdana").i32(14).pstr("Tahoma").i32(6);
    expected.raw({2, 4, 7, 1, 13}).i32(3).i32(100).raw({1, 1, 0});
    EXPECT_EQ(save(doc).mid(14 + 12, expected.size()), expected.bytes());
}

TEST(DocumentWriter, FontNamesAreCutTo255Characters)
{
    Document doc;
    doc.settings.trainFontSmallName = QByteArray(300, 'F');
    const QByteArray bytes = save(doc);
    EXPECT_EQ(static_cast<uint8_t>(bytes.at(26)), 255);
    EXPECT_EQ(bytes.size(), 14 + 12 + defaultSettingsSize - 18 + 255 + 4 + 2);
}

TEST(DocumentWriter, LabelsFromHeadWithImageOnlyWhenAsked)
{
    Document doc;
    TrainLabel &tail = doc.newTrainLabel();
    tail.text = "Tail";
    TrainLabel &head = doc.newTrainLabel();
    head.text = "Head";
    head.time = 0.5;
    head.level = 3.25;
    head.ascending = 1;
    head.rusici = 0;
    head.visible = 1;
    head.angle = -0.5;
    head.imageColour = 0x123456;
    head.width = 4;
    head.height = 2;
    head.imageCodes = {4, 0, 1, 3, 0};
    head.imageValues = {10, 20, 30};

    const int labelsAt = 14 + 12 + defaultSettingsSize;
    ByteBuilder withoutImages;
    withoutImages.i32(2).sstr("Head", 15).f64(0.5).f64(3.25).raw({1, 0, 1}).f64(-0.5).u8(0);
    withoutImages.sstr("Tail", 15).f64(0).f64(0).raw({0, 0, 0}).f64(0).u8(0);
    EXPECT_EQ(save(doc).mid(labelsAt, withoutImages.size()), withoutImages.bytes());

    doc.settings.saveLabelImages = 1;
    ByteBuilder withImages;
    withImages.i32(2).sstr("Head", 15).f64(0.5).f64(3.25).raw({1, 0, 1}).f64(-0.5).u8(1);
    withImages.i32(5).i32(0x123456).i32(4).i32(2).raw({4, 10, 0, 1, 20, 3, 30, 0});
    withImages.sstr("Tail", 15).f64(0).f64(0).raw({0, 0, 0}).f64(0).u8(0);
    EXPECT_EQ(save(doc).mid(labelsAt, withImages.size()), withImages.bytes());
}

TEST(DocumentWriter, ProfileEntriesUpToTheLastUsedOne)
{
    Document doc;
    doc.profiles.countOf(1) = 2;
    doc.profiles.at(1, 1).name = "Os";
    doc.profiles.at(1, 1).runTimeAt(1) = 5;
    doc.profiles.at(1, 1).dwellAt(3) = 0; // a zero dwell is in use
    doc.profiles.at(1, 2).name = "Empty"; // nothing in use: e = 0
    doc.profiles.countOf(2) = 0;
    doc.profiles.at(2, 1).runTimeAt(1) = 9; // beyond the count: not written
    ByteBuilder expected;
    expected.u8(2);
    expected.u8(3).pstr("Os").i32(5).i32(-1).i32(0).i32(-1).i32(0).i32(0);
    expected.u8(0).pstr("Empty");
    expected.u8(0);
    const QByteArray bytes = save(doc);
    EXPECT_EQ(bytes.right(expected.size()), expected.bytes());
}

TEST(DocumentWriter, FailedDeviceIsReported)
{
    // A device that takes only the first 100 bytes.
    class ShortDevice : public QBuffer
    {
    protected:
        qint64 writeData(const char *data, qint64 len) override
        {
            if (pos() + len > 100)
                return -1;
            return QBuffer::writeData(data, len);
        }
    };
    Document doc;
    fillRich(doc);
    ShortDevice device;
    device.open(QIODevice::WriteOnly);
    EXPECT_FALSE(DocumentWriter::write(doc, device));
}

// ---------------------------------------------------------------- round trips

TEST(DocumentRoundTrip, EveryFieldSurvivesSaveAndLoad)
{
    Document original;
    fillRich(original);
    Document loaded;
    loaded.settings.zoom = 2;
    const auto outcome = load(loaded, save(original));
    ASSERT_EQ(outcome.status, Status::Ok);
    EXPECT_EQ(outcome.version, 102);
    EXPECT_TRUE(outcome.settingsRead);

    ASSERT_EQ(loaded.stations.size(), original.stations.size());
    for (size_t i = 0; i < original.stations.size(); ++i) {
        EXPECT_EQ(loaded.stations[i].name, original.stations[i].name);
        EXPECT_EQ(loaded.stations[i].km, original.stations[i].km);
    }
    ASSERT_EQ(loaded.stationKinds.size(), original.stationKinds.size());
    auto a = original.stationKinds.begin();
    for (const StationKind &k : loaded.stationKinds) {
        EXPECT_EQ(k.stationIndex, a->stationIndex);
        EXPECT_TRUE(k.sameFlags(*a));
        ++a;
    }
    expectSameTrains(original, loaded);
    EXPECT_EQ(loaded.trainCount, 3); // label generation counts its progress by it
    EXPECT_EQ(loaded.settings, original.settings);
    ASSERT_EQ(loaded.trainLabelCount(), 3);
    for (int i = 0; i < 3; ++i)
        expectSameLabel(original.trainLabels[size_t(i)], loaded.trainLabels[size_t(2 - i)], true);
    expectSameProfiles(original.profiles, loaded.profiles);
    EXPECT_FALSE(loaded.labelImagesStale); // images were stored

    // Saving what was read twice gives the original bytes back.
    Document again;
    ASSERT_EQ(load(again, save(loaded)).status, Status::Ok);
    EXPECT_EQ(save(again), save(original));
}

TEST(DocumentRoundTrip, LabelOrderIsReversedByOneLoadAndRestoredByTwo)
{
    Document doc;
    for (const char *text : {"C", "B", "A"})
        doc.newTrainLabel().text = text; // head: A B C
    Document once;
    ASSERT_EQ(load(once, save(doc)).status, Status::Ok);
    ASSERT_EQ(once.trainLabelCount(), 3);
    EXPECT_EQ(once.trainLabels[0].text.toByteArray(), "C");
    EXPECT_EQ(once.trainLabels[2].text.toByteArray(), "A");
    Document twice;
    ASSERT_EQ(load(twice, save(once)).status, Status::Ok);
    EXPECT_EQ(twice.trainLabels[0].text.toByteArray(), "A");
    EXPECT_EQ(twice.trainLabels[1].text.toByteArray(), "B");
    EXPECT_EQ(twice.trainLabels[2].text.toByteArray(), "C");
}

TEST(DocumentRoundTrip, WithoutSavedImagesTheLabelsAreImagedAgain)
{
    Document doc;
    fillRich(doc);
    doc.settings.saveLabelImages = 0;
    Document loaded;
    ASSERT_EQ(load(loaded, save(doc)).status, Status::Ok);
    for (const TrainLabel &l : loaded.trainLabels)
        EXPECT_FALSE(l.hasImage());
    EXPECT_TRUE(loaded.labelImagesStale);
}

TEST(DocumentRoundTrip, TwentyCharacterProfileNameSurvives)
{
    Document doc;
    doc.profiles.countOf(2) = 1;
    doc.profiles.at(2, 1).name = "Rychl\xED k \x9Akole 12345"; // 20 characters
    ASSERT_EQ(doc.profiles.at(2, 1).name.size(), 20);
    Document loaded;
    ASSERT_EQ(load(loaded, save(doc)).status, Status::Ok);
    EXPECT_EQ(loaded.profiles.at(2, 1).name, doc.profiles.at(2, 1).name);
    // The table's own field holds 23; the file carries 20.
    doc.profiles.at(2, 1).name = "12345678901234567890123";
    ASSERT_EQ(load(loaded, save(doc)).status, Status::Ok);
    EXPECT_EQ(loaded.profiles.at(2, 1).name.toByteArray(), "12345678901234567890");
}

TEST(DocumentRoundTrip, ProfileWithoutEntriesKeepsClearedValues)
{
    Document doc;
    doc.profiles.countOf(1) = 1;
    doc.profiles.at(1, 1).name = "Nic";
    Document loaded;
    loaded.profiles.at(1, 1).runTimeAt(7) = 3; // from an earlier document
    ASSERT_EQ(load(loaded, save(doc)).status, Status::Ok);
    EXPECT_EQ(loaded.profiles.at(1, 1).runTimeAt(7), 0);
    EXPECT_EQ(loaded.profiles.at(1, 1).dwellAt(7), -1);
    EXPECT_EQ(loaded.profiles.countOf(1), 1);
}

TEST(DocumentRoundTrip, BusyLineSurvives)
{
    Document doc;
    SampleLine::fill(doc, {60, 300, 2000, 40});
    const QByteArray bytes = save(doc);
    Document loaded;
    ASSERT_EQ(load(loaded, bytes).status, Status::Ok);
    expectSameTrains(doc, loaded);
    EXPECT_EQ(save(loaded), bytes);
}

TEST(DocumentRoundTrip, ReadingReplacesTheWholeDocument)
{
    Document doc;
    fillRich(doc);
    doc.legacyDopravna = {4};
    doc.newTimeLabel();
    Document empty;
    ASSERT_EQ(load(doc, save(empty)).status, Status::Ok);
    EXPECT_TRUE(doc.stations.empty());
    EXPECT_TRUE(doc.trains.empty());
    EXPECT_TRUE(doc.stationKinds.empty());
    EXPECT_TRUE(doc.trainLabels.empty());
    EXPECT_TRUE(doc.timeLabels.empty());
    EXPECT_TRUE(doc.legacyDopravna.empty());
    EXPECT_EQ(doc.profiles.countOf(1), 0);
    EXPECT_TRUE(doc.profiles.at(1, 1).name.isEmpty());
    EXPECT_EQ(doc.settings, DocumentSettings());
}

// ---------------------------------------------------------------- post-processing

TEST(DocumentReader, FinishLoadingLinksKindsAndBuildsTheKilometreTable)
{
    Document doc;
    doc.stations = {station("A", 5), station("B", 40), station("C", 17)};
    StationKind k;
    k.stationIndex = 2;
    k.hradlo = 1;
    doc.appendKind(k);
    doc.noDocument = true;
    DocumentReader::finishLoading(doc);
    EXPECT_FALSE(doc.noDocument);
    EXPECT_EQ(doc.maxKm, 40);
    EXPECT_EQ(doc.stationKm[3], 17);
    ASSERT_EQ(doc.stationKinds.size(), 3u);
    // Default records go to the head, station 1's first, then station 3's.
    EXPECT_EQ(doc.stationKinds.front().stationIndex, 3);
    EXPECT_EQ(doc.stationKinds.front().zastavka, 1);
    EXPECT_EQ(doc.stations[1].kind->hradlo, 1);
    EXPECT_EQ(doc.stations[0].kind->zastavka, 1);
}

TEST(DocumentReader, LegacyDopravnaListBecomesKindsOnlyWithoutKinds)
{
    Document doc;
    doc.stations = {station("A", 0), station("B", 1), station("C", 2)};
    doc.legacyDopravna = {1, 3};
    DocumentReader::finishLoading(doc);
    ASSERT_EQ(doc.stationKinds.size(), 3u);
    auto it = doc.stationKinds.begin();
    EXPECT_EQ(it->stationIndex, 2); // default record for B, prepended last
    EXPECT_EQ((++it)->stationIndex, 3);
    EXPECT_EQ(it->dopravna, 1);
    EXPECT_EQ((++it)->stationIndex, 1);
    EXPECT_EQ(it->dopravna, 1);
    EXPECT_EQ(doc.stations[2].kind->dopravna, 1);

    Document withKinds;
    withKinds.stations = {station("A", 0)};
    StationKind k;
    k.stationIndex = 1;
    k.hlaska = 1;
    withKinds.appendKind(k);
    withKinds.legacyDopravna = {1};
    DocumentReader::finishLoading(withKinds);
    EXPECT_EQ(withKinds.stationKinds.size(), 1u);
    EXPECT_EQ(withKinds.stations[0].kind->dopravna, 0);
}

TEST(DocumentReader, Real48)
{
    const uint8_t zero[6] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const uint8_t twelveAndHalf[6] = {0x84, 0, 0, 0, 0, 0x48};
    const uint8_t minusTwoAndHalf[6] = {0x82, 0, 0, 0, 0, 0xA0};
    const uint8_t one[6] = {0x81, 0, 0, 0, 0, 0};
    const uint8_t minusQuarterPi[6] = {0x80, 0x92, 0xA2, 0xDA, 0x0F, 0xC9};
    const uint8_t tiny[6] = {0x01, 0, 0, 0, 0, 0};
    EXPECT_EQ(DocumentReader::decodeReal48(zero), 0.0);
    EXPECT_EQ(DocumentReader::decodeReal48(twelveAndHalf), 12.5);
    EXPECT_EQ(DocumentReader::decodeReal48(minusTwoAndHalf), -2.5);
    EXPECT_EQ(DocumentReader::decodeReal48(one), 1.0);
    EXPECT_NEAR(DocumentReader::decodeReal48(minusQuarterPi), -0.7853981635, 1e-11);
    EXPECT_EQ(DocumentReader::decodeReal48(tiny), std::ldexp(1.0, -128));
}

// ---------------------------------------------------------------- headers

TEST(DocumentReader, Headers)
{
    struct Case
    {
        QByteArray bytes;
        DocumentReader::Header::Kind kind;
        int version;
    };
    const auto h = [](const char *text) { return ByteBuilder().header(text).bytes(); };
    QByteArray longLength = h("Vlakorys 1.2!");
    longLength[0] = 14;
    QByteArray shortHeader = h("Vlakorys 1.2!").left(13);
    const std::vector<Case> cases = {
        {h("Vlakorys 1.2!"), DocumentReader::Header::Recognised, 102},
        {h("Vlakorys 1.0!"), DocumentReader::Header::Recognised, 100},
        {h("Vlakorys 0.2!"), DocumentReader::Header::Recognised, 2},
        {h("Vlakorys 0.9!"), DocumentReader::Header::Recognised, 9},
        {h("VlakorysX1:2!"), DocumentReader::Header::Recognised, 102}, // positions 9 and 11 unexamined
        {h("Vlakorys 0.1!"), DocumentReader::Header::Oldest, 1},
        {h("Vlakorys 1.3!"), DocumentReader::Header::NotDocument, 0},
        {h("Vlakorys 0.0!"), DocumentReader::Header::NotDocument, 0},
        {h("Vlakorys 2.0!"), DocumentReader::Header::NotDocument, 0},
        {h("Vlakorys 1.2?"), DocumentReader::Header::NotDocument, 0},
        {h("vlakorys 1.2!"), DocumentReader::Header::NotDocument, 0},
        {h("Jizdni rad!"), DocumentReader::Header::NotDocument, 0},
        {h(""), DocumentReader::Header::NotDocument, 0},
        {h("Vlakorys x.2!"), DocumentReader::Header::ReadError, 0},
        {h("Vlakorys 1.x!"), DocumentReader::Header::ReadError, 0},
        {h("Vlakorys 1.!"), DocumentReader::Header::ReadError, 0},
        {h("Vlakorys!"), DocumentReader::Header::ReadError, 0},
        {longLength, DocumentReader::Header::ReadError, 0},
        {shortHeader, DocumentReader::Header::ReadError, 0},
    };
    for (const Case &c : cases) {
        const auto header = DocumentReader::parseHeader(c.bytes);
        EXPECT_EQ(header.kind, c.kind) << c.bytes.toHex(' ').constData();
        if (c.kind == DocumentReader::Header::Recognised) {
            EXPECT_EQ(header.version, c.version) << c.bytes.constData();
        }
    }
}

TEST(DocumentReader, UnrecognisedHeaderLeavesTheDocumentAlone)
{
    Document doc;
    fillRich(doc);
    for (const char *text : {"Vlakorys 1.3!", "Hello world!!"}) {
        ByteBuilder b;
        b.header(text).i32(0).i32(0).i32(0);
        const auto outcome = load(doc, b.bytes());
        EXPECT_EQ(outcome.status, Status::NotDocument);
        EXPECT_FALSE(outcome.cleared);
        EXPECT_EQ(doc.stations.size(), 4u);
        EXPECT_EQ(doc.trains.size(), 3u);
    }
    const auto bad = load(doc, ByteBuilder().header("Vlakorys 1.x!").i32(0).bytes());
    EXPECT_EQ(bad.status, Status::ReadError);
    EXPECT_FALSE(bad.cleared);
    EXPECT_EQ(doc.stations.size(), 4u);
}

// ---------------------------------------------------------------- older versions

TEST(DocumentReaderOldVersions, Version01HoldsStationsOnlyAndKeepsTheRest)
{
    Document doc;
    fillRich(doc);
    doc.trainCount = 3;
    doc.settings.zoom = 9;
    ByteBuilder b;
    b.header("Vlakorys 0.1!").i32(2).sstr("Tanvald", 50).i32(27).sstr("Sma\x9Eice", 50).i32(20);
    const auto outcome = load(doc, b.bytes());
    ASSERT_EQ(outcome.status, Status::Ok);
    EXPECT_EQ(outcome.version, 1);
    ASSERT_EQ(doc.stations.size(), 2u);
    EXPECT_EQ(doc.stations[1].name.toByteArray(), "Sma\x9Eice");
    EXPECT_EQ(doc.stations[0].km, 27);
    EXPECT_TRUE(doc.trains.empty());
    EXPECT_EQ(doc.trainCount, 0);
    // Kinds, labels, profiles and settings of the document before stay.
    EXPECT_EQ(doc.stationKinds.size(), 3u);
    EXPECT_EQ(doc.trainLabelCount(), 3);
    EXPECT_EQ(doc.profiles.countOf(1), 2);
    EXPECT_EQ(doc.settings.zoom, 9);
    EXPECT_TRUE(doc.noDocument);
    DocumentReader::finishLoading(doc);
    EXPECT_FALSE(doc.noDocument);
    EXPECT_EQ(doc.maxKm, 27);
}

TEST(DocumentReaderOldVersions, Version02)
{
    Document doc;
    doc.settings.zoom = 7; // running settings stay
    ByteBuilder b;
    b.header("Vlakorys 0.2!").i32(2).sstr("A", 50).i32(0).sstr("B", 50).i32(10);
    b.i32(1).sstr("Os 12345", 10).i32(1).f64(0.25).i32(2);
    b.i32(2).f64(0.26).i32(-990).f64(0.27);
    const auto outcome = load(doc, b.bytes());
    ASSERT_EQ(outcome.status, Status::Ok);
    EXPECT_EQ(outcome.version, 2);
    EXPECT_FALSE(outcome.settingsRead);
    EXPECT_EQ(doc.settings.zoom, 7);
    ASSERT_EQ(doc.trains.size(), 1u);
    const Train &t = doc.trains[0];
    EXPECT_EQ(t.name.toByteArray(), "Os 12345");
    EXPECT_EQ(t.firstStation, 1);
    EXPECT_EQ(t.firstTime, 0.25);
    EXPECT_EQ(t.rusici, 0);
    ASSERT_EQ(t.stops.size(), 2u);
    EXPECT_EQ(t.stops[1].station, -990);
    EXPECT_EQ(t.stops[1].time, 0.27);
    EXPECT_TRUE(doc.stationKinds.empty());
    EXPECT_TRUE(doc.trainLabels.empty());
    EXPECT_TRUE(doc.labelImagesStale);
    DocumentReader::finishLoading(doc);
    EXPECT_EQ(doc.stationKinds.size(), 2u);
}

TEST(DocumentReaderOldVersions, Version03HasTheDopravnaList)
{
    Document doc;
    ByteBuilder b;
    b.header("Vlakorys 0.3!").i32(3).sstr("A", 50).i32(0).sstr("B", 50).i32(5).sstr("C", 50).i32(9);
    b.i32(1).sstr("Mn 80001", 10).i32(3).f64(0.5).i32(1).i32(1).f64(0.55);
    b.i32(2).i32(1).i32(3);
    ASSERT_EQ(load(doc, b.bytes()).status, Status::Ok);
    EXPECT_EQ(doc.legacyDopravna, (std::vector<int32_t>{1, 3}));
    EXPECT_TRUE(doc.legacyOther.empty());
    ASSERT_EQ(doc.trains.size(), 1u);
    EXPECT_EQ(doc.trains[0].stops.size(), 1u);
    DocumentReader::finishLoading(doc);
    EXPECT_EQ(doc.stations[0].kind->dopravna, 1);
    EXPECT_EQ(doc.stations[1].kind->zastavka, 1);
    EXPECT_EQ(doc.stations[2].kind->dopravna, 1);
}

TEST(DocumentReaderOldVersions, Version04AddsTheTrainFlags)
{
    Document doc;
    ByteBuilder b;
    b.header("Vlakorys 0.4!").i32(0);
    b.i32(1).sstr("Sp 1", 10).i32(1).f64(0.5).raw({1, 1}).i32(0);
    b.i32(0);
    ASSERT_EQ(load(doc, b.bytes()).status, Status::Ok);
    EXPECT_EQ(doc.trains.at(0).rusici, 1);
    EXPECT_EQ(doc.trains.at(0).podlePotreby, 1);
}

TEST(DocumentReaderOldVersions, Version05HasASecondLegacyList)
{
    Document doc;
    ByteBuilder b;
    b.header("Vlakorys 0.5!").i32(1).sstr("A", 50).i32(0);
    b.i32(1).sstr("R 7", 10).i32(1).f64(0.5).raw({0, 1}).i32(0);
    b.i32(1).i32(1);
    b.i32(3).i32(7).i32(8).i32(9);
    ASSERT_EQ(load(doc, b.bytes()).status, Status::Ok);
    EXPECT_EQ(doc.trains.at(0).podlePotreby, 1);
    EXPECT_EQ(doc.legacyDopravna, std::vector<int32_t>{1});
    EXPECT_EQ(doc.legacyOther, (std::vector<int32_t>{7, 8, 9}));
    EXPECT_TRUE(doc.trainLabels.empty());
}

TEST(DocumentReaderOldVersions, Version06AddsLabelsWithShortLevelAndNoAngle)
{
    Document doc;
    ByteBuilder b;
    b.header("Vlakorys 0.6!").i32(0).i32(0);
    b.i32(0).i32(0);
    b.i32(2);
    b.sstr("Os 1", 15).f64(0.3).raw({0x84, 0, 0, 0, 0, 0x48}).raw({1, 0, 1});
    b.sstr("Os 2", 15).f64(0.4).raw({0x82, 0, 0, 0, 0, 0xA0}).raw({0, 1, 1});
    ASSERT_EQ(load(doc, b.bytes()).status, Status::Ok);
    ASSERT_EQ(doc.trainLabelCount(), 2);
    const TrainLabel &second = doc.trainLabels[0]; // read last, now at the head
    const TrainLabel &first = doc.trainLabels[1];
    EXPECT_EQ(first.text.toByteArray(), "Os 1");
    EXPECT_EQ(first.level, 12.5);
    EXPECT_EQ(first.angle, -0.7853981635);
    EXPECT_EQ(second.level, -2.5);
    EXPECT_EQ(second.rusici, 1);
    EXPECT_EQ(second.angle, 0.7853981635);
    EXPECT_FALSE(first.hasImage());
}

TEST(DocumentReaderOldVersions, Version07AddsKindsAndDropsTheLegacyLists)
{
    Document doc;
    ByteBuilder b;
    b.header("Vlakorys 0.7!").i32(2).sstr("A", 50).i32(0).sstr("B", 50).i32(3);
    b.i32(0);
    b.i32(1).i32(2).raw({0, 1, 0, 0, 0, 0, 1});
    b.i32(1).sstr("Pn 1", 15).f64(0.1).raw({0, 0, 0, 0, 0, 0}).raw({1, 0, 1});
    ASSERT_EQ(load(doc, b.bytes()).status, Status::Ok);
    ASSERT_EQ(doc.stationKinds.size(), 1u);
    EXPECT_EQ(doc.stationKinds.front().stationIndex, 2);
    EXPECT_EQ(doc.stationKinds.front().odbocka, 1);
    EXPECT_EQ(doc.stationKinds.front().nakladiste, 1);
    EXPECT_EQ(doc.trainLabels.at(0).level, 0.0);
    EXPECT_EQ(doc.trainLabels.at(0).angle, -0.7853981635);
}

TEST(DocumentReaderOldVersions, Version08HasAShortAngle)
{
    Document doc;
    ByteBuilder b;
    b.header("Vlakorys 0.8!").i32(0).i32(0).i32(0);
    b.i32(1).sstr("Ex 1", 15).f64(0.1).raw({0x84, 0, 0, 0, 0, 0x48}).raw({1, 0, 1});
    b.raw({0x80, 0x92, 0xA2, 0xDA, 0x0F, 0xC9});
    ASSERT_EQ(load(doc, b.bytes()).status, Status::Ok);
    EXPECT_EQ(doc.trainLabels.at(0).level, 12.5);
    EXPECT_NEAR(doc.trainLabels.at(0).angle, -0.7853981635, 1e-11);
}

TEST(DocumentReaderOldVersions, Version09HasFullLabels)
{
    Document doc;
    ByteBuilder b;
    b.header("Vlakorys 0.9!").i32(0);
    b.i32(1).sstr("Os 1234567", 10).i32(1).f64(0.5).raw({0, 0}).i32(0);
    b.i32(0);
    b.i32(1).sstr("Os 1234567", 15).f64(0.5).f64(7.75).raw({0, 0, 1}).f64(0.3);
    ASSERT_EQ(load(doc, b.bytes()).status, Status::Ok);
    EXPECT_EQ(doc.trains.at(0).name.toByteArray(), "Os 1234567");
    EXPECT_EQ(doc.trainLabels.at(0).level, 7.75);
    EXPECT_EQ(doc.trainLabels.at(0).angle, 0.3);
}

TEST(DocumentReaderOldVersions, Version10AddsMarksAndLongNames)
{
    Document doc;
    ByteBuilder b;
    b.header("Vlakorys 1.0!").i32(0);
    b.i32(1).sstr("Os 12345678901234567", 20).i32(1).f64(0.5).raw({1, 0}).i32(-3).i32(1);
    b.i32(2).f64(0.6).i32(4);
    b.i32(0).i32(0);
    ASSERT_EQ(load(doc, b.bytes()).status, Status::Ok);
    const Train &t = doc.trains.at(0);
    EXPECT_EQ(t.name.toByteArray(), "Os 12345678901234567");
    EXPECT_EQ(t.firstMark, -3);
    EXPECT_EQ(t.stops.at(0).mark, 4);
    EXPECT_EQ(t.stops.at(0).halfMinute, 0);
    EXPECT_EQ(doc.profiles.countOf(1), 0);
}

TEST(DocumentReaderOldVersions, Version11AddsRowFlags)
{
    Document doc;
    doc.settings.timeFontSize = 11;
    ByteBuilder b;
    b.header("Vlakorys 1.1!").i32(0);
    b.i32(1).sstr("R 5", 20).i32(1).f64(0.5).raw({0, 0}).i32(0).raw({1, 0}).i32(1);
    b.i32(2).f64(0.6).i32(0).raw({0, 1});
    b.i32(0);
    b.i32(1).sstr("R 5", 15).f64(0.5).f64(1).raw({1, 0, 1}).f64(-1);
    const auto outcome = load(doc, b.bytes());
    ASSERT_EQ(outcome.status, Status::Ok);
    const Train &t = doc.trains.at(0);
    EXPECT_EQ(t.firstHalfMinute, 1);
    EXPECT_EQ(t.firstShortDwell, 0);
    EXPECT_EQ(t.stops.at(0).shortDwell, 1);
    EXPECT_EQ(doc.trainLabels.at(0).angle, -1.0);
    EXPECT_FALSE(outcome.settingsRead);
    EXPECT_EQ(doc.settings.timeFontSize, 11);
    EXPECT_TRUE(doc.labelImagesStale);
}

// ---------------------------------------------------------------- damaged files

TEST(DocumentReaderDamage, TruncationAtEveryOffsetIsAReadError)
{
    const QByteArray file = smallFile();
    for (qsizetype n = 0; n < file.size(); ++n) {
        Document doc;
        const auto outcome = load(doc, file.left(n));
        ASSERT_EQ(outcome.status, Status::ReadError) << "at " << n;
        if (outcome.cleared) {
            EXPECT_TRUE(doc.noDocument) << "at " << n;
        }
    }
    Document doc;
    EXPECT_EQ(load(doc, file).status, Status::Ok);
}

TEST(DocumentReaderDamage, RandomDamageNeverCrashes)
{
    const QByteArray file = smallFile();
    std::mt19937 rng(20240607);
    int failures = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray damaged = file;
        const int hits = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < hits; ++i) {
            // Leave the header alone in most rounds, so the body is reached.
            const qsizetype at = (round % 8 == 0 ? 0 : 14) + rng() % (damaged.size() - (round % 8 == 0 ? 0 : 14));
            damaged[at] = static_cast<char>(rng());
        }
        Document doc;
        const auto outcome = load(doc, damaged);
        if (outcome.status != Status::Ok) {
            ++failures;
            continue;
        }
        // Whatever was accepted is a document that finishes and saves.
        DocumentReader::finishLoading(doc);
        EXPECT_FALSE(save(doc).isEmpty());
    }
    EXPECT_GT(failures, 100);
}

TEST(DocumentReaderDamage, ImpossibleCountsAndLengthsAreReadErrors)
{
    const auto body = [](auto fill) {
        ByteBuilder b;
        b.header("Vlakorys 1.2!");
        fill(b);
        return b.bytes();
    };
    const auto label = [](ByteBuilder &b) -> ByteBuilder & {
        return b.sstr("Os 1", 15).f64(0).f64(0).raw({0, 0, 1}).f64(0);
    };
    const std::vector<std::pair<const char *, QByteArray>> cases = {
        {"huge station count", body([](ByteBuilder &b) { b.i32(0x7FFFFFFF).sstr("A", 50).i32(0); })},
        {"negative station count", body([](ByteBuilder &b) { b.i32(-1); })},
        {"1001 stations", body([](ByteBuilder &b) {
             b.i32(1001);
             for (int i = 0; i < 1001; ++i)
                 b.sstr("S", 50).i32(i);
             b.i32(0).i32(0);
             defaultSettings(b).i32(0).raw({0, 0});
         })},
        {"station name longer than its field",
         body([](ByteBuilder &b) { b.i32(1).u8(51).raw(QByteArray(50, 'x')).i32(0); })},
        {"train name longer than its field", body([](ByteBuilder &b) {
             b.i32(0).i32(1).u8(21).raw(QByteArray(20, 'x')).i32(0).f64(0).raw({0, 0}).i32(0).raw({0, 0}).i32(0);
         })},
        {"huge row count", body([](ByteBuilder &b) {
             b.i32(0).i32(1).sstr("x", 20).i32(0).f64(0).raw({0, 0}).i32(0).raw({0, 0}).i32(100000000);
         })},
        {"negative row count", body([](ByteBuilder &b) {
             b.i32(0).i32(1).sstr("x", 20).i32(0).f64(0).raw({0, 0}).i32(0).raw({0, 0}).i32(-5);
         })},
        {"not a number as time", body([](ByteBuilder &b) {
             b.i32(0).i32(1).sstr("x", 20).i32(1).f64(std::nan("")).raw({0, 0}).i32(0).raw({0, 0}).i32(0);
         })},
        {"huge kind count", body([](ByteBuilder &b) { b.i32(0).i32(0).i32(200000000); })},
        {"font name past the end", body([](ByteBuilder &b) { b.i32(0).i32(0).i32(0).pstr("Arial").u8(200); })},
        {"negative label count", body([&](ByteBuilder &b) { defaultSettings(b.i32(0).i32(0).i32(0)).i32(-1); })},
        {"label text longer than its field", body([&](ByteBuilder &b) {
             defaultSettings(b.i32(0).i32(0).i32(0)).i32(1).u8(16).raw(QByteArray(15, 'x'));
             b.f64(0).f64(0).raw({0, 0, 1}).f64(0).u8(0).raw({0, 0});
         })},
        {"image count past the end", body([&](ByteBuilder &b) {
             label(defaultSettings(b.i32(0).i32(0).i32(0)).i32(1)).u8(1).i32(1000000).i32(0).i32(1).i32(1);
             b.raw({1, 1, 0}).raw({0, 0});
         })},
        {"negative image width", body([&](ByteBuilder &b) {
             label(defaultSettings(b.i32(0).i32(0).i32(0)).i32(1)).u8(1).i32(1).i32(0).i32(-4).i32(1);
             b.u8(0).raw({0, 0});
         })},
        {"image flag neither 0 nor 1", body([&](ByteBuilder &b) {
             label(defaultSettings(b.i32(0).i32(0).i32(0)).i32(1)).u8(2).raw({0, 0});
         })},
        {"100 profiles", body([](ByteBuilder &b) { defaultSettings(b.i32(0).i32(0).i32(0)).i32(0).u8(100); })},
        {"100 profile entries", body([](ByteBuilder &b) {
             defaultSettings(b.i32(0).i32(0).i32(0)).i32(0).u8(1).u8(100).pstr("Os");
             for (int i = 0; i < 100; ++i)
                 b.i32(1).i32(1);
             b.u8(0);
         })},
    };
    for (const auto &[what, bytes] : cases) {
        Document doc;
        EXPECT_EQ(load(doc, bytes).status, Status::ReadError) << what;
    }
}

TEST(DocumentReaderDamage, FailureAfterClearingKeepsWhatWasRead)
{
    QByteArray file = smallFile();
    // Cut inside the train records: the stations are in, noDocument stays.
    Document doc;
    const auto outcome = load(doc, file.left(14 + 4 + 4 * 55 + 4 + 30));
    EXPECT_EQ(outcome.status, Status::ReadError);
    EXPECT_TRUE(outcome.cleared);
    EXPECT_EQ(doc.stations.size(), 4u);
    EXPECT_TRUE(doc.trains.empty());
    EXPECT_TRUE(doc.noDocument);
}

TEST(DocumentReaderDamage, OutOfRangeViewSettingsAreHeldToTheirControls)
{
    Document doc;
    doc.settings.zoom = 0;
    doc.settings.ratioX = 0;
    doc.settings.ratioY = 1000;
    Document loaded;
    ASSERT_EQ(load(loaded, save(doc)).status, Status::Ok);
    EXPECT_EQ(loaded.settings.zoom, 2);
    EXPECT_EQ(loaded.settings.ratioX, 1);
    EXPECT_EQ(loaded.settings.ratioY, 100);
    doc.settings.zoom = 200;
    ASSERT_EQ(load(loaded, save(doc)).status, Status::Ok);
    EXPECT_EQ(loaded.settings.zoom, 21);
}

TEST(DocumentReaderDamage, TrailingBytesAreIgnored)
{
    Document doc;
    ASSERT_EQ(load(doc, smallFile() + QByteArray("junk")).status, Status::Ok);
    EXPECT_EQ(doc.stations.size(), 4u);
}
