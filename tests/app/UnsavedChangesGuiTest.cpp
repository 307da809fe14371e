#include "GuiKeys.h"
#include "ScriptedPrompter.h"
#include "TestPaths.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/PaintBox.h"
#include "app/Session.h"
#include "dialogs/AddTrainDialog.h"
#include "dialogs/ProfileDialog.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/StationListDialog.h"
#include "dialogs/TrainListDialog.h"
#include "editing/LabelDrag.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(std::function<void()>)

// The document's modified state as the person meets it in the main
// window: which commands set it, the caption, the question before New, Open
// and closing, and Zpět and Znovu in the Editace menu.
class UnsavedChangesGuiTest : public QObject
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
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QString example() const { return TestPaths::examplesDir() + QStringLiteral("/liberec-tanvald.vrs"); }
    bool modified() const { return window()->isWindowModified(); }

    // A copy of the example opened from a file of that name.
    void openCopy(const char *name)
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile::remove(path(name));
        QVERIFY(QFile::copy(example(), path(name)));
        QVERIFY(window()->openFile(path(name)));
        QVERIFY(!modified());
    }

    // A label whose middle no other label covers; its middle in PaintBox1.
    // The view scrolls to one when none is in sight.
    QPoint pickable() const
    {
        Renderer &r = window()->renderer();
        for (int attempt = 0; attempt < 2; ++attempt) {
            const QPoint shift(40 - 5 * window()->view().hpos, -2 * window()->view().vpos);
            QPoint alone;
            for (const LabelOutline &o : r.labelOutlines()) {
                const QPoint m = (o.p1 + o.p3) / 2;
                int hits = 0;
                for (const LabelOutline &other : r.labelOutlines())
                    hits += LabelDrag::contains(other, m);
                if (hits != 1)
                    continue;
                alone = m;
                const QPoint at = m + shift;
                if (at.x() > 120 && at.x() < window()->paintBox()->width() - 150 && at.y() > 80
                    && at.y() < r.visibleBottom() - 10)
                    return at;
            }
            window()->horizontalBar()->setValue(std::max(0, (alone.x() - 500) / 5));
        }
        qWarning("no pickable label");
        return {};
    }

    void dragLabel(QPoint by, Qt::KeyboardModifiers atRelease = {})
    {
        PaintBox *box = window()->paintBox();
        const QPoint from = pickable();
        QTest::mousePress(box, Qt::LeftButton, {}, from);
        if (!by.isNull()) { // a click alone moves nothing
            QTest::mouseEvent(QTest::MouseMove, box, Qt::NoButton, {}, from + by / 2);
            QTest::mouseEvent(QTest::MouseMove, box, Qt::NoButton, {}, from + by);
        }
        QTest::mouseRelease(box, Qt::LeftButton, atRelease, from + by);
    }

    // A shortcut typed into the main window, the focus in the ratio's spin
    // box (where it is at start), which has an undo of its own. The progress
    // window a render shows takes the activation with it; without a window
    // manager it does not come back by itself.
    void shortcut(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QVERIFY(GuiKeys::activate(window()));
        find<QSpinBox>("SpinEdit1")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    std::vector<double> labelTimes() const
    {
        std::vector<double> times;
        for (const TrainLabel &l : doc().trainLabels)
            times.push_back(l.time);
        return times;
    }

    // The pointer over a kilometre of the line at a minute of the day.
    QPoint at(int km, int minute) const
    {
        const DiagramView &v = window()->view();
        return QPoint(v.screenX(Geometry::round(minute * v.scale)),
                      v.screenY(Geometry::y(km, doc().settings.zoom, doc().maxKm)));
    }

    // A train laid with the insert-train tool from Liberec to km 12 along a
    // profile and added.
    void insertATrain()
    {
        TravelTimeProfile &p = doc().profiles.at(1, 1);
        for (int i = 1; i <= 14; ++i)
            p.runTimeAt(i) = 4;
        doc().profiles.countOf(1) = 1;
        action("Vloitvlakzjzddob1")->trigger();
        QVERIFY(window()->insertTool().isActive());
        PaintBox *box = window()->paintBox();
        QTest::mouseEvent(QTest::MouseMove, box, Qt::NoButton, {}, at(0, 60));
        QTest::mouseClick(box, Qt::LeftButton, {}, at(0, 60));
        QTest::mouseEvent(QTest::MouseMove, box, Qt::NoButton, {}, at(12, 100));
        QCOMPARE(action("Zpt1")->isEnabled(), false); // not while a train is laid
        AddTrainDialog *add = m_windows->addTrainDialog();
        GuiKeys::whenActive(add, [add] { add->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click(); });
        QTest::mouseClick(box, Qt::LeftButton, Qt::ShiftModifier, at(12, 100));
        QVERIFY(!window()->insertTool().isActive());
    }

    // A change made by a command: the thin pen, as the settings dialog sets it.
    void change()
    {
        EditStep step(m_session->history, QStringLiteral("změna nastavení"));
        doc().settings.penThin = 7;
    }

private slots:
    void init()
    {
        m_windows.reset();
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_session = std::make_unique<Session>(*m_prompter, SettingsFile(path("Vlakorys.ini")));
        m_windows = std::make_unique<AppWindows>(*m_session);
        window()->resize(1200, 800);
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }
    void cleanup() { m_windows.reset(); }

    void commandsSetTheModifiedStateViewChangesDoNot_data()
    {
        QTest::addColumn<std::function<void()>>("command");
        QTest::addColumn<bool>("modifies");
        QTest::newRow("station list, a name") << std::function<void()>([this] {
            m_prompter->yesNoAnswers = {false}; // keep the trains
            GuiKeys::whenActive(m_windows->stationListDialog(), [this] {
                m_windows->stationListDialog()->editor().commitCell(1, 2, QStringLiteral("Rochlice"));
                m_windows->stationListDialog()->BitBtn1Click();
            });
            action("Stanice1")->trigger();
        }) << true;
        QTest::newRow("station list, nothing changed") << std::function<void()>([this] {
            m_prompter->yesNoAnswers = {false};
            GuiKeys::whenActive(m_windows->stationListDialog(),
                                [this] { m_windows->stationListDialog()->BitBtn1Click(); });
            action("Stanice1")->trigger();
        }) << false;
        QTest::newRow("train list, a name") << std::function<void()>([this] {
            m_prompter->yesNoAnswers = {false, false};
            GuiKeys::whenActive(m_windows->trainListDialog(), [this] {
                m_windows->trainListDialog()->editor().commitTrainName(1, QStringLiteral("Sp 1"));
                m_windows->trainListDialog()->close();
            });
            action("Vlaky1")->trigger();
        }) << true;
        QTest::newRow("profiles, OK") << std::function<void()>([this] {
            ProfileDialog *d = m_windows->profileDialog();
            GuiKeys::whenActive(d, [d] {
                d->editor().commitCell(1, 2, QStringLiteral("3+"));
                d->BitBtn1Click();
            });
            action("Jzdndoby1")->trigger();
        }) << true;
        QTest::newRow("profiles, cancelled") << std::function<void()>([this] {
            ProfileDialog *d = m_windows->profileDialog();
            GuiKeys::whenActive(d, [d] { d->editor().commitCell(1, 2, QStringLiteral("3+")); });
            action("Jzdndoby1")->trigger();
        }) << false;
        QTest::newRow("inserted train") << std::function<void()>([this] { insertATrain(); }) << true;
        QTest::newRow("label drop") << std::function<void()>([this] { dragLabel({50, -40}); }) << true;
        QTest::newRow("label copy") << std::function<void()>([this] {
            dragLabel({50, -40}, Qt::ControlModifier);
        }) << true;
        QTest::newRow("label delete") << std::function<void()>([this] {
            m_prompter->yesNoAnswers = {true};
            dragLabel({0, -3000});
        }) << true;
        QTest::newRow("label click") << std::function<void()>([this] { dragLabel({0, 0}); }) << false;
        QTest::newRow("import") << std::function<void()>([this] {
            QFile text(path("import.txt"));
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("Os 99\nLiberec\t\t 6:00\nLiberec-Rochlice\t 6:05\t\n-\n");
            text.close();
            m_prompter->fileAnswers = {path("import.txt")};
            action("Import1")->trigger();
        }) << true;
        QTest::newRow("settings, a pen") << std::function<void()>([this] {
            SettingsDialog *d = m_windows->settingsDialog();
            GuiKeys::whenActive(d, [d] {
                d->findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->setValue(4);
                d->BitBtn1Click();
            });
            action("Nastaven1")->trigger();
        }) << true;
        QTest::newRow("zoom") << std::function<void()>([this] {
            find<QToolButton>("SpeedButton7")->click();
            find<QToolButton>("SpeedButton8")->click();
        }) << false;
        QTest::newRow("scroll") << std::function<void()>([this] { window()->horizontalBar()->setValue(30); }) << false;
        QTest::newRow("ratio") << std::function<void()>([this] {
            find<QSpinBox>("SpinEdit1")->setValue(3);
            find<QToolButton>("SpeedButton9")->click();
        }) << false;
        QTest::newRow("check boxes") << std::function<void()>([this] {
            for (const char *box : {"CheckBox1", "CheckBox2", "CheckBox3"})
                find<QCheckBox>(box)->click();
        }) << false;
    }
    void commandsSetTheModifiedStateViewChangesDoNot()
    {
        QFETCH(std::function<void()>, command);
        QFETCH(bool, modifies);
        openCopy("trať.vrs");
        QCOMPARE(window()->windowTitle(), QStringLiteral("Program pro tvoření vlakorysu - trať.vrs[*]"));
        command();
        QCOMPARE(modified(), modifies);
        QCOMPARE(action("Zpt1")->isEnabled(), modifies);
        QVERIFY2(!m_prompter->log.contains(QStringLiteral("unscripted question")),
                 qPrintable(m_prompter->log.join('\n')));
        // Save clears it.
        action("Uloit1")->trigger();
        QVERIFY(!modified());
    }

    void questionBeforeLeaving_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("file"); // "" untitled, "gone/..." a folder that went away
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");
        using C = Prompter::SaveChoice;
        for (const char *command : {"New", "Open", "Close"}) {
            const QString c = QString::fromLatin1(command);
            QTest::addRow("%s, Uložit", command) << c << int(C::Save) << "a.vrs" << true << true;
            QTest::addRow("%s, Uložit untitled, named", command) << c << int(C::Save) << "" << true << true;
            QTest::addRow("%s, Uložit untitled, cancelled", command) << c << int(C::Save) << "" << false << false;
            QTest::addRow("%s, Uložit fails", command) << c << int(C::Save) << "gone/a.vrs" << false << false;
            QTest::addRow("%s, Neukládat", command) << c << int(C::Discard) << "a.vrs" << true << false;
            QTest::addRow("%s, Zrušit", command) << c << int(C::Cancel) << "a.vrs" << false << false;
        }
    }
    void questionBeforeLeaving()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(QString, file);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);
        const bool untitled = file.isEmpty();
        const bool namedLater = untitled && QByteArray(QTest::currentDataTag()).endsWith("named");
        openCopy(untitled ? "start.vrs" : file.toUtf8().constData());
        if (untitled)
            doc().untitled = true;
        if (file.startsWith(QLatin1String("gone/")))
            QVERIFY(QDir(path("gone")).removeRecursively());
        change();
        QVERIFY(modified());

        m_prompter->log.clear();
        m_prompter->saveChoices = {Prompter::SaveChoice(answer)};
        if (namedLater)
            m_prompter->fileAnswers.push_back(path("named.vrs"));
        else if (untitled)
            m_prompter->fileAnswers.push_back(std::nullopt); // the save dialog cancelled
        if (command == QLatin1String("Open"))
            m_prompter->fileAnswers.push_back(example());
        bool closed = false;
        if (command == QLatin1String("New"))
            action("Nov1")->trigger();
        else if (command == QLatin1String("Open"))
            action("Otevt1")->trigger();
        else
            closed = window()->close();

        const QString shownName = untitled ? QStringLiteral("Bez názvu") : QStringLiteral("a.vrs");
        QCOMPARE(m_prompter->log.value(0),
                 QStringLiteral("save question: Uložit změny v dokumentu „%1“?").arg(shownName));
        const QString target = namedLater ? path("named.vrs") : untitled ? QString() : path(file.toUtf8().constData());
        auto bytes = [](const QString &p) {
            QFile f(p);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const bool written = !target.isEmpty() && !bytes(target).isEmpty() && bytes(target) != bytes(example());
        QCOMPARE(written, saved);
        if (command == QLatin1String("New"))
            QCOMPARE(doc().noDocument, goesOn);
        else if (command == QLatin1String("Open"))
            QCOMPARE(m_session->fileName == QFileInfo(example()).absoluteFilePath(), goesOn);
        else
            QCOMPARE(closed, goesOn);
        if (!goesOn)
            QVERIFY(modified());
        else if (command != QLatin1String("Close"))
            QVERIFY(!modified());
        if (file.startsWith(QLatin1String("gone/")))
            QVERIFY(m_prompter->messages().contains(QStringLiteral("Chyba při vytváření souboru.")));
        QVERIFY(!m_prompter->log.contains(QStringLiteral("unscripted question")));
    }

    void undoAndRedoALabelMove()
    {
        openCopy("trať.vrs");
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět"));
        QVERIFY(!action("Zpt1")->isEnabled());
        QVERIFY(!action("Znovu1")->isEnabled());
        QCOMPARE(action("Znovu1")->shortcuts(), (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                                                     QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
        const std::vector<double> before = labelTimes();
        dragLabel({80, -30});
        const std::vector<double> after = labelTimes();
        QVERIFY(after != before);
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět: přesun popisku"));

        shortcut(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(labelTimes(), before);
        QVERIFY(!modified());
        QCOMPARE(action("Zpt1")->text(), QStringLiteral("Zpět"));
        QCOMPARE(action("Znovu1")->text(), QStringLiteral("Znovu: přesun popisku"));
        shortcut(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(labelTimes(), after);
        QVERIFY(modified());
        shortcut(Qt::Key_Z, Qt::ControlModifier);
        shortcut(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(labelTimes(), after);

        // Not while a modal editor is open.
        bool offInEditor = false;
        m_prompter->yesNoAnswers = {false, false};
        GuiKeys::whenActive(m_windows->trainListDialog(), [&] { offInEditor = !action("Zpt1")->isEnabled(); });
        action("Vlaky1")->trigger();
        QVERIFY(offInEditor);
        QVERIFY(action("Zpt1")->isEnabled());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    UnsavedChangesGuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "UnsavedChangesGuiTest.moc"
