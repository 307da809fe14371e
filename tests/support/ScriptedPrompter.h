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
    std::deque<SaveChoice> saveChoices;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QStringList>> filesAnswers; // openFileNames
    std::deque<std::optional<QString>> folderAnswers;
    std::deque<std::optional<Font>> fontAnswers;
    // The current printer's page; a confirmed setup dialog takes the next
    // scripted page, a cancelled one (nullopt, or none left) keeps it.
    QSize printerPage = noPrinterPage;
    std::deque<std::optional<QSize>> printerAnswers;
    // The filter chosen in a saveFileAs dialog with the next file answer;
    // without one, the filter the dialog opened with.
    std::deque<int> filterAnswers;
    // The print dialog confirmed with "print to file": the next PDF file to
    // print into (on A4 with 10 mm margins, at 300 dpi), or nullopt to cancel.
    std::deque<std::optional<QString>> printAnswers;

    // Every prompt in order: "question: ...", "save question: ...",
    // "information: ...",
    // "error: ...", "open: <filter>", "open files: <filter>",
    // "folder: <title>", "save: <filter>", "font: <name>",
    // "printer setup", "print".
    QStringList log;
    FileDialog lastFileDialog;

    bool askYesNo(const QString &text) override;
    SaveChoice askSaveChanges(const QString &text) override;
    void information(const QString &text) override;
    void error(const QString &text) override;
    std::optional<QString> openFileName(const FileDialog &dialog) override;
    std::optional<QStringList> openFileNames(const FileDialog &dialog) override;
    std::optional<QString> existingFolder(const QString &title, const QString &start) override;
    std::optional<QString> saveFileName(const FileDialog &dialog) override;
    std::optional<SavedFile> saveFileAs(const FileDialog &dialog) override;
    std::optional<Font> chooseFont(const Font &initial) override;
    QSize printerPageSize() override { return printerPage; }
    bool printerSetup() override;
    bool print(const std::function<bool(QPagedPaintDevice &printer)> &job) override;

    // The texts of the message boxes only (information and error).
    QStringList messages() const;
};
