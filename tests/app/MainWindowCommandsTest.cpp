#include "../io/FileBytes.h"
#include "GuiKeys.h"
#include "ScriptedPrompter.h"
#include "TestPaths.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/Session.h"
#include "dialogs/ExportDialog.h"
#include "dialogs/PrintToBitmapDialog.h"
#include "dialogs/StationListDialog.h"
#include "dialogs/TrainListDialog.h"
#include "render/Colours.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The document commands of TForm1 as the user reaches them: menu items and
// tool buttons, through the window's own steps (labels, render) to the file
// and back.
class MainWindowCommandsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<AppWindows> m_windows;

    MainWindow *window() const { return m_windows->mainWindow(); }
    Document &doc() const { return m_session->document; }
    QAction *action(const char *name) const { return window()->findChild<QAction *>(QString::fromLatin1(name)); }
    template <typename T> T *find(const char *name) const
    {
        return window()->findChild<T *>(QString::fromLatin1(name));
    }
    QString example() const { return TestPaths::examplesDir() + QStringLiteral("/liberec-tanvald.vrs"); }
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // Pixels of the surface in a train line's colour (black or blue) inside
    // the diagram, right of the station column.
    int trainInk() const
    {
        const QImage &s = window()->renderer().surface();
        int ink = 0;
        for (int y = 0; y < window()->renderer().visibleBottom() - 1; y += 2)
            for (int x = 41; x < s.width(); x += 2) {
                const QRgb p = s.pixel(x, y) & 0xFFFFFF;
                ink += p == 0 || p == 0xFF; // black, or blue (0, 0, 255)
            }
        return ink;
    }

private slots:
    void init()
    {
        m_windows.reset();
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_session = std::make_unique<Session>(*m_prompter, SettingsFile(path("Vlakorys.ini")));
        m_windows = std::make_unique<AppWindows>(*m_session);
        window()->resize(1200, 700);
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }
    void cleanup() { m_windows.reset(); }

    void commandsOfLandedWorkAreEnabled()
    {
        for (const char *name : {"Otevt1", "Uloit1", "Uloitjako1", "Import1", "Stanice1", "Vlaky1", "Najdivlak1"})
            QVERIFY2(action(name)->isEnabled(), name);
        for (const char *name : {"SpeedButton2", "SpeedButton5", "SpeedButton3", "SpeedButton4"})
            QVERIFY2(find<QToolButton>(name)->isEnabled(), name);
    }

    void openShowsTheDocumentWithItsLabels()
    {
        m_prompter->fileAnswers.push_back(example());
        find<QToolButton>("SpeedButton2")->click();
        QCOMPARE(m_prompter->log.size(), 1); // the open dialog, no message
        QVERIFY(m_prompter->log.front().startsWith(QStringLiteral("open: Soubory s vlakorysem (*.vrs)")));
        QVERIFY(!doc().noDocument);
        QVERIFY(!doc().untitled);
        QCOMPARE(doc().stations.size(), size_t(15));
        // The file carries no labels: Open made one for every train, and the
        // minute labels.
        QVERIFY(doc().trainLabelCount() > 0);
        QVERIFY(doc().timeLabelCount() > doc().trainLabelCount());
        // The controls show the document's settings.
        QCOMPARE(find<QLabel>("Label1")->text(), MainWindow::zoomText(doc().settings.zoom));
        QCOMPARE(find<QSpinBox>("SpinEdit2")->value(), doc().settings.ratioY);
        QCOMPARE(find<QCheckBox>("CheckBox1")->isChecked(), bool(doc().settings.showTimeLabels));
        // The diagram is drawn, and the labels are imaged and outlined.
        QVERIFY(trainInk() > 100);
        QVERIFY(!window()->renderer().labelOutlines().empty());
        for (const TrainLabel &l : doc().trainLabels)
            QVERIFY(l.hasImage() || l.imageOwed()); // drawn when first shown
        QVERIFY(window()->bitmapExportEnabled());
    }

    void saveAfterOpenWritesBackWithoutAsking()
    {
        QFile::copy(example(), path("copy.vrs"));
        QVERIFY(window()->openFile(path("copy.vrs")));
        const QByteArray before = [&] {
            QFile f(path("copy.vrs"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        m_prompter->log.clear();
        doc().trains.front().name = "Os 9999";
        action("Uloit1")->trigger();
        QVERIFY(m_prompter->log.isEmpty());
        QFile f(path("copy.vrs"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray after = f.readAll();
        QVERIFY(after != before);
        QVERIFY(after.contains("Os 9999"));
    }

    void saveAsAsksForANameAndNewForgetsIt()
    {
        QVERIFY(window()->openFile(example()));
        m_prompter->fileAnswers.push_back(path("other.vrs"));
        action("Uloitjako1")->trigger();
        QVERIFY(QFile::exists(path("other.vrs")));
        QCOMPARE(m_prompter->lastFileDialog.defaultSuffix, QStringLiteral("vrs"));

        // After New nothing is saved, and no dialog is shown.
        action("Nov1")->trigger();
        QVERIFY(doc().noDocument);
        m_prompter->log.clear();
        action("Uloit1")->trigger();
        QVERIFY(m_prompter->log.isEmpty());
        QCOMPARE(trainInk(), 0); // the empty time axis
    }

    void savedLabelImagesAreNotMadeAgain()
    {
        QVERIFY(window()->openFile(example()));
        doc().settings.saveLabelImages = 1;
        // A one-pixel image that imaging would never make: if it survives
        // the save and the next Open, the label was not imaged again.
        TrainLabel &first = doc().trainLabels.front();
        first.dropImage();
        first.imageCodes = {1, 0};
        first.imageValues = {0};
        first.width = 1;
        first.height = 1;
        m_prompter->fileAnswers.push_back(path("images.vrs"));
        action("Uloitjako1")->trigger();

        QVERIFY(window()->openFile(path("images.vrs")));
        QVERIFY(!doc().labelImagesStale);
        QCOMPARE(doc().trainLabels.back().imageCodes, (std::vector<uint8_t>{1, 0})); // a load reverses the list
        QCOMPARE(doc().trainLabels.back().width, 1);

        // Without saved images every label is imaged anew when the file is
        // opened (drawn when it is first shown).
        doc().settings.saveLabelImages = 0;
        m_prompter->fileAnswers.push_back(path("plain.vrs"));
        action("Uloitjako1")->trigger();
        QVERIFY(window()->openFile(path("plain.vrs")));
        const TrainLabel &reopened = doc().trainLabels.front();
        QVERIFY(reopened.imageOwed() || reopened.imageCodes.size() > 2);
    }

    // The item is hidden; a later menu will show it. It writes what the
    // window shows, at the client area's size.
    void bitmapExportWritesTheWindowsPicture()
    {
        QVERIFY(!action("Tiskdobitmapy1")->isVisible());
        QVERIFY(window()->openFile(example()));
        m_prompter->fileAnswers.push_back(path("vlakorys.bmp"));
        action("Tiskdobitmapy1")->trigger();
        QVERIFY(m_prompter->messages().isEmpty());
        QImageReader reader(path("vlakorys.bmp"));
        QCOMPARE(reader.size(), window()->clientSize());
        QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32), window()->renderer().diagramBitmap());
    }

    void aFailedOpenTellsTheUser()
    {
        QFile junk(path("junk.vrs"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("\rTimetable 1.2!and more"); // the form of a header, not ours
        junk.close();
        m_prompter->fileAnswers.push_back(path("junk.vrs"));
        action("Otevt1")->trigger();
        QCOMPARE(m_prompter->messages(), QStringList{QStringLiteral("Toto není soubor s vlakorysem.")});
        QVERIFY(doc().noDocument);
    }

    void trainListNeedsStations()
    {
        find<QToolButton>("SpeedButton4")->click();
        QCOMPARE(m_prompter->messages(), QStringList{QStringLiteral("Musíte zadat alespoň jednu stanici")});
    }

    void trainListQuestionsMakeLabelsAndRedraw()
    {
        QVERIFY(window()->openFile(example()));
        const int labels = doc().trainLabelCount();
        doc().clearTimeLabels();
        // Close the train list at once; then "No" to new labels, "Yes" to
        // making all labels again.
        m_prompter->yesNoAnswers = {false, true};
        QTimer::singleShot(0, this, [this] { m_windows->trainListDialog()->close(); });
        action("Vlaky1")->trigger();
        QCOMPARE(m_prompter->log.size(), 2);
        QCOMPARE(doc().trainLabelCount(), labels);
        QVERIFY(doc().timeLabelCount() > 0);
        QVERIFY(trainInk() > 100);
    }

    void newEmptiesTheStationGridsFirstRow()
    {
        QVERIFY(window()->openFile(example()));
        QTimer::singleShot(0, this, [this] { m_windows->stationListDialog()->reject(); });
        action("Stanice1")->trigger();
        action("Nov1")->trigger();
        QTimer::singleShot(0, this, [this] {
            StationListDialog *d = m_windows->stationListDialog();
            auto *grid = d->findChild<QWidget *>(QStringLiteral("StringGrid1"));
            QVERIFY(grid);
            d->reject();
        });
        action("Stanice1")->trigger();
        QVERIFY(doc().noDocument);
        QVERIFY(m_prompter->log.isEmpty());
    }

    // "Exportovat..." by its key from a number field of the panel, and
    // "Tisk..." with TForm5's "&Tisk" (the print dialog printing to a file)
    // and "&Exportovat...", each as far as the file.
    void exportAndPrintFromTheMenu()
    {
        QVERIFY(window()->openFile(example()));
        QVERIFY(GuiKeys::activate(window()));
        auto *spin = find<QSpinBox>("SpinEdit1");
        spin->setFocus();
        QTRY_VERIFY(spin->hasFocus());
        bool asked = false;
        QTimer::singleShot(0, this, [this, &asked] {
            QDialog *d = m_windows->exportDialog();
            asked = d->isVisible();
            d->findChild<QRadioButton *>(QStringLiteral("RadioButton2"))->setChecked(true); // the view
            d->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        });
        m_prompter->fileAnswers = {path("pohled.png")};
        m_prompter->filterAnswers = {2};
        QTest::keyClick(spin, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(asked);
        QCOMPARE(QImage(path("pohled.png")).convertToFormat(QImage::Format_RGB32), window()->renderer().surface());

        m_prompter->printAnswers = {path("tisk.pdf")};
        m_prompter->fileAnswers = {path("arch.pdf")};
        m_prompter->filterAnswers = {0};
        for (const char *button : {"BitBtn1", "BitBtn4"}) {
            QTimer::singleShot(0, this, [this, button] {
                m_windows->printToBitmapDialog()->findChild<QPushButton *>(QString::fromLatin1(button))->click();
            });
            action("Tisk1")->trigger();
        }
        QCOMPARE(m_prompter->log.filter(QStringLiteral("print")), QStringList{QStringLiteral("print")});
        QVERIFY(FileBytes::read(path("tisk.pdf")).startsWith("%PDF"));
        QVERIFY(FileBytes::read(path("arch.pdf")).startsWith("%PDF"));
        QVERIFY(m_prompter->messages().isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    MainWindowCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowCommandsTest.moc"
