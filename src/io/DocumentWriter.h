#pragma once

class Document;
class QIODevice;

// What a write may leave out or add beyond what Save writes.
struct DocumentWriterOptions
{
    // Label images as the document's saveLabelImages says; false writes none.
    bool labelImages = true;
    // Every profile of both directions, the count byte 99, so that profiles
    // beyond the counts in use are kept too (the counts travel elsewhere).
    bool everyProfile = false;
};

// Writes the document as a version 1.2 .vrs file: the header, then stations,
// trains with their rows, station kinds, the settings block, the train
// labels from the head of the list to its tail (with their images when the
// document's saveLabelImages is set) and the travel-time profiles; behind
// them, only when a station lies off a whole kilometre or the track layout
// differs from the default one, the extension with the positions to the
// metre and the tracks (DocumentExtension). Every count is reserved
// first and patched once its records are written.
class DocumentWriter
{
public:
    // False when any write to the device failed.
    static bool write(const Document &doc, QIODevice &device);
    static bool write(const Document &doc, QIODevice &device, const DocumentWriterOptions &options);
};
