#include "DocumentWriter.h"

#include "BinaryWriter.h"
#include "DocumentExtension.h"
#include "DocumentFormat.h"

#include "model/Document.h"
#include "model/Kilometres.h"

#include <algorithm>

namespace {

using namespace DocumentFormat;

// sstr[capacity]: the length byte, the text, and zeros up to the capacity.
void writeFixedText(BinaryWriter &out, QByteArrayView text, int capacity)
{
    char buffer[256] = {};
    const auto length = static_cast<int>(std::min<qsizetype>(text.size(), capacity));
    buffer[0] = static_cast<char>(length);
    std::copy_n(text.data(), length, buffer + 1);
    out.writeBytes(QByteArrayView(buffer, capacity + 1));
}

// pstr: the length byte and exactly that many characters.
void writeShortText(BinaryWriter &out, QByteArrayView text, int capacity)
{
    const qsizetype length = std::min<qsizetype>(text.size(), capacity);
    out.writeByte(static_cast<uint8_t>(length));
    out.writeBytes(text.first(length));
}

void writeStations(BinaryWriter &out, const Document &doc)
{
    const qint64 count = out.reserveInt32();
    for (const Station &s : doc.stations) {
        writeFixedText(out, s.name.view(), stationNameCapacity);
        // The nearest whole kilometre: what a reader that stops after the
        // profiles shows; the extension carries the metres.
        out.writeInt32(Kilometres::nearestWhole(s.metres));
    }
    out.patchInt32(count, static_cast<int32_t>(doc.stations.size()));
}

void writeTrains(BinaryWriter &out, const Document &doc)
{
    const qint64 count = out.reserveInt32();
    for (const Train &t : doc.trains) {
        writeFixedText(out, t.name.view(), trainNameCapacity);
        out.writeInt32(t.firstStation);
        out.writeDouble(t.firstTime);
        out.writeByte(t.rusici);
        out.writeByte(t.podlePotreby);
        out.writeInt32(t.firstMark);
        out.writeByte(t.firstHalfMinute);
        out.writeByte(t.firstShortDwell);
        const qint64 rows = out.reserveInt32();
        for (const TrainStop &s : t.stops) {
            out.writeInt32(s.station);
            out.writeDouble(s.time);
            out.writeInt32(s.mark);
            out.writeByte(s.halfMinute);
            out.writeByte(s.shortDwell);
        }
        out.patchInt32(rows, static_cast<int32_t>(t.stops.size()));
    }
    out.patchInt32(count, static_cast<int32_t>(doc.trains.size()));
}

void writeKinds(BinaryWriter &out, const Document &doc)
{
    const qint64 count = out.reserveInt32();
    for (const StationKind &k : doc.stationKinds) {
        out.writeInt32(k.stationIndex);
        out.writeByte(k.dopravna);
        out.writeByte(k.odbocka);
        out.writeByte(k.hradlo);
        out.writeByte(k.hlaska);
        out.writeByte(k.kilometr);
        out.writeByte(k.zastavka);
        out.writeByte(k.nakladiste);
    }
    out.patchInt32(count, static_cast<int32_t>(doc.stationKinds.size()));
}

void writeSettings(BinaryWriter &out, const DocumentSettings &s)
{
    writeShortText(out, s.trainFontSmallName, fontNameCapacity);
    out.writeInt32(s.trainFontSmallSize);
    writeShortText(out, s.trainFontLargeName, fontNameCapacity);
    out.writeInt32(s.trainFontLargeSize);
    writeShortText(out, s.timeFontName, fontNameCapacity);
    out.writeInt32(s.timeFontSize);
    out.writeByte(s.penThin);
    out.writeByte(s.penMedium);
    out.writeByte(s.penThick);
    out.writeByte(s.saveLabelImages);
    out.writeByte(s.zoom);
    out.writeInt32(s.ratioX);
    out.writeInt32(s.ratioY);
    out.writeByte(s.showTimeLabels);
    out.writeByte(s.smoothing);
    out.writeByte(s.showCategory);
}

void writeImage(BinaryWriter &out, const TrainLabel &l)
{
    out.writeInt32(l.imageCodeCount());
    out.writeInt32(l.imageColour);
    out.writeInt32(l.width);
    out.writeInt32(l.height);
    QByteArray entries;
    entries.reserve(static_cast<qsizetype>(l.imageCodes.size() + l.imageValues.size()));
    size_t value = 0;
    for (uint8_t code : l.imageCodes) {
        entries.append(static_cast<char>(code));
        if (code != 0) {
            // Every non-zero code has its value; should a sequence ever be
            // short, the file still gets a well-formed entry.
            entries.append(static_cast<char>(value < l.imageValues.size() ? l.imageValues[value] : 0));
            ++value;
        }
    }
    out.writeBytes(entries);
}

void writeLabels(BinaryWriter &out, const Document &doc, bool imagesWanted)
{
    const bool images = imagesWanted && doc.settings.saveLabelImages == 1;
    const qint64 count = out.reserveInt32();
    for (const TrainLabel &l : doc.trainLabels) {
        writeFixedText(out, l.text.view(), labelTextCapacity);
        out.writeDouble(l.time);
        out.writeDouble(l.level);
        out.writeByte(l.ascending);
        out.writeByte(l.rusici);
        out.writeByte(l.visible);
        out.writeDouble(l.angle);
        const bool present = images && l.imageCodeCount() > 0;
        out.writeByte(present ? 1 : 0);
        if (present)
            writeImage(out, l);
    }
    out.patchInt32(count, doc.trainLabelCount());
}

// The highest entry in use, 0 when none is.
int usedEntries(const TravelTimeProfile &p)
{
    for (int i = TravelTimeProfile::entries; i >= 1; --i)
        if (p.runTimeAt(i) > 0 || p.dwellAt(i) >= 0)
            return i;
    return 0;
}

void writeProfiles(BinaryWriter &out, const ProfileTable &table, bool everyProfile)
{
    for (int direction = 1; direction <= ProfileTable::directions; ++direction) {
        const int count = everyProfile ? ProfileTable::perDirection
                                       : std::min<int>(table.countOf(direction), ProfileTable::perDirection);
        out.writeByte(static_cast<uint8_t>(count));
        for (int number = 1; number <= count; ++number) {
            const TravelTimeProfile &p = table.at(direction, number);
            const int entries = usedEntries(p);
            out.writeByte(static_cast<uint8_t>(entries));
            writeShortText(out, p.name.view(), profileNameCapacity);
            for (int i = 1; i <= entries; ++i) {
                out.writeInt32(p.runTimeAt(i));
                out.writeInt32(p.dwellAt(i));
            }
        }
    }
}

} // namespace

bool DocumentWriter::write(const Document &doc, QIODevice &device)
{
    return write(doc, device, DocumentWriterOptions{});
}

bool DocumentWriter::write(const Document &doc, QIODevice &device, const DocumentWriterOptions &options)
{
    BinaryWriter out(device);
    writeFixedText(out, QByteArrayView(currentHeader), headerSize - 1);
    writeStations(out, doc);
    writeTrains(out, doc);
    writeKinds(out, doc);
    writeSettings(out, doc.settings);
    writeLabels(out, doc, options.labelImages);
    writeProfiles(out, doc.profiles, options.everyProfile);
    const QByteArray extension = DocumentExtension::bytesOf(doc);
    if (!extension.isEmpty())
        out.writeBytes(extension);
    return out.finish();
}
