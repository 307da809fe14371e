#pragma once

#include "editing/LabelMakers.h"

#include <QStringList>

#include <cstdio>

// vlakorys-cli import-czptt: one day of the Czech national timetable (CZPTT
// messages in files, folders and zips) as a document. Without --into a new
// line is made between --from and --to, its kilometres from the SR70
// codebook given by --sr70 or, without one, spaced by running times; with
// --into the day's trains go into that document's stations. OUT.vrs is
// written only when every step succeeded.
class CzpttImportCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli import-czptt [--into DOKUMENT.vrs] [--sr70 ČÍSELNÍK.csv] "
                                         "[--from STANICE --to STANICE] --day RRRR-MM-DD ZDROJ... VÝSTUP.vrs";

    explicit CzpttImportCommand(LabelMakers labels = LabelMakers::standard()) : m_labels(std::move(labels)) {}

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

private:
    LabelMakers m_labels;
};
