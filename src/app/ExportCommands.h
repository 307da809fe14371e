#pragma once

#include "dialogs/Prompter.h"
#include "editing/PrintPlan.h"
#include "editing/PrintSheet.h"

#include <QObject>
#include <QString>

class Diagram;
class Document;
class ExportDialog;
class MainMenu;
class PrintToBitmapDialog;
struct Session;

// Pictures of the diagram written to files or printed: the menu commands
// "Tisk do bitmapy..." (exportBitmap), "Tisk..." (the print dialog TForm5:
// the sheet printed or written) and "Exportovat..." (TForm14: the sheet or
// the window's view written). The object connects those three menu items;
// the static functions do the work and are what the tests call.
class ExportCommands : public QObject
{
    Q_OBJECT

public:
    ExportCommands(Session &session, Diagram &diagram, MainMenu &menu, PrintToBitmapDialog &printDialog,
                   ExportDialog &exportDialog, QObject *parent);

    void Tiskdobitmapy1Click(); // bitmap export
    void Tisk1Click();          // "Tisk...": the print dialog TForm5
    void Exportovat1Click();    // "Exportovat...": the sheet or the view to a file

    static inline const QString bitmapWriteError = QStringLiteral("Chyba při ukládání bitmapy vlakorysu.");
    static inline const QString pictureWriteError = QStringLiteral("Chyba při ukládání obrázku vlakorysu.");
    static inline const QString printError = QStringLiteral("Chyba při tisku vlakorysu.");
    static inline const QString paperTooSmall = QStringLiteral("Papír tiskárny je pro tisk vlakorysu příliš malý.");
    // A sheet whose image at the chosen resolution would be too large.
    static QString tooLargeForImage(int dpi);
    // A picture name whose suffix names no format it can be written in.
    static QString unknownPictureSuffix(const QString &path);

    // SaveDialog2: suffix "bmp", asks before overwriting, starts at the name it
    // was last given.
    static Prompter::FileDialog bitmapSaveDialog(const QString &fileName);

    // SaveDialog2, then a render exactly as for the screen, then DiagramBitmap
    // (the window's client size, at the current zoom, ratio and scroll
    // position) written as a 24-bit Windows bitmap. fileName is SaveDialog2's
    // file name, kept from one export to the next. A file that cannot be
    // written gives bitmapWriteError naming the file and the cause and leaves
    // any previous file as it was; the document is never touched. True when
    // the file was written.
    static bool exportBitmap(Prompter &prompter, Diagram &diagram, QString &fileName);

    // The picture formats, in the order of pictureFilter. The suffix typed
    // decides the format, whatever filter is chosen; a name typed without one
    // takes the chosen filter's (the dialog adds its suffix). Any other suffix
    // is refused with unknownPictureSuffix and nothing is written.
    static inline const QString pictureFilter = QStringLiteral(
        "Dokument PDF (*.pdf)|*.pdf|Obrázek SVG (*.svg)|*.svg|Obrázek PNG (*.png)|*.png|Bitmapa (*.bmp)|*.bmp");
    static Prompter::FileDialog pictureSaveDialog(const QString &fileName);

    // The sheet of the print dialog's choice, on as many pages of the printer's
    // paper as it needs (SheetTiles), through the print dialog; its "print to
    // file" gives a PDF. title names the pages. True when it was printed.
    static bool printSheet(Prompter &prompter, Document &doc, const PrintPlan::Choice &choice,
                           const PrintSheet::Options &options, const QString &title);

    // The sheet written as PDF (one page of the sheet's size), SVG, or a PNG or
    // bitmap at the resolution dpi, by the filter chosen in the save dialog.
    // fileName is the dialog's file name, kept from one export to the next.
    static bool exportSheet(Prompter &prompter, Document &doc, const PrintPlan::Choice &choice,
                            const PrintSheet::Options &options, int dpi, const QString &title, QString &fileName);

    // What the diagram surface shows, as the last render left it, written as
    // PDF or SVG (the same drawing in vector form) or as PNG or bitmap (the
    // surface's pixels).
    static bool exportView(Prompter &prompter, Diagram &diagram, const QString &title, QString &fileName);

private:
    // What the sheet shows besides the print dialog's choice: the tool
    // panel's "Časové popisky" and "Zobr. druh vlaku".
    PrintSheet::Options sheetOptions() const;
    // The name the sheet's pages and files carry: the document's.
    QString documentTitle() const;

    Session &m_session;
    Diagram &m_diagram;
    MainMenu &m_menu;
    PrintToBitmapDialog &m_printDialog;
    ExportDialog &m_exportDialog;
    QString m_bitmapFileName;  // SaveDialog2's file name
    QString m_pictureFileName; // the export dialog's file name
};
