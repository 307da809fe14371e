#include "AppHarness.h"
#include "DocumentFixtures.h"
#include "GuiClicks.h"
#include "dialogs/AddTrainDialog.h"
#include "dialogs/InsertToolWindow.h"
#include "dialogs/StationListBox.h"
#include "dialogs/StationListDialog.h"
#include "dialogs/TrainListDialog.h"
#include "io/DocumentFile.h"
#include "model/Cp1250.h"
#include "render/Colours.h"
#include "render/LineRaster.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

namespace {

using namespace GuiClicks;
using K = StationListEditor;

template <typename T> T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}
using DocumentFixtures::Rows;
using DocumentFixtures::rowsOf;

} // namespace

// The station and train editors as a person uses them on a new document:
// stations with their kinds, a train with its times, everything as typed.
// Only keys and clicks reach the windows; the modal dialogs run from timers.
class EditorsEndToEndTest : public QObject
{
    Q_OBJECT

    AppHarness h;
    Document &doc() const { return h.doc(); }

private slots:
    void initTestCase() { h.start(); }
    void cleanupTestCase() { h.stop(); }

    void typeALineOfStations()
    {
        StationListDialog *d = h.windows->stationListDialog();
        StringGrid *grid = d->grid();
        h.prompter->yesNoAnswers = {true}; // delete all trains: there are none yet
        AppHarness::whenShown(d, [&] {
            QVERIFY(grid->hasFocus());
            typeAll(grid, {"Praha hl. n.", "0", "Zastávka Vysočany"});
            GuiKeys::type(grid, QStringLiteral("12"));
            click(d->kindBox(K::Zastavka)); // straight from the kilometre: that row's box
            clickCell(grid, 1, 3);
            typeAll(grid, {"Kolín", "30"});
            click(child<QPushButton>(d, "BitBtn1"));
        });
        click(h.find<QToolButton>("SpeedButton3"));
        QCOMPARE(h.session->history.count(), 1); // an undo step
    }

    void typeATrainWithItsTimes()
    {
        TrainListDialog *d = h.windows->trainListDialog();
        StringGrid *rows = d->rowGrid();
        StationListBox *list = d->stationList();
        h.prompter->yesNoAnswers = {false, true}; // no labels for new trains only; all labels made again
        AppHarness::whenShown(d, [&] {
            QVERIFY(d->trainGrid()->hasFocus());
            typeAll(d->trainGrid(), {"Os 5401"});
            clickCell(d->trainGrid(), 1, 1);
            clickItem(list, 0);
            for (int i = 0; i < 3; ++i) {
                GuiKeys::key(list, Qt::Key_Return);
                GuiKeys::key(list, Qt::Key_Down);
            }
            clickCell(rows, 2, 1);
            typeAll(rows, {"0600", "8+", "12-"});
            click(child<QPushButton>(d, "BitBtn1"));
        });
        const int renders = h.renderer().stats.renders;
        click(h.find<QToolButton>("SpeedButton4"));
        QCOMPARE(doc().trainCount, 1);
        QCOMPARE(h.session->history.count(), 2);
        QCOMPARE(doc().trainLabelCount(), 1);
        QVERIFY(doc().timeLabelCount() > 0);
        QVERIFY(h.renderer().stats.renders > renders);
    }

    void everythingAsTyped()
    {
        QStringList stations;
        for (const Station &s : doc().stations)
            stations
                << QStringLiteral("%1 %2 %3").arg(cp1250::toUnicode(s.name.view())).arg(s.metres).arg(s.kind->zastavka);
        QCOMPARE(stations, (QStringList{"Praha hl. n. 0 0", "Zastávka Vysočany 12000 1", "Kolín 30000 0"}));
        const Train &t = doc().trains.at(0);
        QCOMPARE(t.name, QByteArrayView("Os 5401"));
        // "8+" is 8 minutes and a half, "12-" a short dwell.
        QCOMPARE(rowsOf(t), (Rows{{1, 6, 0, 0, 0, 0}, {2, 6, 8, 0, 1, 0}, {3, 6, 12, 0, 0, 1}}));
    }
};

// A train laid by pointing: the tool opened with Ins shows the pointer's
// station and time and locks Editace, the preview is drawn, Shift + click
// confirms "Přidat vlak", and the train lands in the document.
class InsertTrainEndToEndTest : public QObject
{
    Q_OBJECT

    AppHarness h;
    Document &doc() const { return h.doc(); }
    QPoint at(int km, int hour, int minute) const { return h.at(km, hour * 60 + minute); }

private slots:
    void initTestCase()
    {
        Document line;
        for (auto [name, km] : {std::pair{"Praha", 0}, {"Libeň", 10}, {"Kolín", 30}})
            SampleLine::addStation(line, name, km);
        TravelTimeProfile &p = line.profiles.at(1, 1);
        p.runTimeAt(1) = 4; // in half minutes: Praha - Libeň 2, a minute's stop, Libeň - Kolín 3
        p.dwellAt(1) = 2;
        p.runTimeAt(2) = 6;
        p.name = "Osobn\xED";
        line.profiles.countOf(1) = 1;
        QCOMPARE(DocumentFile::save(line, h.path("trať.vrs")).status, DocumentFile::Status::Ok);
        h.start({1300, 700});
        QVERIFY(h.window()->openFile(h.path("trať.vrs")));
        QVERIFY(GuiKeys::activate(h.window())); // the progress window took the focus
    }
    void cleanupTestCase() { h.stop(); }

    void layATrainByPointing()
    {
        QTest::keyClick(h.window(), Qt::Key_Insert);
        InsertToolWindow *tool = h.windows->insertToolWindow();
        QVERIFY(tool->isVisible());
        QVERIFY(!h.find<QMenu>("Editace1")->isEnabled());
        QVERIFY(!h.action("Stanice1")->isEnabled()); // nor its shortcuts
        QCOMPARE(child<QLabel>(tool, "Label3")->text(), QStringLiteral("Osobní"));

        QTest::mouseMove(h.box(), at(0, 8, 0));
        QTest::mouseClick(h.box(), Qt::LeftButton, {}, at(0, 8, 0)); // the departure from Praha
        QTest::mouseMove(h.box(), at(30, 8, 20));
        QCOMPARE(child<QLabel>(tool, "Label5")->text(), QStringLiteral("Kolín"));
        QCOMPARE(child<QLabel>(tool, "Label7")->text(), QStringLiteral(" 8:20:00"));
        const QRgb green = LineRaster::rgb(Colours::darkGreen);
        QVERIFY(h.pixels(green) > 5);            // the preview
        QVERIFY(!h.action("Zpt1")->isEnabled()); // no undo while a train is laid

        AddTrainDialog *add = h.windows->addTrainDialog();
        AppHarness::whenShown(add, [&] {
            QVERIFY(GuiKeys::activate(add));
            QVERIFY(child<QSpinBox>(add, "SpinEdit1")->hasFocus());
            GuiKeys::type(add, QStringLiteral("5401"));
            click(child<QPushButton>(add, "BitBtn1"));
        });
        QTest::mouseClick(h.box(), Qt::LeftButton, Qt::ShiftModifier, at(30, 8, 20));

        QVERIFY(!tool->isVisible());
        QVERIFY(h.find<QMenu>("Editace1")->isEnabled());
        QCOMPARE(doc().trainLabelCount(), 1);
        const Train &t = doc().trains.at(0);
        QCOMPARE(cp1250::toUnicode(t.name.view()), QStringLiteral("Os 5401"));
        QCOMPARE(t.rowCount(), 4);
        QCOMPARE(h.pixels(green), 0);
        QVERIFY(h.window()->isWindowModified() && h.action("Zpt1")->isEnabled());
    }
};

int main(int argc, char **argv)
{
    return runGuiTests<EditorsEndToEndTest, InsertTrainEndToEndTest>(argc, argv);
}

#include "EditorsEndToEndTest.moc"
