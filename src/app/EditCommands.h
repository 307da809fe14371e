#pragma once

#include <QObject>

class Diagram;
class DocumentViews;
class FindTrainDialog;
class MainMenu;
class ProfileDialog;
class SettingsDialog;
class StationListDialog;
class TrainListDialog;
struct Session;

// The commands of the Editace menu and Import: "Zpět" and "Znovu", "Stanice
// ...", "Vlaky ...", "Jízdní doby", "Najdi vlak...", "Nastavení" and "Import
// ...". Each connects to its menu action (the panel's buttons share the
// actions), runs its dialog and the command's rules (ListCommands,
// ProfileCommands, SettingsCommands, FindTrain, FileCommands::importFile)
// and ends with what it asks the diagram to draw. A command that may change
// the document is one step of the session's EditHistory; undo and redo put
// a snapshot back, and the restored document is drawn as after Open.
//
// A new command of this kind gets its action in MainMenu, its handler here
// (named after the action, e.g. Konflikty1Click) and its dialog in the
// constructor, made by AppWindows in its place in the creation order.
class EditCommands : public QObject
{
    Q_OBJECT

public:
    EditCommands(Session &session, Diagram &diagram, DocumentViews &views, MainMenu &menu,
                 StationListDialog &stationList, TrainListDialog &trainList, ProfileDialog &profiles,
                 FindTrainDialog &findTrain, SettingsDialog &settings, QObject *parent);

    void Zpt1Click();       // undo
    void Znovu1Click();     // redo
    void Stanice1Click();   // station list TForm2
    void Vlaky1Click();     // train list TForm3
    void Jzdndoby1Click();  // travel-time profiles TForm10
    void Najdivlak1Click(); // find a train TForm6
    void Nastaven1Click();  // settings TForm9
    void Import1Click();    // a text timetable

private:
    // After undo or redo: the document is another one, drawn as after
    // Open, with its own train labels.
    void documentRestored();

    Session &m_session;
    Diagram &m_diagram;
    DocumentViews &m_views;
    StationListDialog &m_stationList;
    TrainListDialog &m_trainList;
    ProfileDialog &m_profiles;
    FindTrainDialog &m_findTrain;
    SettingsDialog &m_settings;
};
