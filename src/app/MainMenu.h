#pragma once

#include <QList>
#include <QObject>

class EditHistory;
class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;

// The main menu MainMenu1 of TForm1: every item is a QAction named as the
// item (Nov1, Zpt1, Stanice1 ...), made here once. The tool panel's buttons
// show the same actions, and each command class connects the actions it
// carries out (FileCommands, EditCommands, ExportCommands,
// InsertToolController). The menu keeps the states that belong to it: the
// Editace menu disabled while the insert-train tool is open, the captions
// "Zpět: …" and "Znovu: …", and the printing items enabled while there is a
// diagram to print.
class MainMenu : public QObject
{
    Q_OBJECT

public:
    MainMenu(QMenuBar &bar, EditHistory &history);

    // "&Soubor"
    QAction *Nov1 = nullptr;
    QAction *Otevt1 = nullptr;
    QAction *Uloit1 = nullptr;
    QAction *Uloitjako1 = nullptr;
    QAction *Import1 = nullptr;      // in "Importovat": the text timetable
    QAction *ImportCzptt1 = nullptr; // "Jízdní řád SŽ (CZPTT)..."
    QAction *ImportGtfs1 = nullptr;  // "GTFS..."
    QAction *Porovnats1 = nullptr;    // "Porovnat s...": another document behind this one
    QAction *Rozdly1 = nullptr;       // "Rozdíly...", Ctrl+D
    QAction *Konecporovnn1 = nullptr; // "Konec porovnání"
    QAction *Tisk1 = nullptr;
    QAction *Exportovat1 = nullptr;
    QAction *Tabulka1 = nullptr;       // "Tabulka jízdního řádu...", Ctrl+T
    QAction *Tiskdobitmapy1 = nullptr; // hidden
    QAction *Konec1 = nullptr;
    // "&Editace"
    QAction *Zpt1 = nullptr;
    QAction *Znovu1 = nullptr;
    QAction *Stanice1 = nullptr;
    QAction *Vlaky1 = nullptr;
    QAction *Jzdndoby1 = nullptr;
    QAction *Mtko1 = nullptr; // hidden, does nothing
    QAction *Vloitvlakzjzddob1 = nullptr;
    QAction *Najdivlak1 = nullptr;
    QAction *Konflikty1 = nullptr; // the conflict list, Ctrl+K
    QAction *Nastaven1 = nullptr;
    // "Nápo&věda"
    QAction *Oaplikaci1 = nullptr;

    // The Editace menu with all its commands, disabled while the insert
    // tool is open; no step is taken back meanwhile.
    void setEditMenuEnabled(bool enabled);
    bool editMenuEnabled() const;

    // "Tisk...", "Exportovat..." and "Tisk do bitmapy...": enabled by the
    // renderer while a document with stations is drawn. The bitmap item is
    // hidden, and a hidden action reports itself disabled whatever it holds,
    // so the state is kept here too.
    void setPrintAndExportEnabled(bool enabled);
    bool printAndExportEnabled() const { return m_printAndExport; }

    // Whether a key typed is the shortcut of one of the menu's commands.
    bool hasShortcut(const QKeySequence &typed) const;

private:
    // The undo and redo items after the history changed.
    void historyChanged();

    QMenuBar &m_bar;
    EditHistory &m_history;
    QMenu *Editace1 = nullptr;
    bool m_printAndExport = false;
    // Editace1's commands while it is disabled, each with its own state.
    QList<QAction *> m_editActions;
    QList<bool> m_editActionsEnabled;
};
