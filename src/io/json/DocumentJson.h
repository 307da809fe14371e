#pragma once

#include <QByteArray>
#include <QString>

#include <nlohmann/json.hpp>

class Document;

// The JSON form of a document, printed by "vlakorys-cli dump" and read by
// "vlakorys-cli build" (docs/DOCUMENT-JSON.md describes it). Keys keep the
// order of that description; lists keep the document's own orders; texts
// are UTF-8; times are day fractions in the shortest form that reads back
// to the same number.
class DocumentJson
{
public:
    using Json = nlohmann::ordered_json;

    static Json toJson(const Document &doc);

    // The JSON text as dump prints it: containers of plain values on one
    // line, everything else one item a line, ending with a newline.
    static QByteArray toText(const Document &doc);
    static QByteArray format(const Json &json);
    // A value as format() lays it out inside an array (two spaces in), with
    // no line end: the elements of an array written one by one.
    static QByteArray formatElement(const Json &json);

    // Fills an empty document from JSON: the document to save so that the
    // file, once opened, is the document the JSON shows (dump prints a
    // document as opened). Opening reverses the train labels of a file, so
    // they are held here from the last listed to the first; every other
    // list keeps its order. Missing keys keep the values of an empty
    // document. Returns an empty text on success, otherwise one line naming
    // the field and what is wrong with it.
    static QString fromJson(const Json &json, Document &doc);
    static QString fromText(const QByteArray &text, Document &doc);
};
