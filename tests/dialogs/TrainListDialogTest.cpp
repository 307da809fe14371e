#include "dialogs/TrainListDialog.h"
#include "GuiClicks.h"
#include "ScriptedPrompter.h"
#include "app/ListCommands.h"
#include "dialogs/KilometreDialog.h"

#include "RecordingDiagram.h"
#include "dialogs/StationListBox.h"
#include "model/ClockTime.h"
#include "model/Cp1250.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include <QPushButton>

#include <QtTest>

#include <memory>

using E = TrainListEditor;

class TrainListDialogTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Document> m_doc;
    std::unique_ptr<TrainListDialog> m_dialog;
    std::unique_ptr<KilometreDialog> m_kilometre;
    ScriptedPrompter m_prompter;
    QStringList m_calls;
    bool m_staleAtRender = false; // the label images were to be drawn anew by the render after the labels

    TrainListDialog &dialog() { return *m_dialog; }
    StringGrid *trains() { return m_dialog->trainGrid(); }
    StringGrid *rows() { return m_dialog->rowGrid(); }
    StationListBox *list() { return m_dialog->stationList(); }
    template <typename T> T *child(const char *name) { return m_dialog->findChild<T *>(QLatin1String(name)); }
    Train &train(int i) { return m_doc->trains[static_cast<size_t>(i)]; }
    QString rowText(int column, int row) { return rows()->model()->index(row - 1, column - 1).data().toString(); }
    bool checked(const char *box) { return child<QAbstractButton>(box)->isChecked(); }

    void type(const QString &text) { GuiKeys::type(&dialog(), text); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { GuiKeys::key(&dialog(), k, m); }

    void runCommand(std::function<void()> steps)
    {
        if (steps)
            GuiKeys::whenActive(&dialog(), std::move(steps));
        RecordingDiagram recording(*m_doc);
        recording.atTimeLabels = [this] { m_staleAtRender = m_doc->labelImagesStale; };
        ListCommands::trainList(recording.diagram(), m_prompter, dialog());
        m_calls << recording.calls;
    }

    void clickItem(int index, bool twice = false) { GuiClicks::clickItem(list(), index, twice); }
    void clickBox(const char *name) { GuiClicks::click(child<QAbstractButton>(name)); }

private slots:
    void init()
    {
        m_doc = std::make_unique<Document>();
        m_dialog = std::make_unique<TrainListDialog>(*m_doc);
        m_kilometre = std::make_unique<KilometreDialog>();
        m_dialog->setKilometreDialog(m_kilometre.get());
        m_prompter = ScriptedPrompter();
        m_calls.clear();
        SampleLine::fillEditorLine(*m_doc);
    }

    void cleanup() { m_dialog.reset(), m_kilometre.reset(); }

    // The controls reaching TrainListEditor (whose rules are tested there).
    // Shift let go before Enter still inserts two rows; the release of the
    // Enter that confirmed TForm4 inserts nothing; a time being typed is
    // committed when a box is clicked, and by Ctrl+Del, which takes its row.
    void controlsReachTheEditor()
    {
        dialog().fill();
        QVERIFY(GuiKeys::activate(&dialog()));
        trains()->setFocus();
        QStringList marked;
        for (int i = 0; i < list()->count(); ++i)
            marked << list()->item(i)->text()
                          + (list()->item(i)->data(StationListBox::TrafficPointRole).toBool() ? "*" : "");
        QCOMPARE(marked, (QStringList{"Praha*", "Zastávka", "Odbočka*", "Hradlo", "Kolín*"}));
        type(QStringLiteral("Os 5401"));
        key(Qt::Key_Return);
        QVERIFY(!rows()->isEnabled());
        key(Qt::Key_Up);
        QVERIFY(rows()->isEnabled() && list()->isEnabled() && child<QPushButton>("BitBtn3")->isEnabled());

        clickItem(0);
        key(Qt::Key_Return);
        clickItem(4, true);
        QCOMPARE(train(0).stops.size(), size_t(1));
        QTest::keyPress(list(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyRelease(list(), Qt::Key_Return, Qt::NoModifier);
        QCOMPARE(train(0).stops.size(), size_t(3));
        clickBox("BorRadio2");
        GuiClicks::clickCell(rows(), 2, 1);
        clickItem(3, true);
        QCOMPARE(train(0).firstStation, 4);
        GuiKeys::whenActive(m_kilometre.get(), [this] {
            GuiKeys::type(m_kilometre.get(), QStringLiteral("25"));
            QTest::keyPress(QApplication::focusWidget(), Qt::Key_Return);
        });
        child<QPushButton>("BitBtn3")->click(); // as Alt+V does: the focus stays in the list
        QVERIFY(GuiKeys::activate(&dialog()));  // the window system gives the dialog back its focus
        QTest::keyRelease(list(), Qt::Key_Return);
        QCOMPARE(train(0).stops.size(), size_t(5));
        QCOMPARE(train(0).stops.back().station, -975);
        clickBox("RadioButton2");
        clickItem(0);
        key(Qt::Key_Down);
        QCOMPARE(list()->selectedItems(), QList<QListWidgetItem *>{list()->item(2)});

        GuiClicks::clickCell(rows(), 2, 1);
        type(QStringLiteral("0705*"));
        key(Qt::Key_Return);
        QCOMPARE(rowText(2, 1), QStringLiteral(" 7:05"));
        type(QStringLiteral("0814"));
        key(Qt::Key_Return);
        QCOMPARE(train(0).stops[0].time, makeTime(8, 14));
        GuiClicks::clickCell(rows(), 2, 1);
        QVERIFY(checked("CheckBox3") && checked("CheckBox4"));
        GuiClicks::clickCell(rows(), 2, 2);
        QVERIFY(!checked("CheckBox3") && !checked("CheckBox4"));
        clickBox("CheckBox4");
        QCOMPARE(train(0).stops[0].shortDwell, 1);
        clickBox("CheckBox1");
        clickBox("CheckBox2");
        QVERIFY(train(0).rusici == 1 && train(0).podlePotreby == 1);
        GuiClicks::clickCell(rows(), 2, 3);
        type(QStringLiteral("0820"));
        clickBox("CheckBox3");
        QCOMPARE(train(0).stops[1].time, makeTime(8, 20));
        QCOMPARE(train(0).stops[1].halfMinute, 1);
        GuiClicks::clickCell(rows(), 2, 1);
        type(QStringLiteral("0807"));
        key(Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(!rows()->isEditing());
        QCOMPARE(train(0).firstStation, 1); // row 2, Praha, moved up
        QVERIFY(checked("CheckBox4"));
    }

    void theCommandRefusesADocumentWithoutStations()
    {
        m_doc->noDocument = true;
        QTimer::singleShot(0, &dialog(), [this] { dialog().reject(); }); // were it shown, it would not hang
        runCommand(nullptr);
        QCOMPARE(m_prompter.log, QStringList{QStringLiteral("information: Musíte zadat alespoň jednu stanici")});
        QVERIFY(m_calls.isEmpty());
    }

    void theCommandAsksAboutLabelsAfterwards()
    {
        DocumentFixtures::addTrain(*m_doc, "Os 1", {{1, 8, 0}});
        m_prompter.yesNoAnswers = {false, true};
        m_doc->redrawNeeded = false;
        runCommand([this] {
            QVERIFY(trains()->hasFocus());
            QCOMPARE(trains()->currentRowNumber(), 1);
            key(Qt::Key_Down);
            type(QStringLiteral("Os 3"));
            // Closing the window while typing keeps the name: there is no cancel.
            dialog().close();
        });
        QCOMPARE(train(1).name, QByteArrayView("Os 3"));
        QCOMPARE(m_prompter.log, (QStringList{QStringLiteral("question: ") + ListCommands::newTrainLabelsQuestion,
                                              QStringLiteral("question: ") + ListCommands::allTrainLabelsQuestion}));
        // "render": a rebuild, drawing every label image anew.
        QCOMPARE(m_calls, (QStringList{"train labels", "time labels", "render"}));
        QVERIFY(m_staleAtRender);

        m_prompter = ScriptedPrompter();
        m_prompter.yesNoAnswers = {true};
        m_calls.clear();
        m_doc->labelImagesStale = false;
        runCommand([this] { QTest::mouseClick(child<QPushButton>("BitBtn1"), Qt::LeftButton); });
        QCOMPARE(m_calls, (QStringList{"new labels", "time labels", "render"}));
        QCOMPARE(m_prompter.log.size(), 1);
        QVERIFY(!m_staleAtRender);
    }
};

QTEST_MAIN(TrainListDialogTest)
#include "TrainListDialogTest.moc"
