#pragma once

#include "io/json/DocumentJson.h"

#include <QStringList>

#include <cstdio>
#include <vector>

class Document;
struct Conflict;

// vlakorys-cli conflicts SOUBOR.vrs [--json]: where the document's trains
// get in each other's way, one conflict a line in the editor's words (time,
// place, the two trains, kind, severity, separated by tabs), or a JSON
// array. Exit status 0 when there is none, 3 when there are some (warnings
// count), 1 on an error. Past ConflictCheck::maxKept conflicts the text
// ends "… a dalších N" and the array {"more": N}. A file whose track layout was damaged is checked
// with the default one, and its message goes to standard error first.
class ConflictsCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli conflicts SOUBOR.vrs [--json]";
    static constexpr int someFound = 3;

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

    // The JSON form of a conflict (docs/DOCUMENT-JSON.md).
    static DocumentJson::Json toJson(const Document &doc, const Conflict &conflict);
};
