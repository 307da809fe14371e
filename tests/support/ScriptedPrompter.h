#pragma once

#include "dialogs/Prompter.h"

#include <QStringList>

#include <deque>
#include <optional>

// A prompter that answers from a script and records what it was asked, so
// commands run in tests without a person. An unscripted question fails the
// test through the recorded log (it answers No or Cancel).
class ScriptedPrompter : public Prompter
{
public:
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<Font>> fontAnswers;

    // Every prompt in order: "question: ...", "information: ...",
    // "error: ...", "open: <filter>", "save: <filter>", "font: <name>".
    QStringList log;
    // The last file dialog shown.
    FileDialog lastFileDialog;

    bool askYesNo(const QString &text) override;
    void information(const QString &text) override;
    void error(const QString &text) override;
    std::optional<QString> openFileName(const FileDialog &dialog) override;
    std::optional<QString> saveFileName(const FileDialog &dialog) override;
    std::optional<Font> chooseFont(const Font &initial) override;

    // The texts of the message boxes only (information and error).
    QStringList messages() const;
};
