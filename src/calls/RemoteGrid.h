#pragma once
// A string grid over a table model that draws only the rows in view and keeps
// nothing per row, so a table of a million records costs what one of ten
// does. One row is selected at a time; the header carries the titles and the
// user's column widths. Rows are numbered from 1 under the title row.
#include "Vcl.h"

#include <QAbstractScrollArea>

class QAbstractItemModel;
class QHeaderView;

class TRemoteGrid : public QAbstractScrollArea, public TTagged {
    Q_OBJECT
public:
    explicit TRemoteGrid(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model);
    QHeaderView *Header() const { return header_; }
    int RowCount() const;
    int SelectedRow() const { return current_; }
    // Selects a row and scrolls it into view.
    void SelectRow(int row);
    int TopRow() const;
    int BottomRow() const;
    // Moves the top visible row down by rows.
    void ShiftTop(int rows);
    void ScrollToEnd();
    int ColumnWidth(int col) const;
    void SetColumnWidth(int col, int width);
    int RowHeight() const { return rowHeight_; }

signals:
    void CurrentRowChanged(int row);
    void Clicked();
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();
    // Scrolls the least that brings the row into full view.
    void ScrollTo(int row);
    // Rows from..to are drawn again when they are in view.
    void UpdateRows(int from, int to);
    void SetCurrent(int row);
    int RowAt(int y) const;
    int VisibleRows() const;

    QAbstractItemModel *model_ = nullptr;
    QHeaderView *header_;
    int current_ = -1;
    int rowHeight_ = 18;
    int shownRows_ = 0; // rows in full view at the last layout
    bool pressed_ = false;
};
