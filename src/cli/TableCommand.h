#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

// vlakorys-cli table SOUBOR.vrs [--direction 1|2] VÝSTUP.pdf|csv|html: the
// timetable tables of a document as the editor's "Tabulka jízdního řádu"
// prints and exports them, both directions or the one chosen. A file that
// is no document or cannot be read, and a suffix naming no format, end with
// one line on standard error, exit status 1 and no output file.
class TableCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli table SOUBOR.vrs [--direction 1|2] VÝSTUP.pdf|csv|html";

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;

    static inline const QString unknownSuffix = QStringLiteral("název tabulky musí končit .pdf, .csv nebo .html");
};
