#include "AppWindows.h"

#include "CompareCommands.h"
#include "ConflictCommands.h"
#include "EditCommands.h"
#include "ExportCommands.h"
#include "InsertToolController.h"
#include "MainWindow.h"
#include "RealImportCommands.h"
#include "Session.h"
#include "TimetableCommands.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/AddTrainDialog.h"
#include "dialogs/ConflictListDialog.h"
#include "dialogs/DifferenceListDialog.h"
#include "dialogs/ExportDialog.h"
#include "dialogs/FindTrainDialog.h"
#include "dialogs/InsertToolWindow.h"
#include "dialogs/KilometreDialog.h"
#include "dialogs/PrintToBitmapDialog.h"
#include "dialogs/ProfileDialog.h"
#include "dialogs/ProfileFromTrainDialog.h"
#include "dialogs/ProgressWindow.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/StationListDialog.h"
#include "dialogs/TimetableWindow.h"
#include "dialogs/TrainListDialog.h"

#include <QAction>

AppWindows::AppWindows(Session &session)
{
    // Dialogs are children of the main window: they live as long as it does.
    m_form1 = new MainWindow(session);
    m_order << m_form1->objectName();
    m_form2 = new StationListDialog(session.document, session.prompter, m_form1);
    m_order << m_form2->objectName();
    m_form3 = new TrainListDialog(session.document, m_form1);
    m_order << m_form3->objectName();
    m_form4 = new KilometreDialog(m_form1);
    m_order << m_form4->objectName();
    m_form3->setKilometreDialog(m_form4);
    QObject::connect(m_form1, &MainWindow::newDocumentMade, m_form2, &StationListDialog::clearFirstRow);
    m_form5 = new PrintToBitmapDialog(session.document, session.prompter, m_form1);
    m_order << m_form5->objectName();
    m_form6 = new FindTrainDialog(m_form1);
    m_order << m_form6->objectName();
    m_form7 = new ProgressWindow(m_form1);
    m_order << m_form7->objectName();
    m_form1->setProgressWindow(m_form7);
    m_form8 = new AboutDialog(m_form1);
    m_order << m_form8->objectName();
    QObject::connect(m_form1->menu().Oaplikaci1, &QAction::triggered, m_form8, &QDialog::exec);
    m_form9 = new SettingsDialog(session.prompter, m_form1);
    m_order << m_form9->objectName();
    m_form10 = new ProfileDialog(session.document, session.prompter, m_form1);
    m_order << m_form10->objectName();
    m_form11 = new ProfileFromTrainDialog(session.document, m_form1);
    m_order << m_form11->objectName();
    m_form10->setFromTrainDialog(m_form11);
    m_form12 = new InsertToolWindow(m_form1->insertTool(), m_form1);
    m_order << m_form12->objectName();
    m_form13 = new AddTrainDialog(m_form1);
    m_order << m_form13->objectName();
    // The export dialog TForm14 is the last of the windows.
    m_exportDialog = new ExportDialog(m_form1);
    m_order << m_exportDialog->objectName();

    // The conflict list, a window of its own beside the diagram.
    m_conflictList = new ConflictListDialog(m_form1);
    m_order << m_conflictList->objectName();
    m_timetable = new TimetableWindow(session.prompter, m_form1);
    m_order << m_timetable->objectName();
    // The differences against a compared document, likewise.
    m_differenceList = new DifferenceListDialog(m_form1);
    m_order << m_differenceList->objectName();

    // The commands, each handed the windows it shows.
    MainWindow &w = *m_form1;
    new EditCommands(session, w.diagram(), w, w.menu(), *m_form2, *m_form3, *m_form10, *m_form6, *m_form9, &w);
    new ExportCommands(session, w.diagram(), w.menu(), *m_form5, *m_exportDialog, &w);
    new InsertToolController(w.insertTool(), w.menu(), *m_form12, *m_form13, session.prompter, w);
    new RealImportCommands(session, w.diagram(), w, w.menu(), w);
    new ConflictCommands(session, w.diagram(), w.menu(), w.toolPanel(), *m_conflictList, &w);
    new TimetableCommands(session, w.menu(), *m_timetable, &w);
    new CompareCommands(session, w.diagram(), w, w.menu(), *m_differenceList, &w);
}

AppWindows::~AppWindows()
{
    delete m_form1;
}
