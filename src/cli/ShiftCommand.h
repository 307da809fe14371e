#pragma once

#include "editing/LabelMakers.h"

#include <QStringList>

#include <cstdio>

class Document;

// vlakorys-cli shift SOUBOR.vrs VLAK MINUTY [--from STANICE] VÝSTUP.vrs:
// the editor's Open, the train named VLAK (the first of that name) moved by
// MINUTY (whole or half minutes, negative earlier, less than a day), or
// with STANICE only its departure from there (the first time it comes
// there) and the rows after it, as the diagram's Shift-drag moves them: a
// train that passes STANICE waits there. Then Save as VÝSTUP.vrs. A move the train's rows do not allow (a
// departure before its arrival) is an error, not a shorter move.
class ShiftCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli shift SOUBOR.vrs VLAK MINUTY [--from STANICE] VÝSTUP.vrs";

    explicit ShiftCommand(LabelMakers labels = LabelMakers::standard()) : m_labels(std::move(labels)) {}

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

    // MINUTY in half-minutes ("10", "-2,5", "0.5"); false for anything else.
    static bool parseMinutes(const QString &text, int &halfMinutes);
    // The move asked for, on the document; empty when done, else the
    // message.
    static QString apply(Document &doc, const QString &train, int halfMinutes, const QString &fromStation);

private:
    LabelMakers m_labels;
};
