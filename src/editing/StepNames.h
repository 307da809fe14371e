#pragma once

#include "LabelDrag.h"

#include <QString>

// The names of the undo steps as "Zpět: …" and "Znovu: …" show them: what
// the command did, as a noun.
namespace StepNames {

// A step whose document cannot be made again (the history is dropped).
inline const QString restoreFailed = QStringLiteral("Změnu nelze vrátit.");

inline const QString undo = QStringLiteral("Zpět");
inline const QString redo = QStringLiteral("Znovu");

inline const QString stationList = QStringLiteral("úprava seznamu stanic");
inline const QString trainList = QStringLiteral("úprava seznamu vlaků");
inline const QString profiles = QStringLiteral("úprava jízdních dob");
inline const QString insertTrain = QStringLiteral("vložení vlaku");
inline const QString import = QStringLiteral("import jízdního řádu");
inline const QString settings = QStringLiteral("změna nastavení");

inline QString labelDrop(LabelDrag::Drop drop)
{
    switch (drop) {
    case LabelDrag::Drop::Turn:
        return QStringLiteral("otočení popisku");
    case LabelDrag::Drop::Copy:
        return QStringLiteral("kopie popisku");
    case LabelDrag::Drop::Delete:
        return QStringLiteral("odstranění popisku");
    case LabelDrag::Drop::Move:
    case LabelDrag::Drop::None:
        break;
    }
    return QStringLiteral("přesun popisku");
}

// "Zpět: přesun popisku", or "Zpět" with nothing to take back.
inline QString caption(const QString &action, const QString &step)
{
    return step.isEmpty() ? action : action + QStringLiteral(": ") + step;
}

} // namespace StepNames
