#include "GuiKeys.h"
#include "ScriptedPrompter.h"
#include "TestPaths.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/Session.h"
#include "dialogs/SettingsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// "Nastavení" as a person uses it: the menu item, TForm9 with the
// document's values, the font dialog, Cancel and OK, the diagram redrawn,
// and the values found again after a restart.
class SettingsGuiTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<AppWindows> m_windows;

    QString ini() const { return m_dir.filePath(QStringLiteral("Vlakorys.ini")); }
    MainWindow *window() const { return m_windows->mainWindow(); }
    SettingsDialog *dialog() const { return m_windows->settingsDialog(); }
    Document &doc() const { return m_session->document; }
    template <typename T> T *find(const char *name) const { return dialog()->findChild<T *>(QLatin1String(name)); }
    QString text(const char *label) const { return find<QLabel>(label)->text(); }
    QString example() const { return TestPaths::examplesDir() + QStringLiteral("/liberec-tanvald.vrs"); }

    void start()
    {
        m_windows.reset();
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_session = std::make_unique<Session>(*m_prompter, SettingsFile(ini()));
        m_windows = std::make_unique<AppWindows>(*m_session);
        window()->resize(1100, 700);
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }

    // Runs "Nastavení" from the menu with the steps done in the open dialog.
    void runSettings(std::function<void()> steps)
    {
        GuiKeys::whenActive(dialog(), std::move(steps));
        window()->findChild<QAction *>(QStringLiteral("Nastaven1"))->trigger();
    }

    int ink() const
    {
        const QImage &b = window()->renderer().diagramBitmap();
        int n = 0;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                n += (b.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return n;
    }

private slots:
    void init() { start(); }
    void cleanup() { m_windows.reset(); }

    void controls()
    {
        QAction *item = window()->findChild<QAction *>(QStringLiteral("Nastaven1"));
        QVERIFY(item->isEnabled());
        QCOMPARE(dialog()->objectName(), QStringLiteral("TForm9"));
        QCOMPARE(dialog()->windowTitle(), QStringLiteral("Nastavení"));
        QStringList groups;
        for (const QGroupBox *g : dialog()->findChildren<QGroupBox *>())
            groups << g->title();
        QCOMPARE(groups, (QStringList{"Časové popisky", "Popisky vlaků malé (Os, Pn...)",
                                      "Popisky vlaků velké (R, Sn, Nex...)", "Síly čar vlaků"}));
        for (const char *name : {"SpinEdit1", "SpinEdit2", "SpinEdit3"}) {
            QCOMPARE(find<QSpinBox>(name)->minimum(), 1);
            QCOMPARE(find<QSpinBox>(name)->maximum(), 9);
            QCOMPARE(find<QSpinBox>(name)->findChild<QLineEdit *>()->maxLength(), 1);
        }
        for (auto [name, caption] : {std::pair("Label13", "Tenká (Os).:"),
                                     {"Label14", "Střední (Rn).:"},
                                     {"Label15", "Silná (R).:"},
                                     {"Label1", "Písmo:"},
                                     {"Label3", "Velikost:"}})
            QCOMPARE(text(name), QString::fromUtf8(caption));
        QCOMPARE(find<QCheckBox>("CheckBox1")->text(), QStringLiteral("Ukládat bitmapy popisků do souboru"));
        QCOMPARE(find<QPushButton>("Button3")->text(), QStringLiteral("Změnit"));
        QCOMPARE(find<QPushButton>("BitBtn2")->text(), QStringLiteral("&Zrušit"));
    }

    void cancelChangesNothingEvenAfterAFontWasPicked()
    {
        QVERIFY(window()->openFile(example()));
        const DocumentSettings before = doc().settings;
        const int renders = window()->renderer().stats.renders;
        m_prompter->fontAnswers = {Prompter::Font{QStringLiteral("DejaVu Serif"), 11}};
        runSettings([this] {
            find<QPushButton>("Button2")->click();
            QCOMPARE(text("Label6"), QStringLiteral("DejaVu Serif"));
            QCOMPARE(text("Label8"), QStringLiteral("11"));
            find<QPushButton>("BitBtn2")->click();
        });
        QCOMPARE(m_prompter->log, QStringList{QStringLiteral("font: Times New Roman CE")});
        QVERIFY(doc().settings == before);
        QCOMPARE(window()->renderer().stats.renders, renders);
        QVERIFY(!QFile::exists(ini()));
    }

    // The settings file says one thing, the opened document another: the
    // dialog shows the document's. A new train-label font and new widths
    // redraw the diagram with every label imaged again, and a restart reads
    // them back; what was not changed is not written.
    void okRedrawsAndARestartFindsTheValues()
    {
        QVERIFY(SettingsFile(ini()).writeTimeFont("DejaVu Sans Mono", 9));
        QVERIFY(SettingsFile(ini()).writePenThin(2));
        start();
        QCOMPARE(doc().settings.penThin, 2);
        QVERIFY(window()->openFile(example()));
        TrainLabel &marked = doc().trainLabels.front();
        marked.imageCodes = {1, 0}; // an image imaging would never make
        marked.imageValues = {0};
        const int inkBefore = ink();

        m_prompter->fontAnswers = {Prompter::Font{QStringLiteral("DejaVu Serif"), 10}};
        runSettings([this] {
            QCOMPARE(text("Label2"), QStringLiteral("Arial CE"));
            QCOMPARE(text("Label4"), QStringLiteral("7"));
            QCOMPARE(text("Label10"), QStringLiteral("Arial CE"));
            QCOMPARE(text("Label12"), QStringLiteral("12"));
            QCOMPARE(find<QSpinBox>("SpinEdit1")->value(), 1);
            find<QPushButton>("Button2")->click();
            find<QSpinBox>("SpinEdit1")->setValue(4);
            find<QSpinBox>("SpinEdit3")->setValue(6);
            find<QPushButton>("BitBtn1")->click();
        });
        QCOMPARE(doc().settings.trainFontSmallName, QByteArray("DejaVu Serif"));
        QCOMPARE(doc().settings.penThin, 4);
        // Imaged again: drawn, or owed until the label is first shown.
        const TrainLabel &front = doc().trainLabels.front();
        QVERIFY(front.imageOwed() || front.imageCodes.size() > 2);
        QVERIFY2(ink() > inkBefore, "thicker lines on the screen's picture");

        start();
        const DocumentSettings &s = doc().settings;
        QCOMPARE(s.trainFontSmallName, QByteArray("DejaVu Serif"));
        QCOMPARE(s.trainFontSmallSize, 10);
        QCOMPARE(s.penThin, 4);
        QCOMPARE(s.penThick, 6);
        QCOMPARE(s.timeFontName, QByteArray("DejaVu Sans Mono")); // the dialog's "Arial CE" was no change
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    SettingsGuiTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "SettingsGuiTest.moc"
