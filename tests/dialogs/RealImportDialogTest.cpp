#include "dialogs/RealImportDialog.h"
#include "../io/czptt/CzpttTestData.h"
#include "GuiClicks.h"
#include "GuiKeys.h"
#include "SampleLine.h"
#include "ScriptedPrompter.h"

#include "io/SettingsFile.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using Format = ImportSession::Format;

namespace {

const QString lineDir = CzpttTestData::lineDir();
const QString codebook = CzpttTestData::sr70Path();
const QString caltrain = CzpttTestData::dir(QStringLiteral("gtfs/caltrain-2017"));

} // namespace

// The import dialog of real timetables on the real data: what it offers for
// the sources read, what it would import as the choices change, and what it
// hands back.
class RealImportDialogTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    SettingsFile m_file{m_dir.filePath(QStringLiteral("Vlakorys.ini"))};
    const Document m_empty;

    template <typename T> static T *child(QDialog &d, const char *name)
    {
        T *found = d.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

private slots:
    void init()
    {
        m_prompter = ScriptedPrompter();
        QFile::remove(m_file.path());
    }

    // An empty document takes a new line; the ends default to those most of
    // the day's trains run between, and the codebook chosen once is there
    // the next time.
    void czpttNewLineBetweenTheDefaultEnds()
    {
        {
            RealImportDialog d(Format::Czptt, m_empty, m_prompter, m_file);
            QVERIFY(!child<QPushButton>(d, "ImportButton")->isEnabled());
            QVERIFY(d.addSources({lineDir}));
            QVERIFY(d.useCodebook(codebook));
            child<QCalendarWidget>(d, "DayCalendar")->setSelectedDate(QDate(2026, 3, 4));
            auto *newLine = child<QCheckBox>(d, "NewLineCheck");
            QVERIFY(newLine->isChecked() && !newLine->isEnabled());
            // The ends offered by the import, and what it would bring.
            QCOMPARE(child<QComboBox>(d, "FromCombo")->currentText(), QStringLiteral("Velké Karlovice"));
            QCOMPARE(child<QComboBox>(d, "ToCombo")->currentText(), QStringLiteral("Vsetín"));
            const QString wednesday = d.previewText();
            QVERIFY(wednesday.startsWith(QStringLiteral("Nalezeno")));
            QVERIFY(child<QPushButton>(d, "ImportButton")->isEnabled());

            // A Saturday has fewer trains; an unknown end refuses.
            child<QCalendarWidget>(d, "DayCalendar")->setSelectedDate(QDate(2026, 3, 7));
            QVERIFY(d.previewText().startsWith(QStringLiteral("Nalezeno")) && d.previewText() != wednesday);
            child<QComboBox>(d, "ToCombo")->setEditText(QStringLiteral("Praha hl. n."));
            QVERIFY(!d.previewText().startsWith(QStringLiteral("Nalezeno")));
            QVERIFY(!child<QPushButton>(d, "ImportButton")->isEnabled());
        }
        RealImportDialog again(Format::Czptt, m_empty, m_prompter, m_file);
        QCOMPARE(child<QLineEdit>(again, "CodebookEdit")->text(), codebook);
        QVERIFY(m_prompter.log.isEmpty());
    }

    // The calendar opens on the day chosen before when the sources cover
    // it, else on their first day; the file dialogs say what they open;
    // the codebook's path can be typed (a wrong one is refused).
    void dayTitlesAndTypedCodebook()
    {
        for (const QDate day : {QDate(), QDate(2026, 3, 4)}) {
            RealImportDialog d(Format::Czptt, m_empty, m_prompter, m_file);
            d.preferDay(day);
            QVERIFY(d.addSources({lineDir}));
            QCOMPARE(d.chosenDay(), day.isValid() ? day : QDate(2025, 12, 14));
        }
        RealImportDialog d(Format::Czptt, m_empty, m_prompter, m_file);
        RealImportDialog gtfs(Format::Gtfs, m_empty, m_prompter, m_file);
        QStringList titles;
        for (QPushButton *b : {child<QPushButton>(d, "AddFilesButton"), child<QPushButton>(d, "CodebookButton"),
                               child<QPushButton>(gtfs, "AddFilesButton")}) {
            GuiClicks::click(b);
            titles << m_prompter.lastFileDialog.title;
        }
        QCOMPARE(titles, QStringList({"Jízdní řád SŽ", "Číselník SR70", "Jízdní řád GTFS"}));

        auto *edit = child<QLineEdit>(d, "CodebookEdit");
        for (const QString &typed : {codebook, QStringLiteral("/nonexistent/SR70.csv")}) {
            edit->setText(typed);
            emit edit->editingFinished();
        }
        QCOMPARE(std::pair(edit->text(), m_file.readCodebookPath()), std::pair(codebook, codebook));
        QCOMPARE(m_prompter.messages().size(), 1);
    }

    // A document with stations takes the day's trains into them unless a
    // new line is asked for.
    void czpttIntoTheDocumentsStations()
    {
        Document doc;
        SampleLine::addStations(doc, CzpttTestData::lineFromVsetin);
        RealImportDialog into(Format::Czptt, doc, m_prompter, m_file);
        QVERIFY(into.addSources({lineDir}));
        child<QCalendarWidget>(into, "DayCalendar")->setSelectedDate(QDate(2026, 3, 4));
        auto *newLine = child<QCheckBox>(into, "NewLineCheck");
        QVERIFY(!newLine->isChecked() && newLine->isEnabled());
        QVERIFY(!child<QComboBox>(into, "FromCombo")->isEnabled() && !into.choice().newLine);
    }

    // Without a codebook a new line is spaced by running times once the
    // user declines to choose one; the question comes at Importovat.
    void czpttAsksForTheCodebookAtImport()
    {
        RealImportDialog d(Format::Czptt, m_empty, m_prompter, m_file);
        QVERIFY(d.addSources({lineDir}));
        child<QCalendarWidget>(d, "DayCalendar")->setSelectedDate(QDate(2026, 3, 4));
        m_prompter.yesNoAnswers = {false};
        GuiKeys::whenActive(&d, [&] { GuiClicks::click(child<QPushButton>(d, "ImportButton")); });
        const std::optional<ImportChoice> choice = d.ask();
        QVERIFY(choice);
        QCOMPARE(m_prompter.log.size(), 1);
        QVERIFY(m_prompter.log.front().startsWith(QStringLiteral("question: Kilometry stanic dává číselník")));
        QVERIFY(choice->newLine && !choice->place);
    }

    // A feed's railway routes come first and chosen; no route chosen
    // imports nothing.
    void gtfsRoutesAndDay()
    {
        RealImportDialog d(Format::Gtfs, m_empty, m_prompter, m_file);
        m_prompter.folderAnswers = {caltrain};
        GuiClicks::click(child<QPushButton>(d, "AddFolderButton"));
        child<QCalendarWidget>(d, "DayCalendar")->setSelectedDate(QDate(2017, 7, 24));
        auto *routes = child<QListWidget>(d, "RouteList");
        QVERIFY(routes->count() > 1);
        int rail = 0;
        for (int i = 0; i < routes->count(); ++i)
            rail += routes->item(i)->checkState() == Qt::Checked ? 1 : 0;
        QVERIFY(rail > 0 && rail < routes->count());
        for (int i = 0; i < routes->count(); ++i)
            QCOMPARE(routes->item(i)->checkState() == Qt::Checked, i < rail);
        QVERIFY2(d.previewText().startsWith(QStringLiteral("Nalezeno")), qPrintable(d.previewText()));

        // The ends the dialog offered follow the day's trains as the routes
        // (or the day) change: some route alone runs between other ends.
        auto *from = child<QComboBox>(d, "FromCombo");
        auto *to = child<QComboBox>(d, "ToCombo");
        const auto ends = [from, to] { return std::pair(from->currentText(), to->currentText()); };
        const auto all = ends();
        bool followed = false;
        for (int alone = 0; alone < rail; ++alone) {
            for (int i = 0; i < rail; ++i)
                routes->item(i)->setCheckState(i == alone ? Qt::Checked : Qt::Unchecked);
            followed = followed || ends() != all;
        }
        QVERIFY(followed);
        for (int i = 0; i < rail; ++i)
            routes->item(i)->setCheckState(Qt::Checked);
        QCOMPARE(ends(), all);

        for (int i = 0; i < routes->count(); ++i)
            routes->item(i)->setCheckState(Qt::Unchecked);
        QVERIFY(!child<QPushButton>(d, "ImportButton")->isEnabled());
        routes->item(0)->setCheckState(Qt::Checked);
        QVERIFY(d.previewText().startsWith(QStringLiteral("Nalezeno")));
    }

    // Sources that give nothing say why, and leave Importovat off.
    void sourcesThatGiveNothing()
    {
        const std::tuple<Format, QString, const char *> cases[] = {
            {Format::Gtfs, lineDir, "není složka ani archiv ZIP"},
            {Format::Czptt, caltrain, "není žádná trasa vlaku CZPTT"}};
        for (const auto &[format, source, says] : cases) {
            RealImportDialog d(format, m_empty, m_prompter, m_file);
            QVERIFY(!d.addSources({source}));
            const QString info = child<QLabel>(d, "SourceInfo")->text();
            QVERIFY2(info.contains(QString::fromUtf8(says)), qPrintable(info));
            QVERIFY(!child<QPushButton>(d, "ImportButton")->isEnabled());
        }
    }
};

QTEST_MAIN(RealImportDialogTest)
#include "RealImportDialogTest.moc"
