#pragma once

#include "import/ImportSession.h"

#include <QDate>
#include <QObject>

class Diagram;
class DocumentViews;
class MainMenu;
class QWidget;
struct Session;

// "Soubor › Importovat › Jízdní řád SŽ (CZPTT)..." and "GTFS...": the import
// dialog of a day of real trains, then its choice applied to the document
// (FileCommands::importRealTimetable) as one step of the history. The day
// chosen is offered again the next time.
class RealImportCommands : public QObject
{
    Q_OBJECT

public:
    RealImportCommands(Session &session, Diagram &diagram, DocumentViews &views, MainMenu &menu, QWidget &window);

    void ImportCzptt1Click();
    void ImportGtfs1Click();

private:
    void run(ImportSession::Format format);

    Session &m_session;
    Diagram &m_diagram;
    DocumentViews &m_views;
    QWidget &m_window;
    QDate m_lastDay;
};
