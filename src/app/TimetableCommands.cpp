#include "TimetableCommands.h"

#include "MainMenu.h"
#include "Session.h"

#include "dialogs/TimetableWindow.h"

#include <QAction>
#include <QFileInfo>

TimetableCommands::TimetableCommands(Session &session, MainMenu &menu, TimetableWindow &window, QObject *parent)
    : QObject(parent), m_session(session), m_window(window)
{
    connect(menu.Tabulka1, &QAction::triggered, this, &TimetableCommands::Tabulka1Click);
    connect(&session.history, &EditHistory::changed, this, [this] {
        if (m_window.isVisible())
            refresh();
    });
}

void TimetableCommands::Tabulka1Click()
{
    refresh();
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

void TimetableCommands::refresh()
{
    const QString name = QFileInfo(m_session.fileName).completeBaseName();
    m_window.setDocument(m_session.document, name.isEmpty() ? QStringLiteral("Vlakorys") : name);
}
