// Station positions to the metre in a .vrs file: the whole kilometres in
// the station records, the metres in a tagged chunk after the last profile.
#include "ByteBuilder.h"
#include "FileBytes.h"

#include "io/DocumentExtension.h"
#include "io/DocumentReader.h"
#include "io/FileMessages.h"
#include "model/Document.h"
#include "model/Tracks.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

namespace {

using FileBytes::load;
using FileBytes::of;
using FileBytes::withLastByteFlipped;
using Status = DocumentReader::Status;

std::vector<int32_t> positions(const Document &doc)
{
    std::vector<int32_t> metres;
    for (const Station &s : doc.stations)
        metres.push_back(s.metres);
    return metres;
}

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
// kilometres; the rest is the magic and one chunk.
TEST(DocumentExtension, AFractionalLineAndWhatAnOldReaderSees)
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
    ASSERT_TRUE(bytes.startsWith(plain));
    EXPECT_EQ(bytes.mid(plain.size()), QByteArray("VRSX") + chunk("METR", metresPayload(fractional, 6)));
    for (size_t i = 0; i < recordKm.size(); ++i) {
        const qsizetype at = 14 + 4 + qsizetype(i) * 55 + 51;
        EXPECT_EQ(qFromLittleEndian<int32_t>(bytes.constData() + at), recordKm[i]) << i;
    }
    Document whole;
    fillLine(whole, wholeMetres);
    EXPECT_TRUE(DocumentExtension::bytesOf(whole).isEmpty());
}

// Whatever is wrong behind the profiles, the file opens: with the metres
// when their chunk is sound, else at whole kilometres and with the message.
TEST(DocumentExtension, DamageBehindTheProfiles)
{
    const QByteArray plain = bytesOfLine(wholeMetres);
    const QByteArray good = chunk("METR", metresPayload(fractional, 6));
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
        {"the chunk", "VRSX" + good, true, {}},
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
    b.i32(0).i32(0).pstr("Arial CE").i32(8).pstr("Arial CE").i32(12).pstr("Arial CE").i32(7);
    b.raw({1, 2, 3, 0, 4}).i32(1).i32(2).raw({0, 0, 1}).i32(0).raw({0, 0});
    Document doc;
    const DocumentReader::Outcome outcome = load(doc, b.bytes());
    ASSERT_EQ(outcome.status, Status::Ok);
    EXPECT_EQ(outcome.warning, FileMessages::positionsHeld);
    EXPECT_EQ(positions(doc), (std::vector<int32_t>{2147483000, -2147483000}));
}

namespace {

struct TrackNumbers
{
    std::vector<std::tuple<int, int, int>> stations; // section, own, headway
    LineTracks line;
    bool operator==(const TrackNumbers &) const = default;
};

TrackNumbers tracksOf(const Document &doc)
{
    TrackNumbers t;
    for (const Station &s : doc.stations)
        t.stations.emplace_back(s.sectionTracks, s.stationTracks, s.sectionHeadway);
    t.line = doc.lineTracks;
    return t;
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
// any number set adds one chunk, read back exactly.
TEST(DocumentExtension, TracksAreSavedOnlyWhenSet)
{
    const QByteArray plain = bytesOfLine(threeKm);
    Document defaults;
    fillLine(defaults, threeKm);
    defaults.stations[1].sectionTracks = Tracks::lineDefault;
    defaults.stations[1].stationTracks = Tracks::byKind;
    EXPECT_EQ(of(defaults), plain);

    Document doc;
    fillLine(doc, threeKm);
    setTracks(doc);
    const QByteArray bytes = of(doc);
    ASSERT_TRUE(bytes.startsWith(plain));
    EXPECT_EQ(bytes.mid(plain.size()),
              QByteArray("VRSX") + chunk("KOLE", tracksPayload(5, 2, 3, {2, 255, 3, 4, 0, 255}))
                  + chunk("INTV", ByteBuilder().i32(3).raw({255, 2, 255}).bytes()));
    Document loaded;
    ASSERT_EQ(load(loaded, bytes).warning, QString());
    EXPECT_EQ(tracksOf(loaded), tracksOf(doc));
    EXPECT_EQ(of(loaded), bytes);
    // Read over a document with tracks, a plain file leaves the defaults.
    ASSERT_EQ(load(loaded, plain).status, Status::Ok);
    EXPECT_EQ(tracksOf(loaded), tracksOf(defaults));

    // With the metres: both chunks, the metres first.
    fillLine(doc, {}); // a fourth station, off a whole kilometre
    doc.stations.back().metres = 12345;
    Document both;
    ASSERT_EQ(load(both, of(doc)).warning, QString());
    EXPECT_EQ(tracksOf(both), tracksOf(doc));
    EXPECT_EQ(positions(both), positions(doc));
}

// A damaged track chunk leaves the default layout and says so; the metres
// beside it are kept, and the other way round.
TEST(DocumentExtension, DamagedTracks)
{
    const QByteArray plain = bytesOfLine(threeKm);
    const QByteArray good = chunk("KOLE", tracksPayload(5, 2, 3, {2, 255, 3, 4, 0, 255}));
    const QByteArray headways = chunk("INTV", ByteBuilder().i32(3).raw({255, 2, 255}).bytes());
    const QByteArray metres = chunk("METR", metresPayload({0, 5000, 10000}, 3));
    Document defaults;
    fillLine(defaults, threeKm);
    Document set;
    fillLine(set, threeKm);
    setTracks(set);
    const QString tracksLost = FileMessages::damagedTracks;
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
        {"the chunks", "VRSX" + good + headways, true, {}},
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
         FileMessages::damagedExtension + u' ' + tracksLost},
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
}
