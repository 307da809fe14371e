#include "../io/FileBytes.h"
#include "AppHarness.h"
#include "dialogs/ProfileDialog.h"
#include "dialogs/TrainListDialog.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QToolButton>

#include <functional>

Q_DECLARE_METATYPE(std::function<void()>)

// The document's modified state as the person meets it in the main
// window: which commands set it, the caption, the question before New, Open
// and closing, and Zpět and Znovu in the Editace menu.
class UnsavedChangesGuiTest : public QObject
{
    Q_OBJECT

    AppHarness h;
    MainWindow *window() const { return h.window(); }
    Document &doc() const { return h.doc(); }
    QAction *action(const char *name) const { return h.action(name); }
    template <typename T> T *find(const char *name) const { return h.find<T>(name); }
    bool modified() const { return window()->isWindowModified(); }
    void dragLabel(QPoint by, Qt::KeyboardModifiers atRelease = {})
    {
        const QPoint from = h.pickableLabel();
        h.drag(from, from + by, {}, atRelease);
    }

    // A shortcut typed into the main window, the focus in the ratio's spin
    // box (where it is at start), which has an undo of its own. The progress
    // window a render shows takes the activation with it; without a window
    // manager it does not come back by itself.
    void shortcut(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QVERIFY(GuiKeys::activate(window()));
        find<QSpinBox>("SpinEdit1")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    std::vector<double> labelTimes() const
    {
        std::vector<double> times;
        for (const TrainLabel &l : doc().trainLabels)
            times.push_back(l.time);
        return times;
    }

    // A change made by a command: the thin pen, as the settings dialog sets it.
    void change()
    {
        EditStep step(h.session->history, QStringLiteral("změna nastavení"));
        doc().settings.penThin = 7;
    }

private slots:
    void init() { h.start(); }
    void cleanup() { h.stop(); }

    void commandsSetTheModifiedStateViewChangesDoNot_data()
    {
        QTest::addColumn<std::function<void()>>("command");
        QTest::addColumn<bool>("modifies");
        QTest::newRow("profiles, OK") << std::function<void()>([this] {
            ProfileDialog *d = h.windows->profileDialog();
            GuiKeys::whenActive(d, [d] {
                d->editor().commitCell(1, 2, QStringLiteral("3+"));
                d->BitBtn1Click();
            });
            action("Jzdndoby1")->trigger();
        }) << true;
        QTest::newRow("import") << std::function<void()>([this] {
            FileBytes::write(h.path("import.txt"), "Os 99\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n");
            h.prompter->fileAnswers = {h.path("import.txt")};
            action("Import1")->trigger();
        }) << true;
        QTest::newRow("view controls") << std::function<void()>([this] {
            find<QToolButton>("SpeedButton7")->click();
            window()->horizontalBar()->setValue(30);
            find<QSpinBox>("SpinEdit1")->setValue(3);
            find<QToolButton>("SpeedButton9")->click();
            for (const char *box : {"CheckBox1", "CheckBox2", "CheckBox3"})
                find<QCheckBox>(box)->click();
        }) << false;
    }
    void commandsSetTheModifiedStateViewChangesDoNot()
    {
        QFETCH(std::function<void()>, command);
        QFETCH(bool, modifies);
        h.openCopy("trať.vrs");
        QCOMPARE(window()->windowTitle(), QStringLiteral("Program pro tvoření vlakorysu - trať.vrs[*]"));
        command();
        QCOMPARE(modified(), modifies);
        QCOMPARE(action("Zpt1")->isEnabled(), modifies);
        QVERIFY2(!h.prompter->log.contains(QStringLiteral("unscripted question")),
                 qPrintable(h.prompter->log.join('\n')));
        // Save clears it.
        action("Uloit1")->trigger();
        QVERIFY(!modified());
    }

    // New, Open and closing ask first and go on by the answer (each answer
    // is tested on the file commands).
    void questionBeforeLeaving()
    {
        using C = Prompter::SaveChoice;
        const std::pair<C, std::function<bool()>> rows[] = {
            {C::Save, [this] { return action("Nov1")->trigger(), doc().noDocument; }},
            {C::Cancel,
             [this] { return action("Otevt1")->trigger(), h.session->fileName.endsWith("liberec-tanvald.vrs"); }},
            {C::Discard, [this] { return window()->close(); }}};
        for (const auto &[answer, goesOn] : rows) {
            h.start(); // as each row's own editor
            h.openCopy("a.vrs");
            change();
            h.prompter->log.clear();
            h.prompter->saveChoices = {answer};
            h.prompter->fileAnswers = {h.example()};
            QCOMPARE(goesOn(), answer != C::Cancel);
            QCOMPARE(h.prompter->log.value(0), QStringLiteral("save question: Uložit změny v dokumentu „a.vrs“?"));
        }
    }

    void undoAndRedoALabelMove()
    {
        h.openCopy("trať.vrs");
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět"));
        QVERIFY(!action("Zpt1")->isEnabled());
        QVERIFY(!action("Znovu1")->isEnabled());
        const std::vector<double> before = labelTimes();
        dragLabel({80, -30});
        const std::vector<double> after = labelTimes();
        QVERIFY(after != before);
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět: přesun popisku"));

        shortcut(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(labelTimes(), before);
        QVERIFY(!modified());
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět"));
        QCOMPARE(action("Znovu1")->text(), QStringLiteral("Znovu: přesun popisku"));
        shortcut(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(labelTimes(), after);
        QVERIFY(modified());
        shortcut(Qt::Key_Z, Qt::ControlModifier);
        shortcut(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(labelTimes(), after);

        // Not while a modal editor is open.
        bool offInEditor = false;
        h.prompter->yesNoAnswers = {false, false};
        GuiKeys::whenActive(h.windows->trainListDialog(), [&] { offInEditor = !action("Zpt1")->isEnabled(); });
        action("Vlaky1")->trigger();
        QVERIFY(offInEditor);
        QVERIFY(action("Zpt1")->isEnabled());
    }
};

int main(int argc, char **argv)
{
    return runGuiTests<UnsavedChangesGuiTest>(argc, argv);
}

#include "UnsavedChangesGuiTest.moc"
