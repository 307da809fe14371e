#include "../io/FileBytes.h"
#include "AppHarness.h"
#include "dialogs/ExportDialog.h"
#include "dialogs/FindTrainDialog.h"
#include "dialogs/PrintToBitmapDialog.h"
#include "dialogs/QtPrompter.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/TrainListDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

// The commands of TForm1 as the user reaches them, each as far as the
// document, the picture or the file: the mouse on the diagram, Najdi vlak,
// Nastavení, the bitmap export, printing and exporting.
// What the commands do is tested on the commands themselves.
class MainWindowCommandsTest : public QObject
{
    Q_OBJECT

    AppHarness h;
    std::unique_ptr<QtPrompter> m_qtPrompter;
    MainWindow *window() const { return h.window(); }
    Document &doc() const { return h.doc(); }
    QAction *action(const char *name) const { return h.action(name); }
    TrainLabel &label(int n) const { return doc().trainLabels[static_cast<size_t>(n - 1)]; }
    SettingsDialog *settings() const { return h.windows->settingsDialog(); }
    template <typename T> T *inSettings(const char *name) const
    {
        return settings()->findChild<T *>(QLatin1String(name));
    }

    void find(const QString &typed)
    {
        FindTrainDialog *dialog = h.windows->findTrainDialog();
        GuiKeys::whenActive(dialog, [dialog, typed] {
            QCOMPARE(dialog->edit()->text(), QString()); // cleared for every search
            QTest::keyClicks(dialog->edit(), typed);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        });
        action("Najdivlak1")->trigger();
    }

private slots:
    void init() { h.start(); }
    void cleanup() { h.stop(); }

    // Real mouse events on PaintBox1 reach the label drag with their keys (a
    // Shift turn, a Ctrl copy) and the panning. A move is undone in the unsaved-changes test.
    void theMouseEditsLabelsAndPans()
    {
        h.showSampleLine();
        int n = 0;
        QPoint p = h.pickableLabel(&n);
        const double angle = label(n).angle;
        h.drag(p, p + QPoint(0, 15), Qt::ShiftModifier, Qt::ShiftModifier);
        QCOMPARE(label(n).angle, LabelDrag::turnedAngle(angle, 15));

        const int count = doc().trainLabelCount();
        p = h.pickableLabel(&n);
        const QByteArray text = label(n).text.view().toByteArray();
        h.drag(p, p + QPoint(60, 0), {}, Qt::ControlModifier);
        QCOMPARE(doc().trainLabelCount(), count + 1);
        QCOMPARE(label(1).text.view(), text);

        // 100 pixels left is 20 units on.
        const int hpos = window()->view().hpos;
        QTest::mousePress(h.box(), Qt::RightButton, {}, QPoint(600, 200));
        QTest::mouseMove(h.box(), QPoint(500, 200));
        QTest::mouseRelease(h.box(), Qt::RightButton, {}, QPoint(500, 200));
        QCOMPARE(window()->view().hpos, hpos + 20);
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

    void aTrainFoundByItsNumberIsGreenUntilEsc()
    {
        h.showSampleLine();
        FindTrainDialog *dialog = h.windows->findTrainDialog();
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Číslo vlaku:"));
        const Train *early = &doc().trains.front();
        for (const Train &t : doc().trains)
            if (t.firstTime < early->firstTime)
                early = &t;
        const QString number = QString::fromLatin1(early->name.view().toByteArray()).section(u' ', 1);
        const QRgb green = qRgb(0, 255, 0);
        QCOMPARE(h.pixels(green), 0);
        find(number);
        QCOMPARE(h.renderer().foundName, early->name.view().toByteArray());
        QVERIFY(h.pixels(green) > 20);
        // Cancelled: the highlight stays; Esc takes it away.
        GuiKeys::whenActive(dialog, [dialog] { dialog->reject(); });
        action("Najdivlak1")->trigger();
        QVERIFY(h.renderer().highlightOn);
        QTest::keyClick(window(), Qt::Key_Escape);
        QCOMPARE(h.pixels(green), 0);
        find(QStringLiteral("os ") + number);
        QCOMPARE(h.prompter->messages().last(), QStringLiteral("Vlak os %1 nebyl nalezen").arg(number));
    }

    // TForm9's controls. The settings file says one thing, the opened
    // document another: the dialog shows the document's. Cancel changes
    // nothing even after a font was picked; OK applies, redraws, writes and
    // is a step to undo.
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
            QStringList groups;
            for (const QGroupBox *g : settings()->findChildren<QGroupBox *>())
                groups << g->title();
            QCOMPARE(groups, (QStringList{"Časové popisky", "Popisky vlaků malé (Os, Pn...)",
                                          "Popisky vlaků velké (R, Sn, Nex...)", "Síly čar vlaků"}));
            for (const char *name : {"SpinEdit1", "SpinEdit2", "SpinEdit3"})
                QCOMPARE(inSettings<QSpinBox>(name)->findChild<QLineEdit *>()->maxLength(), 1);
            for (auto [name, caption] : {std::pair("Label13", "Tenká (Os).:"),
                                         {"Label15", "Silná (R).:"},
                                         {"CheckBox1", "Ukládat bitmapy popisků do souboru"}})
                QCOMPARE(inSettings<QWidget>(name)->property("text").toString(), QString::fromUtf8(caption));
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
        QCOMPARE(h.renderer().diagramBitmap().size(), window()->clientSize());

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
};

int main(int argc, char **argv)
{
    return runGuiTests<MainWindowCommandsTest>(argc, argv);
}

#include "MainWindowCommandsTest.moc"
