#include "dialogs/AddTrainDialog.h"
#include "GuiClicks.h"
#include "dialogs/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using GuiClicks::click;

// TForm13 "Přidat vlak": what it offers, what it remembers between
// openings, and what it hands back, in one walk.
class AddTrainDialogTest : public QObject
{
    Q_OBJECT

    template <typename T> T *child(AddTrainDialog &d, const char *name)
    {
        return d.findChild<T *>(QLatin1String(name));
    }

private slots:
    void categoryAndNumberAreKeptAndTheFlagsCleared()
    {
        AddTrainDialog d;
        const std::vector<AddTrainRow> rows{{"Praha", "", "", "", " 8:00:00"}, {"Kolín", "25", " 8:25:00", "", ""}};
        GuiKeys::whenActive(&d, [&] {
            auto *categories = child<QComboBox>(d, "ComboBox1");
            QCOMPARE(categories->currentText(), QStringLiteral("Os"));
            QVERIFY(!categories->isEditable());
            QCOMPARE(d.grid()->model()->index(1, 2).data().toString(), QStringLiteral(" 8:25:00"));
            categories->setFocus();
            QTest::keyClick(categories, Qt::Key_End); // "Vn"
            QTest::keyClick(categories, Qt::Key_Up);  // "Vleč"
            auto *number = child<QSpinBox>(d, "SpinEdit1");
            number->setFocus();
            number->selectAll();
            GuiKeys::type(&d, QStringLiteral("12345"));
            click(child<QCheckBox>(d, "CheckBox1"));
            click(child<QPushButton>(d, "BitBtn1"));
        });
        const std::optional<NewTrainChoice> first = d.ask(rows);
        QVERIFY(first);
        QCOMPARE(std::tuple(first->category, first->number, first->rusici, first->podlePotreby),
                 std::tuple(QStringLiteral("Vleč"), 12345, true, false));

        GuiKeys::whenActive(&d, [&] {
            QVERIFY(!child<QCheckBox>(d, "CheckBox1")->isChecked());
            d.close(); // the close box is Zrušit
        });
        QVERIFY(!d.ask(rows));
        QCOMPARE(std::pair(d.choice().category, d.choice().number), std::pair(QStringLiteral("Vleč"), 12345));
    }
};

QTEST_MAIN(AddTrainDialogTest)
#include "AddTrainDialogTest.moc"
