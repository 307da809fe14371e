#include "DocumentReader.h"

#include "BinaryReader.h"
#include "DocumentExtension.h"
#include "DocumentFormat.h"
#include "FileMessages.h"

#include "model/Document.h"
#include "model/Kilometres.h"

#include <QIODevice>

#include <algorithm>
#include <cmath>

namespace {

using namespace DocumentFormat;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// What a file of a given version holds. The version is major * 100 + minor.
struct Layout
{
    int version;

    int trainNameCapacity() const { return version < 100 ? oldTrainNameCapacity : DocumentFormat::trainNameCapacity; }
    bool trainFlags() const { return version >= 4; } // rusici, podlePotreby
    bool marks() const { return version >= 100; }    // firstMark, row mark
    bool rowFlags() const { return version >= 101; } // half-minute, short dwell
    bool legacyDopravna() const { return version >= 3 && version <= 6; }
    bool legacyOther() const { return version >= 5 && version <= 6; }
    bool kinds() const { return version >= 7; }
    bool settings() const { return version >= 102; }
    bool labels() const { return version >= 6; }
    bool shortLevel() const { return version < 9; }
    bool hasAngle() const { return version >= 8; }
    bool shortAngle() const { return version == 8; }
    bool images() const { return version >= 102; }
    bool profiles() const { return version >= 102; }

    qint64 trainRecordSize() const
    {
        return 1 + trainNameCapacity() + 4 + 8 + (trainFlags() ? 2 : 0) + (marks() ? 4 : 0) + (rowFlags() ? 2 : 0) + 4;
    }
    qint64 rowSize() const { return 4 + 8 + (marks() ? 4 : 0) + (rowFlags() ? 2 : 0); }
    qint64 minLabelSize() const
    {
        return 1 + labelTextCapacity + 8 + (shortLevel() ? 6 : 8) + 3 + (hasAngle() ? (shortAngle() ? 6 : 8) : 0)
               + (images() ? 1 : 0);
    }
};

// The body reader: one pass over the sections the version holds. Any
// failure leaves the stream failed; the caller stops at the next check.
class BodyReader
{
public:
    BodyReader(BinaryReader &in, Document &doc, Layout layout) : m_in(in), m_doc(doc), m_layout(layout) {}

    bool ok() const { return m_in.ok(); }
    bool settingsRead() const { return m_settingsRead; }
    const QString &warning() const { return m_warning; }

    void readStations()
    {
        const int32_t count = readCount(stationRecordSize);
        // The kilometre table holds 1000 stations; a longer list cannot be
        // shown or edited, so it is refused here rather than half-used.
        if (count > Document::maxStations)
            m_in.fail();
        for (int32_t i = 0; i < count && ok(); ++i) {
            Station s;
            s.name = readFixedText(stationNameCapacity);
            // Whole kilometres; a position to the metre may follow the
            // profiles (DocumentExtension).
            const int32_t km = m_in.readInt32();
            s.metres = Kilometres::wholeToMetres(km);
            if (Kilometres::toKm(s.metres) != km)
                m_warning = FileMessages::positionsHeld;
            if (ok())
                m_doc.stations.push_back(s);
        }
    }

    void readTrains()
    {
        const int32_t count = readCount(m_layout.trainRecordSize());
        for (int32_t i = 0; i < count && ok(); ++i) {
            Train t;
            t.name = readFixedText(m_layout.trainNameCapacity());
            t.firstStation = m_in.readInt32();
            t.firstTime = readFinite();
            if (m_layout.trainFlags()) {
                t.rusici = m_in.readByte();
                t.podlePotreby = m_in.readByte();
            }
            if (m_layout.marks())
                t.firstMark = m_in.readInt32();
            if (m_layout.rowFlags()) {
                t.firstHalfMinute = m_in.readByte();
                t.firstShortDwell = m_in.readByte();
            }
            const int32_t rows = readCount(m_layout.rowSize());
            t.stops.reserve(static_cast<size_t>(std::max(0, rows)));
            for (int32_t r = 0; r < rows && ok(); ++r) {
                TrainStop s;
                s.station = m_in.readInt32();
                s.time = readFinite();
                if (m_layout.marks())
                    s.mark = m_in.readInt32();
                if (m_layout.rowFlags()) {
                    s.halfMinute = m_in.readByte();
                    s.shortDwell = m_in.readByte();
                }
                t.stops.push_back(s);
            }
            if (!ok())
                return;
            m_doc.trains.push_back(std::move(t));
            m_doc.trainCount = static_cast<int32_t>(m_doc.trains.size());
        }
    }

    void readLegacyLists()
    {
        if (m_layout.legacyDopravna())
            readIntList(m_doc.legacyDopravna);
        if (m_layout.legacyOther())
            readIntList(m_doc.legacyOther);
    }

    void readKinds()
    {
        if (!m_layout.kinds())
            return;
        const int32_t count = readCount(kindRecordSize);
        for (int32_t i = 0; i < count && ok(); ++i) {
            StationKind k;
            k.stationIndex = m_in.readInt32();
            // The file keeps the flags in this order, not in the record's.
            k.dopravna = m_in.readByte();
            k.odbocka = m_in.readByte();
            k.hradlo = m_in.readByte();
            k.hlaska = m_in.readByte();
            k.kilometr = m_in.readByte();
            k.zastavka = m_in.readByte();
            k.nakladiste = m_in.readByte();
            if (ok())
                m_doc.appendKind(k);
        }
    }

    void readSettings()
    {
        if (!m_layout.settings())
            return;
        DocumentSettings s = m_doc.settings;
        s.trainFontSmallName = readFontName();
        s.trainFontSmallSize = m_in.readInt32();
        s.trainFontLargeName = readFontName();
        s.trainFontLargeSize = m_in.readInt32();
        s.timeFontName = readFontName();
        s.timeFontSize = m_in.readInt32();
        s.penThin = m_in.readByte();
        s.penMedium = m_in.readByte();
        s.penThick = m_in.readByte();
        s.saveLabelImages = m_in.readByte();
        s.zoom = m_in.readByte();
        s.ratioX = m_in.readInt32();
        s.ratioY = m_in.readInt32();
        s.showTimeLabels = m_in.readByte();
        s.smoothing = m_in.readByte();
        s.showCategory = m_in.readByte();
        if (!ok())
            return;
        // The zoom steps and the ratio's spin edits know no other values; the
        // view divides by the ratio and sizes its strip tables by the scale.
        s.zoom = std::clamp<uint8_t>(s.zoom, 2, 21);
        s.ratioX = std::clamp(s.ratioX, 1, 100);
        s.ratioY = std::clamp(s.ratioY, 1, 100);
        m_doc.settings = s;
        m_doc.labelImagesStale = s.saveLabelImages == 0;
        m_settingsRead = true;
    }

    void readLabels()
    {
        if (!m_layout.labels())
            return;
        const int32_t count = readCount(m_layout.minLabelSize());
        for (int32_t i = 0; i < count && ok(); ++i) {
            TrainLabel l;
            l.text = readFixedText(labelTextCapacity);
            l.time = readFinite();
            l.level = m_layout.shortLevel() ? readReal48() : readFinite();
            l.ascending = m_in.readByte();
            l.rusici = m_in.readByte();
            l.visible = m_in.readByte();
            if (!m_layout.hasAngle())
                l.angle = l.ascending == 1 ? defaultAscendingAngle : defaultDescendingAngle;
            else
                l.angle = m_layout.shortAngle() ? readReal48() : readFinite();
            if (m_layout.images())
                readImage(l);
            if (!ok())
                return;
            // Each label read goes to the head, so one save and load reverses
            // the list; two restore it.
            m_doc.trainLabels.push_front(std::move(l));
        }
    }

    void readProfiles()
    {
        if (!m_layout.profiles())
            return;
        for (int direction = 1; direction <= ProfileTable::directions && ok(); ++direction) {
            const uint8_t count = m_in.readByte();
            if (count > ProfileTable::perDirection) {
                m_in.fail();
                return;
            }
            m_doc.profiles.countOf(direction) = count;
            for (int number = 1; number <= count && ok(); ++number) {
                TravelTimeProfile &p = m_doc.profiles.at(direction, number);
                const uint8_t entries = m_in.readByte();
                if (entries > TravelTimeProfile::entries) {
                    m_in.fail();
                    return;
                }
                const uint8_t length = m_in.readByte();
                const QByteArray name = m_in.readBytes(length);
                p.name = name.left(profileNameCapacity);
                for (int e = 1; e <= entries && ok(); ++e) {
                    p.runTimeAt(e) = m_in.readInt32();
                    p.dwellAt(e) = m_in.readInt32();
                }
            }
        }
    }

    // Whatever follows the last profile: the program's extension, or bytes
    // it leaves alone.
    void readExtension()
    {
        if (!m_layout.profiles() || !ok())
            return;
        const qint64 left = m_in.bytesLeft();
        if (left < 4 || m_in.window(4).first(4) != QByteArrayView(DocumentExtension::magic, 4))
            return;
        const QString damaged = DocumentExtension::apply(m_in.readBytes(left), m_doc);
        if (!damaged.isEmpty())
            m_warning = damaged;
    }

private:
    // A record count: never negative, never more records than the rest of
    // the file can hold.
    int32_t readCount(qint64 minRecordSize)
    {
        const int32_t count = m_in.readInt32();
        if (!ok())
            return 0;
        if (count < 0 || static_cast<qint64>(count) * minRecordSize > m_in.bytesLeft()) {
            m_in.fail();
            return 0;
        }
        return count;
    }

    // sstr[capacity]: a length byte and capacity bytes, of which the length
    // counts. A length beyond the field is damage.
    QByteArray readFixedText(int capacity)
    {
        const uint8_t length = m_in.readByte();
        if (length > capacity) {
            m_in.fail();
            return {};
        }
        char buffer[256];
        if (!m_in.readInto(buffer, capacity))
            return {};
        return QByteArray(buffer, length);
    }

    // A font name: a length byte and exactly that many characters.
    QByteArray readFontName()
    {
        const uint8_t length = m_in.readByte();
        return m_in.readBytes(length);
    }

    // Times, levels and angles are plain numbers; NaN and infinities can
    // only come from damage and would poison every position computed later.
    double readFinite()
    {
        const double v = m_in.readDouble();
        if (!std::isfinite(v))
            m_in.fail();
        return v;
    }

    double readReal48()
    {
        uint8_t bytes[6];
        if (!m_in.readInto(reinterpret_cast<char *>(bytes), 6))
            return 0.0;
        return DocumentReader::decodeReal48(bytes);
    }

    void readIntList(std::vector<int32_t> &list)
    {
        const int32_t count = readCount(4);
        list.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count && ok(); ++i)
            list.push_back(m_in.readInt32());
    }

    void readImage(TrainLabel &l)
    {
        const uint8_t present = m_in.readByte();
        if (present == 0)
            return;
        if (present != 1) {
            m_in.fail();
            return;
        }
        const int32_t codes = readCount(1);
        l.imageColour = m_in.readInt32();
        l.width = m_in.readInt32();
        l.height = m_in.readInt32();
        if (l.width < 0 || l.width > maxLabelImageSide || l.height < 0 || l.height > maxLabelImageSide) {
            m_in.fail();
            return;
        }
        if (!ok())
            return;
        l.imageCodes.reserve(static_cast<size_t>(codes));
        l.imageValues.reserve(static_cast<size_t>(codes));
        // Entry k is the code byte, then a value byte when the code is not
        // zero; decoded straight from the stream's buffer.
        int32_t k = 0;
        while (k < codes && ok()) {
            const QByteArrayView bytes = m_in.window(2);
            if (bytes.isEmpty()) {
                m_in.fail();
                break;
            }
            qsizetype at = 0;
            while (k < codes && at < bytes.size()) {
                const auto code = static_cast<uint8_t>(bytes[at]);
                if (code != 0 && at + 1 >= bytes.size())
                    break; // its value byte is in the next window
                l.imageCodes.push_back(code);
                ++at;
                if (code != 0)
                    l.imageValues.push_back(static_cast<uint8_t>(bytes[at++]));
                ++k;
            }
            if (at == 0) {
                // A non-zero code as the very last byte: its value is missing.
                m_in.fail();
                break;
            }
            m_in.consume(at);
        }
        if (!ok())
            l.dropImage();
    }

    BinaryReader &m_in;
    Document &m_doc;
    Layout m_layout;
    bool m_settingsRead = false;
    QString m_warning;
};

} // namespace

DocumentReader::Header DocumentReader::parseHeader(const QByteArray &bytes)
{
    Header h;
    if (bytes.size() < headerSize)
        return h; // ReadError
    const int length = static_cast<uint8_t>(bytes.at(0));
    if (length > headerSize - 1)
        return h;
    const QByteArray text = bytes.mid(1, length);
    if (text == QByteArrayView(oldestHeader)) {
        h.kind = Header::Oldest;
        h.version = 1;
        return h;
    }
    // "Vlakorys M.m!": the word, the last character, then the version from
    // the digit at position 10 and the characters from 12 up to the "!".
    if (!text.startsWith("Vlakorys") || text.back() != '!') {
        h.kind = Header::NotDocument;
        return h;
    }
    if (text.size() < 10 || !isDigit(text.at(9)))
        return h; // a version that is not a number cannot be read
    const QByteArray minorText = text.mid(11, text.size() - 12);
    if (minorText.isEmpty() || !std::all_of(minorText.begin(), minorText.end(), isDigit))
        return h;
    const int version = (text.at(9) - '0') * 100 + minorText.toInt();
    if (version < oldestFullVersion || version > currentVersion) {
        h.kind = Header::NotDocument;
        return h;
    }
    h.kind = Header::Recognised;
    h.version = version;
    return h;
}

DocumentReader::Outcome DocumentReader::read(Document &doc, QIODevice &device)
{
    Outcome out;
    BinaryReader in(device);
    const Header header = parseHeader(in.readBytes(headerSize));
    out.version = header.version;
    switch (header.kind) {
    case Header::ReadError:
        out.status = Status::ReadError;
        return out;
    case Header::NotDocument:
        out.status = Status::NotDocument;
        return out;
    case Header::Oldest: {
        // The first format held only the station list; whatever else the
        // program holds stays.
        doc.clearStations();
        doc.clearTrains();
        doc.trainCount = 0;
        doc.noDocument = true;
        out.cleared = true;
        BodyReader body(in, doc, Layout{1});
        body.readStations();
        out.status = body.ok() ? Status::Ok : Status::ReadError;
        if (body.ok())
            out.warning = body.warning();
        return out;
    }
    case Header::Recognised:
        break;
    }

    doc.clearStations();
    doc.clearTrains();
    doc.clearLegacyLists();
    doc.clearStationKinds();
    doc.clearTrainLabels();
    doc.clearTimeLabels();
    doc.clearProfiles();
    // A file without a track layout has the default one.
    doc.lineTracks = {};
    doc.trainCount = 0;
    doc.labelImagesStale = true;
    doc.noDocument = true;
    out.cleared = true;

    BodyReader body(in, doc, Layout{header.version});
    body.readStations();
    body.readTrains();
    body.readLegacyLists();
    body.readKinds();
    body.readSettings();
    out.settingsRead = body.settingsRead();
    body.readLabels();
    body.readProfiles();
    body.readExtension();
    out.status = body.ok() ? Status::Ok : Status::ReadError;
    if (body.ok())
        out.warning = body.warning();
    return out;
}

void DocumentReader::finishLoading(Document &doc)
{
    if (doc.stationKinds.empty()) {
        for (int32_t index : doc.legacyDopravna) {
            StationKind k;
            k.stationIndex = index;
            k.dopravna = 1;
            doc.prependKind(k);
        }
    }
    doc.relinkStationKinds();
    doc.noDocument = false;
    doc.rebuildStationTable();
}

double DocumentReader::decodeReal48(const uint8_t *b)
{
    if (b[0] == 0)
        return 0.0;
    const uint64_t mantissa = uint64_t(b[1]) | uint64_t(b[2]) << 8 | uint64_t(b[3]) << 16 | uint64_t(b[4]) << 24
                              | uint64_t(b[5] & 0x7F) << 32;
    const double magnitude = std::ldexp(1.0 + std::ldexp(static_cast<double>(mantissa), -39), b[0] - 129);
    return (b[5] & 0x80) ? -magnitude : magnitude;
}
