#include "EditCommands.h"

#include "FileCommands.h"
#include "MainMenu.h"
#include "Session.h"

#include "ListCommands.h"
#include "ProfileCommands.h"
#include "SettingsCommands.h"
#include "dialogs/FindTrainDialog.h"
#include "dialogs/Prompter.h"
#include "editing/Diagram.h"
#include "editing/FindTrain.h"
#include "editing/StepNames.h"

#include <QAction>

EditCommands::EditCommands(Session &session, Diagram &diagram, DocumentViews &views, MainMenu &menu,
                           StationListDialog &stationList, TrainListDialog &trainList, ProfileDialog &profiles,
                           FindTrainDialog &findTrain, SettingsDialog &settings, QObject *parent)
    : QObject(parent), m_session(session), m_diagram(diagram), m_views(views), m_stationList(stationList),
      m_trainList(trainList), m_profiles(profiles), m_findTrain(findTrain), m_settings(settings)
{
    connect(menu.Zpt1, &QAction::triggered, this, &EditCommands::Zpt1Click);
    connect(menu.Znovu1, &QAction::triggered, this, &EditCommands::Znovu1Click);
    connect(menu.Stanice1, &QAction::triggered, this, &EditCommands::Stanice1Click);
    connect(menu.Vlaky1, &QAction::triggered, this, &EditCommands::Vlaky1Click);
    connect(menu.Jzdndoby1, &QAction::triggered, this, &EditCommands::Jzdndoby1Click);
    connect(menu.Najdivlak1, &QAction::triggered, this, &EditCommands::Najdivlak1Click);
    connect(menu.Nastaven1, &QAction::triggered, this, &EditCommands::Nastaven1Click);
    connect(menu.Import1, &QAction::triggered, this, &EditCommands::Import1Click);
    connect(&session.history, &EditHistory::restored, this, &EditCommands::documentRestored);
}

void EditCommands::Zpt1Click()
{
    const bool could = m_session.history.canUndo();
    if (!m_session.history.undo() && could)
        m_session.prompter.error(StepNames::restoreFailed);
}

void EditCommands::Znovu1Click()
{
    const bool could = m_session.history.canRedo();
    if (!m_session.history.redo() && could)
        m_session.prompter.error(StepNames::restoreFailed);
}

void EditCommands::documentRestored()
{
    m_views.documentReplaced();
    m_diagram.contentChanged();
}

void EditCommands::Stanice1Click()
{
    EditStep step(m_session.history, StepNames::stationList);
    ListCommands::stationList(m_diagram, m_session.prompter, m_stationList);
}

void EditCommands::Vlaky1Click()
{
    EditStep step(m_session.history, StepNames::trainList);
    ListCommands::trainList(m_diagram, m_session.prompter, m_trainList);
}

void EditCommands::Jzdndoby1Click()
{
    EditStep step(m_session.history, StepNames::profiles);
    ProfileCommands::travelTimes(m_session.document, m_session.prompter, m_profiles);
}

void EditCommands::Najdivlak1Click()
{
    const std::optional<QString> typed = m_findTrain.ask();
    if (!typed)
        return; // cancelled: the highlight stays as it was
    if (FindTrain::run(m_diagram, *typed))
        return;
    m_session.prompter.information(FindTrain::notFoundMessage(*typed));
    m_diagram.highlightOff();
}

void EditCommands::Nastaven1Click()
{
    EditStep step(m_session.history, StepNames::settings);
    SettingsCommands::settingsCommand(m_diagram, m_session.settingsFile, m_session.prompter, m_settings);
}

void EditCommands::Import1Click()
{
    EditStep step(m_session.history, StepNames::import);
    FileCommands::importTimetable(m_session, m_diagram);
}
