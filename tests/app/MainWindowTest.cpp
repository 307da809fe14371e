#include "../io/FileBytes.h"
#include "AppHarness.h"
#include "dialogs/ConflictListDialog.h"
#include "dialogs/DifferenceListDialog.h"
#include "dialogs/ExportDialog.h"
#include "dialogs/FindTrainDialog.h"
#include "dialogs/InsertToolWindow.h"
#include "dialogs/PrintToBitmapDialog.h"
#include "dialogs/ProfileDialog.h"
#include "dialogs/ProgressWindow.h"
#include "dialogs/QtPrompter.h"
#include "dialogs/RealImportDialog.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/TimetableWindow.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QWheelEvent>

#include <functional>

// TForm1 as the user reaches its commands: one table of control → command
// reached (the commands' rules are tested on the commands), the keys and
// the focus, and the questions before leaving.
class MainWindowTest : public QObject
{
    Q_OBJECT

    AppHarness h;
    std::unique_ptr<QtPrompter> m_qtPrompter;
    MainWindow *window() const { return h.window(); }
    const Renderer &renderer() const { return h.renderer(); }
    Document &doc() const { return h.doc(); }
    template <typename T> T *find(const char *name) const { return h.find<T>(name); }
    QAction *action(const char *name) const { return h.action(name); }
    int hpos() const { return h.view().hpos; }
    bool modified() const { return window()->isWindowModified(); }

    // A shortcut typed with the focus in the ratio's spin box, which has an
    // undo of its own, the window activated again after a render's progress.
    void shortcut(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QVERIFY(GuiKeys::activate(window()));
        find<QSpinBox>("SpinEdit1")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    void change()
    {
        EditStep step(h.session->history, QStringLiteral("změna nastavení"));
        doc().settings.penThin = 7;
    }

private slots:
    void init() { h.start(); }
    void cleanup() { h.stop(); }

    // The progress window stays on top and on the screen, and shows a
    // rebuild's steps; a resize replays the picture, or waits for a render.
    void progressWindowAndResize()
    {
        ProgressWindow *form7 = h.windows->progressWindow();
        QVERIFY(form7->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QRect screen(0, 0, 1920, 1080);
        const std::pair<QPoint, QPoint> kept[] = {
            {{100, 100}, {100, 100}}, {{1800, 1050}, {1920 - 249, 1080 - 83}}, {{-30, -5}, {0, 0}}};
        for (auto [at, shown] : kept)
            QCOMPARE(ProgressWindow::keptOnScreen(QRect(at, QSize(249, 83)), screen), shown);
        h.showSampleLine();
        QCOMPARE(form7->label()->text(), QStringLiteral("Vytvářím popisky vlaků..."));

        const int replays = renderer().stats().replays;
        window()->resize(1000, 700);
        QWidget *client = window()->centralWidget();
        QTRY_COMPARE(renderer().diagramBitmap().size(), client->size());
        QVERIFY(renderer().stats().replays > replays);
        {
            const RenderGuard busy = h.diagram().holdRenders();
            window()->resize(1100, 750);
            QTest::qWait(20);
            QVERIFY(renderer().diagramBitmap().size() != client->size());
        }
        h.diagram().render(RenderRequest::paint()); // a render ends
        QTRY_COMPARE(renderer().diagramBitmap().size(), client->size());
    }

    // Each menu item, panel button and key as far as the command it runs
    // (the commands' rules are tested on the commands), on the example.
    void eachControlReachesItsCommand()
    {
        struct Row
        {
            const char *what;
            std::function<void()> use;
            std::function<bool()> reached;
            bool edits = false;
        };
        DocumentSettings before; // as opened
        double scaled = 0;
        const auto now = [this]() -> const DocumentSettings & { return doc().settings; };
        const QString data = TestPaths::sourceDir() + QStringLiteral("/tests/data/");
        const auto click = [this](const char *button) { find<QToolButton>(button)->click(); };
        const auto zoomText = [this] { return find<QLabel>("Label1")->text(); };
        int rebuilt = 0;
        const auto wheel = [this](int turn, Qt::KeyboardModifiers modifiers) {
            auto *box = find<QWidget>("PaintBox1");
            QWheelEvent e(QPointF(50, 50), box->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, turn), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(box, &e);
        };
        const auto hasFile = [this](const char *name, const char *starts) {
            return FileBytes::read(h.path(name)).startsWith(starts);
        };
        const auto printDialog = [this](const char *button) {
            QTimer::singleShot(0, this, [this, button] {
                h.windows->printToBitmapDialog()->findChild<QPushButton *>(QLatin1String(button))->click();
            });
            action("Tisk1")->trigger();
        };
        const Row rows[] = {
            {"SpeedButton2: Open",
             [&] {
                 h.prompter->fileAnswers = {h.example()};
                 click("SpeedButton2");
             },
             [&] {
                 return h.session->fileName == h.example()
                        && window()->windowTitle()
                               == QStringLiteral("Program pro tvoření vlakorysu - liberec-tanvald.vrs[*]")
                        && zoomText() == DiagramView::zoomText(doc().settings.zoom)
                        && find<QSpinBox>("SpinEdit2")->value() == doc().settings.ratioY;
             }},
            {"SpeedButton1: New", [&] { click("SpeedButton1"); },
             [&] { return doc().noDocument && !action("Tisk1")->isEnabled(); }},
            {"SpeedButton7: zoom in", [&] { click("SpeedButton7"); },
             [&] { return now().zoom == before.zoom + 1 && zoomText() == DiagramView::zoomText(now().zoom); }},
            {"SpeedButton8: zoom out", [&] { click("SpeedButton8"); },
             [&] { return now().zoom == before.zoom - 1 && zoomText() == DiagramView::zoomText(now().zoom); }},
            {"+ on the bar: zoom in", [&] { QTest::keyClick(find<QScrollBar>("ScrollBar1"), Qt::Key_Plus); },
             [&] { return now().zoom == before.zoom + 1; }},
            {"Ctrl+wheel on PaintBox1: two steps in, rebuilt once after them",
             [&] {
                 rebuilt = renderer().stats().rebuilds;
                 wheel(2 * QWheelEvent::DefaultDeltasPerStep, Qt::ControlModifier);
             },
             [&] {
                 const bool waiting = now().zoom == before.zoom + 2 && renderer().stats().rebuilds == rebuilt;
                 QTest::qWait(20);
                 return waiting && renderer().stats().rebuilds == rebuilt + 1;
             }},
            {"Shift+wheel on PaintBox1: ScrollBar1",
             [&] { wheel(-QWheelEvent::DefaultDeltasPerStep, Qt::ShiftModifier); }, [&] { return hpos() == 15; }},
            {"SpinEdit1, then SpeedButton9: the ratio, Akt.",
             [&] {
                 find<QSpinBox>("SpinEdit1")->setValue(before.ratioX + 1);
                 scaled = h.view().scale; // Akt. applies the ratio
                 click("SpeedButton9");
             },
             [&] {
                 return now().ratioX == before.ratioX + 1 && h.view().scale != scaled
                        && h.view().scale == DiagramView::scaleOf(now().ratioX, now().ratioY, now().zoom);
             }},
            {"CheckBox1", [&] { find<QCheckBox>("CheckBox1")->click(); },
             [&] { return now().showTimeLabels == !before.showTimeLabels; }},
            {"CheckBox2", [&] { find<QCheckBox>("CheckBox2")->click(); },
             [&] { return now().smoothing == !before.smoothing; }},
            {"CheckBox3", [&] { find<QCheckBox>("CheckBox3")->click(); },
             [&] { return now().showCategory == !before.showCategory; }},
            {"Tiskdobitmapy1",
             [&] {
                 h.prompter->fileAnswers = {h.path("vlakorys.bmp")};
                 action("Tiskdobitmapy1")->trigger();
             },
             [&] { return hasFile("vlakorys.bmp", "BM"); }},
            {"Ctrl+E from a spin box: the view",
             [&] {
                 QTimer::singleShot(0, this, [this] {
                     QDialog *d = h.windows->exportDialog();
                     d->findChild<QRadioButton *>(QStringLiteral("RadioButton2"))->setChecked(true);
                     d->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
                 });
                 h.prompter->fileAnswers = {h.path("pohled.png")};
                 h.prompter->filterAnswers = {2};
                 shortcut(Qt::Key_E, Qt::ControlModifier);
             },
             [&] { return hasFile("pohled.png", "\x89PNG"); }},
            {"Tisk1: Tisk",
             [&] {
                 h.prompter->printAnswers = {h.path("tisk.pdf")};
                 printDialog("BitBtn1");
             },
             [&] { return hasFile("tisk.pdf", "%PDF"); }},
            {"Tisk1: Exportovat",
             [&] {
                 h.prompter->fileAnswers = {h.path("arch.pdf")};
                 h.prompter->filterAnswers = {0};
                 printDialog("BitBtn4");
             },
             [&] { return hasFile("arch.pdf", "%PDF"); }},
            {"Nastaven1: OK",
             [&] {
                 SettingsDialog *d = h.windows->settingsDialog();
                 GuiKeys::whenActive(d, [d] {
                     d->findChild<QSpinBox *>(QStringLiteral("SpinEdit3"))->setValue(6);
                     d->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
                 });
                 action("Nastaven1")->trigger();
             },
             [&] { return now().penThick == 6 && action("Zpt1")->isEnabled(); }, true},
            {"Jzdndoby1: OK",
             [&] {
                 ProfileDialog *d = h.windows->profileDialog();
                 GuiKeys::whenActive(d, [d] {
                     d->editor().commitCell(1, 2, QStringLiteral("3+"));
                     d->BitBtn1Click();
                 });
                 action("Jzdndoby1")->trigger();
             },
             [&] { return action("Zpt1")->isEnabled(); }, true},
            {"Import1",
             [&] {
                 FileBytes::write(h.path("import.txt"), "Os 99\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n");
                 h.prompter->fileAnswers = {h.path("import.txt")};
                 action("Import1")->trigger();
             },
             [&] { return doc().trains.back().name.view() == QByteArrayView("Os 99"); }, true},
            {"ImportCzptt1: one step",
             [&] {
                 QTimer::singleShot(0, [data] {
                     QVERIFY(QTest::qWaitFor(
                         [] { return qobject_cast<RealImportDialog *>(QApplication::activeModalWidget()); }));
                     auto *d = qobject_cast<RealImportDialog *>(QApplication::activeModalWidget());
                     QVERIFY(d->addSources({data + QStringLiteral("czptt/vsetin-velke-karlovice")}));
                     QVERIFY(d->useCodebook(data + QStringLiteral("sr70/SR70-2026-08-15.csv")));
                     d->findChild<QCalendarWidget *>(QStringLiteral("DayCalendar"))->setSelectedDate(QDate(2026, 3, 4));
                     d->findChild<QPushButton *>(QStringLiteral("ImportButton"))->click();
                     if (d->isVisible())
                         d->reject();
                 });
                 click("SpeedButton1");
                 action("ImportCzptt1")->trigger();
             },
             [&] {
                 const bool drawn = !doc().noDocument && doc().trainLabels.size() == doc().trains.size()
                                    && window()->menu().printAndExportEnabled();
                 const bool step = action("Zpt1")->text() == QStringLiteral("Zpět: import jízdního řádu");
                 const bool told = h.prompter->messages().size() == 1; // the summary
                 h.prompter->log.clear();
                 action("Zpt1")->trigger();
                 return drawn && step && told && doc().noDocument && doc().trains.empty();
             }},
            {"Ins from a spin box: the insert tool, Editace and its shortcuts locked",
             [&] { shortcut(Qt::Key_Insert, Qt::NoModifier); },
             [&] {
                 const bool open = h.windows->insertToolWindow()->isVisible() && !find<QMenu>("Editace1")->isEnabled()
                                   && !action("Stanice1")->isEnabled();
                 h.windows->insertToolWindow()->close();
                 return open;
             }},
            {"Konflikty1 (Ctrl+K), a conflict chosen, the list closed",
             [&] {
                 find<QCheckBox>("CheckBoxKonflikty")->setChecked(true);
                 QTRY_VERIFY(!window()->diagram().conflictsPending());
                 shortcut(Qt::Key_K, Qt::ControlModifier);
             },
             [&] {
                 const bool chosen = h.diagram().highlighting().on && !h.diagram().highlighting().other.isEmpty();
                 h.windows->conflictListDialog()->close();
                 return chosen && !h.diagram().highlighting().on;
             }},
            {"CheckBoxKonflikty: off, and so at the next start",
             [&] {
                 find<QCheckBox>("CheckBoxKonflikty")->setChecked(true);
                 find<QCheckBox>("CheckBoxKonflikty")->click();
             },
             [&] { return !h.diagram().conflictsShown() && !h.session->settingsFile.readShowConflicts(); }},
            {"Porovnats1, then Konecporovnn1",
             [&] {
                 h.prompter->fileAnswers = {h.example()};
                 action("Porovnats1")->trigger();
             },
             [&] {
                 const bool shown = h.diagram().compared() && h.windows->differenceListDialog()->isVisible();
                 action("Konecporovnn1")->trigger();
                 return shown && !h.diagram().compared();
             }},
            {"Ctrl+T: the timetable", [&] { shortcut(Qt::Key_T, Qt::ControlModifier); },
             [&] { return h.windows->timetableWindow()->isVisible(); }},
            {"Ctrl+Z, Ctrl+Shift+Z from a spin box",
             [&] {
                 change();
                 shortcut(Qt::Key_Z, Qt::ControlModifier);
                 before.penThin = now().penThin;
                 shortcut(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
             },
             [&] { return before.penThin != 7 && now().penThin == 7; }, true},
            {"Konec1: the zoom for the next start",
             [&] {
                 doc().settings.zoom = 5;
                 action("Konec1")->trigger();
                 h.start();
             },
             [&] {
                 return find<QLabel>("Label1")->text() == QStringLiteral("125 %")
                        && find<QCheckBox>("CheckBox1")->isChecked();
             }},
        };
        for (const Row &row : rows) {
            h.start();
            h.openCopy("trať.vrs");
            h.prompter->log.clear();
            before = now();
            row.use();
            QVERIFY2(row.reached(), row.what);
            QVERIFY2(h.prompter->messages().isEmpty(), row.what);
            QVERIFY2(!h.prompter->log.contains(QStringLiteral("unscripted question")), row.what);
            QVERIFY2(modified() == row.edits, row.what); // view changes are no edits
            if (row.edits) {
                action("Uloit1")->trigger(); // Save clears it
                QVERIFY2(!modified(), row.what);
            }
        }
        // Settings set by the program run no command, and a damaged file's
        // ratio comes back as the controls hold it.
        h.doc().settings.smoothing = 0;
        h.doc().settings.ratioX = 0;
        h.doc().settings.ratioY = 500;
        rebuilt = renderer().stats().rebuilds;
        window()->showDocumentSettings();
        QCOMPARE(renderer().stats().rebuilds, rebuilt);
        QVERIFY(!find<QCheckBox>("CheckBox2")->isChecked());
        QCOMPARE(std::pair(doc().settings.ratioX, doc().settings.ratioY), std::pair(1, 100));
    }

    // A click into the trough moves the bar by its large change, 1; the
    // bars and keys scroll the diagram (their rules are ViewCommands').
    void scrollBarsAndKeys()
    {
        h.showSampleLine({10, 60, 40, 10});
        auto *bar = find<QScrollBar>("ScrollBar1");
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() * 3 / 4, bar->height() / 2));
        QCOMPARE(hpos(), 1);
        bar->setValue(50); // as a drag of the bar sets it
        QTest::keyClick(window(), Qt::Key_Right);
        QCOMPARE(std::pair(hpos(), bar->value()), std::pair(45, 45));
        // A scroll bar's arrows scroll the diagram, not the bar by itself.
        QTest::keyClick(bar, Qt::Key_Left);
        QCOMPARE(hpos(), 50);
        // On a spin edit or a check box: once, on the release of a key
        // pressed there (not of one pressed elsewhere).
        QTest::keyRelease(find<QSpinBox>("SpinEdit2"), Qt::Key_Right);
        QCOMPARE(hpos(), 50);
        QTest::keyClick(find<QSpinBox>("SpinEdit2"), Qt::Key_Right);
        QCOMPARE(hpos(), 45);
        QTest::keyClick(find<QCheckBox>("CheckBox1"), Qt::Key_Right);
        QCOMPARE(hpos(), 40);
    }

    // The delete question closed with the window's close button, not
    // answered: the label stays.
    void closingTheDeleteQuestionKeepsTheLabel()
    {
        m_qtPrompter = std::make_unique<QtPrompter>();
        h.start({1200, 800}, m_qtPrompter.get());
        h.showSampleLine();
        const QPoint p = h.pickableLabel();
        const int count = doc().trainLabelCount();
        bool asked = false;
        QTimer::singleShot(0, this, [&asked] {
            QVERIFY(QTest::qWaitFor([] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); }));
            auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            asked = question->text() == QStringLiteral("Odstranit popisek?");
            question->close();
            if (question->isVisible())
                question->done(QMessageBox::Yes); // a box that cannot be closed fails below
        });
        h.drag(p, QPoint(p.x(), -12));
        QVERIFY(asked);
        QCOMPARE(doc().trainLabelCount(), count);
    }

    // Esc in the search prompt cancels it and leaves the green on, though
    // its release reaches the spin box the focus goes back to; Esc in the
    // window takes it away.
    void aFoundTrainIsGreenUntilEscInTheWindow()
    {
        h.showSampleLine();
        FindTrainDialog *dialog = h.windows->findTrainDialog();
        const QRgb green = qRgb(0, 255, 0);
        const QString number = QString::fromLatin1(doc().trains.front().name.view().toByteArray()).section(u' ', 1);
        GuiKeys::whenActive(dialog, [dialog, number] {
            QCOMPARE(dialog->edit()->text(), QString()); // cleared for every search
            QTest::keyClicks(dialog->edit(), number);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        });
        action("Najdivlak1")->trigger();
        QVERIFY(h.pixels(green) > 20);

        auto *spin = find<QSpinBox>("SpinEdit1");
        QVERIFY(GuiKeys::activate(window()));
        spin->setFocus();
        QTRY_VERIFY(spin->hasFocus());
        GuiKeys::whenActive(dialog, [dialog] { QTest::keyPress(dialog->edit(), Qt::Key_Escape); });
        action("Najdivlak1")->trigger();
        QVERIFY(GuiKeys::activate(window()));
        QTRY_VERIFY(spin->hasFocus());
        QTest::keyRelease(spin, Qt::Key_Escape);
        QVERIFY(h.pixels(green) > 20);
        QTest::keyClick(window(), Qt::Key_Escape);
        QCOMPARE(h.pixels(green), 0);
    }

    // A menu's shortcut reaches its command whichever control of the panel
    // has the focus, even a key the control has a use of its own for (a
    // spin box selects its text with Ctrl+A).
    void menuShortcutsWinOverTheFocusedControl()
    {
        QAction *probe = find<QMenu>("Editace1")->addAction(QStringLiteral("zkouška"));
        probe->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
        int triggered = 0;
        connect(probe, &QAction::triggered, this, [&triggered] { ++triggered; });
        int expected = 0;
        for (const char *name : {"SpinEdit1", "SpinEdit2", "CheckBox1", "CheckBox2", "CheckBox3"}) {
            QVERIFY(GuiKeys::activate(window()));
            auto *control = find<QWidget>(name);
            control->setFocus();
            QTRY_VERIFY(control->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QVERIFY2(triggered == ++expected, name);
        }
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
};

int main(int argc, char **argv)
{
    return runGuiTests<MainWindowTest>(argc, argv);
}

#include "MainWindowTest.moc"
