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
// A station record of the file lay beyond the two million kilometres a
// position can hold (only damage puts it there).
inline const QString positionsHeld =
    QStringLiteral("Kilometr některé stanice v souboru je mimo rozsah, stanice je na nejbližším možném.");
// The text import's own wording.
inline const QString cannotOpenText = QStringLiteral("Chyba otevírání souboru.");

} // namespace FileMessages
