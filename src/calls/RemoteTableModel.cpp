#include "RemoteTableModel.h"

#include "Cp1250.h"

TRemoteTableModel::TRemoteTableModel(TRemoteTable &table, QObject *parent)
    : QAbstractTableModel(parent), table_(table), rows_(table.LastRow())
{
}

int TRemoteTableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : rows_; }

int TRemoteTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : table_.Shown + 1;
}

QVariant TRemoteTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || index.column() == 0)
        return {};
    const int row = index.row() + 1;
    table_.RowPainted(row);
    return ToQ(table_.CellText(index.column(), row));
}

QVariant TRemoteTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 1 ||
        section > static_cast<int>(table_.Columns.size()))
        return {};
    return ToQ(table_.Columns[static_cast<size_t>(section - 1)].Title);
}

TRemoteTable::TChange TRemoteTableModel::ProcessAnswer(const std::string &answer, int selectedRow)
{
    const TRemoteTable::TChange change = table_.ProcessAnswer(answer, selectedRow);
    const int rows = table_.LastRow();
    if (change.What == TRemoteTable::TChange::Reset) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    } else if (change.What == TRemoteTable::TChange::Count) {
        // New records are new rows at the newest end.
        const bool top = table_.LastTop();
        if (rows > rows_) {
            beginInsertRows({}, top ? 0 : rows_, top ? rows - rows_ - 1 : rows - 1);
            rows_ = rows;
            endInsertRows();
        } else if (rows < rows_) {
            beginRemoveRows({}, top ? 0 : rows, top ? rows_ - rows - 1 : rows_ - 1);
            rows_ = rows;
            endRemoveRows();
        }
        if (rows_ > 0)
            emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    } else if (change.What == TRemoteTable::TChange::Record) {
        RowChanged(change.Row);
    }
    return change;
}

void TRemoteTableModel::ColumnsChanged()
{
    beginResetModel();
    rows_ = table_.LastRow();
    endResetModel();
}

void TRemoteTableModel::RowChanged(int row)
{
    if (row >= 1 && row <= rows_)
        emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
}
