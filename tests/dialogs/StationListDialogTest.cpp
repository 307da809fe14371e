#include "dialogs/StationListDialog.h"
#include "GuiKeys.h"
#include "ScriptedPrompter.h"
#include "dialogs/ListCommands.h"
#include "model/Cp1250.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <memory>

using K = StationListEditor;

class StationListDialogTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Document> m_doc;
    std::unique_ptr<StationListDialog> m_dialog;
    ScriptedPrompter m_prompter;
    int m_renders = 0;

    StationListDialog &dialog() { return *m_dialog; }
    StringGrid *grid() { return m_dialog->grid(); }
    StationListEditor &editor() { return m_dialog->editor(); }
    QPushButton *button(const char *name) { return m_dialog->findChild<QPushButton *>(QLatin1String(name)); }

    DiagramActions actions()
    {
        DiagramActions a;
        a.render = [this] { ++m_renders; };
        return a;
    }

    void type(const QString &text) { GuiKeys::type(grid(), text); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { GuiKeys::key(grid(), k, m); }

    // Opens the dialog without a modal loop, filled as the command fills it.
    void openModeless()
    {
        dialog().fill();
        QVERIFY(GuiKeys::activate(&dialog()));
        grid()->setFocus();
    }

    // Runs the steps once the modal dialog is up; a dialog the steps leave
    // open is closed, so a failing step cannot hang the test.
    void drive(std::function<void()> steps)
    {
        QTimer::singleShot(0, this, [this, steps] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog()));
            steps();
            if (dialog().isVisible())
                dialog().reject();
        });
    }

    // A click on the box itself, not on the empty space right of its text.
    void clickBox(K::Kind kind)
    {
        QCheckBox *box = dialog().kindBox(kind);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

    void clickCell(int column, int row)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(column, row).center());
    }

    void addStation(const char *name, int km)
    {
        Station s;
        s.name = cp1250::fromUnicode(QString::fromUtf8(name));
        s.km = km;
        m_doc->stations.push_back(s);
        m_doc->relinkStationKinds();
        m_doc->rebuildStationTable();
        m_doc->noDocument = false;
    }

private slots:
    void init()
    {
        m_doc = std::make_unique<Document>();
        m_dialog = std::make_unique<StationListDialog>(*m_doc);
        m_prompter = ScriptedPrompter();
        m_renders = 0;
    }

    void cleanup() { m_dialog.reset(); }

    void controlsCarryTheirNamesAndCaptions()
    {
        QCOMPARE(dialog().objectName(), QStringLiteral("TForm2"));
        QCOMPARE(dialog().windowTitle(), QStringLiteral("Seznam stanic"));
        QCOMPARE(grid()->objectName(), QStringLiteral("StringGrid1"));
        const QStringList names{"BorCheck1", "CheckBox1", "CheckBox2", "CheckBox3",
                                "CheckBox4", "CheckBox5", "CheckBox6"};
        const QStringList captions{"&Dopravna", "Hradlo", "Hláska", "Odbočka", "Zastávka", "Nákladiště", "Kilometr"};
        for (int k = 0; k < K::KindCount; ++k) {
            QCheckBox *box = dialog().kindBox(static_cast<K::Kind>(k));
            QCOMPARE(box->objectName(), names[k]);
            QCOMPARE(box->text(), captions[k]);
        }
        QCOMPARE(button("BitBtn1")->text(), QStringLiteral("&OK"));
        QCOMPARE(button("BitBtn2")->text(), QStringLiteral("Zrušit"));
        QCOMPARE(grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Název stanice"));
        QCOMPARE(grid()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Kilometr"));
        // The program's widths, wider where the header text needs it.
        QCOMPARE(grid()->columnWidth(0), 154);
        QVERIFY(grid()->columnWidth(1) >= 44);
        QVERIFY(grid()->columnWidth(1) >= grid()->horizontalHeader()->sectionSizeHint(1));
        QVERIFY(grid()->columnWidth(1) > grid()->horizontalHeader()->fontMetrics().horizontalAdvance("Kilometr"));
        QVERIFY(grid()->verticalHeader()->defaultSectionSize() >= 16);
        QVERIFY(dialog().width() >= 248 && dialog().height() >= 264);
    }

    void placementOnScreen()
    {
        const QRect screen = dialog().screen()->geometry();
        const QPoint centre = dialog().frameGeometry().center();
        QVERIFY(qAbs(centre.x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(centre.y() - screen.center().y()) <= 1);

        dialog().move(screen.right() + 100, screen.bottom() + 100);
        dialog().show();
        QVERIFY(dialog().frameGeometry().right() <= screen.right());
        QVERIFY(dialog().frameGeometry().bottom() <= screen.bottom());
        dialog().hide();
        dialog().move(-40, -30);
        dialog().show();
        QCOMPARE(dialog().frameGeometry().topLeft(), QPoint(0, 0));
        dialog().hide();
    }

    void typingALineWithTheKeyboardAlone()
    {
        openModeless();
        QCOMPARE(grid()->rowCountShown(), 2);
        QCOMPARE(grid()->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
        QVERIFY(dialog().kindBox(K::Dopravna)->isChecked());

        type(QStringLiteral("Praha hl. n.∞"));
        QVERIFY(grid()->isEditing());
        // A character code page 1250 cannot hold is not taken.
        QCOMPARE(grid()->openEditor()->text(), QStringLiteral("Praha hl. n."));
        key(Qt::Key_Return);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(grid()->currentColumn(), 2);
        QCOMPARE(grid()->currentRowNumber(), 1);
        type(QStringLiteral("0"));
        key(Qt::Key_Return);
        QCOMPARE(grid()->rowCountShown(), 3);
        QCOMPARE(grid()->currentColumn(), 1);
        QCOMPARE(grid()->currentRowNumber(), 2);

        // Tab in the editor commits like Enter.
        type(QStringLiteral("Kolín"));
        key(Qt::Key_Tab);
        QCOMPARE(grid()->currentColumn(), 2);
        type(QStringLiteral("6x2"));
        key(Qt::Key_Enter);
        QCOMPARE(editor().cell(K::NameColumn, 2), QStringLiteral("Kolín"));
        QCOMPARE(editor().cell(K::KmColumn, 2), QStringLiteral("  62"));
        QCOMPARE(grid()->model()->index(1, 1).data().toString(), QStringLiteral("  62"));
        QCOMPARE(grid()->rowCountShown(), 4);
        QCOMPARE(grid()->model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("3"));
    }

    void enterOnACellOpensItsEditorAndDoesNotCloseTheDialog()
    {
        openModeless();
        key(Qt::Key_Return);
        QVERIFY(grid()->isEditing());
        QVERIFY(dialog().isVisible());
        key(Qt::Key_Return); // nothing typed: still a commit, the walk goes on
        QCOMPARE(grid()->currentColumn(), 2);
        QVERIFY(dialog().isVisible());
    }

    void escapeDropsWhatWasTyped()
    {
        openModeless();
        type(QStringLiteral("Praha"));
        key(Qt::Key_Escape);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(editor().cell(K::NameColumn, 1), QString());
        QCOMPARE(grid()->currentColumn(), 1);
        QVERIFY(dialog().isVisible());
    }

    void movingAwayCommitsWithoutAStep()
    {
        openModeless();
        type(QStringLiteral("Praha"));
        clickCell(2, 1);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(editor().cell(K::NameColumn, 1), QStringLiteral("Praha"));
        QCOMPARE(grid()->currentColumn(), 2);
        QCOMPARE(grid()->currentRowNumber(), 1);
        type(QStringLiteral("5"));
        clickCell(1, 1);
        QCOMPARE(editor().cell(K::KmColumn, 1), QStringLiteral("   5"));
        QCOMPARE(grid()->rowCountShown(), 3);
        QCOMPARE(grid()->currentColumn(), 1);
        QCOMPARE(grid()->currentRowNumber(), 1);

        // The down arrow in the editor commits and moves, and only moves.
        type(QStringLiteral("Praha hl. n."));
        key(Qt::Key_Down);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(editor().cell(K::NameColumn, 1), QStringLiteral("Praha hl. n."));
        QCOMPARE(grid()->currentColumn(), 1);
        QCOMPARE(grid()->currentRowNumber(), 2);
        // Left and right stay inside the text being typed.
        type(QStringLiteral("Kolí"));
        key(Qt::Key_Left);
        QVERIFY(grid()->isEditing());
        key(Qt::Key_Escape);
    }

    void kindBoxesFollowTheRowAndTheirRules()
    {
        openModeless();
        type(QStringLiteral("A"));
        key(Qt::Key_Return);
        type(QStringLiteral("1"));
        key(Qt::Key_Return); // row 2
        clickBox(K::Zastavka);
        clickBox(K::Hradlo);
        QVERIFY(dialog().kindBox(K::Zastavka)->isChecked());
        QVERIFY(dialog().kindBox(K::Hradlo)->isChecked());
        QVERIFY(!dialog().kindBox(K::Dopravna)->isChecked());
        clickBox(K::Hradlo);
        QVERIFY(!dialog().kindBox(K::Dopravna)->isChecked());
        QCOMPARE(m_doc->findKind(2)->zastavka, 1);
        QCOMPARE(m_doc->findKind(2)->hradlo, 0);

        grid()->setFocus();
        key(Qt::Key_Up);
        QCOMPARE(grid()->currentRowNumber(), 1);
        QVERIFY(dialog().kindBox(K::Dopravna)->isChecked());
        QVERIFY(!dialog().kindBox(K::Zastavka)->isChecked());
        // A checked Dopravna stays checked when clicked.
        clickBox(K::Dopravna);
        QVERIFY(dialog().kindBox(K::Dopravna)->isChecked());
        clickCell(1, 2);
        QVERIFY(dialog().kindBox(K::Zastavka)->isChecked());
    }

    void aKindClickedWhileTypingAKilometreMarksThatRow()
    {
        openModeless();
        type(QStringLiteral("Praha"));
        key(Qt::Key_Return);
        type(QStringLiteral("0"));
        key(Qt::Key_Return);
        type(QStringLiteral("Praha-Libeň"));
        key(Qt::Key_Return);
        type(QStringLiteral("5"));
        QVERIFY(grid()->isEditing());
        // Straight from the kilometre to the box: the box is for row 2.
        clickBox(K::Zastavka);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(editor().cell(K::KmColumn, 2), QStringLiteral("   5"));
        QCOMPARE(grid()->rowCountShown(), 4);
        QCOMPARE(grid()->currentRowNumber(), 2);
        QCOMPARE(m_doc->findKind(2)->zastavka, 1);
        QCOMPARE(m_doc->findKind(2)->dopravna, 0);
        QVERIFY(!m_doc->findKind(3) || m_doc->findKind(3)->dopravna == 1);
        clickCell(1, 3);
        QVERIFY(dialog().kindBox(K::Dopravna)->isChecked());
        QVERIFY(!dialog().kindBox(K::Zastavka)->isChecked());
    }

    void okStoresTheStationsAfterTheQuestion()
    {
        Train t;
        t.name = "Os 1";
        t.firstStation = 1;
        m_doc->trains.push_back(t);
        m_prompter.yesNoAnswers = {true};
        drive([this] {
            type(QStringLiteral("Praha"));
            key(Qt::Key_Return);
            type(QStringLiteral("0"));
            key(Qt::Key_Return);
            type(QStringLiteral("Úvaly"));
            key(Qt::Key_Return);
            type(QStringLiteral("20"));
            key(Qt::Key_Return);
            clickBox(K::Zastavka);
            QTest::mouseClick(button("BitBtn1"), Qt::LeftButton);
        });
        ListCommands::stationList(*m_doc, m_prompter, dialog(), actions());
        QVERIFY(!dialog().cancelled());
        QCOMPARE(m_prompter.log, QStringList{QStringLiteral("question: ") + ListCommands::deleteTrainsQuestion});
        QCOMPARE(m_doc->stations.size(), size_t(2));
        QCOMPARE(cp1250::toUnicode(m_doc->stations[1].name.view()), QStringLiteral("Úvaly"));
        QCOMPARE(m_doc->stations[1].km, 20);
        QCOMPARE(m_doc->stations[1].kind->dopravna, 1);
        QCOMPARE(m_doc->stations[0].kind->dopravna, 1);
        QVERIFY(m_doc->trains.empty());
        QVERIFY(!m_doc->noDocument);
        QCOMPARE(m_doc->maxKm, 20);
        QCOMPARE(m_renders, 1);
    }

    void okWithANameStillInTheEditorStoresIt()
    {
        addStation("Praha", 0);
        m_prompter.yesNoAnswers = {false};
        drive([this] {
            clickCell(1, 1);
            type(QStringLiteral("Praha-Libeň"));
            QVERIFY(grid()->isEditing());
            // OK by its access key: the focus stays in the editor.
            dialog().BitBtn1Click();
        });
        ListCommands::stationList(*m_doc, m_prompter, dialog(), actions());
        QCOMPARE(cp1250::toUnicode(m_doc->stations[0].name.view()), QStringLiteral("Praha-Libeň"));
    }

    void cancelAndClosingRestoreTheKinds()
    {
        addStation("Praha", 0);
        addStation("Kolín", 62);
        const StationKind before = *m_doc->findKind(2);
        for (bool closeBox : {false, true}) {
            drive([this, closeBox] {
                clickCell(1, 2);
                clickBox(K::Kilometr);
                QVERIFY(dialog().kindBox(K::Kilometr)->isChecked());
                clickCell(1, 2);
                type(QStringLiteral("Jiný"));
                key(Qt::Key_Return);
                if (closeBox)
                    dialog().close();
                else
                    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
            });
            ListCommands::stationList(*m_doc, m_prompter, dialog(), actions());
            QVERIFY(dialog().cancelled());
            QVERIFY(m_doc->findKind(2)->sameFlags(before));
            QCOMPARE(m_doc->stations[1].kind, m_doc->findKind(2));
            QCOMPARE(cp1250::toUnicode(m_doc->stations[1].name.view()), QStringLiteral("Kolín"));
        }
        QVERIFY(m_prompter.log.isEmpty());
        QCOMPARE(m_renders, 0);
    }

    void okWithOneIncompleteRowAsksNothing()
    {
        drive([this] {
            type(QStringLiteral("Praha"));
            key(Qt::Key_Return);
            QTest::mouseClick(button("BitBtn1"), Qt::LeftButton);
        });
        ListCommands::stationList(*m_doc, m_prompter, dialog(), actions());
        QVERIFY(m_prompter.log.isEmpty());
        QVERIFY(m_doc->noDocument);
        QVERIFY(m_doc->stations.empty());
        QCOMPARE(m_renders, 1);
        // Reopened on the empty document, the row still holds the name.
        dialog().fill();
        QCOMPARE(grid()->model()->index(0, 0).data().toString(), QStringLiteral("Praha"));
    }

    void newEmptiesTheFirstRow()
    {
        addStation("Praha", 5);
        dialog().fill();
        QCOMPARE(grid()->model()->index(0, 1).data().toString(), QStringLiteral("5"));
        m_doc->noDocument = true;
        dialog().clearFirstRow();
        dialog().fill();
        QCOMPARE(grid()->rowCountShown(), 2);
        QCOMPARE(grid()->model()->index(0, 0).data().toString(), QString());
        QCOMPARE(grid()->model()->index(0, 1).data().toString(), QString());
    }
};

QTEST_MAIN(StationListDialogTest)
#include "StationListDialogTest.moc"
