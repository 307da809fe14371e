#include "app/AnalogClock.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/PaintBox.h"
#include "app/Session.h"
#include "ScriptedPrompter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

class MainWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<AppWindows> m_windows;

    QString iniPath() const { return m_dir.filePath(QStringLiteral("Vlakorys.ini")); }
    MainWindow *window() const { return m_windows->mainWindow(); }
    template <typename T>
    T *find(const char *name) const
    {
        T *w = window()->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qWarning("no child %s", name);
        return w;
    }
    QAction *action(const char *name) const { return find<QAction>(name); }

    void start()
    {
        m_windows.reset();
        m_session = std::make_unique<Session>(m_prompter, SettingsFile(iniPath()));
        m_windows = std::make_unique<AppWindows>(*m_session);
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }

private slots:
    void init() { start(); }
    void cleanup() { m_windows.reset(); }

    void captionsAndSize()
    {
        QCOMPARE(window()->objectName(), QStringLiteral("TForm1"));
        QCOMPARE(window()->windowTitle(), QStringLiteral("Program pro tvoření vlakorysu"));
        QCOMPARE(QApplication::applicationDisplayName(), QStringLiteral("Vlakorys 1.0"));
        QCOMPARE(window()->minimumSize(), QSize(600, 400));
        window()->resize(300, 200);
        QVERIFY(window()->width() >= 600 && window()->height() >= 400);
    }

    void windowsAreCreatedInOrder()
    {
        const QStringList order = m_windows->creationOrder();
        QVERIFY(!order.isEmpty());
        QCOMPARE(order.front(), QStringLiteral("TForm1"));
        // TFormN numbers only ever rise.
        int last = 0;
        for (const QString &name : order) {
            const int n = name.mid(5).toInt();
            QVERIFY2(n > last, qPrintable(order.join(u',')));
            last = n;
        }
        QVERIFY(order.contains(QStringLiteral("TForm8")));
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("visible");
        QTest::newRow("new") << "Nov1" << "&Nový" << "" << true;
        QTest::newRow("open") << "Otevt1" << "&Otevřít" << "Ctrl+O" << true;
        QTest::newRow("save") << "Uloit1" << "&Uložit" << "Ctrl+S" << true;
        QTest::newRow("save as") << "Uloitjako1" << "Uložit &jako..." << "" << true;
        QTest::newRow("import") << "Import1" << "Import..." << "Ctrl+I" << true;
        QTest::newRow("bitmap") << "Tiskdobitmapy1" << "Tisk do bitmapy..." << "" << false;
        QTest::newRow("exit") << "Konec1" << "&Konec" << "Alt+F4" << true;
        QTest::newRow("stations") << "Stanice1" << "&Stanice ..." << "" << true;
        QTest::newRow("trains") << "Vlaky1" << "&Vlaky ..." << "" << true;
        QTest::newRow("profiles") << "Jzdndoby1" << "&Jízdní doby" << "" << true;
        QTest::newRow("scale") << "Mtko1" << "Měřítko ..." << "" << false;
        QTest::newRow("insert") << "Vloitvlakzjzddob1" << "Vložit vlak z jízd. dob" << "Ins" << true;
        QTest::newRow("find") << "Najdivlak1" << "Najdi vlak..." << "Ctrl+F" << true;
        QTest::newRow("settings") << "Nastaven1" << "Nastavení" << "Ctrl+Shift+N" << true;
        QTest::newRow("about") << "Oaplikaci1" << "&O aplikaci..." << "" << true;
    }
    void menuItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, visible);
        QAction *a = action(name.toLatin1().constData());
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
        QCOMPARE(a->isVisible(), visible);
    }

    void menusInOrder()
    {
        const QList<QAction *> menus = window()->menuBar()->actions();
        QCOMPARE(menus.size(), 3);
        QCOMPARE(menus[0]->text(), QStringLiteral("&Soubor"));
        QCOMPARE(menus[1]->text(), QStringLiteral("&Editace"));
        QCOMPARE(menus[2]->text(), QStringLiteral("Nápo&věda"));
        QStringList file;
        for (QAction *a : menus[0]->menu()->actions())
            file << (a->isSeparator() ? (a->isVisible() ? QStringLiteral("-") : QStringLiteral("(-)")) : a->text());
        QCOMPARE(file, QStringList({"&Nový", "&Otevřít", "&Uložit", "Uložit &jako...", "-", "Import...", "(-)",
                                    "Tisk do bitmapy...", "-", "&Konec"}));
        const QList<QAction *> help = menus[2]->menu()->actions();
        QCOMPARE(help.size(), 2);
        QVERIFY(help[0]->isSeparator());
    }

    void bitmapExportStartsDisabled() { QVERIFY(!action("Tiskdobitmapy1")->isEnabled()); }

    void toolPanelHints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::newRow("1") << "SpeedButton1" << "Nový vlakorys";
        QTest::newRow("2") << "SpeedButton2" << "Otevřit vlakorys";
        QTest::newRow("5") << "SpeedButton5" << "Uložit vlakorys";
        QTest::newRow("3") << "SpeedButton3" << "Seznam stanic";
        QTest::newRow("4") << "SpeedButton4" << "Seznam vlaků";
        QTest::newRow("7") << "SpeedButton7" << "Zvětšit";
        QTest::newRow("8") << "SpeedButton8" << "Změnšit";
        QTest::newRow("6") << "SpeedButton6" << "Konec";
    }
    void toolPanelHints()
    {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        auto *b = find<QToolButton>(name.toLatin1().constData());
        QVERIFY(b);
        QCOMPARE(b->toolTip(), hint);
    }

    void toolPanelControls()
    {
        QCOMPARE(find<QLabel>("Label1")->text(), QStringLiteral("100 %"));
        QCOMPARE(find<QLabel>("Label2")->text(), QStringLiteral("Poměr osy x:y:"));
        QCOMPARE(find<QLabel>("Label3")->text(), QStringLiteral(":"));
        auto *x = find<QSpinBox>("SpinEdit1");
        auto *y = find<QSpinBox>("SpinEdit2");
        QCOMPARE(x->minimum(), 1);
        QCOMPARE(x->maximum(), 100);
        QCOMPARE(x->value(), 1);
        QCOMPARE(y->minimum(), 1);
        QCOMPARE(y->maximum(), 100);
        QCOMPARE(y->value(), 2);
        QCOMPARE(find<QToolButton>("SpeedButton9")->text(), QStringLiteral("Akt."));
        QCOMPARE(find<QCheckBox>("CheckBox1")->text(), QStringLiteral("Časové popisky"));
        QCOMPARE(find<QCheckBox>("CheckBox2")->text(), QStringLiteral("Vyhlazení"));
        QCOMPARE(find<QCheckBox>("CheckBox3")->text(), QStringLiteral("Zobr. druh vlaku"));
        QVERIFY(!find<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(!find<QCheckBox>("CheckBox2")->isChecked());
        QVERIFY(find<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(find<QWidget>("Panel1"));
        QVERIFY(find<PaintBox>("PaintBox1"));
        QCOMPARE(find<QScrollBar>("ScrollBar1")->orientation(), Qt::Horizontal);
        QCOMPARE(find<QScrollBar>("ScrollBar2")->orientation(), Qt::Vertical);
        // Start-up sets 1160, then the first render gives the empty time axis
        // its range: (zoom * 1440 + 80 - PaintBox1.Width) div 5.
        QCOMPARE(find<QScrollBar>("ScrollBar1")->maximum(),
                 (4 * 1440 + 80 - find<PaintBox>("PaintBox1")->width()) / 5);
    }

    void clockRunsWithNavyHands()
    {
        auto *clock = find<AnalogClock>("AnalogClock1");
        QVERIFY(clock);
        QCOMPARE(clock->handColour(), QColor(0, 0, 128));
        auto *panel = find<QWidget>("Panel1");
        QCOMPARE(clock->x(), panel->width() - 60);
        window()->resize(1000, 700);
        QTRY_COMPARE(clock->x(), panel->width() - 60);
        // The hands are painted in navy (edges blend into the panel).
        clock->setFixedTime(QTime(3, 0, 0));
        const QImage img = clock->grab().toImage();
        int navy = 0;
        for (int yy = 0; yy < img.height(); ++yy)
            for (int xx = 0; xx < img.width(); ++xx) {
                const QColor c = img.pixelColor(xx, yy);
                navy += c.blue() - std::max(c.red(), c.green()) >= 60;
            }
        QVERIFY(navy >= 5);
    }

    void layoutFollowsTheClientArea()
    {
        window()->resize(1000, 700);
        auto *box = find<PaintBox>("PaintBox1");
        auto *h = find<QScrollBar>("ScrollBar1");
        auto *v = find<QScrollBar>("ScrollBar2");
        QWidget *client = window()->centralWidget();
        QTRY_COMPARE(box->width(), client->width() - 17);
        QCOMPARE(box->y() + box->height(), client->height() - 16);
        QCOMPARE(h->y(), client->height() - 16);
        QCOMPARE(v->x(), client->width() - 17);
        QCOMPARE(v->y() + v->height(), client->height() - 16);
    }

    void newEmptiesTheDocument()
    {
        Document &doc = m_session->document;
        doc.stations.emplace_back();
        doc.trains.emplace_back();
        doc.newTrainLabel();
        doc.profiles.countOf(1) = 2;
        doc.noDocument = false;
        doc.untitled = false;
        m_session->fileName = QStringLiteral("/tmp/x.vrs");
        find<QToolButton>("SpeedButton1")->click();
        QVERIFY(doc.stations.empty());
        QVERIFY(doc.trains.empty());
        QCOMPARE(doc.trainLabelCount(), 0);
        QCOMPARE(doc.profiles.countOf(1), 0);
        QVERIFY(doc.noDocument);
        QVERIFY(doc.untitled);
        QVERIFY(m_session->fileName.isEmpty());
        QVERIFY(m_prompter.log.isEmpty()); // no question is asked
    }

    void exitWritesTheZoom()
    {
        m_session->document.settings.zoom = 7;
        action("Konec1")->trigger();
        QVERIFY(!window()->isVisible());
        DocumentSettings s;
        SettingsFile(iniPath()).readInto(s);
        QCOMPARE(s.zoom, 7);
    }

    void startupZoomDecidesTimeLabels()
    {
        QVERIFY(SettingsFile(iniPath()).writeZoom(5));
        start();
        QVERIFY(find<QCheckBox>("CheckBox1")->isChecked());
        QCOMPARE(find<QLabel>("Label1")->text(), QStringLiteral("125 %"));
        QVERIFY(SettingsFile(iniPath()).writeZoom(4));
        start();
        QVERIFY(!find<QCheckBox>("CheckBox1")->isChecked());
        QCOMPARE(find<QLabel>("Label1")->text(), QStringLiteral("100 %"));
    }

    void zoomTexts()
    {
        QCOMPARE(MainWindow::zoomText(2), QStringLiteral("50 %"));
        QCOMPARE(MainWindow::zoomText(5), QStringLiteral("125 %"));
        QCOMPARE(MainWindow::zoomText(21), QStringLiteral("525 %"));
    }

    void czechStandardButtons()
    {
        // Qt's own translation gives Czech standard buttons.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ano"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Ne"));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setup(app);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
