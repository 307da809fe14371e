#pragma once

#include "editing/LabelMakers.h"

#include <QStringList>

#include <cstdio>

// vlakorys-cli import-gtfs: one day of a GTFS feed (a folder or a zip) as a
// document. The routes are those named by --route, else every railway
// route of the feed. Without --into a new line is made between --from and
// --to, or between the two stations most of the day's trains run between,
// the stations where the feed places them; with --into the day's trains go
// into that document's stations. OUT.vrs is written only when every step
// succeeded.
class GtfsImportCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli import-gtfs [--into DOKUMENT.vrs] [--route ID]... "
                                         "[--from STANICE --to STANICE] --day RRRR-MM-DD FEED VÝSTUP.vrs";

    explicit GtfsImportCommand(LabelMakers labels = LabelMakers::standard()) : m_labels(std::move(labels)) {}

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

private:
    LabelMakers m_labels;
};
