#include "dialogs/EditMask.h"
#include "editing/TrainListEditor.h"

#include <QLineEdit>
#include <QtTest>

// The program's masks mean what they meant to its users; these tests type
// into a QLineEdit carrying the translated mask and read back what the
// in-place editor would commit.
class EditMaskTest : public QObject
{
    Q_OBJECT

    static QString typeInto(QLineEdit &edit, const QString &programMask, const QString &keys)
    {
        const EditMask mask(programMask);
        mask.apply(&edit);
        edit.setFocus();
        edit.selectAll();
        QTest::keyClicks(&edit, keys);
        return mask.committedText(&edit);
    }

private slots:
    // Qt's own mask letters used as separators of the program are escaped;
    // an escaped mask letter of the program stays a separator.
    void separatorsThatAreQtMaskLetters()
    {
        QCOMPARE(EditMask(QStringLiteral("9D9")).qtInputMask(), QStringLiteral("0\\D0; "));
        QCOMPARE(EditMask(QStringLiteral("99\\9")).qtInputMask(), QStringLiteral("00\\9; "));
        QCOMPARE(EditMask(QStringLiteral("#L")).qtInputMask(), QStringLiteral("#A; "));
        QVERIFY(EditMask(QString()).qtInputMask().isEmpty());
    }

    void typing_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("committed");
        // Blanks in front: the committed text keeps the free positions there.
        QTest::newRow("front blanks") << QStringLiteral("!9999") << QStringLiteral("12") << QStringLiteral("  12");
        QTest::newRow("no fifth digit") << QStringLiteral("!9999") << QStringLiteral("12345") << QStringLiteral("1234");
        QTest::newRow("no letters") << QStringLiteral("!9999") << QStringLiteral("1a2b") << QStringLiteral("  12");
        // Times: the entries the train list reads, the colon left out.
        const QString time = TrainListEditor::timeMask;
        for (const QString entry : {"14", "7", "+", "14+", "1430", "1430-", "0705*", "705"})
            QTest::newRow(qPrintable(entry)) << time << entry << QString(5 - entry.size(), u' ') + entry;
        QTest::newRow("time at most five") << time << QStringLiteral("143012") << QStringLiteral("14301");
    }

    void typing()
    {
        QFETCH(QString, mask);
        QFETCH(QString, keys);
        QFETCH(QString, committed);
        QLineEdit edit;
        QCOMPARE(typeInto(edit, mask, keys), committed);
    }

    void theRequiredPositionTakesOnlyADigit()
    {
        QLineEdit edit;
        typeInto(edit, TrainListEditor::timeMask, QStringLiteral("7"));
        QCOMPARE(edit.displayText(), QStringLiteral("7_:___"));
        typeInto(edit, TrainListEditor::timeMask, QStringLiteral("143a"));
        const QChar fifth = edit.displayText().at(4);
        QVERIFY2(fifth == u'_' || fifth.isDigit(), qPrintable(edit.displayText()));
    }
};

QTEST_MAIN(EditMaskTest)
#include "EditMaskTest.moc"
