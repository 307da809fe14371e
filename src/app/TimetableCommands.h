#pragma once

#include <QObject>

class MainMenu;
class TimetableWindow;
struct Session;

// "Soubor › Tabulka jízdního řádu..." (Ctrl+T) shows the timetable tables
// beside the diagram, made anew after every step of the history (and every
// document opened) while the window is open. The pages and files are named
// after the document's file.
class TimetableCommands : public QObject
{
    Q_OBJECT

public:
    TimetableCommands(Session &session, MainMenu &menu, TimetableWindow &window, QObject *parent);

    void Tabulka1Click();

private:
    void refresh();

    Session &m_session;
    TimetableWindow &m_window;
};
