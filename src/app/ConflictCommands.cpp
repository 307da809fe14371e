#include "ConflictCommands.h"

#include "MainMenu.h"
#include "Session.h"
#include "ToolPanel.h"

#include "dialogs/ConflictListDialog.h"
#include "dialogs/Prompter.h"
#include "editing/Diagram.h"
#include "io/FileMessages.h"
#include "io/SettingsFile.h"

#include <QAction>
#include <QCheckBox>

ConflictCommands::ConflictCommands(Session &session, Diagram &diagram, MainMenu &menu, ToolPanel &panel,
                                   ConflictListDialog &list, QObject *parent)
    : QObject(parent), m_session(session), m_diagram(diagram), m_list(list)
{
    const bool shown = session.settingsFile.readShowConflicts();
    panel.conflictsBox()->setChecked(shown);
    m_diagram.setConflictsShown(shown, false);
    // The marks and the list follow a full check when it ends.
    m_diagram.checkConflictsBeside([this] { historyChanged(); });
    connect(panel.conflictsBox(), &QCheckBox::toggled, this, &ConflictCommands::CheckBoxKonfliktyClick);
    connect(menu.Konflikty1, &QAction::triggered, this, &ConflictCommands::Konflikty1Click);
    connect(&session.history, &EditHistory::changed, this, &ConflictCommands::historyChanged);
    connect(&list, &ConflictListDialog::conflictChosen, this, &ConflictCommands::conflictChosen);
    connect(&list, &QDialog::finished, this, &ConflictCommands::listClosed);
}

void ConflictCommands::Konflikty1Click()
{
    m_list.setConflicts(m_session.document, m_diagram.conflictCheck());
    m_list.show();
    m_list.raise();
    m_list.activateWindow();
    m_list.chooseFirst();
}

// The two trains of the conflict chosen are green only while the list is
// open; a train found by "Najdi vlak" stays.
void ConflictCommands::listClosed()
{
    if (m_diagram.highlighting().on && !m_diagram.highlighting().other.isEmpty())
        m_diagram.highlightOff();
}

void ConflictCommands::CheckBoxKonfliktyClick(bool checked)
{
    m_diagram.setConflictsShown(checked);
    if (const SafeFile::Result written = m_session.settingsFile.writeShowConflicts(checked); !written)
        m_session.prompter.error(
            FileMessages::naming(SettingsFile::writeErrorMessage, m_session.settingsFile.path(), written.cause));
}

void ConflictCommands::historyChanged()
{
    if (m_list.isVisible())
        m_list.setConflicts(m_session.document, m_diagram.conflictCheck());
}

void ConflictCommands::conflictChosen(const Conflict &conflict)
{
    m_diagram.showConflict(conflict);
}
