#pragma once

class Document;
class QIODevice;

// Writes the document as a version 1.2 .vrs file: the header, then stations,
// trains with their rows, station kinds, the settings block, the train
// labels from the head of the list to its tail (with their images when the
// document's saveLabelImages is set) and the travel-time profiles. Every
// count is reserved first and patched once its records are written.
class DocumentWriter
{
public:
    // False when any write to the device failed.
    static bool write(const Document &doc, QIODevice &device);
};
