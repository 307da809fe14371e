#include "MainMenu.h"

#include "editing/EditHistory.h"
#include "editing/StepNames.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction *addItem(QMenu *menu, const char *objectName, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(objectName));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    // The panel buttons that show an action show its icon; the menu does not.
    a->setIconVisibleInMenu(false);
    return a;
}

void addSeparator(QMenu *menu, const char *objectName, bool visible = true)
{
    QAction *s = menu->addSeparator();
    s->setObjectName(QString::fromLatin1(objectName));
    s->setVisible(visible);
}

} // namespace

MainMenu::MainMenu(QMenuBar &bar, EditHistory &history) : m_bar(bar), m_history(history)
{
    bar.setObjectName(QStringLiteral("MainMenu1"));

    QMenu *file = bar.addMenu(QStringLiteral("&Soubor"));
    file->setObjectName(QStringLiteral("Soubor1"));
    Nov1 = addItem(file, "Nov1", QStringLiteral("&Nový"));
    Otevt1 = addItem(file, "Otevt1", QStringLiteral("&Otevřít"), QKeySequence(Qt::CTRL | Qt::Key_O));
    Uloit1 = addItem(file, "Uloit1", QStringLiteral("&Uložit"), QKeySequence(Qt::CTRL | Qt::Key_S));
    Uloitjako1 = addItem(file, "Uloitjako1", QStringLiteral("Uložit &jako..."));
    addSeparator(file, "N1");
    // The text timetable of the program's own format beside the days of
    // real timetables.
    QMenu *imports = file->addMenu(QStringLiteral("Im&portovat"));
    imports->setObjectName(QStringLiteral("Importovat1"));
    Import1 = addItem(imports, "Import1", QStringLiteral("Import..."), QKeySequence(Qt::CTRL | Qt::Key_I));
    ImportCzptt1 = addItem(imports, "ImportCzptt1", QStringLiteral("Jízdní řád SŽ (CZPTT)..."));
    ImportGtfs1 = addItem(imports, "ImportGtfs1", QStringLiteral("GTFS..."));
    Porovnats1 = addItem(file, "Porovnats1", QStringLiteral("Porovnat s..."));
    Rozdly1 = addItem(file, "Rozdly1", QStringLiteral("Rozdíly..."), QKeySequence(Qt::CTRL | Qt::Key_D));
    Konecporovnn1 = addItem(file, "Konecporovnn1", QStringLiteral("Konec porovnání"));
    addSeparator(file, "N9");
    Tisk1 = addItem(file, "Tisk1", QStringLiteral("Tisk..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    Exportovat1 = addItem(file, "Exportovat1", QStringLiteral("Exportovat..."), QKeySequence(Qt::CTRL | Qt::Key_E));
    Tabulka1 =
        addItem(file, "Tabulka1", QStringLiteral("Tabulka jízdního řádu..."), QKeySequence(Qt::CTRL | Qt::Key_T));
    addSeparator(file, "N2", false);
    Tiskdobitmapy1 = addItem(file, "Tiskdobitmapy1", QStringLiteral("Tisk do bitmapy..."));
    Tiskdobitmapy1->setVisible(false);
    setPrintAndExportEnabled(false);
    addSeparator(file, "N3");
    Konec1 = addItem(file, "Konec1", QStringLiteral("&Konec"), QKeySequence(Qt::ALT | Qt::Key_F4));

    Editace1 = bar.addMenu(QStringLiteral("&Editace"));
    Editace1->setObjectName(QStringLiteral("Editace1"));
    Zpt1 = addItem(Editace1, "Zpt1", StepNames::undo, QKeySequence(Qt::CTRL | Qt::Key_Z));
    Znovu1 = addItem(Editace1, "Znovu1", StepNames::redo);
    Znovu1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    addSeparator(Editace1, "N8");
    Stanice1 = addItem(Editace1, "Stanice1", QStringLiteral("&Stanice ..."));
    Vlaky1 = addItem(Editace1, "Vlaky1", QStringLiteral("&Vlaky ..."));
    Jzdndoby1 = addItem(Editace1, "Jzdndoby1", QStringLiteral("&Jízdní doby"));
    addSeparator(Editace1, "N4", false);
    Mtko1 = addItem(Editace1, "Mtko1", QStringLiteral("Měřítko ..."));
    Mtko1->setVisible(false);
    addSeparator(Editace1, "N5");
    Vloitvlakzjzddob1 =
        addItem(Editace1, "Vloitvlakzjzddob1", QStringLiteral("Vložit vlak z jízd. dob"), QKeySequence(Qt::Key_Insert));
    Najdivlak1 = addItem(Editace1, "Najdivlak1", QStringLiteral("Najdi vlak..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    Konflikty1 = addItem(Editace1, "Konflikty1", QStringLiteral("Konflikty..."), QKeySequence(Qt::CTRL | Qt::Key_K));
    addSeparator(Editace1, "N6");
    Nastaven1 =
        addItem(Editace1, "Nastaven1", QStringLiteral("Nastavení"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));

    QMenu *help = bar.addMenu(QStringLiteral("Nápo&věda"));
    help->setObjectName(QStringLiteral("Npovda1"));
    addSeparator(help, "N7");
    Oaplikaci1 = addItem(help, "Oaplikaci1", QStringLiteral("&O aplikaci..."));

    connect(&history, &EditHistory::changed, this, &MainMenu::historyChanged);
    historyChanged();
}

void MainMenu::setEditMenuEnabled(bool enabled)
{
    if (enabled == editMenuEnabled())
        return;
    // A disabled menu still lets its commands' shortcuts through: the
    // commands are disabled too, and get their own states back.
    if (!enabled) {
        m_editActions = Editace1->actions();
        m_editActionsEnabled.clear();
        for (QAction *a : m_editActions) {
            m_editActionsEnabled << a->isEnabled();
            a->setEnabled(false);
        }
    } else {
        for (qsizetype i = 0; i < m_editActions.size(); ++i)
            m_editActions[i]->setEnabled(m_editActionsEnabled[i]);
        m_editActions.clear();
    }
    Editace1->setEnabled(enabled);
    // No step is taken back while a train is being laid; Zpět and Znovu
    // show the history as it is once the tool is gone.
    m_history.setBlocked(!enabled);
    historyChanged();
}

bool MainMenu::editMenuEnabled() const
{
    return Editace1->isEnabled();
}

void MainMenu::setPrintAndExportEnabled(bool enabled)
{
    m_printAndExport = enabled;
    Tiskdobitmapy1->setEnabled(enabled);
    // Printing and export need a diagram as much as the bitmap does.
    Tisk1->setEnabled(enabled);
    Exportovat1->setEnabled(enabled);
}

bool MainMenu::hasShortcut(const QKeySequence &typed) const
{
    const QList<QAction *> actions = m_bar.findChildren<QAction *>();
    return std::any_of(actions.begin(), actions.end(),
                       [&typed](const QAction *a) { return a->shortcuts().contains(typed); });
}

void MainMenu::historyChanged()
{
    Zpt1->setText(StepNames::caption(StepNames::undo, m_history.undoText()));
    Znovu1->setText(StepNames::caption(StepNames::redo, m_history.redoText()));
    Zpt1->setEnabled(m_history.canUndo());
    Znovu1->setEnabled(m_history.canRedo());
}
