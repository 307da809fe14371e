#include "../io/FileBytes.h"
#include "AppHarness.h"
#include "DocumentFixtures.h"
#include "cli/DumpCommand.h"
#include "cli/RenderCommand.h"
#include "dialogs/ConflictListDialog.h"
#include "dialogs/DifferenceListDialog.h"
#include "dialogs/ExportDialog.h"
#include "dialogs/FindTrainDialog.h"
#include "dialogs/PrintToBitmapDialog.h"
#include "dialogs/ProfileDialog.h"
#include "dialogs/ProgressWindow.h"
#include "dialogs/QtPrompter.h"
#include "dialogs/RealImportDialog.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/StationListDialog.h"
#include "dialogs/TimetableModel.h"
#include "dialogs/TimetableWindow.h"
#include "dialogs/TrainListDialog.h"
#include "model/Tracks.h"
#include "io/DocumentFile.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

Q_DECLARE_METATYPE(std::function<void()>)

// TForm1 and its commands as the user reaches them, each as far as the
// document, the picture or the file (the commands' rules are tested on the
// commands), and the modified state: what sets it, the question, Zpět, Znovu.
class MainWindowTest : public QObject
{
    Q_OBJECT

    AppHarness h;
    std::unique_ptr<QtPrompter> m_qtPrompter;
    MainWindow *window() const { return h.window(); }
    Renderer &renderer() const { return h.renderer(); }
    Document &doc() const { return h.doc(); }
    template <typename T> T *find(const char *name) const { return h.find<T>(name); }
    QAction *action(const char *name) const { return h.action(name); }
    int hpos() const { return h.view().hpos; }
    bool modified() const { return window()->isWindowModified(); }
    TrainLabel &label(int n) const { return doc().trainLabels[static_cast<size_t>(n - 1)]; }
    SettingsDialog *settings() const { return h.windows->settingsDialog(); }
    template <typename T> T *inSettings(const char *name) const
    {
        return settings()->findChild<T *>(QLatin1String(name));
    }

    void findTrain(const QString &typed)
    {
        FindTrainDialog *dialog = h.windows->findTrainDialog();
        GuiKeys::whenActive(dialog, [dialog, typed] {
            QCOMPARE(dialog->edit()->text(), QString()); // cleared for every search
            QTest::keyClicks(dialog->edit(), typed);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        });
        action("Najdivlak1")->trigger();
    }

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

    // The panel and the menu as start-up leaves them (a ratio of 1:2, the
    // category shown, nothing to print or export); the captions are
    // InterfaceTextsTest's.
    void startUpValues()
    {
        QVERIFY(!find<QCheckBox>("CheckBox1")->isChecked() && !find<QCheckBox>("CheckBox2")->isChecked());
        QVERIFY(find<QCheckBox>("CheckBox3")->isChecked());
        QCOMPARE(find<QSpinBox>("SpinEdit1")->value() * 10 + find<QSpinBox>("SpinEdit2")->value(), 12);
        // Start-up sets 1160, then the first render gives the empty time axis
        // its range: (zoom * 1440 + 80 - PaintBox1.Width) div 5.
        QCOMPARE(find<QScrollBar>("ScrollBar1")->maximum(), (4 * 1440 + 80 - h.box()->width()) / 5);
        const std::tuple<const char *, const char *, bool> items[] = {
            {"Otevt1", "Ctrl+O", true},  {"Uloit1", "Ctrl+S", true},   {"Import1", "Ctrl+I", true},
            {"Tisk1", "Ctrl+P", true},   {"Exportovat1", "Ctrl+E", true}, {"Tiskdobitmapy1", "", false},
            {"Konec1", "Alt+F4", true},  {"Zpt1", "Ctrl+Z", true},     {"Znovu1", "Ctrl+Y", true},
            {"Mtko1", "", false},        {"Vloitvlakzjzddob1", "Ins", true}, {"Najdivlak1", "Ctrl+F", true},
            {"Nastaven1", "Ctrl+Shift+N", true}, {"Konflikty1", "Ctrl+K", true}};
        for (const auto &[name, shortcut, visible] : items) {
            QAction *a = action(name);
            QVERIFY2(a, name);
            QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(shortcut));
            QCOMPARE(a->isVisible(), visible);
        }
        for (const char *name : {"Tiskdobitmapy1", "Tisk1", "Exportovat1"})
            QVERIFY2(!action(name)->isEnabled(), name);
    }

    void resizeReplaysOrWaits()
    {
        h.showSampleLine();
        const int replays = renderer().stats.replays;
        window()->resize(1000, 700);
        QWidget *client = window()->centralWidget();
        QTRY_COMPARE(renderer().diagramBitmap().size(), client->size());
        QVERIFY(renderer().stats.replays > replays);
        {
            RenderGuard busy(renderer());
            window()->resize(1100, 750);
            QTest::qWait(20);
            QVERIFY(renderer().diagramBitmap().size() != client->size());
        }
        h.diagram().render(RenderRequest::paint()); // a render ends
        QTRY_COMPARE(renderer().diagramBitmap().size(), client->size());
    }

    void progressWindow()
    {
        ProgressWindow *form7 = h.windows->progressWindow();
        QVERIFY(form7->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QRect screen(0, 0, 1920, 1080);
        const std::pair<QPoint, QPoint> kept[] = {
            {{100, 100}, {100, 100}}, {{1800, 1050}, {1920 - 249, 1080 - 83}}, {{-30, -5}, {0, 0}}};
        for (auto [at, shown] : kept)
            QCOMPARE(ProgressWindow::keptOnScreen(QRect(at, QSize(249, 83)), screen), shown);
        h.showSampleLine(); // a rebuild shows its steps there
        QCOMPARE(form7->label()->text(), QStringLiteral("Vytvářím popisky vlaků..."));
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
        const auto hasFile = [this](const char *name, const char *starts) {
            return FileBytes::read(h.path(name)).startsWith(starts);
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
                 QTimer::singleShot(0, this, [this] {
                     h.windows->printToBitmapDialog()->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
                 });
                 action("Tisk1")->trigger();
             },
             [&] { return hasFile("tisk.pdf", "%PDF"); }},
            {"Tisk1: Exportovat",
             [&] {
                 h.prompter->fileAnswers = {h.path("arch.pdf")};
                 h.prompter->filterAnswers = {0};
                 QTimer::singleShot(0, this, [this] {
                     h.windows->printToBitmapDialog()->findChild<QPushButton *>(QStringLiteral("BitBtn4"))->click();
                 });
                 action("Tisk1")->trigger();
             },
             [&] { return hasFile("arch.pdf", "%PDF"); }},
            {"Najdivlak1", [&] { findTrain(QString::fromLatin1(doc().trains[3].name.view().toByteArray()).section(u' ', 1)); },
             [&] { return renderer().highlightOn; }},
            {"Nastaven1: OK",
             [&] {
                 GuiKeys::whenActive(settings(), [this] {
                     inSettings<QSpinBox>("SpinEdit3")->setValue(6);
                     inSettings<QPushButton>("BitBtn1")->click();
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
        const int rebuilt = renderer().stats.rebuilds;
        window()->showDocumentSettings();
        QCOMPARE(renderer().stats.rebuilds, rebuilt);
        QVERIFY(!find<QCheckBox>("CheckBox2")->isChecked());
        QCOMPARE(std::pair(doc().settings.ratioX, doc().settings.ratioY), std::pair(1, 100));
    }

    // A click into the trough moves the bar by its large change, 1; the
    // bars and keys scroll the diagram (their rules are ViewCommands').
    void scrollBarsAndKeys()
    {
        h.showSampleLine({10, 60, 40, 10});
        auto *bar = find<QScrollBar>("ScrollBar1");
        int renders = renderer().stats.renders;
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() * 3 / 4, bar->height() / 2));
        QCOMPARE(hpos(), 1);
        QCOMPARE(renderer().stats.renders, ++renders);
        bar->setValue(50); // as a drag of the bar sets it
        ++renders;
        // The arrow key moves the bar from the program: one render, not two.
        QTest::keyClick(window(), Qt::Key_Right);
        QCOMPARE(hpos(), 45);
        QCOMPARE(bar->value(), 45);
        QCOMPARE(renderer().stats.renders, ++renders);
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

    // Open from the tool panel: one dialog and no message, the controls
    // show the document's settings, and the paint box shows what the
    // command line draws of the same file (labels made as Open makes them).
    void openShowsWhatTheCommandLineDraws()
    {
        h.prompter->fileAnswers = {h.example()};
        find<QToolButton>("SpeedButton2")->click();
        QCOMPARE(h.prompter->log.size(), 1);
        QCOMPARE(find<QLabel>("Label1")->text(), DiagramView::zoomText(h.doc().settings.zoom));
        QCOMPARE(find<QSpinBox>("SpinEdit2")->value(), h.doc().settings.ratioY);
        find<QCheckBox>("CheckBoxKonflikty")->setChecked(true); // as another test may have left it
        QTRY_VERIFY(!window()->diagram().conflictsPending()); // the marks follow the worker's check
        const QImage marked = h.box()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(marked, renderer().surface());
        // The example's conflicts are marked over the diagram as the command
        // line marks them; without the marks it shows what it draws with
        // --no-conflicts.
        find<QCheckBox>("CheckBoxKonflikty")->click();
        const QImage shown = h.box()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(shown != marked);
        QCOMPARE(h.prompter->log.size(), 1);

        Document fromFile;
        QVERIFY(DumpCommand::openDocument(fromFile, h.example(), LabelMakers::standard()).isEmpty());
        RenderCommand::Options options;
        options.size = h.box()->size();
        QCOMPARE(RenderCommand::viewSurface(fromFile, options), marked);
        options.conflicts = false;
        QCOMPARE(RenderCommand::viewSurface(fromFile, options), shown);
    }

    // "Porovnat s...": a file that cannot be read is told as Open tells it
    // and changes nothing; against a copy without its first train the
    // example lists that train, names the copy in the status bar and draws
    // the train green when chosen; "Konec porovnání" ends it all.
    void comparedWithAnotherDocument()
    {
        h.openCopy("a.vrs");
        FileBytes::write(h.path("bad.vrs"), "not a timetable");
        Document scratch;
        const QString unreadable = DocumentFile::message(DocumentFile::load(scratch, h.path("bad.vrs")).status);
        h.prompter->fileAnswers = {h.path("bad.vrs")};
        action("Porovnats1")->trigger();
        QCOMPARE(h.prompter->log.last(), QStringLiteral("error: ") + unreadable);
        QVERIFY(!window()->diagram().compared() && !action("Rozdly1")->isEnabled());

        Document fewer;
        QCOMPARE(DocumentFile::load(fewer, h.path("a.vrs")).status, DocumentFile::Status::Ok);
        fewer.trains.erase(fewer.trains.begin());
        FileBytes::write(h.path("b.vrs"), FileBytes::of(fewer));
        h.prompter->fileAnswers = {h.path("b.vrs")};
        action("Porovnats1")->trigger();
        DifferenceListDialog *list = h.windows->differenceListDialog();
        QVERIFY(list->isVisible() && window()->statusBar()->isVisible());
        QCOMPARE(find<QLabel>("ComparedName")->text(), QStringLiteral("Porovnáno s: b.vrs"));
        QCOMPARE(list->list()->topLevelItemCount(), 1);
        QCOMPARE(list->list()->topLevelItem(0)->text(DifferenceListDialog::KindColumn), QStringLiteral("přidán"));
        list->list()->setCurrentItem(list->list()->topLevelItem(0));
        QCOMPARE(renderer().foundName, doc().trains[0].name.view().toByteArray());

        action("Konecporovnn1")->trigger();
        QVERIFY(!list->isVisible() && !window()->statusBar()->isVisible() && !window()->diagram().compared());
    }

    // Ctrl+K lists the example's conflicts beside the diagram; choosing one
    // draws both its trains green and scrolls to it; "Konflikty" off takes
    // the marks away and is remembered for the next start.
    void conflictsListedChosenAndRemembered()
    {
        find<QCheckBox>("CheckBoxKonflikty")->setChecked(true);
        QVERIFY(window()->openFile(h.example()));
        QTRY_VERIFY(!window()->diagram().conflictsPending());
        shortcut(Qt::Key_K, Qt::ControlModifier);
        ConflictListDialog *dialog = h.windows->conflictListDialog();
        QVERIFY(dialog->isVisible());
        const std::vector<Conflict> &conflicts = window()->diagram().conflicts();
        QVERIFY(!conflicts.empty());
        const auto name = [this](int32_t train) { return doc().trains[size_t(train)].name.view().toByteArray(); };
        // Each opening chooses and shows the first row; closing takes the
        // green pair away.
        for (int opening = 0; opening < 2; ++opening) {
            if (opening > 0)
                shortcut(Qt::Key_K, Qt::ControlModifier);
            QCOMPARE(dialog->list()->currentItem(), dialog->list()->topLevelItem(0));
            QCOMPARE(renderer().otherFoundName, name(conflicts.front().trainB));
            const int first = window()->diagram().view().hpos;
            const Conflict &last = conflicts.back();
            dialog->list()->setCurrentItem(dialog->list()->topLevelItem(int(conflicts.size()) - 1));
            QVERIFY(renderer().highlightOn && renderer().highlightRecorded());
            QCOMPARE(renderer().foundName, name(last.trainA));
            QCOMPARE(renderer().otherFoundName, name(last.trainB));
            QVERIFY(window()->diagram().view().hpos > first);
            dialog->close();
            QVERIFY(!renderer().highlightOn);
        }

        find<QCheckBox>("CheckBoxKonflikty")->click();
        QVERIFY(!window()->diagram().conflictsShown());
        h.start();
        QVERIFY(!find<QCheckBox>("CheckBoxKonflikty")->isChecked());
        QVERIFY(!window()->diagram().conflictsShown());
        QVERIFY(h.prompter->log.isEmpty());
    }

    // Ctrl+T shows the timetable beside the diagram, a tab a direction named
    // by its end stations; it follows a step and its undo at once, and prints
    // and exports both directions.
    void timetableFollowsEditsPrintsAndExports()
    {
        QVERIFY(window()->openFile(h.example()));
        shortcut(Qt::Key_T, Qt::ControlModifier);
        TimetableWindow *t = h.windows->timetableWindow();
        QVERIFY(t->isVisible() && !t->isModal());
        const QStringList titles{TimetableTable(doc(), 1).title(), TimetableTable(doc(), 2).title()};
        QCOMPARE((QStringList{t->tabs()->tabText(0), t->tabs()->tabText(1)}), titles);
        const auto columns = [t] { return t->trainModel(1)->columnCount() + t->trainModel(2)->columnCount(); };
        const int all = columns();
        QVERIFY(all > 0);
        {
            EditStep step(h.session->history, QStringLiteral("smazání vlaků"));
            doc().trains.clear();
        }
        QCOMPARE(columns(), 0);
        action("Zpt1")->trigger();
        QCOMPARE(columns(), all);

        h.prompter->printAnswers = {h.path("tabulka.pdf")};
        t->findChild<QPushButton *>(QStringLiteral("TiskTabulky"))->click();
        QVERIFY(FileBytes::read(h.path("tabulka.pdf")).startsWith("%PDF"));
        h.prompter->fileAnswers = {h.path("tabulka.html")};
        h.prompter->filterAnswers = {0}; // the suffix typed wins
        t->findChild<QPushButton *>(QStringLiteral("ExportovatTabulku"))->click();
        const QString html = QString::fromUtf8(FileBytes::read(h.path("tabulka.html")));
        QVERIFY(html.contains(titles[0]) && html.contains(titles[1]));
        QVERIFY(h.prompter->messages().isEmpty());
    }

    // A train dragged along the time axis onto the one coming the other way
    // on single track: the meet is in the Ctrl+K list. Esc during the next
    // drag puts the train back; Zpět takes the first drag back.
    void trainDraggedIntoAMeet()
    {
        find<QCheckBox>("CheckBoxKonflikty")->setChecked(true);
        for (auto [name, km] : {std::pair{"A", 0}, {"B", 5}, {"C", 10}})
            SampleLine::addStation(doc(), name, km);
        DocumentFixtures::addTrain(doc(), "Os 1", {{1, 8, 0}, {3, 8, 20}});
        DocumentFixtures::addTrain(doc(), "Os 2", {{3, 9, 0}, {1, 9, 20}});
        h.view().updateScale(doc().settings);
        h.diagram().render(RenderRequest::rebuildAll());
        QVERIFY(window()->diagram().conflicts().empty());

        const QPoint grab = h.at(2.5, 9 * 60 + 15);
        const QPoint earlier = grab - QPoint(Geometry::round(50 * h.view().scale), 0);
        h.drag(grab, earlier);
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět: posun vlaku Os 2 o -50 min"));
        shortcut(Qt::Key_K, Qt::ControlModifier);
        const QTreeWidget *list = h.windows->conflictListDialog()->list();
        QCOMPARE(list->topLevelItemCount(), int(window()->diagram().conflicts().size()));
        QVERIFY(list->topLevelItemCount() > 0);
        QCOMPARE(list->topLevelItem(0)->text(ConflictListDialog::TrainsColumn), QStringLiteral("Os 1, Os 2"));

        // The list scrolled to its first conflict: the train is where it is drawn now.
        const double moved = doc().trains[1].firstTime;
        const QPoint again = h.at(2.5, 8 * 60 + 25);
        QTest::mousePress(h.box(), Qt::LeftButton, {}, again);
        QTest::mouseEvent(QTest::MouseMove, h.box(), Qt::NoButton, {}, again + QPoint(60, 0));
        QVERIFY(doc().trains[1].firstTime > moved);
        QTest::keyClick(window(), Qt::Key_Escape);
        QTest::mouseRelease(h.box(), Qt::LeftButton, {}, again + QPoint(60, 0));
        QCOMPARE(doc().trains[1].firstTime, moved);
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět: posun vlaku Os 2 o -50 min"));
        action("Zpt1")->trigger();
        QCOMPARE(doc().trains[1].firstTime, makeTime(9, 0));
        QVERIFY(window()->diagram().conflicts().empty());
    }

    // New also starts the line settings from their defaults; the panel
    // shows those in force.
    void newEmptiesTheDocument()
    {
        QVERIFY(window()->openFile(h.example()));
        doc().lineTracks = {Tracks::doubleTrack, 5};
        window()->showDocumentSettings();
        QCOMPARE(find<QLabel>("LabelKoleje")->text(), QStringLiteral("Dvoukolejná trať, interval 5 min"));
        StationListDialog *stations = h.windows->stationListDialog();
        stations->fill();
        QVERIFY(!stations->editor().cell(StationListEditor::NameColumn, 1).isEmpty());
        const int axes = renderer().stats.emptyAxes;
        find<QToolButton>("SpeedButton1")->click();
        QVERIFY(h.doc().noDocument && h.doc().untitled && h.session->fileName.isEmpty());
        QCOMPARE(doc().lineTracks, LineTracks{});
        QCOMPARE(find<QLabel>("LabelKoleje")->text(), QStringLiteral("Jednokolejná trať, interval 3 min"));
        QCOMPARE(renderer().stats.emptyAxes, axes + 1);
        QVERIFY(!window()->menu().printAndExportEnabled() && !action("Tisk1")->isEnabled());
        stations->fill();
        QCOMPARE(stations->editor().cell(StationListEditor::NameColumn, 1), QString());
        QVERIFY(h.prompter->log.isEmpty());
    }

    // Exit writes the zoom; the next start-up shows it and decides from it
    // whether minute labels are on (from 125 %).
    void exitWritesTheZoomForTheNextStart()
    {
        for (auto [zoom, text] : {std::pair{5, "125 %"}, std::pair{4, "100 %"}}) {
            h.doc().settings.zoom = zoom;
            action("Konec1")->trigger();
            QVERIFY(!window()->isVisible());
            h.start();
            QCOMPARE(find<QLabel>("Label1")->text(), QString::fromLatin1(text));
            QCOMPARE(find<QCheckBox>("CheckBox1")->isChecked(), zoom == 5);
        }
    }

    // A Shift turn by real mouse events; Zpět and Znovu by their keys from
    // a spin box take it back and give it again, but not while a modal
    // editor is open.
    void undoAndRedoByTheirKeys()
    {
        h.showSampleLine();
        QVERIFY(!action("Zpt1")->isEnabled() && !action("Znovu1")->isEnabled());
        int n = 0;
        const QPoint p = h.pickableLabel(&n);
        const double angle = label(n).angle;
        const double turned = LabelDrag::turnedAngle(angle, 15);
        h.drag(p, p + QPoint(0, 15), Qt::ShiftModifier, Qt::ShiftModifier);
        QCOMPARE(label(n).angle, turned);
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět: otočení popisku"));
        shortcut(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(label(n).angle, angle);
        QVERIFY(!modified());
        QCOMPARE(action("Znovu1")->text(), QStringLiteral("Znovu: otočení popisku"));
        shortcut(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(label(n).angle, turned);
        QVERIFY(modified());
        bool offInEditor = false;
        h.prompter->yesNoAnswers = {false, false};
        GuiKeys::whenActive(h.windows->trainListDialog(), [&] { offInEditor = !action("Zpt1")->isEnabled(); });
        action("Vlaky1")->trigger();
        QVERIFY(offInEditor && action("Zpt1")->isEnabled());
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
        findTrain(QString::fromLatin1(doc().trains.front().name.view().toByteArray()).section(u' ', 1));
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
