// Every text the user reads on the program's windows, as the program is to
// show it, spellings and all ("Změnšit", "Otevřit"): each control found by
// its window's and its own objectName, its text read as the user sees it
// (a window's title, a menu's or item's caption, a panel button's hint, a
// label's, button's or box's text, a group's title) and compared with the
// table. A text changed by mistake, or "corrected", fails here.
#include "AppHarness.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace {

enum class Read {
    Text,  // a label's, button's, check or radio box's text; a menu item's caption
    Hint,  // a tool button's hint
    Title, // a window's title, a menu's caption or a group box's title
};

struct Row
{
    const char *window;  // objectName of the window
    const char *control; // objectName of the control; empty: the window itself
    Read read;
    const char *text;
};

const Row rows[] = {
    // TForm1: the caption and the menu.
    {"TForm1", "", Read::Title, "Program pro tvoření vlakorysu - Bez názvu[*]"},
    {"TForm1", "Soubor1", Read::Title, "&Soubor"},
    {"TForm1", "Nov1", Read::Text, "&Nový"},
    {"TForm1", "Otevt1", Read::Text, "&Otevřít"},
    {"TForm1", "Uloit1", Read::Text, "&Uložit"},
    {"TForm1", "Uloitjako1", Read::Text, "Uložit &jako..."},
    {"TForm1", "Import1", Read::Text, "Import..."},
    {"TForm1", "ImportCzptt1", Read::Text, "Jízdní řád SŽ (CZPTT)..."},
    {"TForm1", "ImportGtfs1", Read::Text, "GTFS..."},
    {"TForm1", "Porovnats1", Read::Text, "Porovnat s..."},
    {"TForm1", "Rozdly1", Read::Text, "Rozdíly..."},
    {"TForm1", "Konecporovnn1", Read::Text, "Konec porovnání"},
    {"TForm1", "Tisk1", Read::Text, "Tisk..."},
    {"TForm1", "Exportovat1", Read::Text, "Exportovat..."},
    {"TForm1", "Tabulka1", Read::Text, "Tabulka jízdního řádu..."},
    {"TForm1", "Tiskdobitmapy1", Read::Text, "Tisk do bitmapy..."},
    {"TForm1", "Konec1", Read::Text, "&Konec"},
    {"TForm1", "Editace1", Read::Title, "&Editace"},
    {"TForm1", "Zpt1", Read::Text, "Zpět"},
    {"TForm1", "Znovu1", Read::Text, "Znovu"},
    {"TForm1", "Stanice1", Read::Text, "&Stanice ..."},
    {"TForm1", "Vlaky1", Read::Text, "&Vlaky ..."},
    {"TForm1", "Jzdndoby1", Read::Text, "&Jízdní doby"},
    {"TForm1", "Mtko1", Read::Text, "Měřítko ..."},
    {"TForm1", "Vloitvlakzjzddob1", Read::Text, "Vložit vlak z jízd. dob"},
    {"TForm1", "Najdivlak1", Read::Text, "Najdi vlak..."},
    {"TForm1", "Nastaven1", Read::Text, "Nastavení"},
    {"TForm1", "Konflikty1", Read::Text, "Konflikty..."},
    {"TForm1", "Npovda1", Read::Title, "Nápo&věda"},
    {"TForm1", "Oaplikaci1", Read::Text, "&O aplikaci..."},
    // TForm1: the tool panel.
    {"TForm1", "SpeedButton1", Read::Hint, "Nový vlakorys"},
    {"TForm1", "SpeedButton2", Read::Hint, "Otevřit vlakorys"},
    {"TForm1", "SpeedButton5", Read::Hint, "Uložit vlakorys"},
    {"TForm1", "SpeedButton3", Read::Hint, "Seznam stanic"},
    {"TForm1", "SpeedButton4", Read::Hint, "Seznam vlaků"},
    {"TForm1", "SpeedButton7", Read::Hint, "Zvětšit"},
    {"TForm1", "SpeedButton8", Read::Hint, "Změnšit"},
    {"TForm1", "SpeedButton6", Read::Hint, "Konec"},
    {"TForm1", "Label1", Read::Text, "100 %"},
    {"TForm1", "Label2", Read::Text, "Poměr osy x:y:"},
    {"TForm1", "Label3", Read::Text, ":"},
    {"TForm1", "SpeedButton9", Read::Text, "Akt."},
    {"TForm1", "CheckBox1", Read::Text, "Časové popisky"},
    {"TForm1", "CheckBox2", Read::Text, "Vyhlazení"},
    {"TForm1", "CheckBox3", Read::Text, "Zobr. druh vlaku"},
    // TForm2, the station list.
    {"TForm2", "", Read::Title, "Seznam stanic"},
    {"TForm2", "BitBtn1", Read::Text, "&OK"},
    {"TForm2", "BitBtn2", Read::Text, "Zrušit"},
    // TForm3, the train list.
    {"TForm3", "", Read::Title, "Seznam vlaků"},
    {"TForm3", "Label3", Read::Text, "Seznam stanic:"},
    {"TForm3", "BitBtn1", Read::Text, "&OK"},
    {"TForm3", "BitBtn2", Read::Text, "&Zrušit"},
    {"TForm3", "BitBtn3", Read::Text, "&Vložit kilometr"},
    {"TForm3", "ShiftTrainButton", Read::Text, "Posunout vlak..."},
    {"TForm3", "CopySeriesButton", Read::Text, "Kopírovat s intervalem..."},
    // TForm4, the kilometre.
    {"TForm4", "", Read::Title, "Kilometr"},
    // TForm5, printing.
    {"TForm5", "", Read::Title, "Tisk do bitmapy"},
    {"TForm5", "RadioButton1", Read::Text, "Vše"},
    {"TForm5", "RadioButton2", Read::Text, "Od:"},
    {"TForm5", "RadioButton3", Read::Text, "Vše"},
    {"TForm5", "RadioButton4", Read::Text, "Od stanice:"},
    {"TForm5", "RadioButton5", Read::Text, "Od kilometru:"},
    {"TForm5", "Label11", Read::Text,
     "Rozlišení (DPI) (Nezávislé na rozlišení tiskárny - mělo by být takové, aby vypočtené rozměry papíru "
     "odpovídaly rozměrům papíru v tiskárně): "},
    {"TForm5", "CheckBox1", Read::Text, "Přidat legendu stanic"},
    {"TForm5", "BitBtn1", Read::Text, "&Tisk"},
    {"TForm5", "BitBtn2", Read::Text, "&Zrušit"},
    {"TForm5", "BitBtn3", Read::Text, "&Nastavení ..."},
    // TForm6, the train number prompt.
    {"TForm6", "", Read::Title, "-"},
    {"TForm6", "Label1", Read::Text, "Číslo vlaku:"},
    {"TForm6", "BitBtn2", Read::Text, "&Zrušit"},
    // TForm7, the progress window.
    {"TForm7", "", Read::Title, "Prosím čekejte..."},
    {"TForm7", "Label1", Read::Text, "Vytvářím bitmapu ..."},
    // TForm9, the settings.
    {"TForm9", "", Read::Title, "Nastavení"},
    {"TForm9", "Button1", Read::Text, "Změnit"},
    {"TForm9", "Button2", Read::Text, "Změnit"},
    {"TForm9", "Button3", Read::Text, "Změnit"},
    {"TForm9", "CheckBox1", Read::Text, "Ukládat bitmapy popisků do souboru"},
    {"TForm9", "BitBtn2", Read::Text, "&Zrušit"},
    // TForm10 and TForm11, the travel-time profiles.
    {"TForm10", "", Read::Title, "Jízdní doby"},
    {"TForm10", "BitBtn1", Read::Text, "&OK"},
    {"TForm10", "BitBtn2", Read::Text, "&Zrušit"},
    {"TForm11", "", Read::Title, "Jízdní doby z vlaku"},
    {"TForm11", "BitBtn1", Read::Text, "&Zrušit"},
    // TForm12 and TForm13, the insert-train tool.
    {"TForm12", "", Read::Title, "Vložit vlak"},
    {"TForm13", "", Read::Title, "Přidat vlak"},
    {"TForm13", "BitBtn2", Read::Text, "&Zrušit"},
};

class InterfaceTextsTest : public QObject
{
    Q_OBJECT

    AppHarness h;

    // The text of one row as the user sees it; a null string when the
    // control is not there or has no text of that kind.
    QString shown(const Row &row) const
    {
        const QString name = QString::fromLatin1(row.window);
        QWidget *w = h.window()->objectName() == name ? h.window() : h.window()->findChild<QWidget *>(name);
        QObject *o = w && *row.control ? w->findChild<QObject *>(QLatin1String(row.control)) : w;
        if (!o || o == w)
            return o ? w->windowTitle() : QString();
        auto *tool = qobject_cast<QToolButton *>(o);
        auto *menu = qobject_cast<QMenu *>(o);
        auto *group = qobject_cast<QGroupBox *>(o);
        auto *action = qobject_cast<QAction *>(o);
        auto *button = qobject_cast<QAbstractButton *>(o);
        auto *label = qobject_cast<QLabel *>(o);
        if (row.read == Read::Hint)
            return tool ? tool->toolTip() : QString();
        if (row.read == Read::Title)
            return menu ? menu->title() : group ? group->title() : QString();
        return action ? action->text() : button ? button->text() : label ? label->text() : QString();
    }

private slots:
    void init() { h.start(); }
    void cleanup() { h.stop(); }

    void everyTextAsTheTableHasIt()
    {
        QStringList differences;
        for (const Row &row : rows) {
            const QString text = shown(row);
            if (text != QString::fromUtf8(row.text))
                differences << QStringLiteral("%1/%2: „%3“, not „%4“")
                                   .arg(QLatin1String(row.window), QLatin1String(row.control),
                                        text.isNull() ? QStringLiteral("(none)") : text, QString::fromUtf8(row.text));
        }
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(u'\n')));
        // Qt's own translation gives Czech standard buttons.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Ne"));
    }
};

} // namespace

int main(int argc, char **argv)
{
    return runGuiTests<InterfaceTextsTest>(argc, argv);
}

#include "InterfaceTextsTest.moc"
