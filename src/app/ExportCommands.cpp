#include "ExportCommands.h"

#include "MainMenu.h"
#include "Session.h"
#include "WaitCursor.h"

#include "dialogs/ExportDialog.h"
#include "dialogs/PrintToBitmapDialog.h"

#include "editing/Diagram.h"
#include "io/BitmapFile.h"
#include "io/FileMessages.h"
#include "io/PictureFile.h"
#include "model/Document.h"
#include "editing/ViewPicture.h"
#include "render/DiagramWindow.h"
#include "render/Renderer.h"
#include "render/SheetLayout.h"
#include "render/SheetPainter.h"
#include "render/SheetTiles.h"
#include "render/VectorLabels.h"

#include <QAction>
#include <QFileInfo>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

constexpr PictureFile::Format formats[] = {PictureFile::Format::Pdf, PictureFile::Format::Svg, PictureFile::Format::Png,
                                           PictureFile::Format::Bmp};

bool writePicture(Prompter &prompter, const QString &path, PictureFile::Format format,
                  const PictureFile::Picture &picture, const QString &title, int dpi)
{
    PictureFile::Outcome written;
    {
        WaitCursor wait;
        written = PictureFile::write(path, format, picture, title, dpi);
    }
    if (written.status == PictureFile::Status::Ok)
        return true;
    prompter.error(written.status == PictureFile::Status::TooLarge
                       ? ExportCommands::tooLargeForImage(dpi)
                       : FileMessages::naming(ExportCommands::pictureWriteError, path, written.cause));
    return false;
}

std::optional<std::pair<QString, PictureFile::Format>> askPicture(Prompter &prompter, QString &fileName)
{
    const std::optional<Prompter::SavedFile> saved = prompter.saveFileAs(ExportCommands::pictureSaveDialog(fileName));
    if (!saved)
        return std::nullopt;
    fileName = saved->path;
    if (QFileInfo(saved->path).suffix().isEmpty()) {
        const int index = std::clamp(saved->filterIndex, 0, static_cast<int>(std::size(formats)) - 1);
        return std::make_pair(saved->path, formats[index]);
    }
    // A file named .svg is an SVG whichever filter was left chosen.
    const std::optional<PictureFile::Format> typed = PictureFile::formatOf(saved->path);
    if (!typed) {
        prompter.error(ExportCommands::unknownPictureSuffix(saved->path));
        return std::nullopt;
    }
    return std::make_pair(saved->path, *typed);
}

} // namespace

ExportCommands::ExportCommands(Session &session, Diagram &diagram, MainMenu &menu, PrintToBitmapDialog &printDialog,
                               ExportDialog &exportDialog, QObject *parent)
    : QObject(parent), m_session(session), m_diagram(diagram), m_menu(menu), m_printDialog(printDialog),
      m_exportDialog(exportDialog)
{
    connect(menu.Tiskdobitmapy1, &QAction::triggered, this, &ExportCommands::Tiskdobitmapy1Click);
    connect(menu.Tisk1, &QAction::triggered, this, &ExportCommands::Tisk1Click);
    connect(menu.Exportovat1, &QAction::triggered, this, &ExportCommands::Exportovat1Click);
}

void ExportCommands::Tiskdobitmapy1Click()
{
    // The item is hidden; it works only while the renderer enables it.
    if (m_menu.printAndExportEnabled())
        exportBitmap(m_session.prompter, m_diagram, m_bitmapFileName);
}

PrintSheet::Options ExportCommands::sheetOptions() const
{
    const DocumentSettings &s = m_session.document.settings;
    return {s.showTimeLabels != 0, s.showCategory != 0,
            m_diagram.conflictsShown() ? &m_diagram.conflicts() : nullptr, m_diagram.comparedOverlay()};
}

QString ExportCommands::documentTitle() const
{
    const QString name = QFileInfo(m_session.fileName).completeBaseName();
    return name.isEmpty() ? QStringLiteral("Vlakorys") : name;
}

void ExportCommands::Tisk1Click()
{
    if (!m_menu.printAndExportEnabled())
        return;
    m_printDialog.exec();
    Document &doc = m_session.document;
    switch (m_printDialog.action()) {
    case PrintToBitmapDialog::Action::Print:
        printSheet(m_session.prompter, doc, m_printDialog.choice(), sheetOptions(), documentTitle());
        break;
    case PrintToBitmapDialog::Action::Export:
        exportSheet(m_session.prompter, doc, m_printDialog.choice(), sheetOptions(), m_printDialog.resolution(),
                    documentTitle(), m_pictureFileName);
        break;
    case PrintToBitmapDialog::Action::None:
        break;
    }
}

void ExportCommands::Exportovat1Click()
{
    if (!m_menu.printAndExportEnabled())
        return;
    Document &doc = m_session.document;
    const PrintPlan::Choice choice = m_printDialog.choice();
    m_exportDialog.setSheetSummary(PrintPlan(doc).summary(choice));
    if (m_exportDialog.exec() != QDialog::Accepted)
        return;
    if (m_exportDialog.viewChosen())
        exportView(m_session.prompter, m_diagram, documentTitle(), m_pictureFileName);
    else
        exportSheet(m_session.prompter, doc, choice, sheetOptions(), m_printDialog.resolution(), documentTitle(),
                    m_pictureFileName);
}

QString ExportCommands::tooLargeForImage(int dpi)
{
    return QStringLiteral("Vlakorys je pro obrázek s rozlišením %1 DPI příliš velký. Zvolte menší rozlišení nebo "
                          "měřítko, nebo formát PDF či SVG.")
        .arg(dpi);
}

QString ExportCommands::unknownPictureSuffix(const QString &path)
{
    return QStringLiteral("Neznámá přípona souboru „%1“. Obrázek vlakorysu lze uložit jako PDF (.pdf), SVG (.svg), "
                          "PNG (.png) nebo bitmapu (.bmp).")
        .arg(QFileInfo(path).fileName());
}

Prompter::FileDialog ExportCommands::bitmapSaveDialog(const QString &fileName)
{
    Prompter::FileDialog d;
    d.defaultSuffix = QStringLiteral("bmp");
    d.initialFileName = fileName;
    d.promptOverwrite = true;
    return d;
}

bool ExportCommands::exportBitmap(Prompter &prompter, Diagram &diagram, QString &fileName)
{
    const std::optional<QString> path = prompter.saveFileName(bitmapSaveDialog(fileName));
    if (!path)
        return false;
    fileName = *path;
    diagram.viewChanged();
    const SafeFile::Result written = BitmapFile::write(diagram.renderer().diagramBitmap(), *path);
    if (written)
        return true;
    prompter.error(FileMessages::naming(bitmapWriteError, *path, written.cause));
    return false;
}

Prompter::FileDialog ExportCommands::pictureSaveDialog(const QString &fileName)
{
    Prompter::FileDialog d;
    d.title = QStringLiteral("Exportovat");
    d.filter = pictureFilter;
    d.defaultSuffix = QStringLiteral("pdf");
    d.initialFileName = fileName;
    d.promptOverwrite = true;
    // The dialog opens with the format of the name it was last given.
    if (const std::optional<PictureFile::Format> f = PictureFile::formatOf(fileName))
        d.filterIndex = static_cast<int>(std::find(std::begin(formats), std::end(formats), *f) - std::begin(formats));
    return d;
}

bool ExportCommands::printSheet(Prompter &prompter, Document &doc, const PrintPlan::Choice &choice,
                                const PrintSheet::Options &options, const QString &title)
{
    bool ran = false;
    bool noRoom = false;
    const bool printed = prompter.print([&](QPagedPaintDevice &printer) {
        ran = true;
        WaitCursor wait;
        const PrintSheet sheet(doc, choice, options);
        const QSizeF mm = QSizeF(sheet.pixels()) * (3.0 / 13.0);
        const QRectF room = printer.pageLayout().paintRect(QPageLayout::Millimeter);
        if (SheetTiles::plan(mm, QSizeF(room.width(), room.height() - SheetTiles::headerMm)).tiles.empty()) {
            noRoom = true;
            return false;
        }
        QPainter painter;
        if (!painter.begin(&printer))
            return false;
        painter.setRenderHint(QPainter::Antialiasing);
        const bool done = SheetTiles::print(printer, painter, mm, title, [&sheet](QPainter &p) {
            p.scale(3.0 / 13.0, 3.0 / 13.0);
            sheet.paint(p);
        });
        return painter.end() && done;
    });
    if (printed)
        return true;
    if (ran)
        prompter.error(noRoom ? paperTooSmall : printError);
    return false;
}

bool ExportCommands::exportSheet(Prompter &prompter, Document &doc, const PrintPlan::Choice &choice,
                                 const PrintSheet::Options &options, int dpi, const QString &title, QString &fileName)
{
    const auto chosen = askPicture(prompter, fileName);
    if (!chosen)
        return false;
    std::unique_ptr<PrintSheet> sheet;
    {
        WaitCursor wait;
        sheet = std::make_unique<PrintSheet>(doc, choice, options);
    }
    PictureFile::Picture picture;
    picture.pixels = sheet->pixels();
    picture.paint = [&sheet](QPainter &p) { sheet->paint(p); };
    return writePicture(prompter, chosen->first, chosen->second, picture, title, dpi);
}

bool ExportCommands::exportView(Prompter &prompter, Diagram &diagram, const QString &title, QString &fileName)
{
    const auto chosen = askPicture(prompter, fileName);
    if (!chosen)
        return false;
    const ViewPicture view(diagram);
    return writePicture(prompter, chosen->first, chosen->second, view.picture(), title, 96);
}
