#include "GuiKeys.h"
#include "ScriptedPrompter.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/Session.h"
#include "dialogs/KilometreDialog.h"
#include "dialogs/ListCommands.h"
#include "dialogs/StationListBox.h"
#include "dialogs/StationListDialog.h"
#include "dialogs/TrainListDialog.h"
#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "render/DiagramView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

// What the person types, and what the document must hold after a save and
// an open.
struct TypedStation
{
    const char *name;
    int km;
    std::vector<int> kinds; // StationListEditor::Kind values that are on
};

struct TypedRow
{
    int station; // > 0 station index, < 0 kilometre point
    int hours;
    int minutes;
    bool halfMinute;
    bool shortDwell;
};

struct TypedTrain
{
    const char *name;
    bool rusici;
    std::vector<TypedRow> rows;
};

using K = StationListEditor;

const std::vector<TypedStation> stations{
    {"Praha hl. n.", 0, {K::Dopravna}},       {"Praha-Libeň", 5, {K::Dopravna}},
    {"Zastávka Vysočany", 12, {K::Zastavka}}, {"Hradlo Malešice", 15, {K::Hradlo, K::Zastavka}},
    {"Odbočka Rajská", 22, {K::Odbocka}},     {"Kolín", 30, {K::Dopravna}},
};

const std::vector<TypedTrain> trains{
    {"Os 5401",
     false,
     {{1, 6, 0, false, false},    // 0600
      {2, 6, 5, false, false},    // 5
      {3, 6, 8, true, false},     // 8+
      {4, 6, 9, false, false},    // + after a half minute: the next minute
      {5, 6, 12, false, true},    // 12-
      {6, 6, 15, true, false},    // 15, then "+ 0.5 min" clicked
      {6, 6, 17, false, false}}}, // 0617 (Shift+Enter gave the second Kolín)
    {"R 601",
     true,
     {{6, 7, 0, false, false},    // 0700
      {-975, 7, 6, false, false}, // "Vložit kilometr" 25, then 6
      {1, 7, 30, false, false}}}, // 30
};

} // namespace

// The station and train editors as a person uses them on a new document:
// a line of stations with their kinds, two trains with their times, the
// diagram drawn, saved, a new document, opened again, and everything as
// typed. Only keys and clicks reach the windows; the modal dialogs are
// driven from timers while they run.
class EditorsEndToEndTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<AppWindows> m_windows;

    MainWindow *window() const { return m_windows->mainWindow(); }
    Document &doc() const { return m_session->document; }
    QString savedFile() const { return m_dir.filePath(QStringLiteral("Trať 011.vrs")); }

    template <typename T> static T *child(QWidget *parent, const char *name)
    {
        T *w = parent->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qWarning("no control %s", name);
        return w;
    }

    static void type(QWidget *fallback, const QString &text) { GuiKeys::type(fallback, text); }
    static void key(QWidget *fallback, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        GuiKeys::key(fallback, k, m);
    }
    static void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
    static void clickBox(QWidget *dialog, const char *name)
    {
        auto *box = child<QCheckBox>(dialog, name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }
    static void clickCell(StringGrid *grid, int column, int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(column, row).center());
    }
    static void clickItem(StationListBox *list, int index)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
    }

    // Runs the steps once the modal window is up; a window the steps leave
    // open is closed, so that a failing step cannot hang the test.
    void whenShown(QDialog *modal, std::function<void()> steps)
    {
        QTimer::singleShot(0, this, [modal, steps] {
            // Active itself, not only through the main window it belongs to.
            QVERIFY(QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; }));
            steps();
            if (modal->isVisible())
                modal->reject();
        });
    }

    // Whether the 3 x 3 pixels around p hold the colour.
    bool inkNear(QPoint p, QRgb colour) const
    {
        const QImage &s = window()->renderer().surface();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint q = p + QPoint(dx, dy);
                if (s.rect().contains(q) && (s.pixel(q) & 0xFFFFFF) == (colour & 0xFFFFFF))
                    return true;
            }
        return false;
    }

    // Points along the line between two timetable rows of a typed train, on
    // the surface as the renderer places them: x = Round(minutes * scale)
    // right of the station column, y = 20 + 2 z (D - km), both less the
    // scroll positions.
    void expectSegmentDrawn(const TypedRow &from, const TypedRow &to, QRgb colour)
    {
        auto kmOf = [](const TypedRow &r) {
            return r.station > 0 ? stations[size_t(r.station - 1)].km : r.station + 1000;
        };
        auto minutesOf = [](const TypedRow &r) { return r.hours * 60 + r.minutes + (r.halfMinute ? 0.5 : 0.0); };
        for (double t : {0.25, 0.5, 0.75}) {
            const double minutes = minutesOf(from) + t * (minutesOf(to) - minutesOf(from));
            const double km = kmOf(from) + t * (kmOf(to) - kmOf(from));
            const DiagramView &v = window()->view();
            const QPoint p(v.screenX(Geometry::round(minutes * v.scale)),
                           v.screenY(Geometry::round(Geometry::y(km, doc().settings.zoom, doc().maxKm))));
            QVERIFY2(inkNear(p, colour), qPrintable(QStringLiteral("no line at %1, %2").arg(p.x()).arg(p.y())));
            // Half an hour later on the same height there is no train.
            QVERIFY(!inkNear(p + QPoint(Geometry::round(30 * v.scale), 0), colour));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_session =
            std::make_unique<Session>(*m_prompter, SettingsFile(m_dir.filePath(QStringLiteral("Vlakorys.ini"))));
        m_windows = std::make_unique<AppWindows>(*m_session);
        window()->resize(1200, 700);
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        QVERIFY(doc().noDocument);
    }

    void cleanupTestCase() { m_windows.reset(); }

    void typeALineOfStations()
    {
        StationListDialog *d = m_windows->stationListDialog();
        StringGrid *grid = d->grid();
        m_prompter->yesNoAnswers = {true}; // delete all trains: there are none yet
        whenShown(d, [&] {
            // The grid takes the keys at once.
            QVERIFY(grid->hasFocus());
            QVERIFY(d->kindBox(K::Dopravna)->isChecked());
            type(grid, QStringLiteral("Praha hl. n."));
            key(grid, Qt::Key_Return);
            type(grid, QStringLiteral("0"));
            key(grid, Qt::Key_Return);
            type(grid, QStringLiteral("Praha-Libeň"));
            key(grid, Qt::Key_Return);
            type(grid, QStringLiteral("5"));
            key(grid, Qt::Key_Return);
            // Kilometre typed, then straight to the kind box of that point.
            type(grid, QStringLiteral("Zastávka Vysočany"));
            key(grid, Qt::Key_Return);
            type(grid, QStringLiteral("12"));
            clickBox(d, "CheckBox4"); // Zastávka
            clickCell(grid, 1, 4);
            type(grid, QStringLiteral("Hradlo Malešice"));
            key(grid, Qt::Key_Tab);
            type(grid, QStringLiteral("15"));
            key(grid, Qt::Key_Return);
            clickCell(grid, 1, 4);
            clickBox(d, "CheckBox4"); // Zastávka
            clickBox(d, "CheckBox1"); // Hradlo keeps it
            clickCell(grid, 1, 5);
            type(grid, QStringLiteral("Odbočka Rajská"));
            key(grid, Qt::Key_Return);
            type(grid, QStringLiteral("22"));
            key(grid, Qt::Key_Return);
            clickCell(grid, 2, 5);
            clickBox(d, "CheckBox3"); // Odbočka
            clickCell(grid, 1, 6);
            type(grid, QStringLiteral("Kolín"));
            key(grid, Qt::Key_Return);
            type(grid, QStringLiteral("30"));
            key(grid, Qt::Key_Return);
            // One empty row follows the last station.
            QCOMPARE(grid->rowCountShown(), int(stations.size()) + 2);
            QCOMPARE(grid->currentRowNumber(), int(stations.size()) + 1);
            clickCell(grid, 1, 4);
            QVERIFY(d->kindBox(K::Hradlo)->isChecked());
            QVERIFY(d->kindBox(K::Zastavka)->isChecked());
            QVERIFY(!d->kindBox(K::Dopravna)->isChecked());
            click(child<QPushButton>(d, "BitBtn1"));
        });
        click(child<QToolButton>(window(), "SpeedButton3"));

        QCOMPARE(m_prompter->log, QStringList{QStringLiteral("question: ") + ListCommands::deleteTrainsQuestion});
        QVERIFY(!doc().noDocument);
        QCOMPARE(doc().stations.size(), stations.size());
        QCOMPARE(doc().maxKm, 30);
    }

    void typeTwoTrainsWithTheirTimes()
    {
        TrainListDialog *d = m_windows->trainListDialog();
        StringGrid *names = d->trainGrid();
        StringGrid *rows = d->rowGrid();
        StationListBox *list = d->stationList();
        KilometreDialog *kilometre = m_windows->kilometreDialog();
        m_prompter->log.clear();
        m_prompter->yesNoAnswers = {false, true}; // no labels for new trains only; all labels made again
        whenShown(d, [&] {
            QVERIFY(names->hasFocus());
            QCOMPARE(list->count(), int(stations.size()));
            type(names, QStringLiteral("Os 5401"));
            key(names, Qt::Key_Return);
            type(names, QStringLiteral("R 601"));
            key(names, Qt::Key_Return);
            QCOMPARE(names->rowCountShown(), 4);

            // Os 5401: every station, Kolín as arrival and departure.
            clickCell(names, 1, 1);
            QVERIFY(rows->isEnabled());
            clickItem(list, 0);
            key(list, Qt::Key_Return);
            for (int i = 1; i < 5; ++i) {
                key(list, Qt::Key_Down);
                key(list, Qt::Key_Return);
            }
            key(list, Qt::Key_Down);
            key(list, Qt::Key_Return, Qt::ShiftModifier);
            QCOMPARE(rows->rowCountShown(), 8);
            clickCell(rows, 2, 1);
            for (const char *entry : {"0600", "5", "8+", "+", "12-", "15", "0617"}) {
                type(rows, QString::fromLatin1(entry));
                key(rows, Qt::Key_Return);
            }
            clickCell(rows, 2, 6);
            clickBox(d, "CheckBox3"); // + 0.5 min on the arrival at Kolín
            QCOMPARE(rows->model()->index(2, 1).data().toString(), QStringLiteral(" 6:08"));

            // R 601: Kolín, a kilometre point, Praha; a disturbing train.
            clickCell(names, 1, 2);
            QCOMPARE(rows->isEnabled(), true);
            clickItem(list, 5);
            key(list, Qt::Key_Return);
            whenShown(kilometre, [&] {
                type(kilometre, QStringLiteral("25"));
                key(kilometre, Qt::Key_Return);
            });
            click(child<QPushButton>(d, "BitBtn3"));
            QVERIFY(GuiKeys::activate(d)); // as the window system does when TForm4 has gone
            clickItem(list, 0);
            key(list, Qt::Key_Return);
            QCOMPARE(rows->rowCountShown(), 4);
            QCOMPARE(rows->model()->index(1, 0).data().toString(), QStringLiteral("Km: 25"));
            clickCell(rows, 2, 1);
            for (const char *entry : {"0700", "6", "30"}) {
                type(rows, QString::fromLatin1(entry));
                key(rows, Qt::Key_Return);
            }
            clickBox(d, "CheckBox1"); // Rušící
            click(child<QPushButton>(d, "BitBtn1"));
        });
        click(child<QToolButton>(window(), "SpeedButton4"));

        QCOMPARE(m_prompter->log, (QStringList{QStringLiteral("question: ") + ListCommands::newTrainLabelsQuestion,
                                               QStringLiteral("question: ") + ListCommands::allTrainLabelsQuestion}));
        QCOMPARE(doc().trains.size(), trains.size());
        QCOMPARE(doc().trainCount, int(trains.size()));
        QCOMPARE(doc().trainLabelCount(), int(trains.size()));
        QVERIFY(doc().timeLabelCount() > 0);
    }

    void theTrainsAreDrawn()
    {
        const std::vector<TypedRow> &os = trains[0].rows;
        const std::vector<TypedRow> &r = trains[1].rows;
        // Black for an Os, red for a disturbing train; the first segment
        // carries the train's label, so later ones are looked at.
        expectSegmentDrawn(os[1], os[2], qRgb(0, 0, 0));
        expectSegmentDrawn(os[3], os[4], qRgb(0, 0, 0));
        expectSegmentDrawn(os[4], os[5], qRgb(0, 0, 0));
        expectSegmentDrawn(r[1], r[2], qRgb(255, 0, 0));
    }

    void saveNewAndOpenAgain()
    {
        m_prompter->log.clear();
        m_prompter->fileAnswers.push_back(savedFile());
        window()->findChild<QAction *>(QStringLiteral("Uloitjako1"))->trigger();
        QVERIFY(QFile::exists(savedFile()));
        QVERIFY(m_prompter->messages().isEmpty());

        click(child<QToolButton>(window(), "SpeedButton1")); // Nový vlakorys
        QVERIFY(doc().noDocument);
        QVERIFY(doc().stations.empty());
        QVERIFY(doc().trains.empty());

        m_prompter->fileAnswers.push_back(savedFile());
        click(child<QToolButton>(window(), "SpeedButton2")); // open
        QVERIFY(m_prompter->messages().isEmpty());
        QVERIFY(!doc().noDocument);
    }

    void everythingIsAsTyped()
    {
        QCOMPARE(doc().stations.size(), stations.size());
        for (size_t i = 0; i < stations.size(); ++i) {
            const Station &s = doc().stations[i];
            QCOMPARE(cp1250::toUnicode(s.name.view()), QString::fromUtf8(stations[i].name));
            QCOMPARE(s.km, stations[i].km);
            QVERIFY(s.kind);
            StationKind expected;
            for (int k : stations[i].kinds) {
                uint8_t *flags[] = {&expected.dopravna, &expected.hradlo,     &expected.hlaska,  &expected.odbocka,
                                    &expected.zastavka, &expected.nakladiste, &expected.kilometr};
                *flags[k] = 1;
            }
            QVERIFY2(s.kind->sameFlags(expected), stations[i].name);
        }

        QCOMPARE(doc().trains.size(), trains.size());
        for (size_t i = 0; i < trains.size(); ++i) {
            const Train &t = doc().trains[i];
            QCOMPARE(t.name, QByteArrayView(trains[i].name));
            QCOMPARE(bool(t.rusici), trains[i].rusici);
            QCOMPARE(t.podlePotreby, 0);
            QCOMPARE(t.rowCount(), int(trains[i].rows.size()));
            for (int k = 0; k < t.rowCount(); ++k) {
                const TrainRow row = t.row(k);
                const TypedRow &typed = trains[i].rows[size_t(k)];
                const QByteArray where = QByteArray(trains[i].name) + " row " + QByteArray::number(k + 1);
                QVERIFY2(row.station == typed.station, where);
                const ClockParts time = decodeTime(row.time);
                QVERIFY2(time.hours == typed.hours && time.minutes == typed.minutes && time.seconds == 0, where);
                QVERIFY2(bool(row.halfMinute) == typed.halfMinute, where);
                QVERIFY2(bool(row.shortDwell) == typed.shortDwell, where);
            }
        }
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    EditorsEndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EditorsEndToEndTest.moc"
