#pragma once

#include "io/json/DocumentJson.h"

#include <QStringList>

#include <cstdio>

namespace TimetableDiff {
struct Result;
}

// vlakorys-cli diff A.vrs B.vrs [--json]: what changed from B to A, as the
// editor's "Rozdíly" lists it with A open and B compared: one train a line
// (name, "přidán", "zrušen" or "změněn", and where and how, separated by
// tabs), or a JSON object with the rows and the counts. Exit status 0 when
// the two are the same timetable, 3 when they differ, 1 on an error.
class DiffCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli diff A.vrs B.vrs [--json]";
    static constexpr int differ = 3;

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

    static DocumentJson::Json toJson(const TimetableDiff::Result &result);
};
