#include "dialogs/TrainListDialog.h"
#include "GuiKeys.h"
#include "ScriptedPrompter.h"
#include "dialogs/KilometreDialog.h"
#include "dialogs/ListCommands.h"
#include "dialogs/StationListBox.h"
#include "model/ClockTime.h"
#include "model/Cp1250.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
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

    TrainListDialog &dialog() { return *m_dialog; }
    E &editor() { return m_dialog->editor(); }
    StringGrid *trains() { return m_dialog->trainGrid(); }
    StringGrid *rows() { return m_dialog->rowGrid(); }
    StationListBox *list() { return m_dialog->stationList(); }
    template <typename T> T *child(const char *name) { return m_dialog->findChild<T *>(QLatin1String(name)); }
    Train &train(int i) { return m_doc->trains[static_cast<size_t>(i)]; }

    DiagramActions actions()
    {
        DiagramActions a;
        a.render = [this] { m_calls << QStringLiteral("render"); };
        a.makeLabelsForNewTrains = [this] { m_calls << QStringLiteral("new labels"); };
        a.makeTrainLabels = [this] { m_calls << QStringLiteral("all labels"); };
        a.makeTimeLabels = [this] { m_calls << QStringLiteral("time labels"); };
        return a;
    }

    void type(const QString &text) { GuiKeys::type(&dialog(), text); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { GuiKeys::key(&dialog(), k, m); }

    void open()
    {
        dialog().fill();
        QVERIFY(GuiKeys::activate(&dialog()));
        trains()->setFocus();
    }

    void clickCell(StringGrid *grid, int column, int row)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(column, row).center());
    }

    void clickItem(int index)
    {
        const QRect r = list()->visualItemRect(list()->item(index));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
    }

    // As the window system delivers it: a click, then the double click.
    void doubleClickItem(int index)
    {
        clickItem(index);
        const QRect r = list()->visualItemRect(list()->item(index));
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, r.center());
    }

    void clickBox(const char *name)
    {
        auto *box = child<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

    QString rowText(int column, int row) { return rows()->model()->index(row - 1, column - 1).data().toString(); }

    Train &addTrain(const char *name, std::initializer_list<TrainRow> rows)
    {
        Train t;
        t.name = name;
        for (const TrainRow &r : rows)
            Document::addRow(t, r.station, r.time, r.mark, r.halfMinute, r.shortDwell);
        m_doc->trains.push_back(t);
        return m_doc->trains.back();
    }

    // Runs the steps once the modal dialog is up and closes it afterwards,
    // so a failing step cannot hang the test.
    void drive(QDialog *modal, std::function<void()> steps)
    {
        QTimer::singleShot(0, this, [modal, steps] {
            QVERIFY(QTest::qWaitForWindowActive(modal));
            steps();
            if (modal->isVisible())
                modal->reject();
        });
    }

private slots:
    void init()
    {
        m_doc = std::make_unique<Document>();
        m_dialog = std::make_unique<TrainListDialog>(*m_doc);
        m_kilometre = std::make_unique<KilometreDialog>();
        m_dialog->setKilometreDialog(m_kilometre.get());
        m_prompter = ScriptedPrompter();
        m_calls.clear();
        // Praha (Dopravna), Zastávka, Odbočka, Hradlo, Kolín (Dopravna).
        const char *names[] = {"Praha", "Zastávka", "Odbočka", "Hradlo", "Kolín"};
        for (int i = 0; i < 5; ++i) {
            Station s;
            s.name = cp1250::fromUnicode(QString::fromUtf8(names[i]));
            s.km = i * 10;
            m_doc->stations.push_back(s);
            StationKind k;
            k.stationIndex = i + 1;
            k.dopravna = i == 0 || i == 4;
            k.zastavka = i == 1;
            k.odbocka = i == 2;
            k.hradlo = i == 3;
            m_doc->appendKind(k);
        }
        m_doc->relinkStationKinds();
        m_doc->rebuildStationTable();
        m_doc->noDocument = false;
    }

    void cleanup()
    {
        m_dialog.reset();
        m_kilometre.reset();
    }

    void controlsCarryTheirNamesAndCaptions()
    {
        QCOMPARE(dialog().objectName(), QStringLiteral("TForm3"));
        QCOMPARE(dialog().windowTitle(), QStringLiteral("Seznam vlaků"));
        QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("Vlak:"));
        QCOMPARE(child<QLabel>("Label2")->text(), QStringLiteral("Pravidelný odjezd:"));
        QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("Seznam stanic:"));
        QCOMPARE(child<QPushButton>("BitBtn1")->text(), QStringLiteral("&OK"));
        QCOMPARE(child<QPushButton>("BitBtn2")->text(), QStringLiteral("&Zrušit"));
        QVERIFY(child<QPushButton>("BitBtn2")->isHidden());
        QCOMPARE(child<QPushButton>("BitBtn3")->text(), QStringLiteral("&Vložit kilometr"));
        QCOMPARE(child<QGroupBox>("GroupBox1")->title(), QStringLiteral("Vložit stanici"));
        QCOMPARE(child<QRadioButton>("BorRadio1")->text(), QStringLiteral("Na konec"));
        QCOMPARE(child<QRadioButton>("BorRadio2")->text(), QStringLiteral("Na pozici kurzoru"));
        QCOMPARE(child<QGroupBox>("GroupBox2")->title(), QStringLiteral("Vkládání"));
        QCOMPARE(child<QRadioButton>("RadioButton1")->text(), QStringLiteral("Všechno"));
        QVERIFY(child<QRadioButton>("RadioButton1")->isChecked());
        QCOMPARE(child<QRadioButton>("RadioButton2")->text(), QStringLiteral("Dopravny a odbočky"));
        QCOMPARE(child<QCheckBox>("CheckBox1")->text(), QStringLiteral("&Rušící"));
        QCOMPARE(child<QCheckBox>("CheckBox2")->text(), QStringLiteral("Podle potřeby"));
        QCOMPARE(child<QCheckBox>("CheckBox3")->text(), QStringLiteral("+ 0.5 min"));
        QCOMPARE(child<QCheckBox>("CheckBox4")->text(), QStringLiteral("Pobyt kratší než půl minuty"));
        auto *remove = child<QAction>("Odstranitpoloku1");
        QCOMPARE(remove->text(), QStringLiteral("Odstranit položku"));
        QCOMPARE(remove->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
        QVERIFY(child<QMenu>("PopupMenu1"));
        QCOMPARE(trains()->objectName(), QStringLiteral("StringGrid1"));
        QCOMPARE(rows()->objectName(), QStringLiteral("StringGrid2"));
        QCOMPARE(list()->objectName(), QStringLiteral("ListBox1"));
        // The program's widths, wider where the header text needs it.
        QVERIFY(trains()->columnWidth(0) >= 65);
        QCOMPARE(rows()->columnWidth(0), 167);
        QVERIFY(rows()->columnWidth(1) >= 50);
        for (StringGrid *grid : {trains(), rows()})
            for (int c = 0; c < grid->model()->columnCount(); ++c) {
                const QString header = grid->model()->headerData(c, Qt::Horizontal).toString();
                QVERIFY2(grid->columnWidth(c) >= grid->horizontalHeader()->sectionSizeHint(c), qPrintable(header));
                QVERIFY2(grid->columnWidth(c) > grid->horizontalHeader()->fontMetrics().horizontalAdvance(header),
                         qPrintable(header));
            }
        QVERIFY(dialog().width() >= 560 && dialog().height() >= 297);

        QCOMPARE(m_kilometre->objectName(), QStringLiteral("TForm4"));
        QCOMPARE(m_kilometre->windowTitle(), QStringLiteral("Kilometr"));
        QCOMPARE(m_kilometre->spinEdit()->objectName(), QStringLiteral("SpinEdit1"));
        QCOMPARE(m_kilometre->spinEdit()->minimum(), -999);
        QCOMPARE(m_kilometre->spinEdit()->maximum(), 999);
    }

    void stationsAreListedWithDopravnyAndOdbockyInBold()
    {
        open();
        QCOMPARE(list()->count(), 5);
        QCOMPARE(list()->item(1)->text(), QStringLiteral("Zastávka"));
        QVERIFY(list()->item(0)->data(StationListBox::TrafficPointRole).toBool());
        QVERIFY(!list()->item(1)->data(StationListBox::TrafficPointRole).toBool());
        QVERIFY(list()->item(2)->data(StationListBox::TrafficPointRole).toBool());
        // Bold items draw wider than the same text in the regular font.
        QImage bold(200, 20, QImage::Format_RGB32);
        QImage regular(200, 20, QImage::Format_RGB32);
        auto draw = [this](QImage &image, bool traffic) {
            image.fill(Qt::white);
            QPainter p(&image);
            QStyleOptionViewItem option;
            option.initFrom(list());
            option.rect = image.rect();
            option.palette.setColor(QPalette::Base, Qt::white);
            option.palette.setColor(QPalette::Text, Qt::black);
            QListWidgetItem *item = list()->item(traffic ? 0 : 1);
            const QString keep = item->text();
            item->setText(QStringLiteral("WWWWW"));
            list()->itemDelegate()->paint(&p, option, list()->model()->index(traffic ? 0 : 1, 0));
            item->setText(keep);
        };
        draw(bold, true);
        draw(regular, false);
        auto dark = [](const QImage &image) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    n += qGray(image.pixel(x, y)) < 128;
            return n;
        };
        QVERIFY(dark(bold) > dark(regular));
    }

    void typingTrainsByName()
    {
        open();
        QVERIFY(!rows()->isEnabled());
        type(QStringLiteral("Os 5401"));
        key(Qt::Key_Return);
        QCOMPARE(m_doc->trains.size(), size_t(1));
        QCOMPARE(train(0).name, QByteArrayView("Os 5401"));
        QCOMPARE(trains()->rowCountShown(), 3);
        QCOMPARE(trains()->currentRowNumber(), 2);
        type(QStringLiteral("R 601"));
        key(Qt::Key_Return);
        QCOMPARE(m_doc->trains.size(), size_t(2));
        QCOMPARE(trains()->currentRowNumber(), 3);
        QVERIFY(!rows()->isEnabled());

        // Up to a train: its rows can be edited.
        key(Qt::Key_Up);
        QCOMPARE(editor().currentTrainRow(), 2);
        QVERIFY(rows()->isEnabled());
        QVERIFY(list()->isEnabled());
        QVERIFY(child<QPushButton>("BitBtn3")->isEnabled());
        QCOMPARE(rowText(2, 1), QStringLiteral(" 0:00"));

        // Clearing the last name removes the train.
        key(Qt::Key_Backspace);
        QVERIFY(trains()->isEditing());
        key(Qt::Key_Return);
        QCOMPARE(m_doc->trains.size(), size_t(1));
        QCOMPARE(trains()->rowCountShown(), 3);
        QCOMPARE(trains()->currentRowNumber(), 2);
        QVERIFY(!rows()->isEnabled());
        QVERIFY(trains()->hasFocus());
    }

    void insertingStationsFromTheList()
    {
        addTrain("Os 1", {});
        open();
        clickCell(trains(), 1, 1);
        QVERIFY(rows()->isEnabled());

        // Enter released on a selected station inserts it.
        clickItem(0);
        QCOMPARE(editor().stationSelection(), 0);
        key(Qt::Key_Return);
        QVERIFY(dialog().isVisible());
        QCOMPARE(train(0).firstStation, 1);
        // Shift+Enter inserts it twice.
        key(Qt::Key_Down);
        key(Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(train(0).stops.size(), size_t(2));
        QCOMPARE(train(0).stops[0].station, 2);
        QCOMPARE(train(0).stops[1].station, 2);
        QCOMPARE(rows()->rowCountShown(), 4);
        QCOMPARE(rowText(1, 3), QStringLiteral("Zastávka"));
        QCOMPARE(rows()->currentRowNumber(), 3);
        // A double click inserts it once.
        doubleClickItem(4);
        QCOMPARE(train(0).stops.size(), size_t(3));
        QCOMPARE(train(0).stops[2].station, 5);

        // At the cursor: before the row the cursor is on.
        QTest::mouseClick(child<QRadioButton>("BorRadio2"), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(child<QRadioButton>("BorRadio2")->isChecked());
        clickCell(rows(), 2, 1);
        QCOMPARE(rows()->currentRowNumber(), 1);
        doubleClickItem(3);
        QCOMPARE(train(0).firstStation, 4);
        QCOMPARE(train(0).stops[0].station, 1);
        QCOMPARE(rowText(1, 1), QStringLiteral("Hradlo"));
        QCOMPARE(rowText(1, 2), QStringLiteral("Praha"));
        QCOMPARE(rows()->currentRowNumber(), 1);
    }

    void enterInTheListCountsOnlyWhenPressedThere()
    {
        addTrain("Os 1", {{1, makeTime(8, 0)}});
        open();
        clickCell(trains(), 1, 1);
        clickItem(4);
        // Shift let go before Enter: still an arrival and a departure.
        QTest::keyPress(list(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyRelease(list(), Qt::Key_Return, Qt::NoModifier);
        QCOMPARE(train(0).stops.size(), size_t(2));

        // "Vložit kilometr" by its access key from the list, the kilometre
        // confirmed with Enter: the release of that Enter reaches the list
        // once the kilometre dialog has gone, and inserts nothing.
        drive(m_kilometre.get(), [this] {
            GuiKeys::type(m_kilometre.get(), QStringLiteral("25"));
            QTest::keyPress(QApplication::focusWidget(), Qt::Key_Return);
        });
        child<QPushButton>("BitBtn3")->click(); // as Alt+V does: the focus stays in the list
        QVERIFY(m_kilometre->ok());
        QVERIFY(GuiKeys::activate(&dialog())); // the window system gives the dialog back its focus
        QVERIFY(list()->hasFocus());
        QTest::keyRelease(list(), Qt::Key_Return);
        QCOMPARE(train(0).stops.size(), size_t(3));
        QCOMPARE(train(0).stops[2].station, -975);
        QCOMPARE(rows()->rowCountShown(), 5);
    }

    void typingTimes()
    {
        addTrain("Os 1", {{1, makeTime(8, 14)}, {2, 0.0}, {3, 0.0}, {4, 0.0}, {5, 0.0}});
        open();
        clickCell(trains(), 1, 1);
        clickCell(rows(), 2, 1);
        type(QStringLiteral("0705*"));
        QVERIFY(rows()->isEditing());
        QCOMPARE(rows()->openEditor()->displayText(), QStringLiteral("07:05*"));
        key(Qt::Key_Return);
        QCOMPARE(train(0).firstTime, makeTime(7, 5));
        QCOMPARE(train(0).firstHalfMinute, 1);
        QCOMPARE(train(0).firstShortDwell, 1);
        QCOMPARE(rowText(2, 1), QStringLiteral(" 7:05"));
        QCOMPARE(rows()->currentRowNumber(), 2);

        // A colon typed after the shown one is not taken.
        type(QStringLiteral("08:14"));
        key(Qt::Key_Return);
        QCOMPARE(train(0).stops[0].time, makeTime(8, 14));
        QCOMPARE(rows()->currentRowNumber(), 3);

        type(QStringLiteral("+"));
        key(Qt::Key_Return);
        QCOMPARE(train(0).stops[1].time, makeTime(8, 14));
        QCOMPARE(train(0).stops[1].halfMinute, 1);
        type(QStringLiteral("+"));
        key(Qt::Key_Return);
        QCOMPARE(train(0).stops[2].time, makeTime(8, 15));
        QCOMPARE(train(0).stops[2].halfMinute, 0);
        QCOMPARE(rows()->currentRowNumber(), 5);

        type(QStringLiteral("2561"));
        key(Qt::Key_Return);
        QCOMPARE(train(0).stops[3].time, 0.0);
        QCOMPARE(rows()->currentRowNumber(), 5);
        type(QStringLiteral("7-"));
        key(Qt::Key_Return);
        QCOMPARE(train(0).stops[3].time, makeTime(8, 7));
        QCOMPARE(train(0).stops[3].shortDwell, 1);
        QVERIFY(child<QCheckBox>("CheckBox4")->isChecked());

        // Opening and closing the editor without typing changes nothing.
        clickCell(rows(), 2, 3);
        QVERIFY(child<QCheckBox>("CheckBox3")->isChecked());
        key(Qt::Key_F2);
        QVERIFY(rows()->isEditing());
        key(Qt::Key_Return);
        QCOMPARE(train(0).stops[1].time, makeTime(8, 14));
        QCOMPARE(train(0).stops[1].halfMinute, 1);
    }

    void flagBoxesFollowTheCursor()
    {
        addTrain("Os 1", {{1, makeTime(8, 0)}, {2, makeTime(8, 5), 0, 1, 0}});
        open();
        clickCell(trains(), 1, 1);
        clickCell(rows(), 2, 2);
        QVERIFY(child<QCheckBox>("CheckBox3")->isChecked());
        clickBox("CheckBox4");
        QCOMPARE(train(0).stops[0].shortDwell, 1);
        clickBox("CheckBox1");
        clickBox("CheckBox2");
        QCOMPARE(train(0).rusici, 1);
        QCOMPARE(train(0).podlePotreby, 1);
        clickCell(rows(), 2, 1);
        QVERIFY(!child<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(!child<QCheckBox>("CheckBox4")->isChecked());
        QVERIFY(child<QCheckBox>("CheckBox1")->isChecked());

        // A time being typed is committed when the user goes to a box, and
        // the box then changes that same row.
        clickCell(rows(), 2, 1);
        type(QStringLiteral("0810"));
        clickBox("CheckBox3");
        QCOMPARE(train(0).firstTime, makeTime(8, 10));
        QCOMPARE(rows()->currentRowNumber(), 1);
        QCOMPARE(train(0).firstHalfMinute, 1);
        QCOMPARE(train(0).stops[0].halfMinute, 1);
        QCOMPARE(train(0).stops[0].shortDwell, 1);
    }

    void ctrlDelDeletesTheCursorRow()
    {
        addTrain("Os 1", {{1, makeTime(8, 0)}, {2, makeTime(8, 5)}, {3, makeTime(8, 9)}});
        open();
        clickCell(trains(), 1, 1);
        clickCell(rows(), 2, 1);
        key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(train(0).firstStation, 2);
        QCOMPARE(train(0).stops.size(), size_t(1));
        QCOMPARE(rows()->rowCountShown(), 3);
        QCOMPARE(rowText(1, 1), QStringLiteral("Zastávka"));
        key(Qt::Key_Delete, Qt::ControlModifier);
        key(Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(train(0).isEmpty());
        QCOMPARE(rowText(1, 1), QString());
        QCOMPARE(rowText(2, 1), QStringLiteral(" 0:00"));
    }

    void arrowKeysSkipOtherPointsWhenAsked()
    {
        addTrain("Os 1", {{1, makeTime(8, 0)}});
        open();
        clickCell(trains(), 1, 1);
        QTest::mouseClick(child<QRadioButton>("RadioButton2"), Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(editor().navigation(), E::Navigation::TrafficPoints);
        clickItem(0);
        key(Qt::Key_Down);
        QCOMPARE(list()->currentRow(), 2);
        key(Qt::Key_Down);
        QCOMPARE(list()->currentRow(), 4);
        key(Qt::Key_Up);
        QCOMPARE(list()->currentRow(), 2);
        // The mouse does not skip.
        clickItem(3);
        QCOMPARE(list()->currentRow(), 3);
        QCOMPARE(editor().stationSelection(), 3);
    }

    void kilometrePointsThroughTheKilometreDialog()
    {
        addTrain("Os 1", {{1, makeTime(8, 0)}, {2, makeTime(8, 5)}});
        open();
        clickCell(trains(), 1, 1);
        QTest::mouseClick(child<QRadioButton>("BorRadio2"), Qt::LeftButton, {}, QPoint(4, 4));
        clickCell(rows(), 2, 1);
        drive(m_kilometre.get(), [this] {
            QCOMPARE(m_kilometre->value(), 0);
            QVERIFY(!m_kilometre->ok());
            QVERIFY(m_kilometre->spinEdit()->hasFocus());
            GuiKeys::type(m_kilometre.get(), QStringLiteral("25"));
            GuiKeys::key(m_kilometre.get(), Qt::Key_Return);
        });
        QTest::mouseClick(child<QPushButton>("BitBtn3"), Qt::LeftButton);
        QVERIFY(m_kilometre->ok());
        QCOMPARE(train(0).stops.size(), size_t(2));
        QCOMPARE(train(0).stops[1].station, -975);
        QCOMPARE(rowText(1, 3), QStringLiteral("Km: 25"));
        QCOMPARE(rows()->currentRowNumber(), 3);

        // Cancelled: nothing is inserted.
        drive(m_kilometre.get(), [this] {
            GuiKeys::type(m_kilometre.get(), QStringLiteral("7"));
            QTest::mouseClick(m_kilometre->findChild<QPushButton *>(QStringLiteral("BitBtn2")), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>("BitBtn3"), Qt::LeftButton);
        QVERIFY(!m_kilometre->ok());
        QCOMPARE(train(0).stops.size(), size_t(2));
    }

    void theCommandRefusesADocumentWithoutStations()
    {
        m_doc->noDocument = true;
        ListCommands::trainList(*m_doc, m_prompter, dialog(), actions());
        QCOMPARE(m_prompter.log, QStringList{QStringLiteral("information: Musíte zadat alespoň jednu stanici")});
        QVERIFY(!dialog().isVisible());
        QVERIFY(m_calls.isEmpty());
    }

    void theCommandAsksAboutLabelsAfterwards()
    {
        addTrain("Os 1", {{1, makeTime(8, 0)}});
        m_prompter.yesNoAnswers = {false, true};
        m_doc->redrawNeeded = false;
        drive(&dialog(), [this] {
            QVERIFY(trains()->hasFocus());
            QCOMPARE(trains()->currentRowNumber(), 1);
            key(Qt::Key_Down);
            type(QStringLiteral("Os 3"));
            // Closing the window while typing keeps the name: there is no cancel.
            dialog().close();
        });
        ListCommands::trainList(*m_doc, m_prompter, dialog(), actions());
        QCOMPARE(m_doc->trains.size(), size_t(2));
        QCOMPARE(train(1).name, QByteArrayView("Os 3"));
        QCOMPARE(m_doc->trainCount, 2);
        QCOMPARE(m_prompter.log, (QStringList{QStringLiteral("question: ") + ListCommands::newTrainLabelsQuestion,
                                              QStringLiteral("question: ") + ListCommands::allTrainLabelsQuestion}));
        QCOMPARE(m_calls, (QStringList{"all labels", "time labels", "render"}));
        QVERIFY(m_doc->labelImagesStale);
        QVERIFY(m_doc->redrawNeeded);

        m_prompter = ScriptedPrompter();
        m_prompter.yesNoAnswers = {true};
        m_calls.clear();
        m_doc->labelImagesStale = false;
        drive(&dialog(), [this] { QTest::mouseClick(child<QPushButton>("BitBtn1"), Qt::LeftButton); });
        ListCommands::trainList(*m_doc, m_prompter, dialog(), actions());
        QCOMPARE(m_calls, (QStringList{"new labels", "time labels", "render"}));
        QCOMPARE(m_prompter.log.size(), 1);
        QVERIFY(!m_doc->labelImagesStale);
    }
};

QTEST_MAIN(TrainListDialogTest)
#include "TrainListDialogTest.moc"
