#include "dialogs/ProfileDialog.h"
#include "DocumentFixtures.h"
#include "GuiClicks.h"
#include "ScriptedPrompter.h"
#include "app/ProfileCommands.h"
#include "dialogs/ProfileFromTrainDialog.h"

#include "SampleLine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using E = ProfileEditor;
using GuiClicks::click;

// TForm10 and TForm11 as a person uses them: keys into the grid and the
// name, clicks on the direction, the buttons and the train dialog. The rules
// themselves are tested on ProfileEditor.
class ProfileDialogTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Document> m_doc;
    ScriptedPrompter m_prompter;
    std::unique_ptr<ProfileDialog> m_dialog;
    std::unique_ptr<ProfileFromTrainDialog> m_fromTrain;

    ProfileDialog &dialog() { return *m_dialog; }
    StringGrid *grid() { return m_dialog->grid(); }
    template <typename T> T *child(QWidget *w, const char *name) { return w->findChild<T *>(QLatin1String(name)); }
    QString shown(int column, int row) { return grid()->model()->index(row - 1, column).data().toString(); }
    void type(const QString &text) { GuiKeys::type(m_dialog.get(), text); }
    void key(Qt::Key k) { GuiKeys::key(m_dialog.get(), k); }

    void runCommand(std::function<void()> steps)
    {
        GuiKeys::whenActive(m_dialog.get(), [this, steps] {
            QVERIFY(grid()->hasFocus());
            steps();
        });
        ProfileCommands::travelTimes(*m_doc, m_prompter, dialog());
    }

private slots:
    void init()
    {
        m_doc = std::make_unique<Document>();
        for (auto [name, km] : {std::pair{"Praha", 0}, {"Libeň", 5}, {"Kolín", 30}})
            SampleLine::addStation(*m_doc, name, km);
        m_prompter = ScriptedPrompter();
        m_dialog = std::make_unique<ProfileDialog>(*m_doc, m_prompter);
        m_fromTrain = std::make_unique<ProfileFromTrainDialog>(*m_doc);
        m_dialog->setFromTrainDialog(m_fromTrain.get());
    }

    void cleanup() { m_dialog.reset(), m_fromTrain.reset(); }

    void typedTimesWalkTheGridAndOkKeepsThemOneStationIsRefused()
    {
        runCommand([&] {
            type(QStringLiteral("3+"));
            key(Qt::Key_Return);
            type(QStringLiteral("1"));
            key(Qt::Key_Return);
            QTest::mouseClick(child<QLineEdit>(m_dialog.get(), "Edit1"), Qt::LeftButton);
            type(QStringLiteral("Osobní"));
            click(child<QPushButton>(m_dialog.get(), "BitBtn1"));
        });
        QVERIFY(m_prompter.log.isEmpty());
        const TravelTimeProfile &p = m_doc->profiles.at(1, 1);
        QCOMPARE(std::tuple(p.runTimeAt(1), p.dwellAt(1), p.runTimeAt(2)), std::tuple(7, 2, 0));
        QCOMPARE(p.name, QByteArrayView("Osobn\xED"));

        m_doc->stations.resize(1); // a line of one station is refused
        ProfileCommands::travelTimes(*m_doc, m_prompter, dialog());
        QCOMPARE(m_prompter.log, QStringList{QStringLiteral("error: Musite zadat alespoň dvě stanice.")});
        QVERIFY(!dialog().isVisible());
    }

    void theSecondDirectionListsTheStationsBackwardsAndCancelRestores()
    {
        runCommand([&] {
            type(QStringLiteral("4"));
            key(Qt::Key_Return);
            click(child<QRadioButton>(m_dialog.get(), "RadioButton2"));
            QCOMPARE(shown(E::NameColumn, 1), QStringLiteral("Kolín"));
            click(child<QPushButton>(m_dialog.get(), "BitBtn2"));
        });
        QCOMPARE(m_doc->profiles.at(1, 1).runTimeAt(1), 0);
        QCOMPARE(m_doc->profiles.countOf(1), 0);
    }

    void aProfileFromATrainWithAStandardDwell()
    {
        runCommand([&] {
            click(child<QPushButton>(m_dialog.get(), "Button1"));
            QCOMPARE(m_prompter.log, QStringList{QStringLiteral("information: ") + ProfileDialog::noTrainsMessage});
            DocumentFixtures::addTrain(*m_doc, "Os 5401", {{1, 8, 0}, {3, 8, 20}});
            GuiKeys::whenActive(m_fromTrain.get(), [&] {
                QCOMPARE(child<QComboBox>(m_fromTrain.get(), "ComboBox1")->currentText(), QStringLiteral("Os 5401"));
                auto *dwell = child<QLineEdit>(m_fromTrain.get(), "MaskEdit1");
                QVERIFY(!dwell->isEnabled());
                click(child<QCheckBox>(m_fromTrain.get(), "CheckBox1"));
                QVERIFY(dwell->isEnabled());
                QTest::mouseClick(dwell, Qt::LeftButton);
                dwell->selectAll();
                GuiKeys::type(m_fromTrain.get(), QStringLiteral("1+"));
                click(child<QPushButton>(m_fromTrain.get(), "BitBtn2"));
            });
            click(child<QPushButton>(m_dialog.get(), "Button1"));
            QCOMPARE(shown(E::DwellColumn, 3), QStringLiteral("1+"));
            click(child<QPushButton>(m_dialog.get(), "BitBtn1"));
        });
        QCOMPARE(m_fromTrain->standardDwell(), 3);
        QCOMPARE(m_doc->profiles.at(1, 1).dwellAt(2), 3);
    }
};

QTEST_MAIN(ProfileDialogTest)
#include "ProfileDialogTest.moc"
