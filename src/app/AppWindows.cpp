#include "AppWindows.h"

#include "MainWindow.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/ProgressWindow.h"

AppWindows::AppWindows(Session &session)
{
    // Dialogs are children of the main window: they live as long as it does.
    m_form1 = new MainWindow(session);
    m_order << m_form1->objectName();
    m_form7 = new ProgressWindow(m_form1);
    m_order << m_form7->objectName();
    m_form1->setProgressWindow(m_form7);
    m_form8 = new AboutDialog(m_form1);
    m_order << m_form8->objectName();
    m_form1->aboutBox = m_form8;
}

AppWindows::~AppWindows()
{
    delete m_form1;
}
