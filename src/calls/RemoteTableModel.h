#pragma once
// The grid's view of a remote table: column 0 is the empty fixed column, the
// title row is the header. Asking for a row's text is what asks the exchange
// for its record, so only painted rows are ever requested.
#include "RemoteTable.h"

#include <QAbstractTableModel>

class TRemoteTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TRemoteTableModel(TRemoteTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Hands an answer to the table and tells the view what changed.
    TRemoteTable::TChange ProcessAnswer(const std::string &answer, int selectedRow);
    // The columns or their titles changed.
    void ColumnsChanged();
    // Cells written outside answers (a recording found) are shown.
    void RowChanged(int row);

private:
    TRemoteTable &table_;
    int rows_ = 1;
};
