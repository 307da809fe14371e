#pragma once

#include "io/DocumentFile.h"

#include <QString>

#include <functional>

class Document;
class LabelMakers;

// Opening a document file, the one way for the editor's Open and for every
// command of vlakorys-cli that reads one: the file read (DocumentFile), then
// the document titled and finished (DocumentReader::finishLoading), its
// train labels made when it has none, and its minute labels made.
namespace DocumentOpen {

// The file read into the document.
DocumentFile::LoadOutcome read(Document &doc, const QString &path);

// The label steps of an open: the diagram's in the editor (at its scale,
// with its progress window), LabelMakers at the opening scale elsewhere.
struct Labels
{
    std::function<void()> train;
    std::function<void()> time;
};

// The steps after a good read. A label step may throw std::exception (a row
// that names no station): the document stays as far as it got.
void finish(Document &doc, const Labels &labels);

// Read and finished with no window: what failed (the read's message with
// its cause, or a step's own words), or empty when the document is open;
// the read's warning goes to `warning`.
QString open(Document &doc, const QString &path, const LabelMakers &labels, QString *warning = nullptr);

} // namespace DocumentOpen
