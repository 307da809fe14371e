#include "dialogs/EditMask.h"
#include "editing/StationListEditor.h"
#include "editing/TrainListEditor.h"

#include <QLineEdit>
#include <QtTest>

// The program's masks mean what they meant to its users; these tests type
// into a QLineEdit carrying the translated mask and read back what the
// in-place editor would commit.
class EditMaskTest : public QObject
{
    Q_OBJECT

    static QString typeInto(const QString &programMask, const QString &keys, QLineEdit *edit = nullptr)
    {
        QLineEdit local;
        QLineEdit *e = edit ? edit : &local;
        const EditMask mask(programMask);
        mask.apply(e);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, keys);
        return mask.committedText(e);
    }

private slots:
    void translatesByMeaning()
    {
        const EditMask km(StationListEditor::kmMask);
        // Four optional digits: Qt's optional digit is "0".
        QCOMPARE(km.qtInputMask(), QStringLiteral("0000; "));
        QVERIFY(km.blanksAtFront());
        QVERIFY(km.keepsSeparators());

        const EditMask time(TrainListEditor::timeMask);
        // Optional characters, a kept colon, and one required digit: Qt's "9".
        QCOMPARE(time.qtInputMask(), QStringLiteral("xx:x9x;_"));
        QVERIFY(time.blanksAtFront());
        QVERIFY(!time.keepsSeparators());
        QCOMPARE(time.blank(), QChar(u'_'));
        QCOMPARE(time.size(), 6);
        QVERIFY(time.isSeparator(2));
        QVERIFY(!time.isSeparator(3));

        // Qt's own mask letters typed as separators of the program are
        // escaped; an escaped mask letter of the program stays a separator.
        QCOMPARE(EditMask(QStringLiteral("9D9")).qtInputMask(), QStringLiteral("0\\D0; "));
        QCOMPARE(EditMask(QStringLiteral("99\\9")).qtInputMask(), QStringLiteral("00\\9; "));
        QCOMPARE(EditMask(QStringLiteral("#L")).qtInputMask(), QStringLiteral("#A; "));
        QVERIFY(EditMask(QString()).isEmpty());
        QVERIFY(EditMask(QString()).qtInputMask().isEmpty());
    }

    void committedTextKeepsFreePositionsAtTheFront()
    {
        const EditMask time(TrainListEditor::timeMask);
        QCOMPARE(time.committedText(QStringLiteral("14:___")), QStringLiteral("   14"));
        QCOMPARE(time.committedText(QStringLiteral("14:30-")), QStringLiteral("1430-"));
        const EditMask kept(QStringLiteral("!99:99;1;_"));
        QCOMPARE(kept.committedText(QStringLiteral("1_:3_")), QStringLiteral("  1:3"));
        const EditMask keptBehind(QStringLiteral("99:99;1;_"));
        QCOMPARE(keptBehind.committedText(QStringLiteral("1_:3_")), QStringLiteral("1:3  "));
        const EditMask behind(QStringLiteral("9999"));
        QCOMPARE(behind.committedText(QStringLiteral("12  ")), QStringLiteral("12  "));
    }

    void kilometres_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("committed");
        QTest::newRow("digits") << "12"
                                << "  12";
        QTest::newRow("four digits") << "1234"
                                     << "1234";
        QTest::newRow("a fifth digit is not taken") << "12345"
                                                    << "1234";
        QTest::newRow("letters cannot be typed") << "1a2b"
                                                 << "  12";
        QTest::newRow("no sign") << "-5"
                                 << "   5";
        QTest::newRow("no plus either") << "+7"
                                        << "   7";
        QTest::newRow("nothing") << "x"
                                 << "    ";
    }

    void kilometres()
    {
        QFETCH(QString, keys);
        QFETCH(QString, committed);
        QCOMPARE(typeInto(StationListEditor::kmMask, keys), committed);
    }

    void times_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("committed");
        QTest::newRow("minute") << "14"
                                << "14";
        QTest::newRow("one digit") << "7"
                                   << "7";
        QTest::newRow("lone plus") << "+"
                                   << "+";
        QTest::newRow("minute and half") << "14+"
                                         << "14+";
        QTest::newRow("time") << "1430"
                              << "1430";
        QTest::newRow("time and short dwell") << "1430-"
                                              << "1430-";
        QTest::newRow("both flags") << "0705*"
                                    << "0705*";
        QTest::newRow("three digits") << "705"
                                      << "705";
        QTest::newRow("at most five characters") << "143012"
                                                 << "14301";
    }

    void times()
    {
        QFETCH(QString, keys);
        QFETCH(QString, committed);
        QCOMPARE(typeInto(TrainListEditor::timeMask, keys).trimmed(), committed);
    }

    void theRequiredPositionTakesOnlyADigit()
    {
        QLineEdit edit;
        typeInto(TrainListEditor::timeMask, QStringLiteral("143"), &edit);
        QTest::keyClicks(&edit, QStringLiteral("a"));
        // The letter could not go into the digit position.
        const QChar fifth = edit.displayText().at(4);
        QVERIFY2(fifth == u'_' || fifth.isDigit(), qPrintable(edit.displayText()));
        // Nothing typed there yet: for Qt the input is incomplete, which is
        // why the grid commits without asking Qt whether the input is
        // acceptable.
        QLineEdit minute;
        typeInto(TrainListEditor::timeMask, QStringLiteral("14"), &minute);
        QVERIFY(!minute.hasAcceptableInput());
        QLineEdit empty;
        typeInto(StationListEditor::kmMask, QString(), &empty);
        QVERIFY(empty.hasAcceptableInput());
    }

    void freePositionsShowTheBlankCharacter()
    {
        QLineEdit edit;
        typeInto(TrainListEditor::timeMask, QStringLiteral("7"), &edit);
        QCOMPARE(edit.displayText(), QStringLiteral("7_:___"));
    }
};

QTEST_MAIN(EditMaskTest)
#include "EditMaskTest.moc"
