#pragma once

#include "Prompter.h"

#include <memory>

class QPrinter;
class QWidget;

// The editor's prompter: Qt's message boxes and common dialogs, parented to
// the main window, with the caption "Vlakorys 1.0" the program always had.
class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QWidget *parent = nullptr);
    ~QtPrompter() override;
    void setParent(QWidget *parent) { m_parent = parent; }

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
    QSize printerPageSize() override;
    bool printerSetup() override;
    bool print(const std::function<bool(QPagedPaintDevice &printer)> &job) override;

    // "Popis (*.a)|*.a|Vše (*.*)|*.*" -> "Popis (*.a);;Vše (*)"
    static QString qtFilter(const QString &filter);

private:
    QPrinter &printer();

    QWidget *m_parent;
    // The current printer: the system's default until the user picks
    // another in the setup dialog; made when first asked for.
    std::unique_ptr<QPrinter> m_printer;
    bool m_printerChosen = false;
};
