#include "AppHarness.h"
#include "GuiClicks.h"
#include "dialogs/AddTrainDialog.h"
#include "dialogs/InsertToolWindow.h"
#include "io/DocumentFile.h"
#include "model/Cp1250.h"
#include "render/Colours.h"
#include "render/LineRaster.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

namespace {

using GuiClicks::click;

template <typename T> T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

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
        QTRY_COMPARE(child<QLabel>(tool, "Label5")->text(), QStringLiteral("Praha")); // the move has arrived
        QTest::mouseClick(h.box(), Qt::LeftButton, {}, at(0, 8, 0)); // the departure from Praha
        QTest::mouseMove(h.box(), at(30, 8, 20));
        QTRY_COMPARE(child<QLabel>(tool, "Label5")->text(), QStringLiteral("Kolín"));
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
    return runGuiTests<InsertTrainEndToEndTest>(argc, argv);
}

#include "EditorsEndToEndTest.moc"
