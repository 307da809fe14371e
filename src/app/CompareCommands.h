#pragma once

#include <QObject>
#include <QString>

class Diagram;
class DifferenceListDialog;
class MainMenu;
class QLabel;
class QMainWindow;
struct Session;

// Comparing the document with another one: "Soubor › Porovnat s..." reads a
// second .vrs (never written) and draws its trains behind the current ones
// (CompareOverlay), names it in the status bar and shows the list of
// differences (DifferenceListDialog, again with "Rozdíly...", Ctrl+D), kept
// up to date after every step of the history; "Porovnat s..." again puts
// another in its place, "Konec porovnání" ends it. Choosing a difference
// scrolls to the train, draws it green and emphasises its counterpart. A
// file that cannot be read is told as Open tells it, and whatever was
// compared before stays.
class CompareCommands : public QObject
{
    Q_OBJECT

public:
    CompareCommands(Session &session, Diagram &diagram, QMainWindow &window, MainMenu &menu, DifferenceListDialog &list,
                    QObject *parent);

    void Porovnats1Click();
    void Rozdly1Click();
    void Konecporovnn1Click();
    // Compares with a named file; true when it was read.
    bool compareWith(const QString &path);

    // "Porovnáno s: sobota.vrs", or empty while nothing is compared.
    QString statusText() const;

private:
    void showState();
    void historyChanged();
    void differenceChosen(int currentTrain, int comparedTrain);

    Session &m_session;
    Diagram &m_diagram;
    QMainWindow &m_window;
    MainMenu &m_menu;
    DifferenceListDialog &m_list;
    QLabel *m_status = nullptr;
    QString m_name;
};
