#include "CompareCommands.h"

#include "FileCommands.h"
#include "MainMenu.h"
#include "Session.h"

#include "dialogs/DifferenceListDialog.h"
#include "dialogs/Prompter.h"
#include "editing/Diagram.h"
#include "editing/TimetableDiff.h"
#include "io/DocumentFile.h"
#include "io/DocumentReader.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include <exception>

CompareCommands::CompareCommands(Session &session, Diagram &diagram, QMainWindow &window, MainMenu &menu,
                                 DifferenceListDialog &list, QObject *parent)
    : QObject(parent), m_session(session), m_diagram(diagram), m_window(window), m_menu(menu), m_list(list)
{
    connect(menu.Porovnats1, &QAction::triggered, this, &CompareCommands::Porovnats1Click);
    connect(menu.Rozdly1, &QAction::triggered, this, &CompareCommands::Rozdly1Click);
    connect(menu.Konecporovnn1, &QAction::triggered, this, &CompareCommands::Konecporovnn1Click);
    connect(&session.history, &EditHistory::changed, this, &CompareCommands::historyChanged);
    connect(&list, &DifferenceListDialog::differenceChosen, this, &CompareCommands::differenceChosen);
    showState();
}

void CompareCommands::Porovnats1Click()
{
    Prompter::FileDialog dialog;
    dialog.filter = FileCommands::documentFilter;
    dialog.defaultSuffix = FileCommands::documentSuffix;
    const std::optional<QString> chosen = m_session.prompter.openFileName(dialog);
    if (chosen)
        compareWith(*chosen);
}

bool CompareCommands::compareWith(const QString &path)
{
    auto compared = std::make_unique<Document>();
    const DocumentFile::LoadOutcome outcome = DocumentFile::load(*compared, path);
    if (outcome.status != DocumentFile::Status::Ok) {
        m_session.prompter.error(DocumentFile::message(outcome.status));
        return false;
    }
    try {
        DocumentReader::finishLoading(*compared);
    } catch (const std::exception &e) {
        m_session.prompter.error(QString::fromUtf8(e.what()));
        return false;
    }
    m_diagram.setCompared(std::move(compared));
    m_name = QFileInfo(path).fileName();
    showState();
    Rozdly1Click();
    if (!outcome.read.warning.isEmpty())
        m_session.prompter.information(outcome.read.warning);
    return true;
}

void CompareCommands::Rozdly1Click()
{
    if (!m_diagram.compared())
        return;
    m_list.setResult(TimetableDiff::compare(m_session.document, *m_diagram.compared()));
    m_list.show();
    m_list.raise();
    m_list.activateWindow();
}

void CompareCommands::Konecporovnn1Click()
{
    if (!m_diagram.compared())
        return;
    m_diagram.setCompared(nullptr);
    m_name.clear();
    m_list.hide();
    showState();
}

QString CompareCommands::statusText() const
{
    return m_name.isEmpty() ? QString() : QStringLiteral("Porovnáno s: ") + m_name;
}

// The items that need a comparison, and the status bar, which is there only
// while there is one.
void CompareCommands::showState()
{
    const bool comparing = m_diagram.compared() != nullptr;
    m_menu.Rozdly1->setEnabled(comparing);
    m_menu.Konecporovnn1->setEnabled(comparing);
    if (!comparing && !m_status)
        return;
    if (!m_status) {
        m_status = new QLabel(&m_window);
        m_status->setObjectName(QStringLiteral("ComparedName"));
        m_window.statusBar()->setObjectName(QStringLiteral("StatusBar1"));
        m_window.statusBar()->addWidget(m_status);
    }
    m_status->setText(statusText());
    m_window.statusBar()->setVisible(comparing);
}

void CompareCommands::historyChanged()
{
    if (m_diagram.compared() && m_list.isVisible())
        m_list.setResult(TimetableDiff::compare(m_session.document, *m_diagram.compared()));
}

void CompareCommands::differenceChosen(int currentTrain, int comparedTrain)
{
    m_diagram.showDifference(currentTrain, comparedTrain);
}
