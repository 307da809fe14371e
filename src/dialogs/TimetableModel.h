#pragma once

#include "table/TimetableTable.h"

#include <QAbstractTableModel>

#include <memory>

// One direction's timetable table for a QTableView. The window shows a
// table in two views side by side over two of these models: the station
// columns (km, name, arrival or departure), which stay in place, and the
// train columns, which scroll; both have the table's rows. The cells are
// read from the table when painted, never made as widgets.
class TimetableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Part { Stations, Trains };

    explicit TimetableModel(Part part, QObject *parent = nullptr);

    void setTable(std::shared_ptr<const TimetableTable> table);
    const TimetableTable *table() const { return m_table.get(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Part m_part;
    std::shared_ptr<const TimetableTable> m_table;
};
