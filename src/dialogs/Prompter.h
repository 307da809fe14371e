#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPagedPaintDevice;

// Every message box, question and common dialog of the editor goes through
// this interface. The editor answers with Qt dialogs (QtPrompter); tests
// answer with a script (tests/support/ScriptedPrompter), so commands run
// without a person.
class Prompter
{
public:
    struct FileDialog
    {
        QString title;
        // Filter as the program writes it: "Popis (*.ext)|*.ext|..."
        QString filter;
        QString defaultSuffix;   // "vrs", without dot
        QString initialFileName; // the dialog's current file name
        bool promptOverwrite = false;
        int filterIndex = 0; // the filter selected when the dialog opens
    };

    // A file chosen in a save dialog with the filter chosen with it (0-based
    // in the dialog's filter).
    struct SavedFile
    {
        QString path;
        int filterIndex = 0;
    };

    struct Font
    {
        QString name;
        int size = 0;
        bool operator==(const Font &) const = default;
    };

    // The answers of the question before unsaved changes would be lost.
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~Prompter() = default;

    // Confirmation with Yes and No; true for Yes. Closing the box is No.
    virtual bool askYesNo(const QString &text) = 0;
    // A question with "Uložit", "Neukládat" and "Zrušit". Closing the box is
    // Cancel.
    virtual SaveChoice askSaveChanges(const QString &text) = 0;
    // Information box with one OK button.
    virtual void information(const QString &text) = 0;
    // Error box with one OK button.
    virtual void error(const QString &text) = 0;

    // Open and save dialogs; nullopt when the user cancels.
    virtual std::optional<QString> openFileName(const FileDialog &dialog) = 0;
    // An open dialog taking several existing files; nullopt when cancelled.
    virtual std::optional<QStringList> openFileNames(const FileDialog &dialog) = 0;
    // A folder chosen from those that exist; nullopt when cancelled.
    virtual std::optional<QString> existingFolder(const QString &title, const QString &start) = 0;
    virtual std::optional<QString> saveFileName(const FileDialog &dialog) = 0;
    // The save dialog where the filter decides the file's format: the
    // default suffix follows the filter chosen.
    virtual std::optional<SavedFile> saveFileAs(const FileDialog &dialog) = 0;

    // Font dialog; nullopt when the user cancels.
    virtual std::optional<Font> chooseFont(const Font &initial) = 0;

    // The page of the current printer in its device pixels. A machine with
    // no printer set up answers with an A4 sheet at 300 dpi.
    virtual QSize printerPageSize() = 0;
    // The print-setup dialog on the current printer; true when confirmed.
    virtual bool printerSetup() = 0;
    // The print dialog on the current printer, with its own choice of
    // printer and paper and its "print to file" (a PDF). Confirmed, job
    // prints on the chosen printer and its answer is returned; cancelled,
    // nothing is printed and the answer is false.
    virtual bool print(const std::function<bool(QPagedPaintDevice &printer)> &job) = 0;

    static constexpr QSize noPrinterPage{2480, 3508}; // A4 (210 x 297 mm) at 300 dpi
};
