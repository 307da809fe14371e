#include "../io/FileBytes.h"
#include "AppHarness.h"
#include "cli/DumpCommand.h"
#include "cli/RenderCommand.h"
#include "dialogs/ConflictListDialog.h"
#include "dialogs/ExportDialog.h"
#include "dialogs/FindTrainDialog.h"
#include "dialogs/PrintToBitmapDialog.h"
#include "dialogs/ProfileDialog.h"
#include "dialogs/ProgressWindow.h"
#include "dialogs/QtPrompter.h"
#include "dialogs/RealImportDialog.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/StationListDialog.h"
#include "dialogs/TrainListDialog.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
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

    void captions()
    {
        QCOMPARE(window()->windowTitle(), QStringLiteral("Program pro tvoření vlakorysu - Bez názvu[*]"));
        // Qt's own translation gives Czech standard buttons.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Ne"));
    }

    void menuItems()
    {
        struct Item
        {
            const char *name, *caption, *shortcut;
            bool visible;
        };
        const Item items[] = {{"Nov1", "&Nový", "", true},
                              {"Otevt1", "&Otevřít", "Ctrl+O", true},
                              {"Uloit1", "&Uložit", "Ctrl+S", true},
                              {"Uloitjako1", "Uložit &jako...", "", true},
                              {"Import1", "Import...", "Ctrl+I", true},
                              {"ImportCzptt1", "Jízdní řád SŽ (CZPTT)...", "", true},
                              {"ImportGtfs1", "GTFS...", "", true},
                              {"Tisk1", "Tisk...", "Ctrl+P", true},
                              {"Exportovat1", "Exportovat...", "Ctrl+E", true},
                              {"Tiskdobitmapy1", "Tisk do bitmapy...", "", false},
                              {"Konec1", "&Konec", "Alt+F4", true},
                              {"Zpt1", "Zpět", "Ctrl+Z", true},
                              {"Znovu1", "Znovu", "Ctrl+Y", true},
                              {"Stanice1", "&Stanice ...", "", true},
                              {"Vlaky1", "&Vlaky ...", "", true},
                              {"Jzdndoby1", "&Jízdní doby", "", true},
                              {"Mtko1", "Měřítko ...", "", false},
                              {"Vloitvlakzjzddob1", "Vložit vlak z jízd. dob", "Ins", true},
                              {"Najdivlak1", "Najdi vlak...", "Ctrl+F", true},
                              {"Nastaven1", "Nastavení", "Ctrl+Shift+N", true},
                              {"Oaplikaci1", "&O aplikaci...", "", true}};
        for (const Item &item : items) {
            QAction *a = action(item.name);
            QVERIFY2(a, item.name);
            QCOMPARE(a->text(), QString::fromUtf8(item.caption));
            QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(item.shortcut));
            QCOMPARE(a->isVisible(), item.visible);
        }
        // Without a document there is nothing to print or export.
        for (const char *name : {"Tiskdobitmapy1", "Tisk1", "Exportovat1"})
            QVERIFY2(!action(name)->isEnabled(), name);
    }

    // The panel as start-up leaves it (a ratio of 1:2, the category shown).
    void startUpValues()
    {
        QVERIFY(!find<QCheckBox>("CheckBox1")->isChecked() && !find<QCheckBox>("CheckBox2")->isChecked());
        QVERIFY(find<QCheckBox>("CheckBox3")->isChecked());
        QCOMPARE(find<QSpinBox>("SpinEdit1")->value() * 10 + find<QSpinBox>("SpinEdit2")->value(), 12);
        // Start-up sets 1160, then the first render gives the empty time axis
        // its range: (zoom * 1440 + 80 - PaintBox1.Width) div 5.
        QCOMPARE(find<QScrollBar>("ScrollBar1")->maximum(), (4 * 1440 + 80 - h.box()->width()) / 5);
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

    // Buttons and keys reach the view commands (whose rules are tested on
    // ViewCommands); settings set by the program run no command.
    void zoomAktAndCheckBoxesReachTheirCommands()
    {
        h.showSampleLine();
        auto *label = find<QLabel>("Label1");
        find<QToolButton>("SpeedButton7")->click();
        QCOMPARE(label->text(), QStringLiteral("125 %"));
        find<QToolButton>("SpeedButton8")->click();
        QCOMPARE(label->text(), QStringLiteral("100 %"));
        QTest::keyClick(find<QScrollBar>("ScrollBar1"), Qt::Key_Plus);
        QCOMPARE(label->text(), QStringLiteral("125 %"));

        find<QSpinBox>("SpinEdit1")->setValue(2);
        QCOMPARE(h.doc().settings.ratioX, 2);
        QCOMPARE(h.view().scale, 2.5); // a ratio of 2 at 125 %
        find<QToolButton>("SpeedButton9")->click();
        QCOMPARE(h.view().scale, 5.0);

        const DocumentSettings &s = h.doc().settings;
        for (auto [box, flag] : {std::pair{"CheckBox1", &DocumentSettings::showTimeLabels},
                                 {"CheckBox2", &DocumentSettings::smoothing},
                                 {"CheckBox3", &DocumentSettings::showCategory}}) {
            const bool before = s.*flag;
            find<QCheckBox>(box)->click();
            QCOMPARE(bool(s.*flag), !before);
        }
        QVERIFY(!modified() && !action("Zpt1")->isEnabled()); // view changes are no edits
        // A damaged file's ratio comes back as the controls hold it.
        h.doc().settings.smoothing = 0;
        h.doc().settings.ratioX = 0;
        h.doc().settings.ratioY = 500;
        const int rebuilt = renderer().stats.rebuilds;
        window()->showDocumentSettings();
        QCOMPARE(renderer().stats.rebuilds, rebuilt);
        QVERIFY(!find<QCheckBox>("CheckBox2")->isChecked());
        QCOMPARE(std::pair(s.ratioX, s.ratioY), std::pair(1, 100));
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
        // The example's conflicts are marked over the diagram; without the
        // marks the window shows what the command line draws.
        find<QCheckBox>("CheckBoxKonflikty")->click();
        const QImage shown = h.box()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY(shown != marked);
        QCOMPARE(h.prompter->log.size(), 1);

        Document fromFile;
        QVERIFY(DumpCommand::openDocument(fromFile, h.example(), LabelSteps::standard()).isEmpty());
        RenderCommand::Options options;
        options.size = h.box()->size();
        QCOMPARE(RenderCommand::viewSurface(fromFile, options), shown);
    }

    // New: no question, no name, the empty axis, printing off, and the
    // station grid's kept first row emptied (what New does to the document
    // is tested on DocumentCommands).
    // A day of real trains from the menu: a new line drawn with its labels,
    // one step that Zpět takes back whole.
    void aDayOfRealTrainsIsOneStep()
    {
        const QString data = TestPaths::sourceDir() + QStringLiteral("/tests/data/");
        QTimer::singleShot(0, [data] {
            QVERIFY(
                QTest::qWaitFor([] { return qobject_cast<RealImportDialog *>(QApplication::activeModalWidget()); }));
            auto *d = qobject_cast<RealImportDialog *>(QApplication::activeModalWidget());
            QVERIFY(d->addSources({data + QStringLiteral("czptt/vsetin-velke-karlovice")}));
            QVERIFY(d->useCodebook(data + QStringLiteral("sr70/SR70-2026-08-15.csv")));
            d->findChild<QCalendarWidget *>(QStringLiteral("DayCalendar"))->setSelectedDate(QDate(2026, 3, 4));
            d->findChild<QPushButton *>(QStringLiteral("ImportButton"))->click();
            if (d->isVisible())
                d->reject();
        });
        action("ImportCzptt1")->trigger();
        QCOMPARE(h.prompter->messages(), QStringList{QStringLiteral("Přidáno 37 vlaků.")});
        QCOMPARE(std::pair(doc().trains.size(), doc().trainLabels.size()), std::pair(size_t{37}, size_t{37}));
        QCOMPARE(doc().stations.size(), size_t{14});
        QVERIFY(!doc().noDocument && doc().untitled);
        QVERIFY(window()->menu().printAndExportEnabled());
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět: import jízdního řádu"));
        action("Zpt1")->trigger();
        QVERIFY(doc().noDocument && doc().trains.empty() && doc().stations.empty());
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
        QVERIFY(dialog->isVisible() && !dialog->isModal());
        const std::vector<Conflict> &conflicts = window()->diagram().conflicts();
        QCOMPARE(dialog->list()->topLevelItemCount(), int(conflicts.size()));
        QVERIFY(!conflicts.empty());
        const Conflict &last = conflicts.back();
        QCOMPARE(window()->diagram().view().hpos, 0);
        dialog->list()->setCurrentItem(dialog->list()->topLevelItem(int(conflicts.size()) - 1));
        QVERIFY(renderer().highlightOn && renderer().highlightRecorded());
        QCOMPARE(renderer().foundName, doc().trains[size_t(last.trainA)].name.view().toByteArray());
        QCOMPARE(renderer().otherFoundName, doc().trains[size_t(last.trainB)].name.view().toByteArray());
        QVERIFY(window()->diagram().view().hpos > 0);

        find<QCheckBox>("CheckBoxKonflikty")->click();
        QVERIFY(!window()->diagram().conflictsShown());
        h.start();
        QVERIFY(!find<QCheckBox>("CheckBoxKonflikty")->isChecked());
        QVERIFY(!window()->diagram().conflictsShown());
        QVERIFY(h.prompter->log.isEmpty());
    }

    void newEmptiesTheDocument()
    {
        QVERIFY(window()->openFile(h.example()));
        StationListDialog *stations = h.windows->stationListDialog();
        stations->fill();
        QVERIFY(!stations->editor().cell(StationListEditor::NameColumn, 1).isEmpty());
        const int axes = renderer().stats.emptyAxes;
        find<QToolButton>("SpeedButton1")->click();
        QVERIFY(h.doc().noDocument && h.doc().untitled && h.session->fileName.isEmpty());
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

    // Real mouse events on PaintBox1 reach the label drag with their keys (a
    // Shift turn, a Ctrl copy) and the panning; Zpět and Znovu by their keys
    // take the turn back and give it again, but not while a modal editor is
    // open.
    void theMouseEditsLabelsAndPans()
    {
        h.showSampleLine();
        QVERIFY(!action("Zpt1")->isEnabled() && !action("Znovu1")->isEnabled());
        int n = 0;
        QPoint p = h.pickableLabel(&n);
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

        const int count = doc().trainLabelCount();
        p = h.pickableLabel(&n);
        const QByteArray text = label(n).text.view().toByteArray();
        h.drag(p, p + QPoint(60, 0), {}, Qt::ControlModifier);
        QCOMPARE(doc().trainLabelCount(), count + 1);
        QCOMPARE(label(1).text.view(), text);

        // 100 pixels left is 20 units on.
        const int hpos = h.view().hpos;
        QTest::mousePress(h.box(), Qt::RightButton, {}, QPoint(600, 200));
        QTest::mouseMove(h.box(), QPoint(500, 200));
        QTest::mouseRelease(h.box(), Qt::RightButton, {}, QPoint(500, 200));
        QCOMPARE(h.view().hpos, hpos + 20);
        QCOMPARE(window()->horizontalBar()->value(), hpos + 20);
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

    // Found: green. Esc in the prompt cancels it and leaves the green on,
    // though its release reaches the spin box the focus goes back to. A
    // search that finds nothing takes the green away with its message; Esc
    // in the window takes it away.
    void aTrainFoundByItsNumberIsGreenUntilEsc()
    {
        h.showSampleLine();
        FindTrainDialog *dialog = h.windows->findTrainDialog();
        const Train *early = &doc().trains.front();
        for (const Train &t : doc().trains)
            if (t.firstTime < early->firstTime)
                early = &t;
        const QString number = QString::fromLatin1(early->name.view().toByteArray()).section(u' ', 1);
        const QRgb green = qRgb(0, 255, 0);
        findTrain(number);
        QCOMPARE(h.renderer().foundName, early->name.view().toByteArray());
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
        QVERIFY(h.renderer().highlightOn);
        QVERIFY(h.pixels(green) > 20);

        findTrain(QStringLiteral("os ") + number);
        QCOMPARE(h.prompter->messages().last(), QStringLiteral("Vlak os %1 nebyl nalezen").arg(number));
        QCOMPARE(h.pixels(green), 0);
        findTrain(number);
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

    // The settings file says one thing, the opened document another: TForm9
    // shows the document's. Cancel changes nothing even after a font was
    // picked; OK applies, redraws, writes and is a step to undo.
    void settingsCancelAndOk()
    {
        QVERIFY(SettingsFile(h.ini()).writeTimeFont("DejaVu Sans Mono", 9));
        h.start();
        QVERIFY(window()->openFile(h.example()));
        const DocumentSettings before = doc().settings;
        const QByteArray ini = FileBytes::read(h.ini());
        const int renders = h.renderer().stats.renders;
        h.prompter->fontAnswers = {Prompter::Font{QStringLiteral("DejaVu Serif"), 11}};
        GuiKeys::whenActive(settings(), [this] {
            QCOMPARE(inSettings<QLabel>("Label2")->text(), QStringLiteral("Arial CE"));
            QCOMPARE(inSettings<QLabel>("Label12")->text(), QStringLiteral("12"));
            inSettings<QPushButton>("Button2")->click();
            QCOMPARE(inSettings<QLabel>("Label6")->text(), QStringLiteral("DejaVu Serif"));
            inSettings<QPushButton>("BitBtn2")->click();
        });
        action("Nastaven1")->trigger();
        QCOMPARE(h.prompter->log.last(), QStringLiteral("font: Times New Roman CE"));
        QVERIFY(doc().settings == before);
        QCOMPARE(FileBytes::read(h.ini()), ini);
        QCOMPARE(h.renderer().stats.renders, renders);

        h.prompter->fontAnswers = {Prompter::Font{QStringLiteral("DejaVu Serif"), 10}};
        GuiKeys::whenActive(settings(), [this] {
            inSettings<QPushButton>("Button2")->click();
            inSettings<QSpinBox>("SpinEdit3")->setValue(6);
            inSettings<QPushButton>("BitBtn1")->click();
        });
        action("Nastaven1")->trigger();
        QCOMPARE(doc().settings.penThick, 6);
        QCOMPARE(doc().settings.trainFontSmallName, QByteArray("DejaVu Serif"));
        QVERIFY(h.renderer().stats.renders > renders);
        QVERIFY(window()->isWindowModified() && action("Zpt1")->isEnabled());
        DocumentSettings written;
        SettingsFile(h.ini()).readInto(written);
        QCOMPARE(written.penThick, 6);
    }

    // "Tisk do bitmapy..." writes what the window shows; "Exportovat..." by
    // its key from a number field of the panel; "Tisk..." with TForm5's
    // "&Tisk" (the print dialog printing to a file) and "&Exportovat...":
    // each as far as the file.
    void exportAndPrintFromTheMenu()
    {
        QVERIFY(window()->openFile(h.example()));
        h.prompter->fileAnswers = {h.path("vlakorys.bmp")};
        action("Tiskdobitmapy1")->trigger();
        QCOMPARE(QImage(h.path("vlakorys.bmp")).convertToFormat(QImage::Format_RGB32), h.renderer().diagramBitmap());

        QVERIFY(GuiKeys::activate(window()));
        auto *spin = h.find<QSpinBox>("SpinEdit1");
        spin->setFocus();
        QTRY_VERIFY(spin->hasFocus());
        bool asked = false;
        QTimer::singleShot(0, this, [this, &asked] {
            QDialog *d = h.windows->exportDialog();
            asked = d->isVisible();
            d->findChild<QRadioButton *>(QStringLiteral("RadioButton2"))->setChecked(true); // the view
            d->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        });
        h.prompter->fileAnswers = {h.path("pohled.png")};
        h.prompter->filterAnswers = {2};
        QTest::keyClick(spin, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(asked);
        QCOMPARE(QImage(h.path("pohled.png")).convertToFormat(QImage::Format_RGB32), h.renderer().surface());

        h.prompter->printAnswers = {h.path("tisk.pdf")};
        h.prompter->fileAnswers = {h.path("arch.pdf")};
        h.prompter->filterAnswers = {0};
        for (const char *button : {"BitBtn1", "BitBtn4"}) {
            QTimer::singleShot(0, this, [this, button] {
                h.windows->printToBitmapDialog()->findChild<QPushButton *>(QString::fromLatin1(button))->click();
            });
            action("Tisk1")->trigger();
        }
        QCOMPARE(h.prompter->log.filter(QStringLiteral("print")), QStringList{QStringLiteral("print")});
        QVERIFY(FileBytes::read(h.path("tisk.pdf")).startsWith("%PDF"));
        QVERIFY(FileBytes::read(h.path("arch.pdf")).startsWith("%PDF"));
        QVERIFY(h.prompter->messages().isEmpty());
    }

    void commandsSetTheModifiedState_data()
    {
        QTest::addColumn<std::function<void()>>("command");
        QTest::newRow("profiles, OK") << std::function<void()>([this] {
            ProfileDialog *d = h.windows->profileDialog();
            GuiKeys::whenActive(d, [d] {
                d->editor().commitCell(1, 2, QStringLiteral("3+"));
                d->BitBtn1Click();
            });
            action("Jzdndoby1")->trigger();
        });
        QTest::newRow("import") << std::function<void()>([this] {
            FileBytes::write(h.path("import.txt"), "Os 99\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n");
            h.prompter->fileAnswers = {h.path("import.txt")};
            action("Import1")->trigger();
        });
    }
    void commandsSetTheModifiedState()
    {
        QFETCH(std::function<void()>, command);
        h.openCopy("trať.vrs");
        QCOMPARE(window()->windowTitle(), QStringLiteral("Program pro tvoření vlakorysu - trať.vrs[*]"));
        command();
        QVERIFY(modified() && action("Zpt1")->isEnabled());
        QVERIFY2(!h.prompter->log.contains(QStringLiteral("unscripted question")),
                 qPrintable(h.prompter->log.join('\n')));
        action("Uloit1")->trigger(); // Save clears it
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
};

int main(int argc, char **argv)
{
    return runGuiTests<MainWindowTest>(argc, argv);
}

#include "MainWindowTest.moc"
