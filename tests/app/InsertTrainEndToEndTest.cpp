#include "GuiKeys.h"
#include "ScriptedPrompter.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/PaintBox.h"
#include "app/Session.h"
#include "dialogs/AddTrainDialog.h"
#include "dialogs/InsertToolWindow.h"
#include "dialogs/ProfileDialog.h"
#include "io/DocumentFile.h"
#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "render/Colours.h"
#include "render/LineRaster.h"

#include "SampleLine.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

// A train laid by pointing, as a person does it: a travel-time profile typed
// into "Jízdní doby", the tool opened with Ins, a departure clicked, the
// pointer moved along the line, a stop fixed, Shift + click, "Přidat vlak"
// confirmed; the train drawn with its labels, saved, opened again. Only
// keys and mouse events reach the windows (file names come from the
// scripted prompter).
class InsertTrainEndToEndTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<AppWindows> m_windows;

    MainWindow *window() const { return m_windows->mainWindow(); }
    PaintBox *paintBox() const { return window()->paintBox(); }
    Document &doc() const { return m_session->document; }
    QString file() const { return m_dir.filePath(QStringLiteral("Trať 011.vrs")); }
    template <typename T> static T *child(QWidget *parent, const char *name)
    {
        return parent->findChild<T *>(QString::fromLatin1(name));
    }
    static void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2)); }

    // The pointer over a kilometre of the line at a time of day.
    QPoint at(int km, int h, int m) const
    {
        const DiagramView &v = window()->view();
        return QPoint(v.screenX(Geometry::round((h * 60 + m) * v.scale)),
                      v.screenY(Geometry::y(km, doc().settings.zoom, doc().maxKm)));
    }
    void moveTo(int km, int h, int m) { QTest::mouseMove(paintBox(), at(km, h, m)); }
    void clickAt(int km, int h, int m, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        moveTo(km, h, m);
        QTest::mouseClick(paintBox(), Qt::LeftButton, modifiers, at(km, h, m));
    }

    int pixelsOf(QRgb colour, QRect r) const
    {
        const QImage &s = window()->renderer().surface();
        int n = 0;
        for (int y = std::max(0, r.top()); y <= std::min(s.height() - 1, r.bottom()); ++y)
            for (int x = std::max(0, r.left()); x <= std::min(s.width() - 1, r.right()); ++x)
                n += (s.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    }
    // The stretch of the diagram between two stations and two times.
    QRect between(int km0, int h0, int m0, int km1, int h1, int m1) const
    {
        return QRect(at(km0, h0, m0), at(km1, h1, m1)).normalized();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A line of three stations, no trains, no profiles.
        {
            Document line;
            SampleLine::addStation(line, "Praha", 0);
            SampleLine::addStation(line, "Libeň", 10);
            SampleLine::addStation(line, "Kolín", 30);
            QCOMPARE(DocumentFile::save(line, file()), DocumentFile::Status::Ok);
        }
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_session =
            std::make_unique<Session>(*m_prompter, SettingsFile(m_dir.filePath(QStringLiteral("Vlakorys.ini"))));
        m_windows = std::make_unique<AppWindows>(*m_session);
        window()->resize(1300, 700);
        QVERIFY(GuiKeys::activate(window()));
        m_prompter->fileAnswers.push_back(file());
        QTest::keyClick(window(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(doc().stations.size(), size_t(3));
        // The progress window took the focus; without a window manager it
        // does not come back by itself.
        QVERIFY(GuiKeys::activate(window()));
    }

    void cleanupTestCase() { m_windows.reset(); }

    void typeAProfile()
    {
        ProfileDialog *d = m_windows->profileDialog();
        GuiKeys::whenActive(d, [&] {
            // Praha - Libeň 2 minutes, a minute's stop, Libeň - Kolín 3.
            // Opened from the menu, which had the keyboard; as the window
            // system gives a new dialog the focus.
            QVERIFY(GuiKeys::activate(d));
            QVERIFY(d->grid()->hasFocus());
            for (const char *entry : {"2", "1", "3"}) {
                GuiKeys::type(d, QString::fromLatin1(entry));
                GuiKeys::key(d, Qt::Key_Return);
            }
            QTest::mouseClick(child<QLineEdit>(d, "Edit1"), Qt::LeftButton);
            GuiKeys::type(d, QStringLiteral("Osobní"));
            click(child<QPushButton>(d, "BitBtn1"));
        });
        QTest::keyClick(window(), Qt::Key_E, Qt::AltModifier);
        QVERIFY(QTest::qWaitFor([] { return QApplication::activePopupWidget(); }));
        QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key_J);
        QVERIFY(GuiKeys::activate(window()));
        QCOMPARE(doc().profiles.countOf(1), 1);
        QCOMPARE(doc().profiles.at(1, 1).runTimeAt(2), 6);
    }

    void layATrainByPointing()
    {
        QTest::keyClick(window(), Qt::Key_Insert);
        InsertToolWindow *tool = m_windows->insertToolWindow();
        QVERIFY(tool->isVisible());
        QVERIFY(!child<QMenu>(window(), "Editace1")->isEnabled());
        QVERIFY(!child<QAction>(window(), "Stanice1")->isEnabled()); // nor its shortcuts
        QCOMPARE(child<QLabel>(tool, "Label3")->text(), QStringLiteral("Osobní"));

        clickAt(0, 8, 0); // the departure from Praha
        moveTo(30, 8, 20);
        QCOMPARE(child<QLabel>(tool, "Label5")->text(), QStringLiteral("Kolín"));
        QCOMPARE(child<QLabel>(tool, "Label7")->text(), QStringLiteral(" 8:20:00"));
        // The preview from Praha to Libeň, and on to Kolín.
        const QRgb green = LineRaster::rgb(Colours::darkGreen);
        QVERIFY(pixelsOf(green, between(0, 8, 0, 10, 8, 2)) > 5);
        QVERIFY(pixelsOf(green, between(10, 8, 3, 30, 8, 6)) > 5);

        moveTo(10, 8, 10);
        QTest::mouseClick(paintBox(), Qt::LeftButton, {}, at(10, 8, 5)); // a stop at Libeň until 8:05
        moveTo(30, 8, 20);
        QCOMPARE(window()->insertTool().count(), 4);

        AddTrainDialog *add = m_windows->addTrainDialog();
        moveTo(30, 8, 20);
        GuiKeys::whenActive(add, [&] {
            // Libeň: arrival 8:02, three minutes' stop, departure 8:05.
            const QAbstractItemModel *table = add->grid()->model();
            QCOMPARE(table->index(1, AddTrainDialog::DwellColumn).data().toString(), QStringLiteral("3"));
            QCOMPARE(table->index(1, AddTrainDialog::DepartureColumn).data().toString(), QStringLiteral(" 8:05:00"));
            QVERIFY(GuiKeys::activate(add)); // as the window system gives a new dialog the focus
            auto *number = child<QSpinBox>(add, "SpinEdit1");
            QVERIFY(number->hasFocus());
            GuiKeys::type(add, QStringLiteral("5401"));
            click(child<QPushButton>(add, "BitBtn1"));
        });
        QTest::mouseClick(paintBox(), Qt::LeftButton, Qt::ShiftModifier, at(30, 8, 20));

        QVERIFY(!tool->isVisible());
        QVERIFY(!window()->insertTool().isActive());
        QVERIFY(child<QMenu>(window(), "Editace1")->isEnabled());
        QVERIFY(child<QAction>(window(), "Stanice1")->isEnabled());
        QCOMPARE(doc().trains.size(), size_t(1));
        QCOMPARE(doc().trainLabelCount(), 1);
        QVERIFY(doc().timeLabelCount() > 0);
        // The train in black where the preview was; no green is left.
        QVERIFY(pixelsOf(qRgb(0, 0, 0), between(10, 8, 5, 30, 8, 8)) > 5);
        QCOMPARE(pixelsOf(green, QRect(QPoint(40, 0), paintBox()->size())), 0);
    }

    void savedAndOpenedAgainWithTheProfilesTimes()
    {
        QVERIFY(GuiKeys::activate(window())); // back from the dialog
        QTest::keyClick(window(), Qt::Key_S, Qt::ControlModifier);
        click(child<QToolButton>(window(), "SpeedButton1")); // Nový vlakorys
        QVERIFY(doc().trains.empty());
        m_prompter->fileAnswers.push_back(file());
        QTest::keyClick(window(), Qt::Key_O, Qt::ControlModifier);
        QVERIFY(m_prompter->messages().isEmpty());

        QCOMPARE(doc().trains.size(), size_t(1));
        const Train &t = doc().trains.front();
        QCOMPARE(cp1250::toUnicode(t.name.view()), QStringLiteral("Os 5401"));
        const std::vector<std::tuple<int, int, int>> expected{{1, 8, 0}, {2, 8, 2}, {2, 8, 5}, {3, 8, 8}};
        QCOMPARE(t.rowCount(), int(expected.size()));
        for (int k = 0; k < t.rowCount(); ++k) {
            const auto [station, h, m] = expected[size_t(k)];
            QCOMPARE(t.row(k).station, station);
            QCOMPARE(t.row(k).time, makeTime(h, m));
            QCOMPARE(int(t.row(k).halfMinute), 0);
        }
        QCOMPARE(doc().profiles.countOf(1), 1);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    InsertTrainEndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "InsertTrainEndToEndTest.moc"
