#pragma once

#include <QApplication>

#include <functional>

// The editor's application: memory that runs out under an event (a command
// on a document too large for the machine) ends that event with a message
// (report), never the program; the document stays as the command left it.
class GuardedApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override;
    std::function<void(const QString &)> report;
};

namespace Application {

// Title, Czech translations of Qt's own buttons and dialogs, and the font
// substitutions: everything the editor sets once before its windows exist.
void setup(QApplication &app);

// True when Qt can open a window here; otherwise prints one line saying how
// to get a display and returns false.
bool checkDisplay();

} // namespace Application
