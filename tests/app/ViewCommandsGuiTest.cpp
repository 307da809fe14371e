#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/PaintBox.h"
#include "app/Session.h"
#include "cli/DumpCommand.h"
#include "cli/RenderCommand.h"
#include "dialogs/ProgressWindow.h"
#include "render/Colours.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The view commands as the user reaches them: tool-panel buttons, keys,
// check boxes, scroll bars, resizing and painting of TForm1.
class ViewCommandsGuiTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<AppWindows> m_windows;

    MainWindow *window() const { return m_windows->mainWindow(); }
    Document &doc() const { return m_session->document; }
    Renderer &renderer() const { return window()->renderer(); }
    template <typename T> T *find(const char *name) const
    {
        T *w = window()->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qWarning("no child %s", name);
        return w;
    }

    // A document as loading leaves it: settings into the controls, the
    // scale from them, a rebuild.
    void openSampleLine(SampleLine::Shape shape = {10, 60, 40, 10})
    {
        SampleLine::fill(doc(), shape);
        window()->showDocumentSettings();
        window()->view().updateScale(doc().settings);
        doc().redrawNeeded = true;
        window()->render();
    }

private slots:
    void init()
    {
        m_windows.reset();
        m_session = std::make_unique<Session>(m_prompter, SettingsFile(m_dir.filePath(QStringLiteral("V.ini"))));
        m_windows = std::make_unique<AppWindows>(*m_session);
        window()->resize(1000, 700);
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }
    void cleanup() { m_windows.reset(); }

    void progressWindowAndScrollBars()
    {
        QVERIFY(m_windows->creationOrder().contains(QStringLiteral("TForm7")));
        ProgressWindow *form7 = m_windows->progressWindow();
        QCOMPARE(form7->objectName(), QStringLiteral("TForm7"));
        QCOMPARE(form7->windowTitle(), QStringLiteral("Prosím čekejte..."));
        QCOMPARE(form7->size(), QSize(249, 83));
        QCOMPARE(form7->label()->objectName(), QStringLiteral("Label1"));
        QCOMPARE(form7->label()->text(), QStringLiteral("Vytvářím bitmapu ..."));
        QCOMPARE(form7->gauge()->objectName(), QStringLiteral("Gauge1"));
        QCOMPARE(form7->gauge()->size(), QSize(209, 25));
        QVERIFY(form7->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!form7->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        const QRect screen(0, 0, 1920, 1080);
        QCOMPARE(ProgressWindow::keptOnScreen(QRect(100, 100, 249, 83), screen), QPoint(100, 100));
        QCOMPARE(ProgressWindow::keptOnScreen(QRect(1800, 1050, 249, 83), screen), QPoint(1920 - 249, 1080 - 83));
        QCOMPARE(ProgressWindow::keptOnScreen(QRect(-30, -5, 249, 83), screen), QPoint(0, 0));

        // A rebuild shows its steps there and hides the window again.
        openSampleLine();
        QVERIFY(!form7->isVisible());
        QCOMPARE(form7->label()->text(), QStringLiteral("Vytvářím popisky vlaků..."));
        QCOMPARE(form7->gauge()->maximum(), doc().trainLabelCount());

        // The gauge is painted at most every so often; a new text at once.
        form7->setPaintInterval(60 * 60 * 1000);
        form7->setMaximum(100);
        form7->showNow();
        const int paints = form7->paints();
        form7->setProgress(7);
        form7->repaintNow();
        QCOMPARE(form7->paints(), paints);
        form7->setText(QStringLiteral("Zakresluji vlaky..."));
        form7->repaintNow();
        QCOMPARE(form7->paints(), paints + 1);
        QCOMPARE(form7->gauge()->value(), 7);
        form7->setPaintInterval(0);
        form7->setProgress(8);
        form7->repaintNow();
        QCOMPARE(form7->paints(), paints + 2);
        form7->hide();

        QCOMPARE(find<QScrollBar>("ScrollBar2")->pageStep(), 10);
        QCOMPARE(find<QScrollBar>("ScrollBar2")->singleStep(), 1);
    }

    void aClickIntoTheTroughMovesTheBarByItsLargeChange()
    {
        openSampleLine();
        auto *h = find<QScrollBar>("ScrollBar1");
        const int renders = renderer().stats.renders;
        QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(h->width() * 3 / 4, h->height() / 2));
        QCOMPARE(h->value(), 1);
        QCOMPARE(window()->view().hpos, 1);
        QCOMPARE(renderer().stats.renders, renders + 1);

        // The thumb is that of a bar without a page, whatever the step.
        for (QScrollBar *bar : {h, find<QScrollBar>("ScrollBar2")}) {
            bar->setVisible(true);
            bar->setMaximum(20);
            QScrollBar plain(bar->orientation(), bar->parentWidget());
            plain.setGeometry(bar->geometry());
            plain.setRange(0, 20);
            plain.setValue(bar->value());
            plain.setPageStep(0);
            plain.show();
            QCOMPARE(bar->grab().toImage(), plain.grab().toImage());
        }
    }

    void zoomButtonsAndKeys()
    {
        openSampleLine();
        auto *label = find<QLabel>("Label1");
        auto *timeLabels = find<QCheckBox>("CheckBox1");
        const int renders = renderer().stats.renders;
        const int rebuilds = renderer().stats.rebuilds;
        find<QToolButton>("SpeedButton7")->click();
        QCOMPARE(label->text(), QStringLiteral("125 %"));
        QVERIFY(timeLabels->isChecked());
        QCOMPARE(renderer().stats.rebuilds, rebuilds + 1); // not again for the check box
        QCOMPARE(renderer().stats.renders, renders + 1);
        QTest::keyClick(window(), Qt::Key_Minus, Qt::NoModifier);
        QCOMPARE(label->text(), QStringLiteral("100 %"));
        QVERIFY(!timeLabels->isChecked());
        QTest::keyClick(find<QScrollBar>("ScrollBar1"), Qt::Key_Plus, Qt::NoModifier);
        QCOMPARE(label->text(), QStringLiteral("125 %"));
        find<QToolButton>("SpeedButton8")->click();
        find<QToolButton>("SpeedButton8")->click();
        QCOMPARE(label->text(), QStringLiteral("75 %"));
    }

    void onlyAktAppliesTheRatio()
    {
        openSampleLine();
        find<QSpinBox>("SpinEdit1")->setValue(2);
        QCOMPARE(doc().settings.ratioX, 2);
        find<QCheckBox>("CheckBox2")->click();
        QCOMPARE(window()->view().scale, 2.0);
        find<QToolButton>("SpeedButton9")->click();
        QCOMPARE(window()->view().scale, 4.0);
        QCOMPARE(renderer().displayList().cullWidth(), Geometry::cullWidth(4.0));

        // A damaged file's ratio comes back as the controls hold it.
        doc().settings.ratioX = 0;
        doc().settings.ratioY = 500;
        window()->showDocumentSettings();
        QCOMPARE(doc().settings.ratioX, 1);
        QCOMPARE(doc().settings.ratioY, 100);
    }

    void checkBoxesRebuild()
    {
        openSampleLine();
        int rebuilds = renderer().stats.rebuilds;
        find<QCheckBox>("CheckBox1")->click();
        QCOMPARE(renderer().stats.rebuilds, ++rebuilds);
        QVERIFY(doc().settings.showTimeLabels);
        find<QCheckBox>("CheckBox3")->click();
        QCOMPARE(renderer().stats.rebuilds, ++rebuilds);
        QVERIFY(!doc().settings.showCategory);
        // Set by the program, as loading does: no command runs.
        doc().settings.smoothing = 1;
        window()->showDocumentSettings();
        QCOMPARE(renderer().stats.rebuilds, rebuilds);
        QVERIFY(find<QCheckBox>("CheckBox2")->isChecked());
    }

    void scrollBarsAndKeys()
    {
        openSampleLine();
        auto *h = find<QScrollBar>("ScrollBar1");
        QVERIFY(h->maximum() > 100);
        const int renders = renderer().stats.renders;
        h->setValue(50); // as a drag of the bar sets it
        QCOMPARE(window()->view().hpos, 50);
        QCOMPARE(renderer().stats.renders, renders + 1);
        // The arrow key moves the bar from the program: one render, not two.
        QTest::keyClick(window(), Qt::Key_Right);
        QCOMPARE(window()->view().hpos, 45);
        QCOMPARE(h->value(), 45);
        QCOMPARE(renderer().stats.renders, renders + 2);

        h->setValue(100);
        QTest::keyClick(window(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(window()->view().hpos, 50);
        // A scroll bar's arrows scroll the diagram, not the bar by itself.
        QTest::keyClick(h, Qt::Key_Left);
        QCOMPARE(window()->view().hpos, 55);
        // Released on a spin edit or a check box.
        QTest::keyRelease(find<QSpinBox>("SpinEdit2"), Qt::Key_Right);
        QCOMPARE(window()->view().hpos, 50);
        QTest::keyClick(find<QCheckBox>("CheckBox1"), Qt::Key_Right);
        QCOMPARE(window()->view().hpos, 45); // once, on the release
        QCOMPARE(h->value(), 45);

        renderer().highlightOn = true;
        renderer().foundName = doc().trains.front().name.toByteArray();
        QTest::keyClick(window(), Qt::Key_Escape);
        QVERIFY(!renderer().highlightOn);
    }

    void resizeLaysOutAndRepaints()
    {
        openSampleLine();
        const int replays = renderer().stats.replays;
        window()->resize(1200, 800);
        auto *box = find<PaintBox>("PaintBox1");
        QTRY_COMPARE(box->width(), window()->centralWidget()->width() - 17);
        QCOMPARE(renderer().diagramBitmap().size(), window()->centralWidget()->size());
        QCOMPARE(renderer().surface().size(), box->size());
        QVERIFY(renderer().stats.replays > replays);

        // A resize during a render is taken up after it.
        {
            RenderGuard busy(renderer());
            window()->resize(1100, 750);
            QTest::qWait(20);
            QVERIFY(renderer().diagramBitmap().size() != window()->centralWidget()->size());
        }
        window()->surfaceChanged(); // as the running render ends
        QTRY_COMPARE(renderer().diagramBitmap().size(), window()->centralWidget()->size());
        QCOMPARE(renderer().surface().size(), box->size());
    }

    void paintOnlyCopiesTheSurface()
    {
        openSampleLine();
        auto *box = find<PaintBox>("PaintBox1");
        const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, renderer().surface());
        // The top station line (olive, with black on it) at y = 20.
        QCOMPARE(QColor(shown.pixel(300, 20)), Colours::toQColor(Colours::black));
        QCOMPARE(QColor(shown.pixel(300, 19)), Colours::toQColor(Colours::olive));
        const int renders = renderer().stats.renders;
        box->repaint();
        QCOMPARE(renderer().stats.renders, renders);
    }

    void theCommandLineDrawsWhatThePaintBoxShows()
    {
        // The example opened as Open does it, shown in PaintBox1, and the
        // render command on the same file with the paint box's size.
        const QString example = QStringLiteral(VLAKORYS_SOURCE_DIR "/examples/liberec-tanvald.vrs");
        QVERIFY(DumpCommand::openDocument(doc(), example, LabelSteps::standard()).isEmpty());
        window()->showDocumentSettings();
        window()->view().updateScale(doc().settings);
        doc().redrawNeeded = true;
        window()->render();
        auto *box = find<PaintBox>("PaintBox1");
        const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);

        Document fromFile;
        QVERIFY(DumpCommand::openDocument(fromFile, example, LabelSteps::standard()).isEmpty());
        RenderCommand::Options options;
        options.size = box->size();
        QCOMPARE(RenderCommand::render(fromFile, options), shown);
    }

    void newRendersTheEmptyAxis()
    {
        openSampleLine();
        QVERIFY(window()->bitmapExportEnabled());
        const int axes = renderer().stats.emptyAxes;
        find<QToolButton>("SpeedButton1")->click();
        QCOMPARE(renderer().stats.emptyAxes, axes + 1);
        // Shown, the menu item holds what the renderer set.
        find<QAction>("Tiskdobitmapy1")->setVisible(true);
        QVERIFY(!find<QAction>("Tiskdobitmapy1")->isEnabled());
        openSampleLine();
        QVERIFY(find<QAction>("Tiskdobitmapy1")->isEnabled());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    ViewCommandsGuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ViewCommandsGuiTest.moc"
