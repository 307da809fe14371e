#include "ScriptedPrompter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

bool ScriptedPrompter::askYesNo(const QString &text)
{
    log << QStringLiteral("question: ") + text;
    if (yesNoAnswers.empty()) {
        log << QStringLiteral("unscripted question");
        return false;
    }
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

Prompter::SaveChoice ScriptedPrompter::askSaveChanges(const QString &text)
{
    log << QStringLiteral("save question: ") + text;
    if (saveChoices.empty()) {
        log << QStringLiteral("unscripted question");
        return SaveChoice::Cancel;
    }
    const SaveChoice answer = saveChoices.front();
    saveChoices.pop_front();
    return answer;
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
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompter::saveFileName(const FileDialog &dialog)
{
    log << QStringLiteral("save: ") + dialog.filter;
    lastFileDialog = dialog;
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<Prompter::SavedFile> ScriptedPrompter::saveFileAs(const FileDialog &dialog)
{
    const std::optional<QString> path = saveFileName(dialog);
    int filter = dialog.filterIndex;
    if (!filterAnswers.empty()) {
        filter = filterAnswers.front();
        filterAnswers.pop_front();
    }
    if (!path)
        return std::nullopt;
    return SavedFile{*path, filter};
}

bool ScriptedPrompter::print(const std::function<bool(QPagedPaintDevice &printer)> &job)
{
    log << QStringLiteral("print");
    if (printAnswers.empty() || !printAnswers.front()) {
        if (!printAnswers.empty())
            printAnswers.pop_front();
        return false;
    }
    QPdfWriter writer(*printAnswers.front());
    printAnswers.pop_front();
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
    return job(writer);
}

std::optional<Prompter::Font> ScriptedPrompter::chooseFont(const Font &initial)
{
    log << QStringLiteral("font: ") + initial.name;
    if (fontAnswers.empty())
        return std::nullopt;
    auto answer = fontAnswers.front();
    fontAnswers.pop_front();
    return answer;
}

bool ScriptedPrompter::printerSetup()
{
    log << QStringLiteral("printer setup");
    if (printerAnswers.empty())
        return false;
    const std::optional<QSize> answer = printerAnswers.front();
    printerAnswers.pop_front();
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
