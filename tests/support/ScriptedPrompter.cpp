#include "ScriptedPrompter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace {

// The next scripted answer, or `none` when the script has run out. (Swapped
// out rather than moved: GCC 12 takes a moved std::optional<QString> for
// uninitialised.)
template <typename T> T next(std::deque<T> &answers, T none)
{
    if (!answers.empty()) {
        std::swap(none, answers.front());
        answers.pop_front();
    }
    return none;
}

} // namespace

bool ScriptedPrompter::askYesNo(const QString &text)
{
    log << QStringLiteral("question: ") + text;
    if (yesNoAnswers.empty())
        log << QStringLiteral("unscripted question");
    return next(yesNoAnswers, false);
}

Prompter::SaveChoice ScriptedPrompter::askSaveChanges(const QString &text)
{
    log << QStringLiteral("save question: ") + text;
    if (saveChoices.empty())
        log << QStringLiteral("unscripted question");
    return next(saveChoices, SaveChoice::Cancel);
}

void ScriptedPrompter::information(const QString &text)
{
    log << QStringLiteral("information: ") + text;
}

void ScriptedPrompter::error(const QString &text)
{
    log << QStringLiteral("error: ") + text;
}

std::optional<QString> ScriptedPrompter::openFileName(const FileDialog &dialog)
{
    log << QStringLiteral("open: ") + dialog.filter;
    lastFileDialog = dialog;
    return next(fileAnswers, std::optional<QString>());
}

std::optional<QStringList> ScriptedPrompter::openFileNames(const FileDialog &dialog)
{
    log << QStringLiteral("open files: ") + dialog.filter;
    lastFileDialog = dialog;
    return next(filesAnswers, std::optional<QStringList>());
}

std::optional<QString> ScriptedPrompter::existingFolder(const QString &title, const QString &)
{
    log << QStringLiteral("folder: ") + title;
    return next(folderAnswers, std::optional<QString>());
}

std::optional<QString> ScriptedPrompter::saveFileName(const FileDialog &dialog)
{
    log << QStringLiteral("save: ") + dialog.filter;
    lastFileDialog = dialog;
    return next(fileAnswers, std::optional<QString>());
}

std::optional<Prompter::SavedFile> ScriptedPrompter::saveFileAs(const FileDialog &dialog)
{
    const std::optional<QString> path = saveFileName(dialog);
    const int filter = next(filterAnswers, dialog.filterIndex);
    if (!path)
        return std::nullopt;
    return SavedFile{*path, filter};
}

bool ScriptedPrompter::print(const std::function<bool(QPagedPaintDevice &printer)> &job)
{
    log << QStringLiteral("print");
    const std::optional<QString> file = next(printAnswers, std::optional<QString>());
    if (!file)
        return false;
    QPdfWriter writer(*file);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
    return job(writer);
}

std::optional<Prompter::Font> ScriptedPrompter::chooseFont(const Font &initial)
{
    log << QStringLiteral("font: ") + initial.name;
    return next(fontAnswers, std::optional<Font>());
}

bool ScriptedPrompter::printerSetup()
{
    log << QStringLiteral("printer setup");
    const std::optional<QSize> answer = next(printerAnswers, std::optional<QSize>());
    if (answer)
        printerPage = *answer;
    return answer.has_value();
}

QStringList ScriptedPrompter::messages() const
{
    QStringList out;
    for (const QString &line : log)
        if (line.startsWith(QLatin1String("information: ")) || line.startsWith(QLatin1String("error: ")))
            out << line.section(QStringLiteral(": "), 1);
    return out;
}
