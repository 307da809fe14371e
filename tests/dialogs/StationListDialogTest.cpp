#include "dialogs/StationListDialog.h"
#include "GuiClicks.h"
#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "dialogs/ListCommands.h"
#include "model/Cp1250.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <memory>

using K = StationListEditor;

// TForm2's wiring: keys and clicks reach StationListEditor (whose rules are
// tested there), OK and Cancel reach the command.
class StationListDialogTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Document> m_doc;
    std::unique_ptr<StationListDialog> m_dialog;
    ScriptedPrompter m_prompter;
    int m_renders = 0;

    StationListDialog &dialog() { return *m_dialog; }
    StringGrid *grid() { return m_dialog->grid(); }
    QPushButton *button(const char *name) { return m_dialog->findChild<QPushButton *>(QLatin1String(name)); }
    QString cell(int column, int row) { return m_dialog->editor().cell(column, row); }
    bool checked(K::Kind kind) { return dialog().kindBox(kind)->isChecked(); }
    void type(const QString &text) { GuiKeys::type(grid(), text); }
    void key(Qt::Key k) { GuiKeys::key(grid(), k); }

    void openModeless()
    {
        dialog().fill();
        QVERIFY(GuiKeys::activate(&dialog()));
        grid()->setFocus();
    }

    // The station list command with the steps run once its modal dialog is up.
    void runCommand(std::function<void()> steps)
    {
        GuiKeys::whenActive(&dialog(), std::move(steps));
        DiagramActions actions;
        actions.render = [this] { ++m_renders; };
        ListCommands::stationList(*m_doc, m_prompter, dialog(), actions);
    }

    void clickBox(K::Kind kind) { GuiClicks::click(dialog().kindBox(kind)); }
    void clickCell(int column, int row) { GuiClicks::clickCell(grid(), column, row); }

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
        QCOMPARE(dialog().windowTitle(), QStringLiteral("Seznam stanic"));
        QCOMPARE(grid()->objectName(), QStringLiteral("StringGrid1"));
        QStringList boxes;
        for (int k = 0; k < K::KindCount; ++k)
            boxes << dialog().kindBox(static_cast<K::Kind>(k))->objectName() + u'='
                         + dialog().kindBox(static_cast<K::Kind>(k))->text();
        QCOMPARE(boxes, (QStringList{"BorCheck1=&Dopravna", "CheckBox1=Hradlo", "CheckBox2=Hláska", "CheckBox3=Odbočka",
                                     "CheckBox4=Zastávka", "CheckBox5=Nákladiště", "CheckBox6=Kilometr"}));
        QCOMPARE(button("BitBtn2")->text(), QStringLiteral("Zrušit"));
        QCOMPARE(grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Název stanice"));
        // The program's widths, wider where the header text needs it.
        QCOMPARE(grid()->columnWidth(0), 154);
        QVERIFY(grid()->columnWidth(1) >= grid()->horizontalHeader()->sectionSizeHint(1));
        QVERIFY(grid()->columnWidth(1) > grid()->horizontalHeader()->fontMetrics().horizontalAdvance("Kilometr"));
        QVERIFY(dialog().width() >= 248 && dialog().height() >= 264);
    }

    // Centred when created, moved back onto the screen when shown.
    void placementOnScreen()
    {
        const QRect screen = dialog().screen()->geometry();
        const QPoint offCentre = dialog().frameGeometry().center() - screen.center();
        QVERIFY(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1);
        dialog().move(screen.right() + 100, screen.bottom() + 100);
        dialog().show();
        QVERIFY(dialog().frameGeometry().right() <= screen.right());
        QVERIFY(dialog().frameGeometry().bottom() <= screen.bottom());
        dialog().hide();
        dialog().move(-40, -30);
        dialog().show();
        QCOMPARE(dialog().frameGeometry().topLeft(), QPoint(0, 0));
    }

    void keysAndBoxesInTheGrid()
    {
        openModeless();
        // Enter opens the editor of the current cell; Escape drops what was
        // typed; neither closes the dialog.
        key(Qt::Key_Return);
        QVERIFY(grid()->isEditing());
        type(QStringLiteral("Praha"));
        key(Qt::Key_Escape);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(cell(K::NameColumn, 1), QString());
        QVERIFY(dialog().isVisible());
        // A character code page 1250 cannot hold is not taken.
        type(QStringLiteral("Praha∞"));
        QCOMPARE(grid()->openEditor()->text(), QStringLiteral("Praha"));
        key(Qt::Key_Return);
        QCOMPARE(grid()->currentColumn(), 2);
        type(QStringLiteral("62"));
        key(Qt::Key_Enter);
        QCOMPARE(cell(K::KmColumn, 1), QStringLiteral("  62"));
        // Enter on an editor with nothing typed still commits: the walk goes on.
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        QCOMPARE(grid()->currentColumn(), 2);

        // Moving away commits without a step; the down arrow in the editor
        // commits and only moves; left and right stay inside the text.
        clickCell(2, 1);
        type(QStringLiteral("5"));
        clickCell(1, 1);
        QCOMPARE(cell(K::KmColumn, 1), QStringLiteral("   5"));
        QCOMPARE(grid()->currentRowNumber(), 1);
        type(QStringLiteral("Praha hl. n."));
        key(Qt::Key_Down);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(cell(K::NameColumn, 1), QStringLiteral("Praha hl. n."));
        QCOMPARE(grid()->currentColumn(), 1);
        QCOMPARE(grid()->currentRowNumber(), 2);
        type(QStringLiteral("Kolí"));
        key(Qt::Key_Left);
        QVERIFY(grid()->isEditing());

        // The kind boxes change the cursor row's kind and follow the cursor
        // (the kinds' rules are StationEditorTest's).
        key(Qt::Key_Return);
        type(QStringLiteral("1"));
        key(Qt::Key_Return); // row 3
        clickBox(K::Zastavka);
        QCOMPARE(m_doc->findKind(3)->zastavka, 1);
        grid()->setFocus();
        key(Qt::Key_Up);
        QVERIFY(checked(K::Dopravna) && !checked(K::Zastavka));
        clickCell(1, 3);
        QVERIFY(checked(K::Zastavka));
        type(QStringLiteral("Kou"));

        // The program ends with a name half typed: the grid's editor closes
        // after the dialog's rules are gone, and nothing reaches them.
        m_dialog.reset();
        QVERIFY(m_doc->stations.empty());
        m_dialog = std::make_unique<StationListDialog>(*m_doc);
    }

    void okWithANameStillInTheEditorStoresIt()
    {
        SampleLine::addStation(*m_doc, "Praha", 0);
        m_prompter.yesNoAnswers = {false};
        runCommand([this] {
            clickCell(1, 1);
            type(QStringLiteral("Praha-Libeň"));
            QVERIFY(grid()->isEditing());
            dialog().BitBtn1Click(); // OK by its access key: the focus stays in the editor
        });
        QCOMPARE(cp1250::toUnicode(m_doc->stations[0].name.view()), QStringLiteral("Praha-Libeň"));
        QCOMPARE(m_prompter.log, QStringList{QStringLiteral("question: ") + ListCommands::deleteTrainsQuestion});
        QCOMPARE(m_renders, 1);
    }

    void cancelAndClosingRestoreTheKinds()
    {
        SampleLine::addStation(*m_doc, "Praha", 0);
        SampleLine::addStation(*m_doc, "Kolín", 62);
        for (bool closeBox : {false, true}) {
            runCommand([this, closeBox] {
                clickCell(1, 2);
                clickBox(K::Kilometr);
                clickCell(1, 2);
                type(QStringLiteral("Jiný"));
                key(Qt::Key_Return);
                if (closeBox)
                    dialog().close();
                else
                    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
            });
            QVERIFY(dialog().cancelled());
            QCOMPARE(m_doc->findKind(2)->kilometr, 0);
            QCOMPARE(cp1250::toUnicode(m_doc->stations[1].name.view()), QStringLiteral("Kolín"));
        }
        QVERIFY(m_prompter.log.isEmpty());
        QCOMPARE(m_renders, 0);
    }

    // Nothing to store: no question, an empty document that keeps its
    // trains (the kept first row is StationEditorTest's).
    void okWithOneIncompleteRowAsksNothing()
    {
        m_doc->trains.push_back(Train{});
        runCommand([this] {
            type(QStringLiteral("Praha"));
            key(Qt::Key_Return);
            QTest::mouseClick(button("BitBtn1"), Qt::LeftButton);
        });
        QVERIFY(m_prompter.log.isEmpty());
        QVERIFY(m_doc->noDocument && m_doc->stations.empty());
        QCOMPARE(m_doc->trains.size(), size_t(1));
        QCOMPARE(m_renders, 1);
    }
};

QTEST_MAIN(StationListDialogTest)
#include "StationListDialogTest.moc"
