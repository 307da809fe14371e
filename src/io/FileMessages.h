#pragma once

#include <QString>

// The words the program uses when a file fails it. The editor shows them in
// message boxes; the command-line tool prints the same words.
namespace FileMessages {

inline const QString cannotCreate = QStringLiteral("Chyba při vytváření souboru.");
inline const QString cannotWrite = QStringLiteral("Chyba při ukládání do souboru.");
inline const QString cannotOpen = QStringLiteral("Chyba při otevírání souboru.");
inline const QString notDocument = QStringLiteral("Toto není soubor s vlakorysem.");
// Without a full stop, as users of the program have always seen it.
inline const QString cannotRead = QStringLiteral("Chyba při načítání souboru");
// The file opened, but the station positions to the metre kept behind its
// last section were damaged: the stations stand at whole kilometres.
inline const QString damagedExtension =
    QStringLiteral("Polohy stanic na metry jsou v souboru poškozené, stanice jsou na celých kilometrech.");
// The file opened, but its track layout (sections, station tracks, the
// headway) was damaged: the line has the default one.
inline const QString damagedTracks =
    QStringLiteral("Údaje o kolejích jsou v souboru poškozené, platí výchozí počty kolejí a interval.");
// The file opened, but a part kept behind its last section that the program
// cannot name (an unknown kind, or a kind whose name was damaged) was left
// out.
inline const QString damagedOther = QStringLiteral("Další údaje v souboru jsou poškozené a byly vynechány.");
// A station record of the file lay beyond the two million kilometres a
// position can hold (only damage puts it there).
inline const QString positionsHeld =
    QStringLiteral("Kilometr některé stanice v souboru je mimo rozsah, stanice je na nejbližším možném.");
// The text import's own wording.
inline const QString cannotOpenText = QStringLiteral("Chyba otevírání souboru.");

// A JSON form or a text timetable is read whole; no real one comes near
// this, and a device that never ends is refused once it passes it.
constexpr qint64 maxTextBytes = qint64(256) * 1024 * 1024;
inline const QString tooLarge = QStringLiteral("soubor je větší než 256 MiB");
// A document or a recovery copy is held in memory several times over (the
// file, the records, the undo history): one larger than this is refused.
constexpr qint64 maxDocumentBytes = maxTextBytes;
// What a command says when memory ran out under it.
inline const QString outOfMemory = QStringLiteral("nedostatek paměti");
inline const QString outOfMemoryCommand = QStringLiteral("Příkaz nelze dokončit: nedostatek paměti.");

// The cause of a failure for a system error number: the common ones in
// the program's words, any other in the system's own; empty for 0.
QString cause(int error);

// The cause of a file that could not be opened, from the error number right
// after the attempt and Qt's description (a directory Qt refuses itself,
// with no error number).
QString openCause(const QString &path, int error, const QString &described);

// The editor's form of a failure, naming the file and the cause:
// "Chyba při ukládání do souboru „/data/trať.vrs“: disk je plný." A message
// that does not end in "souboru" gets "do souboru" before the name ("Chyba
// při ukládání bitmapy vlakorysu do souboru „…“: …"); without a cause the
// name ends the sentence.
QString naming(const QString &message, const QString &path, const QString &cause);

// The command-line form, whose line names the file already: "Chyba při
// ukládání do souboru: disk je plný"; the message alone when there is no
// cause.
QString withCause(const QString &message, const QString &cause);

} // namespace FileMessages
