#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class Document;

// What a document needs beyond the sections of a version 1.2 file, kept
// behind its last profile. A reader of 1.2 files stops after the profiles,
// so it opens such a file with what the sections hold (every station at its
// nearest whole kilometre); a document that needs nothing more is written
// without it, byte for byte the plain 1.2 file.
//
// The form: the 4 bytes "VRSX", then chunks up to the end of the file, each
//
//     tag      4 bytes
//     length   int32, the payload's size
//     payload  length bytes
//     check    uint32, CRC-32 of the tag and the payload
//
// A reader skips chunks whose tag it does not know, so a later chunk is an
// addition here and older programs pass over it. Each chunk is judged on
// its own: one that fails its checks is left out and the file opens
// without what it held; past a damaged length the next chunk is found by
// the size the damaged one's kind must have, or else by the next sound
// chunk. Two sound chunks of one kind that differ are damage, both left
// out.
//
// "METR": station positions to the metre, an int32 count (the number of
// stations) and then each station's position in metres, in list order. It
// is written only when some station lies off a whole kilometre, and it
// counts only where every position rounds (halves to even) to the whole
// kilometre of its station record.
//
// "KOLE": the track layout, written only when something differs from the
// defaults (model/Tracks.h): the minimum headway in minutes (int32, 0..60),
// the line's main tracks (byte, 1 or 2), an int32 count (the number of
// stations) and then for each station in list order the main tracks of the
// section above it (byte: 0 the line's, 1, 2, 3 for three and more) and
// its own tracks (byte: 0..99, 255 its kind's). It counts whole or not at
// all.
//
// "INTV": the headway of sections that have their own, written only when
// some has: an int32 count (the number of stations) and then for each
// station in list order the minutes of the section above it (byte: 0..60,
// 255 the line's). It counts whole or not at all; a damaged one leaves
// every section the line's headway.
class DocumentExtension
{
public:
    static constexpr char magic[] = "VRSX";
    static constexpr char metresTag[] = "METR";
    static constexpr char tracksTag[] = "KOLE";
    static constexpr char headwayTag[] = "INTV";

    // The bytes that follow the profiles; empty when the file needs none.
    static QByteArray bytesOf(const Document &doc);

    // Takes what the bytes after the profiles hold into the document just
    // read (its station records already in place). Bytes that do not begin
    // with the magic are none of this program's and are left alone. Returns
    // the message for the user when a chunk was damaged, else empty: it
    // names everything lost (the positions, the track layout, then in
    // the default one, and damaged chunks of no known kind).
    static QString apply(QByteArrayView bytes, Document &doc);
};
