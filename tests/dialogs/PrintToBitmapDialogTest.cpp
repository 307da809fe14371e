#include "dialogs/PrintToBitmapDialog.h"

#include "GuiKeys.h"
#include "SampleLine.h"
#include "ScriptedPrompter.h"
#include "model/Document.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

// TForm5 as a person uses it: its defaults, the fields' rules on leaving
// them, the recomputed sizes, the printer setup, printing and exporting.
class PrintToBitmapDialogTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Document> m_doc;
    ScriptedPrompter m_prompter;
    std::unique_ptr<PrintToBitmapDialog> m_dialog;

    template <typename T> T *find(const char *name) const { return m_dialog->findChild<T *>(QLatin1String(name)); }
    QString text(const char *label) const { return find<QLabel>(label)->text(); }

    // Types into a field as a person does, then leaves it with Tab.
    void typeInto(QWidget *field, const QString &typed)
    {
        field->setFocus();
        QTRY_VERIFY(field->hasFocus() || field->isAncestorOf(QApplication::focusWidget()));
        GuiKeys::key(field, Qt::Key_A, Qt::ControlModifier);
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->home(false);
        GuiKeys::type(field, typed);
        GuiKeys::key(field, Qt::Key_Tab);
    }

private slots:
    void init()
    {
        m_doc = std::make_unique<Document>();
        for (auto [name, km] : {std::pair("Alfa", 0), {"Beta", 10}, {"Cé", 25}, {"Delta", 10}})
            SampleLine::addStation(*m_doc, name, km);
        m_prompter = ScriptedPrompter();
        m_dialog = std::make_unique<PrintToBitmapDialog>(*m_doc, m_prompter);
        QVERIFY(GuiKeys::activate(m_dialog.get()));
    }
    void cleanup() { m_dialog.reset(); }

    void defaultsWhenShown()
    {
        QCOMPARE(m_dialog->objectName(), QStringLiteral("TForm5"));
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Tisk do bitmapy"));
        const struct
        {
            const char *name;
            int minimum, maximum, value;
        } spins[] = {{"SpinEdit1", 1, 30, 1},
                     {"SpinEdit2", 0, 60, 0},
                     {"SpinEdit3", 50, 525, 100},
                     {"SpinEdit4", 0, 999, 0},
                     {"SpinEdit5", 0, 999, 999}};
        for (const auto &s : spins) {
            QSpinBox *spin = find<QSpinBox>(s.name);
            QCOMPARE(spin->minimum(), s.minimum);
            QCOMPARE(spin->maximum(), s.maximum);
            QCOMPARE(spin->value(), s.value);
        }
        QCOMPARE(find<QSpinBox>("SpinEdit3")->singleStep(), 25);
        QCOMPARE(find<QLineEdit>("MaskEdit1")->text(), QStringLiteral("00:00"));
        QCOMPARE(find<QLineEdit>("MaskEdit2")->text(), QStringLiteral("23:59"));
        QVERIFY(find<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(find<QRadioButton>("RadioButton3")->isChecked());
        for (const char *name : {"MaskEdit1", "MaskEdit2", "ComboBox1", "ComboBox2", "SpinEdit4", "SpinEdit5"})
            QVERIFY2(!find<QWidget>(name)->isEnabled(), name);
        QCOMPARE(find<QComboBox>("ComboBox1")->count(), 4);
        QCOMPARE(find<QComboBox>("ComboBox2")->itemText(2), QStringLiteral("Cé"));
        QCOMPARE(find<QComboBox>("ComboBox3")->currentText(), QStringLiteral("300 X 300"));
        QVERIFY(find<QCheckBox>("CheckBox1")->isChecked());
        QCOMPARE(text("Label10"), QStringLiteral("1338"));
        QVERIFY(text("Label9").toInt() > 2 * 4 * 25 * 3 / 13);
        // No printer here: an A4 sheet at 300 dpi.
        QCOMPARE(text("Label14"), QStringLiteral("299"));
        QCOMPARE(text("Label15"), QStringLiteral("212"));
        QCOMPARE(find<QPushButton>("BitBtn3")->text(), QStringLiteral("&Nastavení ..."));
    }

    void fieldsAreHeldToTheirRulesWhenLeft()
    {
        typeInto(find<QSpinBox>("SpinEdit1"), QStringLiteral("45"));
        QCOMPARE(find<QSpinBox>("SpinEdit1")->value(), 30);
        QCOMPARE(text("Label10"), QStringLiteral("54")); // (5760 / 30 + 40) * 3 / 13
        typeInto(find<QSpinBox>("SpinEdit3"), QStringLiteral("110"));
        QCOMPARE(find<QSpinBox>("SpinEdit3")->value(), 100);
    }

    void timeRangeStaysInOrder()
    {
        find<QRadioButton>("RadioButton2")->click();
        QVERIFY(find<QLineEdit>("MaskEdit1")->isEnabled());
        typeInto(find<QLineEdit>("MaskEdit2"), QStringLiteral("0600"));
        QCOMPARE(find<QLineEdit>("MaskEdit2")->text(), QStringLiteral("06:00"));
        QCOMPARE(text("Label10"), QStringLiteral("342")); // (4 * 360 + 40) * 3 / 13
        // A start after the end: the field left takes back what it held.
        typeInto(find<QLineEdit>("MaskEdit1"), QStringLiteral("0700"));
        QCOMPARE(find<QLineEdit>("MaskEdit1")->text(), QStringLiteral("00:00"));
    }

    void stationGuardTakesBackAFallingRange()
    {
        find<QRadioButton>("RadioButton4")->click();
        auto *from = find<QComboBox>("ComboBox1");
        auto *to = find<QComboBox>("ComboBox2");
        QVERIFY(from->isEnabled());
        QCOMPARE(from->currentIndex(), 0); // the lowest kilometre
        QCOMPARE(to->currentIndex(), 2);   // the highest
        const QString whole = text("Label9");
        to->setFocus();
        to->setCurrentIndex(1); // Beta, km 10
        QVERIFY(text("Label9").toInt() < whole.toInt());
        from->setFocus();
        from->setCurrentIndex(2); // Cé at km 25 above Beta: taken back
        QCOMPARE(from->currentIndex(), 0);
    }

    void resolutionAndPrinterSetup()
    {
        find<QComboBox>("ComboBox3")->setCurrentIndex(0); // "75 X 75"
        QCOMPARE(text("Label14"), QStringLiteral("1197"));
        m_prompter.printerAnswers = {QSize(4960, 7016)};
        find<QPushButton>("BitBtn3")->click();
        QCOMPARE(m_prompter.log, QStringList{QStringLiteral("printer setup")});
        QCOMPARE(text("Label14"), QStringLiteral("2395"));
        QCOMPARE(text("Label15"), QStringLiteral("1693"));
    }

    void printAndExportCloseTheDialogWithTheirAction()
    {
        const struct
        {
            const char *button, *caption;
            PrintToBitmapDialog::Action action;
        } buttons[] = {{"BitBtn1", "&Tisk", PrintToBitmapDialog::Action::Print},
                       {"BitBtn4", "&Exportovat...", PrintToBitmapDialog::Action::Export}};
        for (const auto &b : buttons) {
            QVERIFY(GuiKeys::activate(m_dialog.get()));
            QCOMPARE(m_dialog->action(), PrintToBitmapDialog::Action::None); // showing forgets the last
            find<QSpinBox>("SpinEdit1")->setValue(2);
            QPushButton *button = find<QPushButton>(b.button);
            QCOMPARE(button->text(), QString::fromUtf8(b.caption));
            button->click();
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
            QCOMPARE(m_dialog->action(), b.action);
            QCOMPARE(m_dialog->choice().layers, 2); // the controls keep what they held
        }
    }
};

QTEST_MAIN(PrintToBitmapDialogTest)
#include "PrintToBitmapDialogTest.moc"
