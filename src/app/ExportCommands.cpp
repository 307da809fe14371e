#include "ExportCommands.h"

#include "io/BitmapFile.h"
#include "io/FileMessages.h"
#include "io/PictureFile.h"
#include "model/Document.h"
#include "render/DiagramWindow.h"
#include "render/Renderer.h"
#include "render/SheetLayout.h"
#include "render/SheetPainter.h"
#include "render/SheetTiles.h"
#include "render/VectorLabels.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace ExportCommands {

namespace {

constexpr PictureFile::Format formats[] = {PictureFile::Format::Pdf, PictureFile::Format::Svg, PictureFile::Format::Png,
                                           PictureFile::Format::Bmp};

// The hourglass while a long drawing runs, taken away on every path.
struct WaitCursor
{
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

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
                       ? tooLargeForImage(dpi)
                       : FileMessages::naming(pictureWriteError, path, written.cause));
    return false;
}

std::optional<std::pair<QString, PictureFile::Format>> askPicture(Prompter &prompter, QString &fileName)
{
    const std::optional<Prompter::SavedFile> saved = prompter.saveFileAs(pictureSaveDialog(fileName));
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
        prompter.error(unknownPictureSuffix(saved->path));
        return std::nullopt;
    }
    return std::make_pair(saved->path, *typed);
}

} // namespace

QString tooLargeForImage(int dpi)
{
    return QStringLiteral("Vlakorys je pro obrázek s rozlišením %1 DPI příliš velký. Zvolte menší rozlišení nebo "
                          "měřítko, nebo formát PDF či SVG.")
        .arg(dpi);
}

QString unknownPictureSuffix(const QString &path)
{
    return QStringLiteral("Neznámá přípona souboru „%1“. Obrázek vlakorysu lze uložit jako PDF (.pdf), SVG (.svg), "
                          "PNG (.png) nebo bitmapu (.bmp).")
        .arg(QFileInfo(path).fileName());
}

Prompter::FileDialog bitmapSaveDialog(const QString &fileName)
{
    Prompter::FileDialog d;
    d.defaultSuffix = QStringLiteral("bmp");
    d.initialFileName = fileName;
    d.promptOverwrite = true;
    return d;
}

bool exportBitmap(Prompter &prompter, Renderer &renderer, DiagramWindow &window, QString &fileName)
{
    const std::optional<QString> path = prompter.saveFileName(bitmapSaveDialog(fileName));
    if (!path)
        return false;
    fileName = *path;
    renderer.render(window);
    const SafeFile::Result written = BitmapFile::write(renderer.diagramBitmap(), *path);
    if (written)
        return true;
    prompter.error(FileMessages::naming(bitmapWriteError, *path, written.cause));
    return false;
}

Prompter::FileDialog pictureSaveDialog(const QString &fileName)
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

bool printSheet(Prompter &prompter, Document &doc, const PrintPlan::Choice &choice, const PrintSheet::Options &options,
                const QString &title)
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

bool exportSheet(Prompter &prompter, Document &doc, const PrintPlan::Choice &choice, const PrintSheet::Options &options,
                 int dpi, const QString &title, QString &fileName)
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

bool exportView(Prompter &prompter, Renderer &renderer, DiagramWindow &window, Document &doc, const DiagramView &view,
                const QString &title, QString &fileName)
{
    const auto chosen = askPicture(prompter, fileName);
    if (!chosen)
        return false;
    renderer.render(window);
    const QSize box = window.paintBoxSize();
    const SheetLayout layout =
        SheetLayout::view(doc, view, box.width(), box.height(), renderer.visibleBottom(), renderer.legendLines());
    SheetPainter::Recording recording;
    recording.list = &renderer.displayList();
    recording.numbers = renderer.stationColumn().numbers();
    recording.columnAxisBottom = Geometry::fullHeight(doc.settings.zoom, doc.maxMetres);
    recording.labels = vectorLabels(doc, doc.settings, view.scale, window.isChecked(DiagramWindow::CheckBox::Category));
    recording.timeLabels = window.isChecked(DiagramWindow::CheckBox::TimeLabels);
    PictureFile::Picture picture;
    picture.pixels = box;
    picture.image = renderer.surface();
    picture.paint = [&](QPainter &p) { SheetPainter::paint(p, layout, recording); };
    return writePicture(prompter, chosen->first, chosen->second, picture, title, 96);
}

} // namespace ExportCommands
