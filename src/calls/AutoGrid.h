#pragma once
// The dialler's grid: NAME, NUMBER and NOTE of the table in ID order, each
// row in its status colour. Reads through a cursor of its own, and only the
// rows it draws; the wheel moves one record per notch.
#include "Cursor.h"

#include <QAbstractTableModel>
#include <QTableView>

#include <array>
#include <functional>
#include <string>
#include <vector>

class TAutoGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Opens its own cursor on that table; closed when the table is.
    void Open(const std::string &databaseDir, const std::string &tableName);
    void Close();
    // Rereads the order when the table has changed since the last look.
    void Refresh();
    TDbCursor::TBookmark Bookmark(int row) const;
    int RowOf(TDbCursor::TBookmark mark) const;
    void SetTitles(const std::array<std::string, 3> &titles);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct TRow {
        int Row = -1;
        QString Texts[3];
        double Id = 0;
    };
    const TRow &Fetch(int row) const;
    mutable TDbCursor cursor_;
    std::vector<TDbCursor::TBookmark> marks_;
    uint64_t version_ = 0;
    mutable TRow cached_;
    std::array<std::string, 3> titles_{"Name", "Number", "Note"};
};

class TAutoGrid : public QTableView {
    Q_OBJECT
public:
    explicit TAutoGrid(QWidget *parent);
    TAutoGridModel Model;
    // Selects the row of that record without telling OnCurrentChanged.
    void SelectRecord(TDbCursor::TBookmark mark);

    std::function<void(TDbCursor::TBookmark)> OnCurrentChanged;
    std::function<void()> OnDoubleClick;

protected:
    void wheelEvent(QWheelEvent *event) override;
    // Typed characters go to the panel (they dial), not to a search of the grid.
    void keyboardSearch(const QString &) override {}

private:
    bool selecting_ = false;
};
