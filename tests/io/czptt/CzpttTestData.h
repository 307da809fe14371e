#pragma once

#include "TestPaths.h"
#include "VsetinLine.h"

#include "import/ImportSession.h"
#include "io/czptt/CzpttTimetable.h"
#include "io/czptt/Sr70Codebook.h"

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable failures: texts and dates as they are.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QDate &d, std::ostream *os)
{
    *os << d.toString(Qt::ISODate).toStdString();
}

// The real CZPTT messages and the SR70 codebook copied into tests/data.
namespace CzpttTestData {

inline QString dir(const QString &sub)
{
    return TestPaths::sourceDir() + QStringLiteral("/tests/data/") + sub;
}

// The stations of the line from Vsetín to Velké Karlovice in line order.
inline const QStringList &lineFromVsetin = VsetinLine::stations;

inline QString lineDir()
{
    return dir(QStringLiteral("czptt/vsetin-velke-karlovice"));
}

inline QString linePath(const char *core)
{
    return lineDir() + QStringLiteral("/PA_0054_KT----%1_00_2026.xml").arg(QLatin1StringView(core));
}

inline QString edgePath(const char *file)
{
    return dir(QStringLiteral("czptt/edge-cases/")) + QLatin1StringView(file);
}

inline QString sr70Path()
{
    return dir(QStringLiteral("sr70/SR70-2026-08-15.csv"));
}

// The real day of 4 March 2026 as the import makes it: a new line from
// Vsetín to Velké Karlovice placed and kinded by the codebook, its tracks
// inferred; the import's error, empty when made, and its notes.
inline QString importVsetinDay(Document &doc, QStringList *notes = nullptr)
{
    auto book = std::make_shared<Sr70Codebook>();
    if (!book->readFile(sr70Path()).ok)
        return QStringLiteral("no codebook");
    const ImportSession::Outcome made = ImportSession::importCzptt(
        {lineDir()}, book, {QDate(2026, 3, 4), false, QStringLiteral("Vsetín"), QStringLiteral("Velké Karlovice")},
        doc);
    if (notes)
        *notes = made.result.notes;
    return made.error;
}

inline QByteArray bytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A message's text with one piece replaced, for damaged variants.
inline QByteArray replaced(QByteArray xml, const QByteArray &from, const QByteArray &to)
{
    return xml.replace(from, to);
}

} // namespace CzpttTestData
