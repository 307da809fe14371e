#include "TimetableModel.h"

TimetableModel::TimetableModel(Part part, QObject *parent) : QAbstractTableModel(parent), m_part(part)
{
}

void TimetableModel::setTable(std::shared_ptr<const TimetableTable> table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

int TimetableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_table ? 0 : m_table->rowCount();
}

int TimetableModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_table)
        return 0;
    return m_part == Part::Stations ? 3 : m_table->columnCount();
}

QVariant TimetableModel::data(const QModelIndex &index, int role) const
{
    if (!m_table || !index.isValid())
        return {};
    const int row = index.row(), column = index.column();
    if (role == Qt::TextAlignmentRole) {
        if (m_part == Part::Trains || column == 0)
            return QVariant::fromValue(
                Qt::Alignment((m_part == Part::Trains ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter));
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    if (m_part == Part::Trains)
        return m_table->cell(row, column).text();
    // A station's km and name stand once, on its first row.
    const bool first =
        row == 0
        || m_table->rows()[static_cast<size_t>(row - 1)].station != m_table->rows()[static_cast<size_t>(row)].station;
    switch (column) {
    case 0:
        return first ? m_table->kilometreText(row) : QString();
    case 1:
        return first ? m_table->stationName(row) : QString();
    default:
        return m_table->rowKind(row);
    }
}

QVariant TimetableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!m_table || orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (m_part == Part::Stations)
        return section == 0 ? QStringLiteral("km") : section == 1 ? QStringLiteral("Stanice") : QString();
    // The category over the number, as narrow as the times under it.
    QString name = m_table->columns()[static_cast<size_t>(section)].name;
    const qsizetype blank = name.indexOf(u' ');
    if (blank >= 0)
        name = name.left(blank) + u'\n' + name.mid(blank + 1).trimmed();
    return name;
}
