#pragma once

#include <QObject>

class ConflictListDialog;
class Diagram;
class MainMenu;
class ToolPanel;
struct Conflict;
struct Session;

// The conflicts between trains in the editor: "Konflikty" in the tool panel
// turns the red marks on and off (remembered in the settings file), and
// "Editace › Konflikty..." (Ctrl+K) shows the list beside the diagram,
// kept up to date after every step of the history. Choosing a conflict in
// the list scrolls the diagram to it and draws both trains green, as the
// find command draws its train.
class ConflictCommands : public QObject
{
    Q_OBJECT

public:
    ConflictCommands(Session &session, Diagram &diagram, MainMenu &menu, ToolPanel &panel, ConflictListDialog &list,
                     QObject *parent);

    void Konflikty1Click();
    void CheckBoxKonfliktyClick(bool checked);

private:
    void historyChanged();
    void conflictChosen(const Conflict &conflict);
    void listClosed();

    Session &m_session;
    Diagram &m_diagram;
    ConflictListDialog &m_list;
};
