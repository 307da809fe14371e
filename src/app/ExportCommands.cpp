#include "ExportCommands.h"

#include "io/BitmapFile.h"
#include "render/Renderer.h"

namespace ExportCommands {

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
    if (BitmapFile::write(renderer.diagramBitmap(), *path))
        return true;
    prompter.error(bitmapWriteError);
    return false;
}

} // namespace ExportCommands
