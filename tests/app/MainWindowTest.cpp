#include "../dialogs/ControlTexts.h"
#include "AppHarness.h"
#include "app/AnalogClock.h"
#include "cli/DumpCommand.h"
#include "cli/RenderCommand.h"
#include "dialogs/ProgressWindow.h"
#include "dialogs/StationListDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSpinBox>
#include <QToolButton>

// TForm1 itself: its controls, menus and layout, and every view control
// wired to its command (the commands' rules are tested in the renderer).
class MainWindowTest : public QObject
{
    Q_OBJECT

    AppHarness h;
    MainWindow *window() const { return h.window(); }
    Renderer &renderer() const { return h.renderer(); }
    template <typename T> T *find(const char *name) const { return h.find<T>(name); }
    QAction *action(const char *name) const { return h.action(name); }
    int hpos() const { return window()->view().hpos; }

private slots:
    void init() { h.start({1000, 700}); }
    void cleanup() { h.stop(); }

    void captionsAndSize()
    {
        QCOMPARE(window()->windowTitle(), QStringLiteral("Program pro tvoření vlakorysu - Bez názvu[*]"));
        QCOMPARE(QApplication::applicationDisplayName(), QStringLiteral("Vlakorys 1.0"));
        window()->resize(300, 200);
        QVERIFY(window()->width() >= 600 && window()->height() >= 400);
        // Qt's own translation gives Czech standard buttons.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Ne"));
    }

    // Every window by its name, in the order the program makes them.
    void windowsAreCreatedInOrder()
    {
        QStringList forms;
        for (int n = 1; n <= 14; ++n)
            forms << QStringLiteral("TForm%1").arg(n);
        QCOMPARE(h.windows->creationOrder(), forms);
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

        QStringList menus, file;
        for (QAction *m : window()->menuBar()->actions())
            menus << m->text();
        QCOMPARE(menus, (QStringList{"&Soubor", "&Editace", "Nápo&věda"}));
        for (QAction *a : window()->menuBar()->actions().front()->menu()->actions())
            file << (a->isSeparator() ? (a->isVisible() ? QStringLiteral("-") : QStringLiteral("(-)")) : a->text());
        QCOMPARE(file, QStringList({"&Nový", "&Otevřít", "&Uložit", "Uložit &jako...", "-", "Import...", "-", "Tisk...",
                                    "Exportovat...", "(-)", "Tisk do bitmapy...", "-", "&Konec"}));
    }

    void toolPanelControls()
    {
        const QStringList hints{"SpeedButton1=Nový vlakorys",   "SpeedButton2=Otevřit vlakorys",
                                "SpeedButton5=Uložit vlakorys", "SpeedButton3=Seznam stanic",
                                "SpeedButton4=Seznam vlaků",    "SpeedButton7=Zvětšit",
                                "SpeedButton8=Změnšit",         "SpeedButton6=Konec"};
        QCOMPARE(ControlTexts::shown(window(), "toolTip", hints), hints);
        const QStringList texts{"Label1=100 %",
                                "Label2=Poměr osy x:y:",
                                "Label3=:",
                                "SpeedButton9=Akt.",
                                "CheckBox1=Časové popisky",
                                "CheckBox2=Vyhlazení",
                                "CheckBox3=Zobr. druh vlaku"};
        QCOMPARE(ControlTexts::shown(window(), "text", texts), texts);
        const QStringList values{"CheckBox1=false", "CheckBox2=false", "CheckBox3=true"};
        QCOMPARE(ControlTexts::shown(window(), "checked", values), values);
        QCOMPARE(find<QSpinBox>("SpinEdit1")->value() * 10 + find<QSpinBox>("SpinEdit2")->value(), 12);
        // Start-up sets 1160, then the first render gives the empty time axis
        // its range: (zoom * 1440 + 80 - PaintBox1.Width) div 5.
        QCOMPARE(find<QScrollBar>("ScrollBar1")->maximum(), (4 * 1440 + 80 - h.box()->width()) / 5);
    }

    // The clock keeps to the panel's right edge; the paint box and scroll
    // bars fill the client area, and a resize replays, or waits for a
    // running render to end.
    void layoutClockAndResize()
    {
        h.showSampleLine();
        const int replays = renderer().stats.replays;
        window()->resize(1200, 800);
        QWidget *client = window()->centralWidget();
        QTRY_COMPARE(h.box()->width(), client->width() - 17);
        QCOMPARE(find<AnalogClock>("AnalogClock1")->x(), find<QWidget>("Panel1")->width() - 60);
        QCOMPARE(h.box()->y() + h.box()->height(), client->height() - 16);
        QCOMPARE(find<QScrollBar>("ScrollBar1")->y(), client->height() - 16);
        QCOMPARE(find<QScrollBar>("ScrollBar2")->x(), client->width() - 17);
        QCOMPARE(renderer().diagramBitmap().size(), client->size());
        QVERIFY(renderer().stats.replays > replays);
        {
            RenderGuard busy(renderer());
            window()->resize(1100, 750);
            QTest::qWait(20);
            QVERIFY(renderer().diagramBitmap().size() != client->size());
        }
        window()->surfaceChanged(); // as the running render ends
        QTRY_COMPARE(renderer().diagramBitmap().size(), client->size());
    }

    void progressWindow()
    {
        ProgressWindow *form7 = h.windows->progressWindow();
        QCOMPARE(form7->label()->objectName() + form7->gauge()->objectName(), QStringLiteral("Label1Gauge1"));
        QVERIFY(form7->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QRect screen(0, 0, 1920, 1080);
        const std::pair<QPoint, QPoint> kept[] = {
            {{100, 100}, {100, 100}}, {{1800, 1050}, {1920 - 249, 1080 - 83}}, {{-30, -5}, {0, 0}}};
        for (auto [at, shown] : kept)
            QCOMPARE(ProgressWindow::keptOnScreen(QRect(at, QSize(249, 83)), screen), shown);

        // A rebuild shows its steps there and hides the window again.
        h.showSampleLine();
        QVERIFY(!form7->isVisible());
        QCOMPARE(form7->label()->text(), QStringLiteral("Vytvářím popisky vlaků..."));
        QCOMPARE(form7->gauge()->maximum(), h.doc().trainLabelCount());

        // The gauge is painted at most every so often; a new text at once.
        form7->setPaintInterval(60 * 60 * 1000);
        form7->showNow();
        const int paints = form7->paints();
        form7->setProgress(7);
        form7->repaintNow();
        QCOMPARE(form7->paints(), paints);
        form7->setText(QStringLiteral("Zakresluji vlaky..."));
        form7->repaintNow();
        QCOMPARE(form7->paints(), paints + 1);
        form7->setPaintInterval(0);
        form7->setProgress(8);
        form7->repaintNow();
        QCOMPARE(form7->paints(), paints + 2);
        form7->hide();
    }

    // Buttons and keys reach the view commands (whose rules are tested on
    // ViewCommands); settings set by the program run no command.
    void zoomAktAndCheckBoxesReachTheirCommands()
    {
        h.showSampleLine();
        auto *label = find<QLabel>("Label1");
        find<QToolButton>("SpeedButton7")->click();
        QCOMPARE(label->text(), QStringLiteral("125 %"));
        QTest::keyClick(window(), Qt::Key_Minus);
        QCOMPARE(label->text(), QStringLiteral("100 %"));
        QTest::keyClick(find<QScrollBar>("ScrollBar1"), Qt::Key_Plus);
        QCOMPARE(label->text(), QStringLiteral("125 %"));
        find<QToolButton>("SpeedButton8")->click();
        QCOMPARE(label->text(), QStringLiteral("100 %"));

        find<QSpinBox>("SpinEdit1")->setValue(2);
        QCOMPARE(h.doc().settings.ratioX, 2);
        QCOMPARE(window()->view().scale, 2.0);
        find<QToolButton>("SpeedButton9")->click();
        QCOMPARE(window()->view().scale, 4.0);

        const DocumentSettings &s = h.doc().settings;
        for (auto [box, flag] : {std::pair{"CheckBox1", &DocumentSettings::showTimeLabels},
                                 {"CheckBox2", &DocumentSettings::smoothing},
                                 {"CheckBox3", &DocumentSettings::showCategory}}) {
            const bool before = s.*flag;
            find<QCheckBox>(box)->click();
            QCOMPARE(bool(s.*flag), !before);
        }
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
        QCOMPARE(hpos(), 50);
        QCOMPARE(renderer().stats.renders, ++renders);
        // The arrow key moves the bar from the program: one render, not two.
        QTest::keyClick(window(), Qt::Key_Right);
        QCOMPARE(hpos(), 45);
        QCOMPARE(bar->value(), 45);
        QCOMPARE(renderer().stats.renders, ++renders);
        bar->setValue(100);
        QTest::keyClick(window(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(hpos(), 50);
        // A scroll bar's arrows scroll the diagram, not the bar by itself.
        QTest::keyClick(bar, Qt::Key_Left);
        QCOMPARE(hpos(), 55);
        // Released on a spin edit or a check box: once, on the release.
        QTest::keyRelease(find<QSpinBox>("SpinEdit2"), Qt::Key_Right);
        QCOMPARE(hpos(), 50);
        QTest::keyClick(find<QCheckBox>("CheckBox1"), Qt::Key_Right);
        QCOMPARE(hpos(), 45);
    }

    // Open from the tool panel: one dialog and no message, the controls
    // show the document's settings, and the paint box shows what the
    // command line draws of the same file (labels made as Open makes them).
    void openShowsWhatTheCommandLineDraws()
    {
        h.prompter->fileAnswers = {h.example()};
        find<QToolButton>("SpeedButton2")->click();
        QCOMPARE(h.prompter->log.size(), 1);
        QCOMPARE(find<QLabel>("Label1")->text(), MainWindow::zoomText(h.doc().settings.zoom));
        QCOMPARE(find<QSpinBox>("SpinEdit2")->value(), h.doc().settings.ratioY);
        const QImage shown = h.box()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, renderer().surface());

        Document fromFile;
        QVERIFY(DumpCommand::openDocument(fromFile, h.example(), LabelSteps::standard()).isEmpty());
        RenderCommand::Options options;
        options.size = h.box()->size();
        QCOMPARE(RenderCommand::render(fromFile, options), shown);
    }

    // New: no question, no name, the empty axis, the hidden bitmap item
    // off, and the station grid's kept first row emptied (what New does to
    // the document is tested on DocumentCommands).
    void newEmptiesTheDocument()
    {
        QVERIFY(window()->openFile(h.example()));
        QVERIFY(window()->bitmapExportEnabled());
        const auto firstStation = [this] {
            QString first;
            QTimer::singleShot(0, window(), [this, &first] {
                first = h.windows->stationListDialog()->editor().cell(StationListEditor::NameColumn, 1);
                h.windows->stationListDialog()->reject();
            });
            action("Stanice1")->trigger();
            return first;
        };
        QVERIFY(!firstStation().isEmpty());
        const int axes = renderer().stats.emptyAxes;
        find<QToolButton>("SpeedButton1")->click();
        QVERIFY(h.doc().noDocument && h.doc().untitled);
        QVERIFY(h.session->fileName.isEmpty());
        QCOMPARE(renderer().stats.emptyAxes, axes + 1);
        action("Tiskdobitmapy1")->setVisible(true);
        QVERIFY(!action("Tiskdobitmapy1")->isEnabled());
        QCOMPARE(firstStation(), QString());
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
};

int main(int argc, char **argv)
{
    return runGuiTests<MainWindowTest>(argc, argv);
}

#include "MainWindowTest.moc"
