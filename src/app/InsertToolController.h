#pragma once

#include <QObject>

class AddTrainDialog;
class InsertTool;
class InsertToolWindow;
class MainMenu;
class Prompter;
class QTimer;
class QWidget;

// The insert-train tool's part of the editor: the menu command "Vložit vlak
// z jízd. dob" (Ins), the timer Timer1 of the main window that keeps the
// tool's preview up to date and closes the tool once its window is gone,
// the tool window TForm12 (shown, raised and closed as the tool asks), the
// Editace menu disabled while the tool is open, and the add-train dialog
// TForm13 that confirms the train laid. The tool itself (InsertTool, in
// editing) holds the rules and records the added train's undo step.
class InsertToolController : public QObject
{
    Q_OBJECT

public:
    // Timer1 is a child of `mainWindow` and runs from the start: its first
    // tick, with the tool closed, stops it.
    InsertToolController(InsertTool &tool, MainMenu &menu, InsertToolWindow &toolWindow, AddTrainDialog &addTrain,
                         Prompter &prompter, QWidget &mainWindow);

    void Vloitvlakzjzddob1Click();
    void Timer1Timer();

private:
    // Shift + click with a train laid: "Přidat vlak" with the train's table;
    // on OK the tool adds the train.
    void confirmTrain();

    InsertTool &m_tool;
    InsertToolWindow &m_window;
    AddTrainDialog &m_addTrain;
    Prompter &m_prompter;
    QTimer *Timer1;
};
