#include "ConflictListDialog.h"

#include "conflicts/ConflictCheck.h"
#include "conflicts/ConflictText.h"

#include "WidgetHelpers.h"

#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

ConflictListDialog::ConflictListDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ConflictListDialog"));
    setWindowTitle(QStringLiteral("Konflikty"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    m_list = WidgetHelpers::rowList(
        this, layout, "ConflictList",
        {QStringLiteral("Čas"), QStringLiteral("Místo"), QStringLiteral("Vlaky"), QStringLiteral("Druh")}, 620);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("ConflictSummary"));
    layout->addWidget(m_summary);
    WidgetHelpers::closeRow(this, layout);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &ConflictListDialog::currentChanged);
    connect(m_list, &QTreeWidget::itemActivated, this, &ConflictListDialog::currentChanged);
}

void ConflictListDialog::setConflicts(const Document &doc, const std::vector<Conflict> &conflicts)
{
    fill(doc, conflicts, 0,
         std::count_if(conflicts.begin(), conflicts.end(), [](const Conflict &c) { return c.isWarning(); }));
}

void ConflictListDialog::setConflicts(const Document &doc, const ConflictCheck &check)
{
    fill(doc, check.conflicts(), check.rest(), check.warningCount());
}

void ConflictListDialog::fill(const Document &doc, const std::vector<Conflict> &conflicts, int64_t rest,
                              int64_t warnings)
{
    const int chosenRow = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    const bool hadChoice = chosenRow >= 0 && static_cast<size_t>(chosenRow) < m_conflicts.size();
    const Conflict chosen = hadChoice ? m_conflicts[static_cast<size_t>(chosenRow)] : Conflict();

    m_filling = true;
    m_conflicts = conflicts;
    m_list->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(static_cast<qsizetype>(conflicts.size()));
    for (const Conflict &c : conflicts) {
        auto *item = new QTreeWidgetItem(
            QStringList{ConflictText::span(c), ConflictText::place(doc, c), ConflictText::trains(doc, c),
                        c.isWarning() ? ConflictText::kind(c.kind) + QStringLiteral(" (")
                                            + ConflictText::severity(c.severity) + QStringLiteral(")")
                                      : ConflictText::kind(c.kind)});
        if (c.isWarning()) {
            for (int column = 0; column <= KindColumn; ++column)
                item->setForeground(column, QBrush(Qt::darkGray));
        }
        items << item;
    }
    if (rest > 0) {
        auto *more = new QTreeWidgetItem(QStringList{ConflictText::rest(rest)});
        more->setFlags(Qt::NoItemFlags);
        items << more;
    }
    m_list->addTopLevelItems(items);
    if (hadChoice) {
        const auto again = std::find(m_conflicts.begin(), m_conflicts.end(), chosen);
        if (again != m_conflicts.end())
            m_list->setCurrentItem(m_list->topLevelItem(static_cast<int>(again - m_conflicts.begin())));
    }
    m_filling = false;

    const int64_t errors = static_cast<int64_t>(conflicts.size()) + rest - warnings;
    m_summary->setText(conflicts.empty() ? QStringLiteral("Žádné konflikty")
                                         : QStringLiteral("Chyby: %1, varování: %2").arg(errors).arg(warnings));
}

void ConflictListDialog::chooseFirst()
{
    QTreeWidgetItem *first = m_list->topLevelItem(0);
    if (!first)
        return;
    // Chosen again even when it was: the owner shows it anew.
    m_list->setCurrentItem(nullptr);
    m_list->setCurrentItem(first);
    m_list->scrollToItem(first);
}

QString ConflictListDialog::summary() const
{
    return m_summary->text();
}

void ConflictListDialog::currentChanged()
{
    if (m_filling)
        return;
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row >= 0 && static_cast<size_t>(row) < m_conflicts.size())
        emit conflictChosen(m_conflicts[static_cast<size_t>(row)]);
}
