#include "ScriptedPrompter.h"

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
