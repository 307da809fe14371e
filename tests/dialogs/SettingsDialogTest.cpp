#include "dialogs/SettingsDialog.h"
#include "app/SettingsCommands.h"

#include "GuiKeys.h"
#include "ScriptedPrompter.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

// TForm9's line fields: what fill shows, what OK hands back (a headway
// still being typed counts).
class SettingsDialogTest : public QObject
{
    Q_OBJECT

    ScriptedPrompter m_prompter;

private slots:
    void theLineFields()
    {
        SettingsDialog dialog(m_prompter);
        auto *single = dialog.findChild<QRadioButton *>(QStringLiteral("RadioButton1"));
        auto *twin = dialog.findChild<QRadioButton *>(QStringLiteral("RadioButton2"));
        auto *headway = dialog.findChild<QSpinBox *>(QStringLiteral("SpinEdit4"));
        QVERIFY(single && twin && headway && dialog.findChild<QGroupBox *>(QStringLiteral("GroupBox5")));
        QCOMPARE(single->text(), QStringLiteral("Jednokolejná trať"));
        QCOMPARE(twin->text(), QStringLiteral("Dvoukolejná trať"));

        SettingsChoice c;
        c.mainTracks = 2;
        c.minHeadway = 7;
        dialog.fill(c);
        QVERIFY(twin->isChecked() && !single->isChecked());
        QCOMPARE(headway->value(), 7);
        QCOMPARE(std::pair(dialog.choice().mainTracks, dialog.choice().minHeadway), std::pair(2, 7));

        QVERIFY(GuiKeys::activate(&dialog));
        single->click();
        headway->setFocus();
        headway->selectAll();
        QTest::keyClicks(headway, QStringLiteral("61"));
        dialog.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        QVERIFY(dialog.ok());
        // The spin box holds no more than an hour.
        QCOMPARE(std::pair(dialog.choice().mainTracks, dialog.choice().minHeadway), std::pair(1, 6));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
