#include "InsertToolController.h"

#include "MainMenu.h"

#include "dialogs/AddTrainDialog.h"
#include "dialogs/InsertToolWindow.h"
#include "dialogs/Prompter.h"
#include "editing/InsertTool.h"

#include <QAction>
#include <QTimer>

InsertToolController::InsertToolController(InsertTool &tool, MainMenu &menu, InsertToolWindow &toolWindow,
                                           AddTrainDialog &addTrain, Prompter &prompter, QWidget &mainWindow)
    : QObject(&mainWindow), m_tool(tool), m_window(toolWindow), m_addTrain(addTrain), m_prompter(prompter),
      Timer1(new QTimer(&mainWindow))
{
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &InsertToolController::Timer1Timer);
    connect(menu.Vloitvlakzjzddob1, &QAction::triggered, this, &InsertToolController::Vloitvlakzjzddob1Click);

    connect(&tool, &InsertTool::editMenuWanted, &menu, &MainMenu::setEditMenuEnabled);
    connect(&tool, &InsertTool::timerWanted, this,
            [this](bool running) { running ? Timer1->start() : Timer1->stop(); });
    connect(&tool, &InsertTool::windowWanted, this, [this] {
        m_window.show();
        m_window.raise();
    });
    connect(&tool, &InsertTool::windowCloseWanted, this, [this] {
        if (m_window.isVisible())
            m_window.close();
    });
    connect(&tool, &InsertTool::stateChanged, &toolWindow, &InsertToolWindow::showState);
    connect(&tool, &InsertTool::commitRequested, this, &InsertToolController::confirmTrain);
    Timer1->start();
}

void InsertToolController::Vloitvlakzjzddob1Click()
{
    QString refusal;
    if (!m_tool.open(&refusal))
        m_prompter.error(refusal);
}

void InsertToolController::Timer1Timer()
{
    m_tool.Timer1Timer();
}

void InsertToolController::confirmTrain()
{
    const std::optional<NewTrainChoice> choice = m_addTrain.ask(m_tool.commitTable());
    if (choice)
        m_tool.addTrain(*choice);
    // Cancelled: the tool stays open with its points.
}
