#pragma once

#include <QDialog>

class InsertTool;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QSpinBox;

// TForm12 "Vložit vlak": the modeless tool window of the insert-train tool,
// always on top of the main window. It shows the direction and profile the
// train is laid with, the station and time under the pointer and the mouse
// bindings; what it holds and does is InsertTool's.
class InsertToolWindow : public QDialog
{
    Q_OBJECT

public:
    explicit InsertToolWindow(InsertTool &tool, QWidget *parent = nullptr);

    // Shows the tool's state again: direction, number, names and texts.
    void showState();

    static inline const QString addHelp = QStringLiteral("Levé tlačítlo myši - přidání, úprava času zastavení");
    static inline const QString removeHelp = QStringLiteral("Ctrl + Levé tlačítko myši - odebrání zastavení");
    static inline const QString commitHelp = QStringLiteral("Shift + Levé tlačítko myši - vložit zadaný vlak");

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void RadioGroup1Click(int direction);
    void SpinEdit1Change(int value);

    InsertTool &m_tool;
    bool m_busy = false;

    QGroupBox *RadioGroup1 = nullptr;
    QButtonGroup *m_directions = nullptr;
    QLabel *Label1 = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
};
