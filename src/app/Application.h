#pragma once

class QApplication;

namespace Application {

// Title, Czech translations of Qt's own buttons and dialogs, and the font
// substitutions: everything the editor sets once before its windows exist.
void setup(QApplication &app);

// True when Qt can open a window here; otherwise prints one line saying how
// to get a display and returns false.
bool checkDisplay();

} // namespace Application
