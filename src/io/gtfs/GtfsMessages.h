#pragma once

#include <QString>

// The words the GTFS import uses for what it could not read: the feed that
// will not open, and the reasons in the summary of input left out (a
// DaySkipped names the table as its source).
namespace GtfsMessages {

inline QString notFeed(const QString &path)
{
    return QStringLiteral("„%1“ není složka ani archiv ZIP s jízdním řádem GTFS.").arg(path);
}
inline QString cannotReadArchive(const QString &path, const QString &detail)
{
    return QStringLiteral("Archiv „%1“ nelze přečíst: %2").arg(path, detail);
}
inline const QString cannotOpenTable = QStringLiteral("soubor nelze otevřít");
inline const QString compressionRatio = QStringLiteral("podezřele vysoký kompresní poměr (zip bomb?)");

// Whole tables.
inline const QString missingFile = QStringLiteral("soubor chybí");
inline const QString missingCalendar = QStringLiteral("chybí calendar.txt i calendar_dates.txt");
inline QString missingColumn(const QString &column)
{
    return QStringLiteral("chybí sloupec %1").arg(column);
}
inline QString tooLarge(qint64 limitBytes)
{
    const QString size = limitBytes >= (qint64{1} << 30) && limitBytes % (qint64{1} << 30) == 0
                             ? QStringLiteral("%1 GiB").arg(limitBytes >> 30)
                         : limitBytes >= (qint64{1} << 20) ? QStringLiteral("%1 MiB").arg(limitBytes >> 20)
                                                           : QStringLiteral("%1 B").arg(limitBytes);
    return QStringLiteral("soubor je větší než %1, nečte se").arg(size);
}
inline QString tooManyRows(size_t limit)
{
    return QStringLiteral("zvolený den má víc než %1 řádků, nečte se").arg(limit);
}
inline QString readError(const QString &detail)
{
    return QStringLiteral("chyba při čtení: %1").arg(detail);
}

// Rows; the tally adds how many and where ("chybný čas: 3 řádky, první je
// řádek 17").
inline const QString badRow = QStringLiteral("chybný řádek");
inline const QString badTime = QStringLiteral("chybný čas");
inline const QString badDate = QStringLiteral("chybné datum");
inline const QString badDistance = QStringLiteral("chybná vzdálenost");
inline const QString badCoordinates = QStringLiteral("chybné souřadnice");
inline const QString duplicateId = QStringLiteral("opakovaný identifikátor");
inline const QString unknownStop = QStringLiteral("neznámá zastávka");
inline const QString unknownTrip = QStringLiteral("neznámý spoj");
inline const QString unknownRoute = QStringLiteral("neznámá linka");
inline const QString unknownParent = QStringLiteral("neznámá nadřazená stanice");
inline const QString untimedEnd = QStringLiteral("zastávka bez času na začátku nebo konci spoje");

// Trips and stations, counted by identifier or name.
inline const QString duplicateSequence = QStringLiteral("opakované pořadí zastávky ve spoji");
inline const QString tooFewCalls = QStringLiteral("spoj s méně než dvěma zastávkami");
inline const QString timeBackwards = QStringLiteral("spoj s časem dřívějším než na předchozí zastávce");
inline const QString unplacedStation = QStringLiteral("stanice bez polohy na trati");

// The choice of routes.
inline QString routeNotInFeed(const QString &id)
{
    return QStringLiteral("linka „%1“ v jízdním řádu není").arg(id);
}
inline const QString noRailRoute = QStringLiteral("žádná železniční linka; vyberte linky");

// The feed had neither distances nor shapes to place the stations by.
inline const QString straightLinePositions =
    QStringLiteral("Jízdní řád nemá vzdálenosti ani trasy: stanice jsou umístěny podle přímých vzdáleností mezi "
                   "nimi.");

} // namespace GtfsMessages
