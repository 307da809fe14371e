#include "GuiKeys.h"
#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/PaintBox.h"
#include "app/Session.h"
#include "dialogs/FindTrainDialog.h"
#include "dialogs/QtPrompter.h"
#include "editing/LabelDrag.h"
#include "model/ClockTime.h"
#include "render/Colours.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

// The diagram edited with the mouse alone, as a person does it: real mouse
// events on PaintBox1 move, turn, copy and delete train labels and pan the
// view; the labels survive a save and an open; a train found by its number
// is green until Esc.
class DiagramEditingGuiTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<QtPrompter> m_qtPrompter;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<AppWindows> m_windows;

    MainWindow *window() const { return m_windows->mainWindow(); }
    Document &doc() const { return m_session->document; }
    Renderer &renderer() const { return window()->renderer(); }
    PaintBox *box() const { return window()->paintBox(); }
    TrainLabel &label(int n) const { return doc().trainLabels[static_cast<size_t>(n - 1)]; }
    QAction *action(const char *name) const { return window()->findChild<QAction *>(QString::fromLatin1(name)); }

    using LabelState = std::tuple<QByteArray, double, double, double>;
    std::vector<LabelState> labels() const
    {
        std::vector<LabelState> all;
        for (const TrainLabel &l : doc().trainLabels)
            all.emplace_back(l.text.view().toByteArray(), l.time, l.level, l.angle);
        return all;
    }

    void start(Prompter &prompter)
    {
        m_windows.reset();
        m_session = std::make_unique<Session>(prompter, SettingsFile(m_dir.filePath(QStringLiteral("V.ini"))));
        m_windows = std::make_unique<AppWindows>(*m_session);
        window()->resize(1200, 800);
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        SampleLine::fill(doc(), {8, 60, 12, 8});
        window()->makeTrainLabels();
        window()->makeTimeLabels();
        window()->showDocumentSettings();
        doc().redrawNeeded = true;
        window()->render();
    }

    // A label whose turned box lies well inside the view and which no other
    // label overlaps at its middle; that middle in PaintBox1 pixels.
    int pickable(QPoint &middle, int avoid = 0) const
    {
        const QPoint shift(40 - 5 * window()->view().hpos, -2 * window()->view().vpos);
        const QRect room(80, 40, box()->width() - 250, renderer().visibleBottom() - 80);
        for (const LabelOutline &o : renderer().labelOutlines()) {
            if (o.number == avoid || !room.contains(o.p1 + shift) || !room.contains(o.p2 + shift)
                || !room.contains(o.p3 + shift) || !room.contains(o.p4 + shift))
                continue;
            const QPoint m = (o.p1 + o.p3) / 2;
            int hits = 0;
            for (const LabelOutline &other : renderer().labelOutlines())
                hits += LabelDrag::contains(other, m);
            if (hits == 1) {
                middle = m + shift;
                return o.number;
            }
        }
        qWarning("no pickable label");
        return 0;
    }

    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers moving = {}, Qt::KeyboardModifiers releasing = {})
    {
        QTest::mousePress(box(), Qt::LeftButton, {}, from);
        QTest::mouseEvent(QTest::MouseMove, box(), Qt::NoButton, moving, (from + to) / 2);
        QTest::mouseEvent(QTest::MouseMove, box(), Qt::NoButton, moving, to);
        QTest::mouseRelease(box(), Qt::LeftButton, releasing, to);
    }

    int greenPixels() const
    {
        const QImage &picture = box()->surface();
        const QRgb green = qRgb(0, 255, 0);
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += (picture.pixel(x, y) & 0xFFFFFF) == (green & 0xFFFFFF);
        return n;
    }

    void find(const QString &typed)
    {
        FindTrainDialog *dialog = m_windows->findTrainDialog();
        GuiKeys::whenActive(dialog, [dialog, typed] {
            QCOMPARE(dialog->edit()->text(), QString()); // cleared for every search
            QTest::keyClicks(dialog->edit(), typed);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        });
        action("Najdivlak1")->trigger();
    }

private slots:
    void cleanup() { m_windows.reset(); }

    void labelsEditedWithTheMouseSurviveASave()
    {
        start(m_prompter);
        QPoint p;

        // Moved: placed by its new centre, on a whole minute.
        int n = pickable(p);
        const double level = label(n).level;
        drag(p, p + QPoint(40, 12));
        QVERIFY(label(n).level < level);
        QCOMPARE(decodeTime(label(n).time).seconds, 0);

        // Turned with Shift, one degree per pixel.
        n = pickable(p);
        const double angle = label(n).angle;
        drag(p, p + QPoint(0, 15), Qt::ShiftModifier, Qt::ShiftModifier);
        QCOMPARE(label(n).angle, LabelDrag::turnedAngle(angle, 15));

        // Copied with Ctrl: the copy heads the list.
        const int count = doc().trainLabelCount();
        n = pickable(p);
        const QByteArray text = label(n).text.view().toByteArray();
        drag(p, p + QPoint(60, 0), {}, Qt::ControlModifier);
        QCOMPARE(doc().trainLabelCount(), count + 1);
        QCOMPARE(label(1).text.view(), text);

        // Deleted by dropping it above the diagram, over the tool panel.
        m_prompter.yesNoAnswers.push_back(true);
        n = pickable(p, 1);
        const LabelState gone = labels()[static_cast<size_t>(n - 1)];
        drag(p, QPoint(p.x(), -12));
        QCOMPARE(m_prompter.log.last(), QStringLiteral("question: Odstranit popisek?"));
        QCOMPARE(doc().trainLabelCount(), count);
        const std::vector<LabelState> after = labels();
        QVERIFY(std::find(after.begin(), after.end(), gone) == after.end());

        // Panned with the right button: 100 pixels left is 20 units on.
        const int hpos = window()->view().hpos;
        QTest::mousePress(box(), Qt::RightButton, {}, QPoint(600, 200));
        QTest::mouseMove(box(), QPoint(500, 200));
        QTest::mouseRelease(box(), Qt::RightButton, {}, QPoint(500, 200));
        QCOMPARE(window()->view().hpos, hpos + 20);
        QCOMPARE(window()->horizontalBar()->value(), hpos + 20);

        // Saved, replaced by a new document, opened again: as left.
        const std::vector<LabelState> left = labels();
        const QString file = m_dir.filePath(QStringLiteral("Popisky.vrs"));
        m_prompter.fileAnswers.push_back(file);
        action("Uloitjako1")->trigger();
        action("Nov1")->trigger();
        QCOMPARE(doc().trainLabelCount(), 0);
        m_prompter.fileAnswers.push_back(file);
        action("Otevt1")->trigger();
        // A save and an open turn the list round, as they always have.
        QVERIFY(labels() == std::vector<LabelState>(left.rbegin(), left.rend()));
    }

    void aTrainFoundByItsNumberIsGreenUntilEsc()
    {
        start(m_prompter);
        FindTrainDialog *dialog = m_windows->findTrainDialog();
        QCOMPARE(dialog->objectName(), QStringLiteral("TForm6"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("-"));
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Číslo vlaku:"));
        QCOMPARE(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn2"))->text(), QStringLiteral("&Zrušit"));

        const Train *early = &doc().trains.front();
        for (const Train &t : doc().trains)
            if (t.firstTime < early->firstTime)
                early = &t;
        const QString number = QString::fromLatin1(early->name.view().toByteArray()).section(u' ', 1);
        QCOMPARE(greenPixels(), 0);
        find(number);
        QVERIFY(renderer().highlightOn);
        QCOMPARE(renderer().foundName, early->name.view().toByteArray());
        QVERIFY(greenPixels() > 20);

        // Cancelled: the highlight stays.
        GuiKeys::whenActive(dialog, [dialog] {
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn2")), Qt::LeftButton);
        });
        action("Najdivlak1")->trigger();
        QVERIFY(renderer().highlightOn);

        QTest::keyClick(window(), Qt::Key_Escape);
        QVERIFY(!renderer().highlightOn);
        QCOMPARE(greenPixels(), 0);

        find(QStringLiteral("os ") + number);
        QCOMPARE(m_prompter.messages().last(), QStringLiteral("Vlak os %1 nebyl nalezen").arg(number));
    }

    // The delete question closed with the window's close button, not
    // answered: the label stays where it was.
    void closingTheDeleteQuestionKeepsTheLabel()
    {
        m_qtPrompter = std::make_unique<QtPrompter>();
        start(*m_qtPrompter);
        QPoint p;
        QVERIFY(pickable(p));
        const std::vector<LabelState> before = labels();
        bool asked = false;
        QTimer::singleShot(0, this, [&asked] {
            QVERIFY(QTest::qWaitFor([] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); }));
            auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            asked = question->text() == QStringLiteral("Odstranit popisek?");
            question->close();
            if (question->isVisible())
                question->done(QMessageBox::Yes); // a box that cannot be closed fails below
        });
        drag(p, QPoint(p.x(), -12));
        QVERIFY(asked);
        QVERIFY(labels() == before);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    DiagramEditingGuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DiagramEditingGuiTest.moc"
