#include "dialogs/StationListDialog.h"
#include "GuiClicks.h"
#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "app/ListCommands.h"

#include "RecordingDiagram.h"
#include "model/Cp1250.h"

#include <QCheckBox>
#include <QPushButton>
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

    void runCommand(std::function<void()> steps)
    {
        GuiKeys::whenActive(&dialog(), std::move(steps));
        RecordingDiagram recording(*m_doc);
        ListCommands::stationList(recording.diagram(), m_prompter, dialog());
        m_renders += static_cast<int>(recording.calls.count(QStringLiteral("render")));
    }

    void clickBox(K::Kind kind) { GuiClicks::click(dialog().kindBox(kind)); }
    void clickCell(int column, int row) { GuiClicks::clickCell(grid(), column, row); }

private slots:
    void init()
    {
        m_doc = std::make_unique<Document>();
        m_dialog = std::make_unique<StationListDialog>(*m_doc, m_prompter);
        m_prompter = ScriptedPrompter();
        m_renders = 0;
    }
    void cleanup() { m_dialog.reset(); }

    void keysAndBoxesInTheGrid()
    {
        dialog().fill();
        QVERIFY(GuiKeys::activate(&dialog()));
        grid()->setFocus();
        key(Qt::Key_Return);
        type(QStringLiteral("Praha"));
        key(Qt::Key_Escape);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(cell(K::NameColumn, 1), QString());
        QVERIFY(dialog().isVisible());
        // A character code page 1250 cannot hold is not taken.
        type(QStringLiteral("Praha∞"));
        QCOMPARE(grid()->openEditor()->text(), QStringLiteral("Praha"));
        key(Qt::Key_Return);
        type(QStringLiteral("62"));
        key(Qt::Key_Enter);
        QCOMPARE(cell(K::KmColumn, 1), QStringLiteral("62"));

        // The down arrow in the editor commits and only moves.
        clickCell(1, 1);
        type(QStringLiteral("Praha hl. n."));
        key(Qt::Key_Down);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(cell(K::NameColumn, 1), QStringLiteral("Praha hl. n."));
        QCOMPARE(grid()->currentColumn(), 1);
        QCOMPARE(grid()->currentRowNumber(), 2);
        type(QStringLiteral("Kolí"));

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
                if (closeBox)
                    dialog().close();
                else
                    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
            });
            QVERIFY(dialog().cancelled());
            QCOMPARE(m_doc->findKind(2)->kilometr, 0);
        }
        QVERIFY(m_prompter.log.isEmpty());
        QCOMPARE(m_renders, 0);
    }

    // The kilometre and track columns take only what they can hold (the
    // entries' rules and messages are StationEditorTest's); a refusal keeps
    // the cursor in its cell, and OK then stays in the dialog.
    void columnsTakeOnlyWhatTheyHold()
    {
        m_prompter.yesNoAnswers = {false};
        runCommand([this] {
            type(QStringLiteral("Proseč nad Nisou"));
            key(Qt::Key_Return);
            type(QStringLiteral("7,5x62"));
            QCOMPARE(grid()->openEditor()->text(), QStringLiteral("7,562"));
            key(Qt::Key_Return);
            clickCell(K::StationTracksColumn, 1);
            type(QStringLiteral("x4"));
            QCOMPARE(grid()->openEditor()->text(), QStringLiteral("4"));
            key(Qt::Key_Return);
            clickCell(K::NameColumn, 2);
            type(QStringLiteral("Tanvald"));
            key(Qt::Key_Return);
            type(QStringLiteral("27,1234"));
            key(Qt::Key_Return);
            QCOMPARE(m_prompter.messages(), QStringList{K::kmDecimalsMessage});
            QCOMPARE(std::pair(grid()->currentColumn(), grid()->currentRowNumber()), std::pair(2, 2));
            type(QStringLiteral("2700"));
            dialog().BitBtn1Click(); // the editor still open: its refusal keeps the dialog
            QVERIFY(dialog().isVisible());
            type(QStringLiteral("27"));
            dialog().BitBtn1Click();
        });
        QCOMPARE(m_prompter.log.size(), 3); // two refusals, then the question about trains
        QCOMPARE(std::tuple(m_doc->stations[0].metres, int(m_doc->stations[0].stationTracks), m_doc->stations[1].metres),
                 std::tuple(7562, 4, 27000));
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
