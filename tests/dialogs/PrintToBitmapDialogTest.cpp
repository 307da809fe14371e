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

// TForm5's wiring: its defaults, the fields reaching PrintPlan (whose rules
// are tested there) when left, the printer setup, printing and exporting.
class PrintToBitmapDialogTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Document> m_doc;
    ScriptedPrompter m_prompter;
    std::unique_ptr<PrintToBitmapDialog> m_dialog;

    template <typename T> T *find(const char *name) const { return m_dialog->findChild<T *>(QLatin1String(name)); }
    QString text(const char *label) const { return find<QLabel>(label)->text(); }

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

    // Defaults, then the resolution and the printer setup reaching the plan:
    // the sizes are recomputed (their rules are tested on PrintPlan).
    void defaultsResolutionAndPrinterSetup()
    {
        const std::pair<const char *, int> spins[] = {
            {"SpinEdit1", 1}, {"SpinEdit2", 0}, {"SpinEdit3", 100}, {"SpinEdit4", 0}, {"SpinEdit5", 999}};
        for (auto [name, value] : spins)
            QCOMPARE(find<QSpinBox>(name)->value(), value);
        QCOMPARE(find<QLineEdit>("MaskEdit1")->text() + find<QLineEdit>("MaskEdit2")->text(),
                 QStringLiteral("00:0023:59"));
        QVERIFY(find<QRadioButton>("RadioButton1")->isChecked() && find<QRadioButton>("RadioButton3")->isChecked());
        for (const char *name : {"MaskEdit1", "MaskEdit2", "ComboBox1", "ComboBox2", "SpinEdit4", "SpinEdit5"})
            QVERIFY2(!find<QWidget>(name)->isEnabled(), name);
        QCOMPARE(find<QComboBox>("ComboBox2")->itemText(2), QStringLiteral("Cé"));
        QCOMPARE(find<QComboBox>("ComboBox3")->currentText(), QStringLiteral("300 X 300"));
        QVERIFY(find<QCheckBox>("CheckBox1")->isChecked());

        find<QComboBox>("ComboBox3")->setCurrentIndex(0); // "75 X 75"
        QCOMPARE(text("Label14"), QStringLiteral("1197"));
        m_prompter.printerAnswers = {QSize(4960, 7016)};
        find<QPushButton>("BitBtn3")->click();
        QCOMPARE(m_prompter.log, QStringList{QStringLiteral("printer setup")});
        QCOMPARE(text("Label14") + u'x' + text("Label15"), QStringLiteral("2395x1693"));
    }

    // Fields reach the plan when left (its rules are PrintPlan's); a falling
    // station range is taken back.
    void fieldsReachThePlanWhenLeft()
    {
        find<QRadioButton>("RadioButton2")->click();
        typeInto(find<QLineEdit>("MaskEdit2"), QStringLiteral("0600"));
        QCOMPARE(text("Label10"), QStringLiteral("342")); // (4 * 360 + 40) * 3 / 13
        typeInto(find<QSpinBox>("SpinEdit3"), QStringLiteral("110"));
        QCOMPARE(find<QSpinBox>("SpinEdit3")->value(), 100);

        find<QRadioButton>("RadioButton4")->click();
        const int whole = text("Label9").toInt();
        find<QComboBox>("ComboBox2")->setCurrentIndex(1); // Beta, km 10
        QVERIFY(text("Label9").toInt() < whole);
        auto *from = find<QComboBox>("ComboBox1");
        from->setFocus();
        from->setCurrentIndex(2); // Cé at km 25 above Beta: taken back
        QCOMPARE(from->currentIndex(), 0);
    }

    // A start after the end is refused with a message, and the field left
    // takes back its text. When the focus went to "&Tisk", the button says
    // it and closes nothing; the buttons check what the fields hold too.
    void anEndBeforeTheStartIsRefused()
    {
        find<QRadioButton>("RadioButton2")->click();
        auto *from = find<QLineEdit>("MaskEdit1");
        const QString refusal = QStringLiteral("Konec časového rozsahu (06:00) je dříve než jeho začátek (%1).");
        typeInto(find<QLineEdit>("MaskEdit2"), QStringLiteral("0600"));
        typeInto(from, QStringLiteral("0700"));
        QCOMPARE(m_prompter.messages(), QStringList{refusal.arg(QStringLiteral("07:00"))});
        QCOMPARE(from->text(), QStringLiteral("00:00"));

        m_prompter.log.clear();
        from->setFocus();
        QTRY_VERIFY(from->hasFocus());
        from->home(false);
        GuiKeys::type(from, QStringLiteral("0800"));
        QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
        QCOMPARE(m_prompter.messages(), QStringList{refusal.arg(QStringLiteral("08:00"))});
        QCOMPARE(from->text(), QStringLiteral("00:00"));
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->action(), PrintToBitmapDialog::Action::None);

        m_prompter.log.clear();
        from->setText(QStringLiteral("09:00"));
        find<QPushButton>("BitBtn4")->click();
        QCOMPARE(m_prompter.messages(), QStringList{refusal.arg(QStringLiteral("09:00"))});
        QVERIFY(m_dialog->isVisible());
        from->setText(QStringLiteral("06:00")); // an empty range is a range
        find<QPushButton>("BitBtn4")->click();
        QCOMPARE(m_dialog->action(), PrintToBitmapDialog::Action::Export);
    }

    void printAndExportCloseTheDialogWithTheirAction()
    {
        const std::pair<const char *, PrintToBitmapDialog::Action> buttons[] = {
            {"BitBtn1", PrintToBitmapDialog::Action::Print}, {"BitBtn4", PrintToBitmapDialog::Action::Export}};
        for (auto [name, action] : buttons) {
            QVERIFY(GuiKeys::activate(m_dialog.get()));
            QCOMPARE(m_dialog->action(), PrintToBitmapDialog::Action::None); // showing forgets the last
            find<QSpinBox>("SpinEdit1")->setValue(2);
            find<QPushButton>(name)->click();
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
            QCOMPARE(m_dialog->action(), action);
            QCOMPARE(m_dialog->choice().layers, 2); // the controls keep what they held
        }
    }
};

QTEST_MAIN(PrintToBitmapDialogTest)
#include "PrintToBitmapDialogTest.moc"
