#include "RealImportCommands.h"

#include "FileCommands.h"
#include "MainMenu.h"
#include "Session.h"

#include "dialogs/RealImportDialog.h"
#include "editing/StepNames.h"

#include <QAction>
#include <QWidget>

RealImportCommands::RealImportCommands(Session &session, Diagram &diagram, DocumentViews &views, MainMenu &menu,
                                       QWidget &window)
    : QObject(&window), m_session(session), m_diagram(diagram), m_views(views), m_window(window)
{
    connect(menu.ImportCzptt1, &QAction::triggered, this, &RealImportCommands::ImportCzptt1Click);
    connect(menu.ImportGtfs1, &QAction::triggered, this, &RealImportCommands::ImportGtfs1Click);
}

void RealImportCommands::ImportCzptt1Click()
{
    run(ImportSession::Format::Czptt);
}

void RealImportCommands::ImportGtfs1Click()
{
    run(ImportSession::Format::Gtfs);
}

void RealImportCommands::run(ImportSession::Format format)
{
    // The dialog reads its sources anew each time: they may have changed.
    RealImportDialog dialog(format, m_session.document, m_session.prompter, m_session.settingsFile, &m_window);
    dialog.preferDay(m_lastDay);
    const std::optional<ImportChoice> choice = dialog.ask();
    m_lastDay = dialog.chosenDay();
    if (!choice)
        return;
    EditStep step(m_session.history, StepNames::import);
    FileCommands::importRealTimetable(m_session, m_diagram, m_views, *choice);
}
