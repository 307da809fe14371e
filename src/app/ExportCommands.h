#pragma once

#include "dialogs/Prompter.h"
#include "editing/PrintPlan.h"
#include "editing/PrintSheet.h"

#include <QString>

class DiagramWindow;
class Document;
class Renderer;
struct DiagramView;

// Pictures of the diagram written to files or printed. "Tisk do bitmapy..."
// runs exportBitmap; "Tisk..." (TForm5) prints the sheet or writes it, and
// "Exportovat..." writes the sheet or the window's view.
namespace ExportCommands {

inline const QString bitmapWriteError = QStringLiteral("Chyba při ukládání bitmapy vlakorysu.");
inline const QString pictureWriteError = QStringLiteral("Chyba při ukládání obrázku vlakorysu.");
inline const QString printError = QStringLiteral("Chyba při tisku vlakorysu.");
inline const QString paperTooSmall = QStringLiteral("Papír tiskárny je pro tisk vlakorysu příliš malý.");
// A sheet whose image at the chosen resolution would be too large.
QString tooLargeForImage(int dpi);
// A picture name whose suffix names no format it can be written in.
QString unknownPictureSuffix(const QString &path);

// SaveDialog2: suffix "bmp", asks before overwriting, starts at the name it
// was last given.
Prompter::FileDialog bitmapSaveDialog(const QString &fileName);

// SaveDialog2, then a render exactly as for the screen, then DiagramBitmap
// (the window's client size, at the current zoom, ratio and scroll
// position) written as a 24-bit Windows bitmap. fileName is SaveDialog2's
// file name, kept from one export to the next. A file that cannot be
// written gives bitmapWriteError naming the file and the cause and leaves
// any previous file as it was; the document is never touched. True when
// the file was written.
bool exportBitmap(Prompter &prompter, Renderer &renderer, DiagramWindow &window, QString &fileName);

// The picture formats, in the order of pictureFilter. The suffix typed
// decides the format, whatever filter is chosen; a name typed without one
// takes the chosen filter's (the dialog adds its suffix). Any other suffix
// is refused with unknownPictureSuffix and nothing is written.
inline const QString pictureFilter = QStringLiteral(
    "Dokument PDF (*.pdf)|*.pdf|Obrázek SVG (*.svg)|*.svg|Obrázek PNG (*.png)|*.png|Bitmapa (*.bmp)|*.bmp");
Prompter::FileDialog pictureSaveDialog(const QString &fileName);

// The sheet of the print dialog's choice, on as many pages of the printer's
// paper as it needs (SheetTiles), through the print dialog; its "print to
// file" gives a PDF. title names the pages. True when it was printed.
bool printSheet(Prompter &prompter, Document &doc, const PrintPlan::Choice &choice, const PrintSheet::Options &options,
                const QString &title);

// The sheet written as PDF (one page of the sheet's size), SVG, or a PNG or
// bitmap at the resolution dpi, by the filter chosen in the save dialog.
// fileName is the dialog's file name, kept from one export to the next.
bool exportSheet(Prompter &prompter, Document &doc, const PrintPlan::Choice &choice, const PrintSheet::Options &options,
                 int dpi, const QString &title, QString &fileName);

// What the diagram surface shows, as the last render left it, written as
// PDF or SVG (the same drawing in vector form) or as PNG or bitmap (the
// surface's pixels).
bool exportView(Prompter &prompter, Renderer &renderer, DiagramWindow &window, Document &doc, const DiagramView &view,
                const QString &title, QString &fileName);

} // namespace ExportCommands
