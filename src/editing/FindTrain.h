#pragma once

#include <QByteArrayView>
#include <QString>

class Document;
class Diagram;
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

// A confirmed search: when a train matches, the diagram draws it green
// (Diagram::highlight) and true is returned. With no match nothing changes
// yet: the caller shows the not-found message, then switches the highlight
// off (Diagram::highlightOff), so a green line goes after the message.
bool run(Diagram &diagram, const QString &typed);

} // namespace FindTrain
