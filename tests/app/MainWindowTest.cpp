#include "app/MainWindow.h"
#include "ScriptedPrompter.h"
#include "app/AnalogClock.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/PaintBox.h"
#include "app/Session.h"

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
    template <typename T> T *find(const char *name) const
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
        QCOMPARE(window()->windowTitle(), QStringLiteral("Program pro tvoření vlakorysu - Bez názvu[*]"));
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
        for (const char *form : {"TForm5", "TForm8", "TForm9", "TForm14"})
            QVERIFY2(order.contains(QLatin1String(form)), form);
    }

    void menuItems()
    {
        struct Item
        {
            const char *name, *caption, *shortcut;
            bool visible;
        };
        const Item items[] = {{"Nov1", "&Nový", "", true},
                              {"Otevt1", "&Otevřít", "Ctrl+O", true},
                              {"Uloit1", "&Uložit", "Ctrl+S", true},
                              {"Uloitjako1", "Uložit &jako...", "", true},
                              {"Import1", "Import...", "Ctrl+I", true},
                              {"Tisk1", "Tisk...", "Ctrl+P", true},
                              {"Exportovat1", "Exportovat...", "Ctrl+E", true},
                              {"Tiskdobitmapy1", "Tisk do bitmapy...", "", false},
                              {"Konec1", "&Konec", "Alt+F4", true},
                              {"Zpt1", "Zpět", "Ctrl+Z", true},
                              {"Znovu1", "Znovu", "Ctrl+Y", true},
                              {"Stanice1", "&Stanice ...", "", true},
                              {"Vlaky1", "&Vlaky ...", "", true},
                              {"Jzdndoby1", "&Jízdní doby", "", true},
                              {"Mtko1", "Měřítko ...", "", false},
                              {"Vloitvlakzjzddob1", "Vložit vlak z jízd. dob", "Ins", true},
                              {"Najdivlak1", "Najdi vlak...", "Ctrl+F", true},
                              {"Nastaven1", "Nastavení", "Ctrl+Shift+N", true},
                              {"Oaplikaci1", "&O aplikaci...", "", true}};
        for (const Item &item : items) {
            QAction *a = action(item.name);
            QVERIFY2(a, item.name);
            QCOMPARE(a->text(), QString::fromUtf8(item.caption));
            QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(item.shortcut));
            QCOMPARE(a->isVisible(), item.visible);
        }
        // Without a document there is nothing to print or export.
        for (const char *name : {"Tiskdobitmapy1", "Tisk1", "Exportovat1"})
            QVERIFY2(!action(name)->isEnabled(), name);
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
        QCOMPARE(file, QStringList({"&Nový", "&Otevřít", "&Uložit", "Uložit &jako...", "-", "Import...", "-", "Tisk...",
                                    "Exportovat...", "(-)", "Tisk do bitmapy...", "-", "&Konec"}));
        const QList<QAction *> help = menus[2]->menu()->actions();
        QCOMPARE(help.size(), 2);
        QVERIFY(help[0]->isSeparator());
    }

    void toolPanelControls()
    {
        const std::pair<const char *, const char *> hints[] = {
            {"SpeedButton1", "Nový vlakorys"},   {"SpeedButton2", "Otevřit vlakorys"},
            {"SpeedButton5", "Uložit vlakorys"}, {"SpeedButton3", "Seznam stanic"},
            {"SpeedButton4", "Seznam vlaků"},    {"SpeedButton7", "Zvětšit"},
            {"SpeedButton8", "Změnšit"},         {"SpeedButton6", "Konec"}};
        for (auto [name, hint] : hints)
            QCOMPARE(find<QToolButton>(name)->toolTip(), QString::fromUtf8(hint));
        const std::pair<const char *, const char *> texts[] = {{"Label1", "100 %"},
                                                               {"Label2", "Poměr osy x:y:"},
                                                               {"Label3", ":"},
                                                               {"SpeedButton9", "Akt."},
                                                               {"CheckBox1", "Časové popisky"},
                                                               {"CheckBox2", "Vyhlazení"},
                                                               {"CheckBox3", "Zobr. druh vlaku"}};
        for (auto [name, text] : texts)
            QCOMPARE(find<QWidget>(name)->property("text").toString(), QString::fromUtf8(text));
        QVERIFY(!find<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(!find<QCheckBox>("CheckBox2")->isChecked());
        QVERIFY(find<QCheckBox>("CheckBox3")->isChecked());
        for (const char *name : {"SpinEdit1", "SpinEdit2"}) {
            QCOMPARE(find<QSpinBox>(name)->minimum(), 1);
            QCOMPARE(find<QSpinBox>(name)->maximum(), 100);
        }
        QCOMPARE(find<QSpinBox>("SpinEdit1")->value(), 1);
        QCOMPARE(find<QSpinBox>("SpinEdit2")->value(), 2);
        QCOMPARE(find<QScrollBar>("ScrollBar1")->orientation(), Qt::Horizontal);
        QCOMPARE(find<QScrollBar>("ScrollBar2")->orientation(), Qt::Vertical);
        // Start-up sets 1160, then the first render gives the empty time axis
        // its range: (zoom * 1440 + 80 - PaintBox1.Width) div 5.
        QCOMPARE(find<QScrollBar>("ScrollBar1")->maximum(), (4 * 1440 + 80 - find<PaintBox>("PaintBox1")->width()) / 5);
    }

    // The clock keeps to the panel's right edge; the paint box and scroll
    // bars fill the client area.
    void layoutFollowsTheClientArea()
    {
        auto *clock = find<AnalogClock>("AnalogClock1");
        auto *panel = find<QWidget>("Panel1");
        QCOMPARE(clock->x(), panel->width() - 60);
        window()->resize(1000, 700);
        QTRY_COMPARE(clock->x(), panel->width() - 60);
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

    void clockRunsWithNavyHands()
    {
        auto *clock = find<AnalogClock>("AnalogClock1");
        QCOMPARE(clock->handColour(), QColor(0, 0, 128));
        // The hands are painted in navy (edges blend into the panel).
        clock->setFixedTime(QTime(3, 0, 0));
        const QImage img = clock->grab().toImage();
        int navy = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                navy += c.blue() - std::max(c.red(), c.green()) >= 60;
            }
        QVERIFY(navy >= 5);
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

    // Exit writes the zoom; the next start-up shows it and decides from it
    // whether minute labels are on (from 125 %).
    void exitWritesTheZoomForTheNextStart()
    {
        for (auto [zoom, text] : {std::pair{5, "125 %"}, std::pair{4, "100 %"}}) {
            m_session->document.settings.zoom = zoom;
            action("Konec1")->trigger();
            QVERIFY(!window()->isVisible());
            start();
            QCOMPARE(find<QLabel>("Label1")->text(), QString::fromLatin1(text));
            QCOMPARE(find<QCheckBox>("CheckBox1")->isChecked(), zoom == 5);
        }
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
