#pragma once
// The data grid of the table views: a table model over a TDbView that reads
// only the rows the grid paints, the current row kept in step with the view
// both ways, and one record per wheel step.
#include "DbControls.h"
#include "Vcl.h"

#include <QAbstractTableModel>
#include <QColor>

#include <functional>
#include <string>
#include <vector>

class TDbCursor;
class TDbView;

class TDbGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TDbGridModel(TDBGrid *grid) : QAbstractTableModel(grid), grid_(grid) {}
    void SetView(TDbView *view);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role) override;
    void ColumnsChanged();
    // The text of a field, or of a derived field the grid's owner computes.
    std::string FieldText(TDbCursor &row, const std::string &field) const;
    std::function<bool(TDbCursor &, const std::string &field, std::string &text)> CalcField;
    std::vector<QColor> TitleColors;

private:
    TDBGrid *grid_;
    TDbView *view_ = nullptr;
};

class TDBGridEx : public TDBGrid {
    Q_OBJECT
public:
    explicit TDBGridEx(QWidget *parent = nullptr);
    ~TDBGridEx() override;

    // The grid's data; nullptr: none.
    void SetView(TDbView *view);
    TDbView *View() const { return view_; }
    TDbGridModel *Model() const { return model_; }
    void SetColumns(const std::vector<Column> &columns);
    // Columns in the order the user arranged them, with their widths.
    std::vector<std::pair<Column, int>> ShownColumns() const;
    void SetTitleColor(size_t column, const QColor &color);

    // The layout file: order, fields, titles and widths. A file we cannot
    // read (missing, or some other program's format) leaves the columns as they are.
    bool LoadColumns(const std::string &path);
    void SaveColumns(const std::string &path) const;
    // The columns came from a layout file: their widths are the user's.
    bool LayoutLoaded = false;

    // One wheel message: below 0 the next record, else the prior one.
    void WMMouseWheel(int delta);

    std::function<void()> OnCellClick, OnDblClick;
    // Insert, Enter or F2, Ctrl+Delete: the navigator's insert, edit and
    // delete; edit and delete only on a row.
    std::function<void(TNavigateBtn)> OnNavigateKey;
    std::function<void(const std::string &field)> OnTitleClick;

protected:
    void wheelEvent(QWheelEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Typed characters go to the panel (they dial), not to a search of the grid.
    void keyboardSearch(const QString &) override {}

private:
    void Follow(bool reset);
    TDbGridModel *model_;
    TDbView *view_ = nullptr;
    int observer_ = 0;
    bool following_ = false;
};
