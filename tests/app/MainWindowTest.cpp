#include "AppHarness.h"
#include "app/AnalogClock.h"
#include "cli/DumpCommand.h"
#include "cli/RenderCommand.h"
#include "dialogs/ProgressWindow.h"
#include "render/Colours.h"

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
        QCOMPARE(window()->objectName(), QStringLiteral("TForm1"));
        QCOMPARE(window()->windowTitle(), QStringLiteral("Program pro tvoření vlakorysu - Bez názvu[*]"));
        QCOMPARE(QApplication::applicationDisplayName(), QStringLiteral("Vlakorys 1.0"));
        window()->resize(300, 200);
        QVERIFY(window()->width() >= 600 && window()->height() >= 400);
        // Qt's own translation gives Czech standard buttons.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ano"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Ne"));
    }

    void windowsAreCreatedInOrder()
    {
        const QStringList order = h.windows->creationOrder();
        QVERIFY(!order.isEmpty());
        QCOMPARE(order.front(), QStringLiteral("TForm1"));
        // TFormN numbers only ever rise.
        int last = 0;
        for (const QString &name : order) {
            const int n = name.mid(5).toInt();
            QVERIFY2(n > last, qPrintable(order.join(u',')));
            last = n;
        }
        for (const char *form : {"TForm5", "TForm8", "TForm9", "TForm14"})
            QVERIFY2(order.contains(QLatin1String(form)), form);
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
    }

    void menusInOrder()
    {
        const QList<QAction *> menus = window()->menuBar()->actions();
        QCOMPARE(menus.size(), 3);
        QCOMPARE(menus[0]->text(), QStringLiteral("&Soubor"));
        QCOMPARE(menus[1]->text(), QStringLiteral("&Editace"));
        QCOMPARE(menus[2]->text(), QStringLiteral("Nápo&věda"));
        QStringList file;
        for (QAction *a : menus[0]->menu()->actions())
            file << (a->isSeparator() ? (a->isVisible() ? QStringLiteral("-") : QStringLiteral("(-)")) : a->text());
        QCOMPARE(file, QStringList({"&Nový", "&Otevřít", "&Uložit", "Uložit &jako...", "-", "Import...", "-", "Tisk...",
                                    "Exportovat...", "(-)", "Tisk do bitmapy...", "-", "&Konec"}));
        const QList<QAction *> help = menus[2]->menu()->actions();
        QCOMPARE(help.size(), 2);
        QVERIFY(help[0]->isSeparator());
    }

    void toolPanelControls()
    {
        const std::pair<const char *, const char *> hints[] = {
            {"SpeedButton1", "Nový vlakorys"},   {"SpeedButton2", "Otevřit vlakorys"},
            {"SpeedButton5", "Uložit vlakorys"}, {"SpeedButton3", "Seznam stanic"},
            {"SpeedButton4", "Seznam vlaků"},    {"SpeedButton7", "Zvětšit"},
            {"SpeedButton8", "Změnšit"},         {"SpeedButton6", "Konec"}};
        for (auto [name, hint] : hints)
            QCOMPARE(find<QWidget>(name)->toolTip(), QString::fromUtf8(hint));
        const std::pair<const char *, const char *> texts[] = {{"Label1", "100 %"},
                                                               {"Label2", "Poměr osy x:y:"},
                                                               {"Label3", ":"},
                                                               {"SpeedButton9", "Akt."},
                                                               {"CheckBox1", "Časové popisky"},
                                                               {"CheckBox2", "Vyhlazení"},
                                                               {"CheckBox3", "Zobr. druh vlaku"}};
        for (auto [name, text] : texts)
            QCOMPARE(find<QWidget>(name)->property("text").toString(), QString::fromUtf8(text));
        QCOMPARE(find<QCheckBox>("CheckBox1")->isChecked(), false);
        QCOMPARE(find<QCheckBox>("CheckBox2")->isChecked(), false);
        QCOMPARE(find<QCheckBox>("CheckBox3")->isChecked(), true);
        for (auto [name, value] : {std::pair{"SpinEdit1", 1}, {"SpinEdit2", 2}}) {
            QCOMPARE(find<QSpinBox>(name)->minimum(), 1);
            QCOMPARE(find<QSpinBox>(name)->maximum(), 100);
            QCOMPARE(find<QSpinBox>(name)->value(), value);
        }
        QCOMPARE(find<QScrollBar>("ScrollBar2")->orientation(), Qt::Vertical);
        QCOMPARE(find<QScrollBar>("ScrollBar2")->pageStep(), 10);
        // Start-up sets 1160, then the first render gives the empty time axis
        // its range: (zoom * 1440 + 80 - PaintBox1.Width) div 5.
        QCOMPARE(find<QScrollBar>("ScrollBar1")->maximum(), (4 * 1440 + 80 - h.box()->width()) / 5);
    }

    // The clock keeps to the panel's right edge, its hands navy; the paint
    // box and scroll bars fill the client area, and a resize replays.
    void layoutClockAndResize()
    {
        h.showSampleLine();
        auto *clock = find<AnalogClock>("AnalogClock1");
        QCOMPARE(clock->handColour(), QColor(0, 0, 128));
        clock->setFixedTime(QTime(3, 0, 0));
        const QImage img = clock->grab().toImage();
        int navy = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                navy += img.pixelColor(x, y).blue() - std::max(img.pixelColor(x, y).red(), img.pixelColor(x, y).green())
                        >= 60;
        QVERIFY(navy >= 5);

        const int replays = renderer().stats.replays;
        window()->resize(1200, 800);
        QWidget *client = window()->centralWidget();
        QTRY_COMPARE(h.box()->width(), client->width() - 17);
        QCOMPARE(clock->x(), find<QWidget>("Panel1")->width() - 60);
        QCOMPARE(h.box()->y() + h.box()->height(), client->height() - 16);
        QCOMPARE(find<QScrollBar>("ScrollBar1")->y(), client->height() - 16);
        QCOMPARE(find<QScrollBar>("ScrollBar2")->x(), client->width() - 17);
        QCOMPARE(renderer().diagramBitmap().size(), client->size());
        QCOMPARE(renderer().surface().size(), h.box()->size());
        QVERIFY(renderer().stats.replays > replays);

        // A resize during a render is taken up after it.
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
        QCOMPARE(form7->objectName(), QStringLiteral("TForm7"));
        QCOMPARE(form7->windowTitle(), QStringLiteral("Prosím čekejte..."));
        QCOMPARE(form7->size(), QSize(249, 83));
        QCOMPARE(form7->label()->text(), QStringLiteral("Vytvářím bitmapu ..."));
        QCOMPARE(form7->label()->objectName() + form7->gauge()->objectName(), QStringLiteral("Label1Gauge1"));
        QCOMPARE(form7->gauge()->size(), QSize(209, 25));
        QVERIFY(form7->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!form7->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        const QRect screen(0, 0, 1920, 1080);
        QCOMPARE(ProgressWindow::keptOnScreen(QRect(100, 100, 249, 83), screen), QPoint(100, 100));
        QCOMPARE(ProgressWindow::keptOnScreen(QRect(1800, 1050, 249, 83), screen), QPoint(1920 - 249, 1080 - 83));
        QCOMPARE(ProgressWindow::keptOnScreen(QRect(-30, -5, 249, 83), screen), QPoint(0, 0));

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

    void zoomAktAndCheckBoxesReachTheirCommands()
    {
        h.showSampleLine();
        auto *label = find<QLabel>("Label1");
        const int rebuilds = renderer().stats.rebuilds;
        find<QToolButton>("SpeedButton7")->click();
        QCOMPARE(label->text(), QStringLiteral("125 %"));
        QVERIFY(find<QCheckBox>("CheckBox1")->isChecked());
        QCOMPARE(renderer().stats.rebuilds, rebuilds + 1); // not again for the check box
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

        int rebuilt = renderer().stats.rebuilds;
        const DocumentSettings &s = h.doc().settings;
        for (auto [box, flag] : {std::pair{"CheckBox1", &DocumentSettings::showTimeLabels},
                                 {"CheckBox2", &DocumentSettings::smoothing},
                                 {"CheckBox3", &DocumentSettings::showCategory}}) {
            const bool before = s.*flag;
            find<QCheckBox>(box)->click();
            QCOMPARE(bool(s.*flag), !before);
            QCOMPARE(renderer().stats.rebuilds, ++rebuilt);
        }
        // Set by the program, as loading does: no command runs, and a damaged
        // file's ratio comes back as the controls hold it.
        h.doc().settings.smoothing = 0;
        h.doc().settings.ratioX = 0;
        h.doc().settings.ratioY = 500;
        window()->showDocumentSettings();
        QCOMPARE(renderer().stats.rebuilds, rebuilt);
        QVERIFY(!find<QCheckBox>("CheckBox2")->isChecked());
        QCOMPARE(h.doc().settings.ratioX, 1);
        QCOMPARE(h.doc().settings.ratioY, 100);
    }

    // A click into the trough moves the bar by its large change, 1; the
    // thumb is that of a bar without a page, whatever the step.
    void aClickIntoTheTroughMovesTheBarByOne()
    {
        h.showSampleLine();
        auto *bar = find<QScrollBar>("ScrollBar1");
        const int renders = renderer().stats.renders;
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() * 3 / 4, bar->height() / 2));
        QCOMPARE(hpos(), 1);
        QCOMPARE(renderer().stats.renders, renders + 1);
        for (QScrollBar *b : {bar, find<QScrollBar>("ScrollBar2")}) {
            b->setVisible(true);
            b->setMaximum(20);
            QScrollBar plain(b->orientation(), b->parentWidget());
            plain.setGeometry(b->geometry());
            plain.setRange(0, 20);
            plain.setValue(b->value());
            plain.setPageStep(0);
            plain.show();
            QCOMPARE(b->grab().toImage(), plain.grab().toImage());
        }
    }

    void scrollBarsAndKeys()
    {
        h.showSampleLine({10, 60, 40, 10});
        auto *bar = find<QScrollBar>("ScrollBar1");
        int renders = renderer().stats.renders;
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
        renderer().highlightOn = true;
        QTest::keyClick(window(), Qt::Key_Escape);
        QVERIFY(!renderer().highlightOn);
    }

    // The example opened as Open does it: the paint box shows the surface,
    // a repaint only copies it, and the render command draws the same.
    void paintBoxShowsWhatTheCommandLineDraws()
    {
        QVERIFY(DumpCommand::openDocument(h.doc(), h.example(), LabelSteps::standard()).isEmpty());
        window()->showDocumentSettings();
        window()->view().updateScale(h.doc().settings);
        h.doc().redrawNeeded = true;
        window()->render();
        const QImage shown = h.box()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, renderer().surface());
        const int renders = renderer().stats.renders;
        h.box()->repaint();
        QCOMPARE(renderer().stats.renders, renders);

        Document fromFile;
        QVERIFY(DumpCommand::openDocument(fromFile, h.example(), LabelSteps::standard()).isEmpty());
        RenderCommand::Options options;
        options.size = h.box()->size();
        QCOMPARE(RenderCommand::render(fromFile, options), shown);
    }

    // New: no question, an empty document with no name, the empty axis, and
    // the hidden bitmap item holds what the renderer set.
    void newEmptiesTheDocument()
    {
        h.showSampleLine();
        Document &doc = h.doc();
        QVERIFY(window()->bitmapExportEnabled());
        doc.untitled = false;
        h.session->fileName = QStringLiteral("/tmp/x.vrs");
        const int axes = renderer().stats.emptyAxes;
        find<QToolButton>("SpeedButton1")->click();
        QVERIFY(doc.stations.empty() && doc.trains.empty() && doc.trainLabels.empty());
        QVERIFY(doc.noDocument && doc.untitled);
        QVERIFY(h.session->fileName.isEmpty());
        QVERIFY(h.prompter->log.isEmpty());
        QCOMPARE(renderer().stats.emptyAxes, axes + 1);
        action("Tiskdobitmapy1")->setVisible(true);
        QVERIFY(!action("Tiskdobitmapy1")->isEnabled());
        h.showSampleLine();
        QVERIFY(action("Tiskdobitmapy1")->isEnabled());
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
