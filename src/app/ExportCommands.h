#pragma once

#include "dialogs/Prompter.h"

#include <QString>

class DiagramWindow;
class Renderer;

// Pictures of the diagram written to files. "Tisk do bitmapy..." runs
// exportBitmap; printing and other picture formats are to reuse it.
namespace ExportCommands {

inline const QString bitmapWriteError = QStringLiteral("Chyba při ukládání bitmapy vlakorysu.");

// SaveDialog2: suffix "bmp", asks before overwriting, starts at the name it
// was last given.
Prompter::FileDialog bitmapSaveDialog(const QString &fileName);

// SaveDialog2, then a render exactly as for the screen, then DiagramBitmap
// (the window's client size, at the current zoom, ratio and scroll
// position) written as a 24-bit Windows bitmap. fileName is SaveDialog2's
// file name, kept from one export to the next. A file that cannot be
// written gives bitmapWriteError and leaves any previous file as it was;
// the document is never touched. True when the file was written.
bool exportBitmap(Prompter &prompter, Renderer &renderer, DiagramWindow &window, QString &fileName);

} // namespace ExportCommands
