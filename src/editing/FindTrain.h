#pragma once

#include "render/RenderRequest.h"

#include <QByteArrayView>
#include <QString>

class Document;
class Renderer;
struct Train;

// "Najdi vlak...": the first train, in list order, whose name holds the
// typed number starting at a digit, compared in upper case (the Czech
// letters of code page 1250 included). The category part of a name is thus
// never compared: 1234 finds Os 1234 and Os 12345, 23 finds Os 1234, and
// "os 1234" finds nothing. An empty text finds the first name with a digit.
namespace FindTrain {

// Whether a name matches a text already upper-cased (code page 1250 bytes).
bool matches(QByteArrayView name, QByteArrayView upperText);

// The first matching train, or null. typed is the text as the user typed it.
const Train *first(const Document &doc, const QString &typed);

// "Vlak <typed> nebyl nalezen".
QString notFoundMessage(const QString &typed);

// What a confirmed search found, and the render that shows it.
struct Outcome
{
    bool found = false;
    RenderRequest render;
};

// A confirmed search: the highlight goes off, and when a train matches it
// comes on for that train's name, to be shown by a rebuild that keeps the
// minute texts and images no train label; with no match the same rebuild
// is asked for when a train is drawn green, so the render takes it away.
// The caller shows the not-found message when nothing was found, and
// renders either way.
Outcome run(Renderer &renderer, const Document &doc, const QString &typed);

} // namespace FindTrain
