#pragma once

#include <QStringList>

class AboutDialog;
class ConflictListDialog;
class DifferenceListDialog;
class ExportDialog;
class AddTrainDialog;
class FindTrainDialog;
class InsertToolWindow;
class KilometreDialog;
class MainWindow;
class PrintToBitmapDialog;
class ProfileDialog;
class ProfileFromTrainDialog;
class ProgressWindow;
class SettingsDialog;
class StationListDialog;
class TimetableWindow;
class TrainListDialog;
struct Session;

// The program's windows, created once at start-up in a fixed order (TForm1
// the main window first, the dialogs after it) and kept until the program
// ends; dialogs are shown again and again. Then the command objects
// (EditCommands, ExportCommands, InsertToolController), each handed the
// main window's diagram and menu and the dialogs it shows; they are children
// of the main window. A new window is added here, in its place in that
// order, and handed to the command that shows it.
class AppWindows
{
public:
    explicit AppWindows(Session &session);
    ~AppWindows();

    MainWindow *mainWindow() const { return m_form1; }
    StationListDialog *stationListDialog() const { return m_form2; }
    TrainListDialog *trainListDialog() const { return m_form3; }
    KilometreDialog *kilometreDialog() const { return m_form4; }
    PrintToBitmapDialog *printToBitmapDialog() const { return m_form5; }
    FindTrainDialog *findTrainDialog() const { return m_form6; }
    ProgressWindow *progressWindow() const { return m_form7; }
    AboutDialog *aboutDialog() const { return m_form8; }
    SettingsDialog *settingsDialog() const { return m_form9; }
    ExportDialog *exportDialog() const { return m_exportDialog; }
    ProfileDialog *profileDialog() const { return m_form10; }
    ProfileFromTrainDialog *profileFromTrainDialog() const { return m_form11; }
    InsertToolWindow *insertToolWindow() const { return m_form12; }
    AddTrainDialog *addTrainDialog() const { return m_form13; }
    ConflictListDialog *conflictListDialog() const { return m_conflictList; }
    TimetableWindow *timetableWindow() const { return m_timetable; }
    DifferenceListDialog *differenceListDialog() const { return m_differenceList; }

    // The objectNames of the windows in the order they were created.
    const QStringList &creationOrder() const { return m_order; }

private:
    MainWindow *m_form1 = nullptr;                // TForm1
    StationListDialog *m_form2 = nullptr;         // TForm2
    TrainListDialog *m_form3 = nullptr;           // TForm3
    KilometreDialog *m_form4 = nullptr;           // TForm4
    PrintToBitmapDialog *m_form5 = nullptr;       // TForm5
    FindTrainDialog *m_form6 = nullptr;           // TForm6
    ProgressWindow *m_form7 = nullptr;            // TForm7
    AboutDialog *m_form8 = nullptr;               // TForm8
    SettingsDialog *m_form9 = nullptr;            // TForm9
    ProfileDialog *m_form10 = nullptr;            // TForm10
    ProfileFromTrainDialog *m_form11 = nullptr;   // TForm11
    InsertToolWindow *m_form12 = nullptr;         // TForm12
    AddTrainDialog *m_form13 = nullptr;           // TForm13
    ExportDialog *m_exportDialog = nullptr;       // TForm14
    ConflictListDialog *m_conflictList = nullptr; // "Konflikty"
    TimetableWindow *m_timetable = nullptr;       // "Tabulka jízdního řádu"
    DifferenceListDialog *m_differenceList = nullptr; // "Rozdíly"
    QStringList m_order;
};
