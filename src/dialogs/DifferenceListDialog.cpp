#include "DifferenceListDialog.h"

#include "model/Cp1250.h"

#include "WidgetHelpers.h"

#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

DifferenceListDialog::DifferenceListDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DifferenceListDialog"));
    setWindowTitle(QStringLiteral("Rozdíly"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    m_list =
        WidgetHelpers::rowList(this, layout, "DifferenceList",
                               {QStringLiteral("Vlak"), QStringLiteral("Změna"), QStringLiteral("Kde a jak")}, 480);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("DifferenceSummary"));
    layout->addWidget(m_summary);
    m_note = new QLabel(QStringLiteral("Vlaky stejného jména jsou porovnány v pořadí seznamu."), this);
    m_note->setObjectName(QStringLiteral("DifferenceNote"));
    m_note->hide();
    layout->addWidget(m_note);
    WidgetHelpers::closeRow(this, layout);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &DifferenceListDialog::currentChanged);
    connect(m_list, &QTreeWidget::itemActivated, this, &DifferenceListDialog::currentChanged);
}

void DifferenceListDialog::setResult(const TimetableDiff::Result &result)
{
    const int chosenRow = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    const bool hadChoice = chosenRow >= 0 && static_cast<size_t>(chosenRow) < m_rows.size();
    const TimetableDiff::Row chosen = hadChoice ? m_rows[static_cast<size_t>(chosenRow)] : TimetableDiff::Row();

    m_filling = true;
    m_rows = result.rows;
    m_list->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(static_cast<qsizetype>(m_rows.size()));
    for (const TimetableDiff::Row &row : m_rows)
        items << new QTreeWidgetItem(
            QStringList{cp1250::toUnicode(row.name), TimetableDiff::word(row.kind), TimetableDiff::detail(row)});
    m_list->addTopLevelItems(items);
    if (hadChoice) {
        const auto again = std::find(m_rows.begin(), m_rows.end(), chosen);
        if (again != m_rows.end())
            m_list->setCurrentItem(m_list->topLevelItem(static_cast<int>(again - m_rows.begin())));
    }
    m_filling = false;
    m_summary->setText(TimetableDiff::summary(result));
    m_note->setVisible(result.sharedNames);
}

QString DifferenceListDialog::summary() const
{
    return m_summary->text();
}

void DifferenceListDialog::currentChanged()
{
    if (m_filling)
        return;
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row >= 0 && static_cast<size_t>(row) < m_rows.size())
        emit differenceChosen(m_rows[static_cast<size_t>(row)].current, m_rows[static_cast<size_t>(row)].compared);
}
