#include "dialogs/ConflictListDialog.h"

#include "DocumentFixtures.h"
#include "SampleLine.h"

#include "conflicts/ConflictCheck.h"
#include "model/Document.h"

#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

using DocumentFixtures::Row;

// "Konflikty": the rows a check gives, the choice a click makes, and the
// choice kept when the list comes again after an edit.
class ConflictListDialogTest : public QObject
{
    Q_OBJECT

    Document m_doc;

private slots:
    void initTestCase()
    {
        SampleLine::addStation(m_doc, "A", 0);
        SampleLine::addStation(m_doc, "B", 5, &StationKind::zastavka);
        SampleLine::addStation(m_doc, "C", 10);
        // Os 1 up and Os 2 down meet between B and C; Mn 3, as required,
        // follows Os 1 a minute behind.
        DocumentFixtures::addTrain(m_doc, "Os 1", {{1, 10, 0}, {3, 10, 10}});
        DocumentFixtures::addTrain(m_doc, "Os 2", {{3, 10, 2}, {1, 10, 12}});
        DocumentFixtures::addTrain(m_doc, "Mn 3", {{1, 10, 1}, {3, 10, 11}}).podlePotreby = true;
    }

    void rowsSummaryAndChoice()
    {
        ConflictListDialog d;
        QVERIFY(!d.isModal());
        ConflictCheck check(m_doc);
        check.recompute();
        const std::vector<Conflict> conflicts = check.conflicts();
        d.setConflicts(m_doc, conflicts);
        QTreeWidget *list = d.list();
        QCOMPARE(list->topLevelItemCount(), int(conflicts.size()));
        QVERIFY(conflicts.size() >= 3);
        QStringList kinds;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            kinds << list->topLevelItem(i)->text(ConflictListDialog::KindColumn);
        QVERIFY2(kinds.contains(QStringLiteral("křižování na jednokolejné trati")), qPrintable(kinds.join('|')));
        QVERIFY2(kinds.contains(QStringLiteral("nedodržené následné mezidobí (varování)")),
                 qPrintable(kinds.join('|')));
        const auto warnings =
            std::count_if(conflicts.begin(), conflicts.end(), [](const Conflict &c) { return c.isWarning(); });
        QCOMPARE(d.summary(),
                 QStringLiteral("Chyby: %1, varování: %2").arg(qsizetype(conflicts.size()) - warnings).arg(warnings));
        const int meet = int(kinds.indexOf(QStringLiteral("křižování na jednokolejné trati")));
        QCOMPARE(list->topLevelItem(meet)->text(ConflictListDialog::PlaceColumn), QStringLiteral("B – C"));
        QCOMPARE(list->topLevelItem(meet)->text(ConflictListDialog::TrainsColumn), QStringLiteral("Os 1, Os 2"));

        QSignalSpy chosen(&d, &ConflictListDialog::conflictChosen);
        list->setCurrentItem(list->topLevelItem(meet));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.front().front().value<Conflict>(), conflicts[size_t(meet)]);

        // The list again (an edit elsewhere) keeps the row without choosing
        // it anew; a list without it chooses nothing.
        d.setConflicts(m_doc, conflicts);
        QCOMPARE(list->currentItem(), list->topLevelItem(meet));
        QCOMPARE(chosen.count(), 1);
        d.setConflicts(m_doc, {});
        QCOMPARE(list->topLevelItemCount(), 0);
        QCOMPARE(d.summary(), QStringLiteral("Žádné konflikty"));
        QCOMPARE(chosen.count(), 1);
    }
};

QTEST_MAIN(ConflictListDialogTest)
#include "ConflictListDialogTest.moc"
