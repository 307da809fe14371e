#include "ByteBuilder.h"
#include "DocumentFixtures.h"
#include "FileBytes.h"
#include "SampleLine.h"

#include "editing/LabelGeneration.h"
#include "io/DocumentExtension.h"
#include "io/DocumentFile.h"
#include "io/DocumentReader.h"
#include "io/FileMessages.h"
#include "io/json/DocumentJson.h"
#include "model/ClockTime.h"
#include "model/Document.h"
#include "model/Tracks.h"
#include "render/DiagramView.h"
#include "render/ProgressSink.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

namespace {

using Status = DocumentReader::Status;
using FileBytes::load;
using FileBytes::of;

// The settings block of a document with the default settings.
ByteBuilder &defaultSettings(ByteBuilder &b)
{
    b.pstr("Times New Roman CE").i32(8).pstr("Arial CE").i32(12).pstr("Arial CE").i32(7);
    return b.raw({1, 2, 3, 0, 4}).i32(1).i32(2).raw({0, 0, 1});
}

// A document with every stored field set to something other than its
// default; distinct values wherever the file keeps several bytes in a row,
// so that their order shows.
void fillEveryField(Document &doc)
{
    doc.clearAll();
    Station s;
    s.name = "Xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx";
    s.name = "Ta\x9Aovice"; // the longer text before must not leak past the new length
    s.metres = -7000;
    doc.stations.push_back(s);
    doc.appendKind({2, 1, 3, 4, 2, 7, 6, 5});
    doc.trains.resize(2);
    doc.trains[0].name = "Os 5401";
    doc.trains[0].rusici = 1;
    Document::addRow(doc.trains[0], 3, 0.25, -1, 1, 0);
    Document::addRow(doc.trains[0], -1000, 0.5, 2, 0, 1);
    doc.trains[1].name = "R 1";
    doc.trains[1].podlePotreby = 1;
    Document::addRow(doc.trains[1], 2, 0.5, 0, 0, 1); // one row: written with row count 0
    // Fonts, pens, saveLabelImages, zoom, ratio, showTimeLabels, smoothing, showCategory.
    doc.settings = {"Courier New CE", 9, "Verdana", 14, "Tahoma", 6, 2, 4, 7, 1, 13, 3, 100, 1, 2, 3};
    doc.newTrainLabel().text = "Tail";
    TrainLabel &head = DocumentFixtures::addLabel(doc, "Head", 0.5, 3.25, -0.5);
    head.ascending = 1;
    head.rusici = 2;
    head.visible = 3;
    head.imageColour = 0x123456;
    head.width = 4;
    head.height = 2;
    head.imageCodes = {4, 0, 1, 3, 0};
    head.imageValues = {10, 20, 30};
    doc.profiles.countOf(1) = 2;
    doc.profiles.at(1, 1).name = "Os";
    doc.profiles.at(1, 1).runTimeAt(1) = 5;
    doc.profiles.at(1, 1).dwellAt(3) = 0;   // a zero dwell is in use: 3 entries
    doc.profiles.at(1, 2).name = "Empty";   // nothing in use: e = 0
    doc.profiles.at(2, 1).runTimeAt(1) = 9; // beyond the count: not written
}

QByteArray smallFile()
{
    Document doc;
    fillEveryField(doc);
    return of(doc);
}

std::vector<int32_t> positions(const Document &doc)
{
    std::vector<int32_t> metres;
    for (const Station &s : doc.stations)
        metres.push_back(s.metres);
    return metres;
}

std::string refusal(const QByteArray &json)
{
    Document doc;
    return DocumentJson::fromText(json, doc).toStdString();
}

} // namespace

TEST(DocumentWriter, EveryRecordInFileOrderAnEmptyDocumentAndAFontNameCutTo255)
{
    ByteBuilder expected;
    expected.header("Vlakorys 1.2!");
    expected.i32(1).sstr("Ta\x9Aovice", 50).i32(-7);
    expected.i32(2);
    expected.sstr("Os 5401", 20).i32(3).f64(0.25).raw({1, 0}).i32(-1).raw({1, 0}).i32(1);
    expected.i32(-1000).f64(0.5).i32(2).raw({0, 1});
    expected.sstr("R 1", 20).i32(2).f64(0.5).raw({0, 1}).i32(0).raw({0, 1}).i32(0);
    expected.i32(1).i32(2).raw({1, 2, 3, 4, 5, 6, 7});
    expected.pstr("Courier New CE").i32(9).pstr("Verdana").i32(14).pstr("Tahoma").i32(6);
    expected.raw({2, 4, 7, 1, 13}).i32(3).i32(100).raw({1, 2, 3});
    expected.i32(2).sstr("Head", 15).f64(0.5).f64(3.25).raw({1, 2, 3}).f64(-0.5).u8(1);
    expected.i32(5).i32(0x123456).i32(4).i32(2).raw({4, 10, 0, 1, 20, 3, 30, 0});
    expected.sstr("Tail", 15).f64(0).f64(0).raw({0, 0, 0}).f64(0).u8(0);
    expected.u8(2).u8(3).pstr("Os").i32(5).i32(-1).i32(0).i32(-1).i32(0).i32(0).u8(0).pstr("Empty");
    expected.u8(0);
    EXPECT_EQ(smallFile(), expected.bytes());

    ByteBuilder empty;
    empty.header("Vlakorys 1.2!").i32(0).i32(0).i32(0);
    defaultSettings(empty).i32(0).raw({0, 0});
    EXPECT_EQ(of(Document()), empty.bytes());
    Document longFont;
    longFont.settings.trainFontSmallName = QByteArray(300, 'F');
    const QByteArray bytes = of(longFont);
    EXPECT_EQ(std::pair(int(static_cast<uint8_t>(bytes.at(26))), bytes.size()),
              std::pair(255, empty.size() - 18 + 255));
    QBuffer readOnly; // a failed device is reported
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(DocumentWriter::write(Document(), readOnly));
}

TEST(DocumentRoundTrip, EveryFieldSurvivesSaveAndLoad)
{
    for (uint8_t saveImages : {1, 0}) {
        Document original;
        fillEveryField(original);
        original.settings.saveLabelImages = saveImages;
        Document loaded;
        loaded.settings.zoom = 2;
        const auto outcome = load(loaded, of(original));
        // The train count is label generation's progress; without saved
        // images the labels are imaged again.
        EXPECT_EQ(std::tuple(outcome.status, outcome.version, outcome.settingsRead, loaded.trainCount),
                  std::tuple(Status::Ok, 102, true, 2));
        EXPECT_EQ(std::pair(loaded.labelImagesStale, loaded.trainLabels.at(1).hasImage()),
                  std::pair(saveImages == 0, saveImages == 1));
        // One load puts the labels in reverse order; every other field reads
        // back as written.
        std::reverse(original.trainLabels.begin(), original.trainLabels.end());
        EXPECT_EQ(of(loaded), of(original));
    }
}

TEST(DocumentRoundTrip, BusyLineWithALargeImageAcrossTheStreamBuffers)
{
    // Megabytes: counts are patched after their records went to the device,
    // and fields and image entries straddle the reader's buffer refills.
    Document doc;
    SampleLine::fill(doc, {60, 300, 2000, 40});
    doc.settings.saveLabelImages = 1;
    TrainLabel &l = doc.newTrainLabel();
    l.width = 300;
    l.height = 300;
    for (int i = 0; i < 100000; ++i) {
        l.imageCodes.push_back(static_cast<uint8_t>(i % 7));
        if (i % 7)
            l.imageValues.push_back(static_cast<uint8_t>(i));
    }
    for (const char *font : {"A", "AB"}) { // every later offset one byte apart
        doc.settings.timeFontName = font;
        const QByteArray bytes = of(doc);
        Document loaded;
        ASSERT_EQ(load(loaded, bytes).status, Status::Ok);
        EXPECT_TRUE(of(loaded) == bytes) << font;
    }
}

// Read over a filled document, nothing of it stays: a profile without
// entries (e = 0) keeps the cleared values.
TEST(DocumentRoundTrip, ReadingReplacesTheWholeDocumentAndProfileNames)
{
    Document written;
    written.profiles.countOf(2) = 2;
    written.profiles.at(2, 1).name = "Rychl\xED k \x9Akole 12345"; // 20 characters
    ASSERT_EQ(written.profiles.at(2, 1).name.size(), 20);
    written.profiles.at(2, 2).name = "12345678901234567890123"; // the table holds 23, the file 20
    Document doc;
    fillEveryField(doc);
    doc.legacyDopravna = {4};
    doc.newTimeLabel();
    doc.profiles.at(2, 1).runTimeAt(7) = 3;
    ASSERT_EQ(load(doc, of(written)).status, Status::Ok);
    written.profiles.at(2, 2).name = "12345678901234567890";
    EXPECT_EQ(of(doc), of(written));
    EXPECT_EQ(std::tuple(doc.timeLabels.size(), doc.legacyDopravna.size(), doc.profiles.at(1, 1).name.isEmpty()),
              std::tuple(0u, 0u, true));
    EXPECT_EQ(std::tuple(doc.profiles.countOf(2), doc.profiles.at(2, 1).runTimeAt(7), doc.profiles.at(2, 1).dwellAt(7)),
              std::tuple(2, 0, -1));
}

TEST(DocumentReader, Headers)
{
    using Header = DocumentReader::Header;
    const auto h = [](const char *text) { return ByteBuilder().header(text).bytes(); };
    QByteArray longLength = h("Vlakorys 1.2!");
    longLength[0] = 14;
    const std::tuple<QByteArray, Header::Kind, int> cases[] = {
        {h("Vlakorys 1.2!"), Header::Recognised, 102},
        {h("Vlakorys 1.0!"), Header::Recognised, 100},
        {h("Vlakorys 0.2!"), Header::Recognised, 2},
        {h("VlakorysX1:2!"), Header::Recognised, 102}, // positions 9 and 11 unexamined
        {h("Vlakorys 0.1!"), Header::Oldest, 1},
        {h("Vlakorys 1.3!"), Header::NotDocument, 0},
        {h("Vlakorys 0.0!"), Header::NotDocument, 0},
        {h("Vlakorys 1.2?"), Header::NotDocument, 0},
        {h("vlakorys 1.2!"), Header::NotDocument, 0},
        {h("Jizdni rad!"), Header::NotDocument, 0},
        {h("Vlakorys x.2!"), Header::ReadError, 0},
        {h("Vlakorys 1.x!"), Header::ReadError, 0},
        {h("Vlakorys 1.!"), Header::ReadError, 0},
        {h("Vlakorys!"), Header::ReadError, 0},
        {longLength, Header::ReadError, 0},
        {h("Vlakorys 1.2!").left(13), Header::ReadError, 0},
    };
    for (const auto &[bytes, kind, version] : cases) {
        const auto header = DocumentReader::parseHeader(bytes);
        EXPECT_EQ(header.kind, kind) << bytes.toHex(' ').constData();
        if (kind == Header::Recognised) {
            EXPECT_EQ(header.version, version) << bytes.constData();
        } else if (kind != Header::Oldest && bytes.size() == 14) {
            // Read refuses it and leaves the document alone.
            Document doc;
            fillEveryField(doc);
            const auto outcome = load(doc, bytes + ByteBuilder().i32(0).i32(0).i32(0).bytes());
            EXPECT_EQ(std::tuple(outcome.status, outcome.cleared, doc.stations.size(), doc.trains.size()),
                      std::tuple(kind == Header::ReadError ? Status::ReadError : Status::NotDocument, false, 1u, 2u));
        }
    }
}

TEST(DocumentReader, OlderVersionsDownToStationsOnly)
{
    // No older version holds settings: the running ones stay.
    ByteBuilder b;
    const auto old = [&b] {
        auto doc = std::make_unique<Document>();
        doc->settings.zoom = 7;
        const auto outcome = load(*doc, b.bytes());
        EXPECT_EQ(std::tuple(outcome.status, outcome.settingsRead, doc->settings.zoom),
                  std::tuple(Status::Ok, false, uint8_t(7)))
            << b.bytes().mid(1, 12).constData();
        b = ByteBuilder();
        return doc;
    };
    b.header("Vlakorys 0.2!").i32(2).sstr("A", 50).i32(0).sstr("B", 50).i32(10);
    b.i32(1).sstr("Os 12345", 10).i32(1).f64(0.25).i32(2).i32(2).f64(0.26).i32(-990).f64(0.27);
    auto doc = old();
    const Train &t2 = doc->trains.at(0);
    EXPECT_EQ(std::tuple(t2.name.toByteArray(), t2.firstStation, t2.firstTime, t2.stops.size()),
              std::tuple(QByteArray("Os 12345"), 1, 0.25, size_t(2)));
    EXPECT_EQ(std::tuple(t2.stops[1].station, t2.stops[1].time, doc->labelImagesStale), std::tuple(-990, 0.27, true));

    b.header("Vlakorys 0.3!").i32(3).sstr("A", 50).i32(0).sstr("B", 50).i32(5).sstr("C", 50).i32(9);
    b.i32(1).sstr("Mn 80001", 10).i32(3).f64(0.5).i32(1).i32(1).f64(0.55).i32(2).i32(1).i32(3);
    doc = old();
    EXPECT_EQ(doc->legacyDopravna, (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(doc->trains.at(0).stops.size(), 1u);
    DocumentReader::finishLoading(*doc);
    // Each listed station prepended in turn, then B's default record.
    std::vector<std::pair<int32_t, int>> kinds;
    for (const StationKind &k : doc->stationKinds)
        kinds.emplace_back(k.stationIndex, k.dopravna);
    EXPECT_EQ(kinds, (std::vector<std::pair<int32_t, int>>{{2, 0}, {3, 1}, {1, 1}}));
    EXPECT_EQ(doc->stations[1].kind->zastavka, 1);

    b.header("Vlakorys 0.4!").i32(0).i32(1).sstr("Sp 1", 10).i32(1).f64(0.5).raw({1, 1}).i32(0).i32(0);
    doc = old();
    EXPECT_EQ(std::tuple(doc->trains.at(0).rusici, doc->trains.at(0).podlePotreby), std::tuple(1, 1));

    b.header("Vlakorys 0.5!").i32(1).sstr("A", 50).i32(0).i32(1).sstr("R 7", 10).i32(1).f64(0.5);
    b.raw({0, 1}).i32(0).i32(1).i32(1).i32(3).i32(7).i32(8).i32(9);
    doc = old();
    EXPECT_EQ(doc->legacyDopravna, std::vector<int32_t>{1});
    EXPECT_EQ(doc->legacyOther, (std::vector<int32_t>{7, 8, 9}));

    // Labels with a six-byte level and no angle; the last read is at the head.
    b.header("Vlakorys 0.6!").i32(0).i32(0).i32(0).i32(0).i32(2);
    b.sstr("Os 1", 15).f64(0.3).raw({0x84, 0, 0, 0, 0, 0x48}).raw({1, 0, 1});
    b.sstr("Os 2", 15).f64(0.4).raw({0x82, 0, 0, 0, 0, 0xA0}).raw({0, 1, 1});
    doc = old();
    ASSERT_EQ(doc->trainLabelCount(), 2);
    EXPECT_EQ(std::tuple(doc->trainLabels[1].text.toByteArray(), doc->trainLabels[1].level, doc->trainLabels[1].angle),
              std::tuple(QByteArray("Os 1"), 12.5, -0.7853981635));
    EXPECT_EQ(std::tuple(doc->trainLabels[0].level, doc->trainLabels[0].rusici, doc->trainLabels[0].angle),
              std::tuple(-2.5, 1, 0.7853981635));

    // Kinds; a six-byte level of exponent 0 is 0.0.
    b.header("Vlakorys 0.7!").i32(2).sstr("A", 50).i32(0).sstr("B", 50).i32(3).i32(0);
    b.i32(1).i32(2).raw({0, 1, 0, 0, 0, 0, 1});
    b.i32(1).sstr("Pn 1", 15).f64(0.1).raw({0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}).raw({1, 0, 1});
    doc = old();
    ASSERT_EQ(doc->stationKinds.size(), 1u);
    const StationKind &k = doc->stationKinds.front();
    EXPECT_EQ(std::tuple(k.stationIndex, k.odbocka, k.nakladiste), std::tuple(2, 1, 1));
    EXPECT_EQ(std::tuple(doc->trainLabels.at(0).level, doc->trainLabels.at(0).angle), std::tuple(0.0, -0.7853981635));

    b.header("Vlakorys 0.8!").i32(0).i32(0).i32(0);
    b.i32(1).sstr("Ex 1", 15).f64(0.1).raw({0x84, 0, 0, 0, 0, 0x48}).raw({1, 0, 1});
    b.raw({0x80, 0x92, 0xA2, 0xDA, 0x0F, 0xC9});
    doc = old();
    EXPECT_EQ(doc->trainLabels.at(0).level, 12.5);
    EXPECT_NEAR(doc->trainLabels.at(0).angle, -0.7853981635, 1e-11);

    b.header("Vlakorys 0.9!").i32(0).i32(1).sstr("Os 1234567", 10).i32(1).f64(0.5).raw({0, 0}).i32(0);
    b.i32(0).i32(1).sstr("Os 1234567", 15).f64(0.5).f64(7.75).raw({0, 0, 1}).f64(0.3);
    doc = old();
    EXPECT_EQ(std::tuple(doc->trainLabels.at(0).level, doc->trainLabels.at(0).angle), std::tuple(7.75, 0.3));

    b.header("Vlakorys 1.0!").i32(0);
    b.i32(1).sstr("Os 12345678901234567", 20).i32(1).f64(0.5).raw({1, 0}).i32(-3).i32(1);
    b.i32(2).f64(0.6).i32(4).i32(0).i32(0);
    doc = old();
    EXPECT_EQ(std::tuple(doc->trains.at(0).name.toByteArray(), doc->trains.at(0).firstMark),
              std::tuple(QByteArray("Os 12345678901234567"), -3));

    // Train names of 20 with marks, and row flags; labels with a double level and angle.
    b.header("Vlakorys 1.1!").i32(0);
    b.i32(1).sstr("Os 12345678901234567", 20).i32(1).f64(0.5).raw({0, 0}).i32(-3).raw({1, 0}).i32(1);
    b.i32(2).f64(0.6).i32(4).raw({0, 1}).i32(0);
    b.i32(1).sstr("R 5", 15).f64(0.5).f64(7.75).raw({1, 0, 1}).f64(-1);
    doc = old();
    const Train &t = doc->trains.at(0);
    EXPECT_EQ(std::tuple(t.name.toByteArray(), t.firstMark, t.stops.at(0).mark),
              std::tuple(QByteArray("Os 12345678901234567"), -3, 4));
    EXPECT_EQ(std::tuple(t.firstHalfMinute, t.firstShortDwell, t.stops.at(0).shortDwell), std::tuple(1, 0, 1));
    EXPECT_EQ(std::tuple(doc->trainLabels.at(0).level, doc->trainLabels.at(0).angle), std::tuple(7.75, -1.0));

    // Version 0.1 holds stations only: the kinds, labels, profiles and
    // settings of the document before stay.
    Document v1;
    fillEveryField(v1);
    b.header("Vlakorys 0.1!").i32(2).sstr("Tanvald", 50).i32(27).sstr("Sma\x9Eice", 50).i32(20);
    const auto outcome = load(v1, b.bytes());
    EXPECT_EQ(std::tuple(outcome.status, outcome.version, v1.trains.size(), v1.trainCount, v1.noDocument),
              std::tuple(Status::Ok, 1, 0u, 0, true));
    ASSERT_EQ(v1.stations.size(), 2u);
    EXPECT_EQ(v1.stations[1].name.toByteArray(), "Sma\x9Eice");
    EXPECT_EQ(std::tuple(v1.stationKinds.size(), v1.trainLabelCount(), v1.profiles.countOf(1), v1.settings.zoom),
              std::tuple(size_t(1), 2, 2, uint8_t(13)));
    DocumentReader::finishLoading(v1);
    EXPECT_EQ(std::pair(v1.noDocument, v1.maxMetres), std::pair(false, 27000));
}

TEST(DocumentReaderDamage, TruncationAtEveryOffsetIsAReadError)
{
    const QByteArray file = smallFile();
    for (qsizetype n = 0; n < file.size(); ++n) {
        Document doc;
        const auto outcome = load(doc, file.left(n));
        ASSERT_EQ(outcome.status, Status::ReadError) << "at " << n;
        EXPECT_TRUE(!outcome.cleared || doc.noDocument) << "at " << n;
    }
    // Bytes after the last section are not the reader's business.
    Document doc;
    EXPECT_EQ(load(doc, file + "junk").status, Status::Ok);
}

TEST(DocumentReaderDamage, ImpossibleCountsAndLengthsAreReadErrors)
{
    using B = ByteBuilder;
    const QByteArray head = B().header("Vlakorys 1.2!").bytes();
    // Empty station, train and kind lists and the default settings; a label.
    const QByteArray settings = head + defaultSettings(B().i32(0).i32(0).i32(0)).bytes();
    const QByteArray label = settings + B().i32(1).sstr("Os 1", 15).f64(0).f64(0).raw({0, 0, 1}).f64(0).bytes();
    const QByteArray train = head + B().i32(0).i32(1).sstr("x", 20).i32(0).f64(0).raw({0, 0}).i32(0).bytes();
    const QByteArray rest = B().raw({0, 0}).i32(0).raw({0, 0}).i32(0).bytes(); // of a train with one row
    const QByteArray x20 = QByteArray(20, 'x');
    B stations, entries;
    stations.i32(1001);
    entries.i32(0).u8(1).u8(100).pstr("Os");
    for (int i = 0; i < 1001; ++i)
        stations.sstr("S", 50).i32(i);
    for (int i = 0; i < 100; ++i)
        entries.i32(1).i32(1);
    const std::pair<const char *, QByteArray> cases[] = {
        {"huge station count", head + B().i32(0x7FFFFFFF).sstr("A", 50).i32(0).bytes()},
        {"negative station count", head + B().i32(-1).bytes()},
        {"1001 stations", head + defaultSettings(stations.i32(0).i32(0)).i32(0).raw({0, 0}).bytes()},
        {"station name longer than its field", head + B().i32(1).u8(51).raw(QByteArray(50, 'x')).i32(0).bytes()},
        {"train name longer than its field", head + B().i32(0).i32(1).u8(21).raw(x20).i32(0).f64(0).bytes() + rest},
        {"huge row count", train + B().raw({0, 0}).i32(0x7FFFFFFF).bytes()}, // never reserved
        {"negative row count", train + B().raw({0, 0}).i32(-5).bytes()},
        {"not a number as time", head + B().i32(0).i32(1).sstr("x", 20).i32(1).f64(std::nan("")).bytes() + rest},
        {"huge kind count", head + B().i32(0).i32(0).i32(200000000).bytes()},
        {"font name past the end", head + B().i32(0).i32(0).i32(0).pstr("Arial").u8(200).bytes()},
        {"negative label count", settings + B().i32(-1).bytes()},
        {"label text longer than its field", settings + B().i32(1).u8(16).raw(QByteArray(15, 'x')).bytes()
                                                 + label.right(27) + B().u8(0).raw({0, 0}).bytes()},
        {"image count past the end", label + B().u8(1).i32(1000000).i32(0).i32(1).i32(1).raw({1, 1, 0, 0, 0}).bytes()},
        {"negative image width", label + B().u8(1).i32(1).i32(0).i32(-4).i32(1).u8(0).raw({0, 0}).bytes()},
        {"image flag neither 0 nor 1", label + B().u8(2).raw({0, 0}).bytes()},
        {"100 profiles", settings + B().i32(0).u8(100).bytes()},
        {"100 profile entries", settings + entries.u8(0).bytes()},
    };
    for (const auto &[what, bytes] : cases) {
        Document doc;
        EXPECT_EQ(load(doc, bytes).status, Status::ReadError) << what;
    }
}

TEST(DocumentReaderDamage, OutOfRangeViewSettingsAreHeldToTheirControls)
{
    for (const auto &[zoom, ratioX, ratioY, held] :
         {std::tuple(0, 0, 1000, std::tuple(2, 1, 100)), std::tuple(200, 101, -5, std::tuple(21, 100, 1))}) {
        Document doc;
        doc.settings.zoom = static_cast<uint8_t>(zoom);
        doc.settings.ratioX = ratioX;
        doc.settings.ratioY = ratioY;
        Document loaded;
        ASSERT_EQ(load(loaded, of(doc)).status, Status::Ok);
        EXPECT_EQ(std::tuple(int(loaded.settings.zoom), loaded.settings.ratioX, loaded.settings.ratioY), held);
    }
}

// A file the fuzz targets found (fuzz/corpus/document/regress-*): times at
// the ends of the double range made the train label's anchor infinite, and
// after the label makers of Open the saved file could not be read.
TEST(DocumentReaderDamage, AcceptedFilesSurviveOpenAndSave)
{
    ByteBuilder b;
    b.header("Vlakorys 1.2!").i32(2).sstr("A", 50).i32(0).sstr("B", 50).i32(100);
    b.i32(1).sstr("Os 1", 20).i32(1).f64(-1e308).raw({0, 0}).i32(0).raw({0, 0}).i32(1);
    b.i32(2).f64(1e308).i32(0).raw({0, 0}).i32(0);
    Document doc;
    ASSERT_EQ(load(doc, defaultSettings(b).i32(0).raw({0, 0}).bytes()).status, Status::Ok);
    DocumentReader::finishLoading(doc);
    DiagramView view;
    view.updateScale(doc.settings);
    MakeTrainLabels(doc, view.scale);
    NullProgress progress;
    MakeTimeLabels(doc, view.scale, progress);
    Document reopened;
    EXPECT_EQ(load(reopened, of(doc)).status, Status::Ok);
}

// A document past the bound is refused unread, the document in memory
// untouched: a valid block followed by a 300 MB chunk, as a sparse file.
TEST(DocumentReaderDamage, AFileBeyondTheBoundIsNotRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.vrs"));
    Document doc;
    doc.stations.push_back({"A", 0});
    FileBytes::write(path, FileBytes::of(doc) + "VRSX" + ByteBuilder().raw("METR").i32(300'000'000).bytes());
    ASSERT_TRUE(QFile::resize(path, 300'000'100));
    doc.stations.push_back({"B", 5000});
    const DocumentFile::LoadOutcome outcome = DocumentFile::load(doc, path);
    EXPECT_EQ(std::tuple(outcome.status, outcome.cause, doc.stations.size()),
              std::tuple(DocumentFile::Status::ReadError, FileMessages::tooLarge, size_t(2)));
}

// The JSON form of a document: its exact text (small-document.json), which
// dump prints and tools depend on, and everything build accepts and refuses.
TEST(DocumentJson, TextOfASmallDocument)
{
    Document doc;
    doc.stations.push_back({"Jablonec n.N. zast\xE1vka", 13000});
    doc.appendKind({.stationIndex = 1, .nakladiste = 1, .zastavka = 1});
    doc.trains.resize(2);
    doc.trains[0].name = "Os 5401";
    doc.trains[0].podlePotreby = 1;
    Document::addRow(doc.trains[0], 1, makeTime(6, 12), 0, 0, 0);
    Document::addRow(doc.trains[0], -987, 0.0, -1, 1, 1);
    doc.trains[1].name = "R 1"; // no rows
    TrainLabel &plain = doc.newTrainLabel();
    plain.text = "R 1";
    plain.time = -0.0;
    plain.level = 1e-7;
    plain.angle = 0.1 + 0.2;
    TrainLabel &imaged = DocumentFixtures::addLabel(doc, "Os 5401", 0.25, 12.5, -0.7853981635);
    imaged.ascending = 1;
    imaged.imageColour = 255;
    imaged.width = 2;
    imaged.height = 1;
    imaged.imageCodes = {2, 0};
    imaged.imageValues = {0};
    doc.profiles.countOf(2) = 1;
    doc.profiles.at(2, 1).name = "Os";
    doc.profiles.at(2, 1).runTimeAt(1) = 7;
    doc.profiles.at(2, 1).dwellAt(2) = 1;

    const QByteArray expected = FileBytes::read(QStringLiteral(VLAKORYS_SOURCE_DIR "/tests/cli/small-document.json"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(DocumentJson::toText(doc).toStdString(), expected.toStdString());

    // The document build saves holds the labels the other way round: the
    // file, once opened, lists them as the JSON does.
    Document back;
    ASSERT_EQ(DocumentJson::fromText(expected, back), QString());
    std::reverse(doc.trainLabels.begin(), doc.trainLabels.end());
    EXPECT_EQ(of(back), of(doc));
}

// A position is a number of kilometres with up to three decimals; a whole
// kilometre is written, as ever, without a fraction. Track numbers appear
// only where they differ from the defaults. Both come back as they were.
TEST(DocumentJson, KilometresToTheMetreAndTrackNumbers)
{
    Document doc;
    for (int32_t metres : {0, 7562, 12000, -350, 2500, 2147483000})
        doc.stations.push_back({"S", metres});
    EXPECT_EQ(DocumentJson::toText(doc).toStdString().find("Tracks"), std::string::npos);
    doc.stations[0].sectionTracks = 3;
    doc.stations[0].sectionHeadway = 2;
    doc.stations[2].stationTracks = 0;
    doc.lineTracks = {2, 0};
    const std::string text = DocumentJson::toText(doc).toStdString();
    for (const char *item : {R"("km": 0, "sectionTracks": 3, "sectionHeadway": 2})", R"("km": 7.562})",
                             R"("km": 12, "stationTracks": 0})", R"("km": -0.35})", R"("km": 2.5})",
                             R"("km": 2147483})", R"("lineTracks": {"mainTracks": 2, "minHeadway": 0})"})
        EXPECT_NE(text.find(item), std::string::npos) << item << "\n" << text;
    Document back;
    ASSERT_EQ(DocumentJson::fromText(QByteArray::fromStdString(text), back), QString());
    EXPECT_EQ(of(back), of(doc));

    Document typed;
    ASSERT_EQ(DocumentJson::fromText(R"({"stations": [{"km": 24.151}, {"km": 24.1510}, {"km": 3e1}, {"km": -0.001}]})",
                                     typed),
              QString());
    EXPECT_EQ(positions(typed), (std::vector<int32_t>{24151, 24151, 30000, -1}));
}

TEST(DocumentJson, MissingKeysTakeTheValuesOfAnEmptyDocument)
{
    Document fromNothing;
    ASSERT_EQ(DocumentJson::fromText("{}", fromNothing), QString());
    EXPECT_EQ(of(fromNothing), of(Document()));

    // Times as day fractions or clock texts, flags as booleans.
    Document partial;
    ASSERT_EQ(DocumentJson::fromText(R"({"settings": {"zoom": 8}, "trains": [{"name": "Os 1", "rows": []},
                        {"rusici": true, "podlePotreby": false,
                         "rows": [{"station": 1, "time": "23:59:30"}, {"station": 4, "time": 0.5}]}],
                        "trainLabels": [{"time": "12:00"}],
                        "profiles": {"direction2": [{"name": "Sp", "dwell": [2]}]}})",
                                     partial),
              QString());
    EXPECT_EQ(std::tuple(partial.settings.zoom, partial.settings.timeFontName, partial.settings.showCategory),
              std::tuple(8, QByteArray("Arial CE"), 1));
    ASSERT_EQ(partial.trains.size(), 2u);
    EXPECT_TRUE(partial.trains[0].isEmpty());
    const Train &t = partial.trains[1];
    EXPECT_EQ(std::tuple(t.rusici, t.podlePotreby, t.row(0).time, t.row(1).time, partial.trainLabels.at(0).time),
              std::tuple(1, 0, makeTime(23, 59, 30), 0.5, 0.5));
    const TravelTimeProfile &p = partial.profiles.at(2, 1);
    EXPECT_EQ(std::tuple(partial.profiles.countOf(2), p.dwellAt(1), p.dwellAt(2), p.runTimeAt(1)),
              std::tuple(1, 2, -1, 0));
}

TEST(DocumentJson, RefusalsNameTheField)
{
    const auto items = [](const char *item, int n) {
        QByteArray out = item;
        for (int i = 1; i < n; ++i)
            out += QByteArray(", ") + item;
        return out;
    };
    const auto image = [](const char *fields) {
        return QByteArray(R"({"trainLabels": [{"image": {"colour": 0, "height": 1, )") + fields + "}}]}";
    };
    const QByteArray name51(51, 'x');
    const std::tuple<QByteArray, std::string> cases[] = {
        {"[]", "dokument: očekává se objekt"},
        {R"({"stations": [{"name": "Praha", "kilometr": 3}]})", "stations[0].kilometr: neznámý klíč"},
        {R"({"stations": [{"name": "北京"}]})", "stations[0].name: obsahuje znak, který kódová stránka 1250 nemá"},
        {R"({"stations": [{"name": ")" + name51 + R"("}]})", "stations[0].name: delší než 50 znaků"},
        {R"({"stations": [{"km": 1.5005}]})", "stations[0].km: více než tři desetinná místa (metry)"},
        {R"({"stations": [{"km": 0.0001}]})", "stations[0].km: více než tři desetinná místa (metry)"},
        {R"({"stations": [{"km": 3000000000}]})", "stations[0].km: musí být od -2147483 do 2147483"},
        {R"({"stations": [{"km": -2147483.5}]})", "stations[0].km: musí být od -2147483 do 2147483"},
        {R"({"stations": [{"km": 1e300}]})", "stations[0].km: musí být od -2147483 do 2147483"},
        {R"({"stations": [{"km": "7,5"}]})", "stations[0].km: očekává se číslo"},
        {R"({"stations": {}})", "stations: očekává se seznam"},
        {R"({"stationKinds": [{"stationIndex": 1, "dopravna": 2}]})",
         "stationKinds[0].dopravna: příznak musí být 0 nebo 1"},
        {R"({"trains": [{"name": "Os 123456789012345678"}]})", "trains[0].name: delší než 20 znaků"},
        {R"({"trains": [{"rows": [{}, {"time": "6:60"}]}]})",
         R"(trains[0].rows[1].time: očekává se část dne nebo čas "H:MM" či "H:MM:SS")"},
        {R"({"trains": [{"rows": [{"time": true}]}]})", "trains[0].rows[0].time: očekává se číslo"},
        {R"({"settings": {"zoom": 1}})", "settings.zoom: musí být od 2 do 21"},
        {R"({"settings": {"ratioY": 0}})", "settings.ratioY: musí být od 1 do 100"},
        {R"({"trainLabels": [{"text": "1234567890123456"}]})", "trainLabels[0].text: delší než 15 znaků"},
        {image(R"("width": 1, "codes": "AQA=", "values": "")"),
         "trainLabels[0].image.values: musí mít jednu hodnotu za každý nenulový kód (1)"},
        {image(R"("width": 1, "codes": "**", "values": "")"), "trainLabels[0].image.codes: není platné base64"},
        {image(R"("width": -1, "codes": "AA==", "values": "")"), "trainLabels[0].image.width: musí být od 0 do 65535"},
        {image(R"("width": 1, "values": "")"), "trainLabels[0].image.codes: chybí"},
        {R"({"profiles": {"direction1": [{"name": "123456789012345678901"}]}})",
         "profiles.direction1[0].name: delší než 20 znaků"},
        {R"({"profiles": {"direction1": [)" + items("{}", 100) + "]}}", "profiles.direction1: více než 99 položek"},
        {R"({"stations": [)" + items("{}", 1001) + "]}", "stations: více než 1000 položek"},
        {R"({"stations": [{"sectionTracks": 4}]})", "stations[0].sectionTracks: musí být od 1 do 3"},
        {R"({"stations": [{"sectionHeadway": 61}]})", "stations[0].sectionHeadway: musí být od 0 do 60"},
        {R"({"stations": [{"stationTracks": 100}]})", "stations[0].stationTracks: musí být od 0 do 99"},
        {R"({"lineTracks": {"minHeadway": 61}})", "lineTracks.minHeadway: musí být od 0 do 60"},
        {R"({"lineTracks": {"tracks": 2}})", "lineTracks.tracks: neznámý klíč"},
    };
    for (const auto &[json, message] : cases)
        EXPECT_EQ(refusal(json), message) << json.constData();
    // Where the text breaks off, as an editor counts lines and characters.
    EXPECT_EQ(refusal("{\"stations\":\n  [1,\n   \"ž\" x]}"), "není platný JSON: chyba na řádku 3, ve sloupci 8");
}

// Station positions to the metre in a .vrs file: the whole kilometres in
// the station records, the metres in a tagged chunk after the last profile.
namespace {

using FileBytes::withLastByteFlipped;

void fillLine(Document &doc, const std::vector<int32_t> &metres)
{
    for (int32_t m : metres)
        doc.stations.push_back({"S", m});
    doc.profiles.countOf(1) = 1;
    doc.profiles.at(1, 1).name = "Os";
    doc.profiles.at(1, 1).runTimeAt(1) = 4;
}

QByteArray bytesOfLine(const std::vector<int32_t> &metres)
{
    Document doc;
    fillLine(doc, metres);
    return of(doc);
}

// CRC-32 as zlib and PNG reckon it (reflected, polynomial 0xEDB88320).
uint32_t crc32(QByteArrayView bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// One chunk: tag, length, payload, the check of tag and payload.
QByteArray chunk(const char *tag, const QByteArray &payload)
{
    const QByteArray checked = QByteArray(tag, 4) + payload;
    return ByteBuilder()
        .raw(QByteArrayView(tag, 4))
        .i32(static_cast<int32_t>(payload.size()))
        .raw(payload)
        .i32(static_cast<int32_t>(crc32(checked)))
        .bytes();
}

QByteArray metresPayload(const std::vector<int32_t> &metres, int32_t count)
{
    ByteBuilder b;
    b.i32(count);
    for (int32_t m : metres)
        b.i32(m);
    return b.bytes();
}

const std::vector<int32_t> fractional = {0, 7562, 12500, 13500, -350, 27348};
// The whole kilometres of the station records (halves go to even), and as
// metres.
const std::vector<int32_t> recordKm = {0, 8, 12, 14, 0, 27};
const std::vector<int32_t> wholeMetres = {0, 8000, 12000, 14000, 0, 27000};

} // namespace

// A fractional line is saved and opened equal. A reader that stops after
// the profiles reads the plain 1.2 file of the same line at whole
// kilometres; the rest is the magic and one chunk. Whatever is wrong behind
// the profiles, the file opens: with the metres when their chunk is sound,
// else at whole kilometres and with the message.
TEST(DocumentExtension, AFractionalLineAndDamageBehindTheProfiles)
{
    const QByteArray bytes = bytesOfLine(fractional);
    Document loaded;
    const DocumentReader::Outcome outcome = load(loaded, bytes);
    EXPECT_EQ(std::tuple(outcome.status, outcome.warning, positions(loaded)),
              std::tuple(Status::Ok, QString(), fractional));
    EXPECT_EQ(of(loaded), bytes);
    DocumentReader::finishLoading(loaded);
    EXPECT_EQ(std::pair(loaded.maxMetres, loaded.stationMetres[2]), std::pair(27348, 7562));

    const QByteArray plain = bytesOfLine(wholeMetres);
    const QByteArray good = chunk("METR", metresPayload(fractional, 6));
    ASSERT_TRUE(bytes.startsWith(plain));
    EXPECT_EQ(bytes.mid(plain.size()), "VRSX" + good);
    for (size_t i = 0; i < recordKm.size(); ++i) {
        const qsizetype at = 14 + 4 + qsizetype(i) * 55 + 51;
        EXPECT_EQ(qFromLittleEndian<int32_t>(bytes.constData() + at), recordKm[i]) << i;
    }
    Document whole;
    fillLine(whole, wholeMetres);
    EXPECT_TRUE(DocumentExtension::bytesOf(whole).isEmpty());

    const QByteArray badCheck = withLastByteFlipped(good);
    QByteArray badPayload = good;
    badPayload[12] = char(badPayload[12] ^ 0x40);
    std::vector<int32_t> offRecord = fractional;
    offRecord[1] = 8500; // rounds to 8, the record's kilometre: still fine
    std::vector<int32_t> farOff = fractional;
    farOff[1] = 8501; // rounds to 9
    const auto metr = [](const std::vector<int32_t> &metres, int32_t count, const QByteArray &more = {}) {
        return "VRSX" + chunk("METR", metresPayload(metres, count) + more);
    };
    const struct
    {
        const char *what;
        QByteArray tail;
        bool metres = false;
        QString warning = FileMessages::damagedExtension;
    } cases[] = {
        {"nothing", {}, false, {}},
        {"bytes of someone else", "junk", false, {}},
        {"the magic alone", "VRSX", false, {}},
        {"a check that fails", "VRSX" + badCheck},
        {"a payload changed under its check", "VRSX" + badPayload},
        {"a length past the end", "VRSX" + good.left(good.size() - 1)},
        {"a negative length", "VRSX" + ByteBuilder().raw("METR").i32(-4).i32(0).bytes()},
        {"a chunk head cut short", "VRSX" + good.left(7)},
        {"a count other than the stations'", metr(fractional, 7)},
        {"a payload longer than its count", metr(fractional, 6, "xxxx")},
        {"no count", "VRSX" + chunk("METR", "ab")},
        {"a position off its record", metr(farOff, 6)},
        {"an unknown chunk first", "VRSX" + chunk("TRAK", "1234567") + good, true, {}},
        {"an unknown chunk after", "VRSX" + good + chunk("TRAK", ""), true, {}},
        {"a damaged chunk of no known kind", "VRSX" + good + withLastByteFlipped(chunk("TRAK", "x")), true,
         FileMessages::damagedOther},
        {"the same list twice", "VRSX" + good + good, true, {}},
        {"a second list that differs", "VRSX" + good + chunk("METR", metresPayload(offRecord, 6))},
    };
    for (const auto &c : cases) {
        Document doc;
        const DocumentReader::Outcome outcome = load(doc, plain + c.tail);
        ASSERT_EQ(outcome.status, Status::Ok) << c.what;
        EXPECT_EQ(outcome.warning, c.warning) << c.what;
        EXPECT_EQ(positions(doc), c.metres ? fractional : wholeMetres) << c.what;
    }
}

// Only a damaged file has a station record beyond what 32-bit metres hold.
TEST(DocumentExtension, RecordsBeyondTheRangeOfAPositionAreHeld)
{
    ByteBuilder b;
    b.header("Vlakorys 1.2!").i32(2).sstr("A", 50).i32(2147483).sstr("B", 50).i32(-2000000000);
    Document doc;
    const DocumentReader::Outcome outcome = load(doc, defaultSettings(b.i32(0).i32(0)).i32(0).raw({0, 0}).bytes());
    ASSERT_EQ(outcome.status, Status::Ok);
    EXPECT_EQ(outcome.warning, FileMessages::positionsHeld);
    EXPECT_EQ(positions(doc), (std::vector<int32_t>{2147483000, -2147483000}));
}

namespace {

// Each station's section tracks, own tracks and headway, and the line's.
std::pair<std::vector<std::tuple<int, int, int>>, LineTracks> tracksOf(const Document &doc)
{
    std::vector<std::tuple<int, int, int>> stations;
    for (const Station &s : doc.stations)
        stations.emplace_back(s.sectionTracks, s.stationTracks, s.sectionHeadway);
    return {stations, doc.lineTracks};
}

// Three stations at whole kilometres; A's section double, B with 4 tracks
// and its section of three and more with a headway of 2 minutes, the line
// double with a headway of 5 minutes.
void setTracks(Document &doc)
{
    doc.stations[0].sectionTracks = Tracks::doubleTrack;
    doc.stations[1].stationTracks = 4;
    doc.stations[1].sectionTracks = Tracks::manyTracks;
    doc.stations[1].sectionHeadway = 2;
    doc.lineTracks = {Tracks::doubleTrack, 5};
}

QByteArray tracksPayload(int32_t headway, int mainTracks, int32_t count, std::initializer_list<int> perStation)
{
    return ByteBuilder().i32(headway).u8(mainTracks).i32(count).raw(perStation).bytes();
}

const std::vector<int32_t> threeKm = {0, 5000, 10000};

} // namespace

// A line whose tracks are all the defaults is written as it always was;
// any number set adds one chunk, read back exactly. A damaged track chunk
// leaves the default layout and says so; the metres beside it are kept, and
// the other way round.
TEST(DocumentExtension, TracksAreSavedOnlyWhenSetAndDamagedOnesAreLeftOut)
{
    const QByteArray plain = bytesOfLine(threeKm);
    Document defaults;
    fillLine(defaults, threeKm);
    defaults.stations[1].sectionTracks = Tracks::lineDefault;
    defaults.stations[1].stationTracks = Tracks::byKind;
    EXPECT_EQ(of(defaults), plain);

    Document set;
    fillLine(set, threeKm);
    setTracks(set);
    const QByteArray bytes = of(set);
    const QByteArray good = chunk("KOLE", tracksPayload(5, 2, 3, {2, 255, 3, 4, 0, 255}));
    const QByteArray headways = chunk("INTV", ByteBuilder().i32(3).raw({255, 2, 255}).bytes());
    EXPECT_EQ(bytes, plain + "VRSX" + good + headways);
    Document loaded;
    ASSERT_EQ(load(loaded, bytes).warning, QString());
    EXPECT_EQ(tracksOf(loaded), tracksOf(set));
    EXPECT_EQ(of(loaded), bytes);
    // Read over a document with tracks, a plain file leaves the defaults.
    ASSERT_EQ(load(loaded, plain).status, Status::Ok);
    EXPECT_EQ(tracksOf(loaded), tracksOf(defaults));

    const QByteArray metres = chunk("METR", metresPayload({0, 5000, 10000}, 3));
    const auto kole = [](int32_t headway, int mainTracks, int32_t count, std::initializer_list<int> perStation) {
        return "VRSX" + chunk("KOLE", tracksPayload(headway, mainTracks, count, perStation));
    };
    const struct
    {
        const char *what;
        QByteArray tail;
        bool tracks = false;
        QString warning = FileMessages::damagedTracks;
    } cases[] = {
        {"a check that fails", "VRSX" + withLastByteFlipped(good)},
        {"cut short", "VRSX" + good.left(good.size() - 2)},
        {"a count other than the stations'", kole(5, 2, 2, {2, 255, 0, 4})},
        {"a section of four tracks", kole(5, 2, 3, {4, 255, 0, 4, 0, 255})},
        {"a section's headway past an hour", "VRSX" + chunk("INTV", ByteBuilder().i32(3).raw({255, 61, 255}).bytes())},
        {"a station of 100 tracks", kole(5, 2, 3, {2, 100, 0, 4, 0, 255})},
        {"a line of no tracks", kole(5, 0, 3, {2, 255, 0, 4, 0, 255})},
        {"a negative headway", kole(-1, 2, 3, {2, 255, 0, 4, 0, 255})},
        {"a headway past an hour", kole(61, 2, 3, {2, 255, 0, 4, 0, 255})},
        {"no count", "VRSX" + chunk("KOLE", "abcd")},
        {"a second layout", "VRSX" + good + chunk("KOLE", tracksPayload(3, 1, 3, {0, 255, 0, 255, 0, 255}))},
        {"sound metres before", "VRSX" + metres + withLastByteFlipped(good)},
        {"damaged metres before", "VRSX" + withLastByteFlipped(metres) + good + headways, true,
         FileMessages::damagedExtension},
        {"cut inside its tag", "VRSX" + metres + "KO"},
        {"both lost", "VRSX" + withLastByteFlipped(metres) + "KOL", false,
         FileMessages::damagedExtension + u' ' + FileMessages::damagedTracks},
    };
    // Past a metres chunk whose length cannot be, the layout is still read.
    for (int32_t length : {-1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 17, 400}) {
        Document doc;
        const QByteArray badLength = ByteBuilder().raw("METR").i32(length).bytes() + metres.mid(8);
        const DocumentReader::Outcome outcome = load(doc, plain + "VRSX" + badLength + good + headways);
        EXPECT_EQ(outcome.warning, FileMessages::damagedExtension) << length;
        EXPECT_EQ(tracksOf(doc), tracksOf(set)) << length;
    }
    for (const auto &c : cases) {
        Document doc;
        const DocumentReader::Outcome outcome = load(doc, plain + c.tail);
        ASSERT_EQ(outcome.status, Status::Ok) << c.what;
        EXPECT_EQ(outcome.warning, c.warning) << c.what;
        EXPECT_EQ(tracksOf(doc), tracksOf(c.tracks ? set : defaults)) << c.what;
    }

    // With the metres: both chunks, the metres first.
    set.stations.back().metres = 12345;
    Document both;
    ASSERT_EQ(load(both, of(set)).warning, QString());
    EXPECT_EQ(std::pair(tracksOf(both), positions(both)), std::pair(tracksOf(set), positions(set)));
}
