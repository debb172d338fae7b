#include "RemoteGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

TRemoteGrid::TRemoteGrid(QWidget *parent) : QAbstractScrollArea(parent)
{
    // The column widths of the INI files were made for this size.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    rowHeight_ = QFontMetrics(small).height() + 4;
    header_ = new QHeaderView(Qt::Horizontal, this);
    header_->setFont(small);
    header_->setSectionsClickable(false);
    header_->setHighlightSections(false);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    header_->setStretchLastSection(false);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(1);
    connect(header_, &QHeaderView::sectionResized, this, [this] {
        UpdateScrollBars();
        viewport()->update();
    });
}

void TRemoteGrid::setModel(QAbstractItemModel *model)
{
    model_ = model;
    header_->setModel(model);
    auto changed = [this] {
        current_ = std::min(current_, RowCount());
        UpdateScrollBars();
        viewport()->update();
    };
    connect(model, &QAbstractItemModel::modelReset, this, [this, changed] {
        current_ = -1;
        changed();
    });
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    // Only the rows that changed are drawn again: a whole repaint would ask
    // again for every row in view whose answer is no longer cached.
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) { UpdateRows(from.row() + 1, to.row() + 1); });
    UpdateScrollBars();
}

int TRemoteGrid::RowCount() const { return model_ ? model_->rowCount() : 0; }

int TRemoteGrid::VisibleRows() const { return std::max(1, viewport()->height() / rowHeight_); }

int TRemoteGrid::TopRow() const { return verticalScrollBar()->value() + 1; }

int TRemoteGrid::BottomRow() const
{
    // In 64 bits: the rows may number as many as an int holds.
    const qint64 partly = (viewport()->height() + rowHeight_ - 1) / rowHeight_;
    return static_cast<int>(std::min<qint64>(RowCount(), verticalScrollBar()->value() + partly));
}

int TRemoteGrid::RowAt(int y) const
{
    const qint64 row = qint64(verticalScrollBar()->value()) + y / rowHeight_ + 1;
    return row <= RowCount() ? static_cast<int>(row) : -1;
}

void TRemoteGrid::UpdateScrollBars()
{
    // A selected row in full view stays so when the view shrinks (a window
    // sized or framed after its first answer).
    const bool inView = current_ >= TopRow() && current_ - TopRow() < shownRows_;
    const int header = header_->sizeHint().height();
    setViewportMargins(0, header, 0, 0);
    header_->setGeometry(viewport()->x(), viewport()->y() - header, viewport()->width(), header);
    verticalScrollBar()->setRange(0, std::max(0, RowCount() - VisibleRows()));
    verticalScrollBar()->setPageStep(VisibleRows());
    horizontalScrollBar()->setRange(0, std::max(0, header_->length() - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    shownRows_ = VisibleRows();
    if (inView)
        ScrollTo(current_);
}

void TRemoteGrid::ScrollTo(int row)
{
    if (row < TopRow())
        verticalScrollBar()->setValue(row - 1);
    else if (row - TopRow() >= VisibleRows())
        verticalScrollBar()->setValue(row - VisibleRows());
}

void TRemoteGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TRemoteGrid::scrollContentsBy(int, int)
{
    header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

void TRemoteGrid::SelectRow(int row)
{
    if (row < 1 || row > RowCount())
        return;
    UpdateScrollBars();
    ScrollTo(row);
    SetCurrent(row);
}

void TRemoteGrid::SetCurrent(int row)
{
    if (row == current_)
        return;
    UpdateRows(current_, current_);
    current_ = row;
    UpdateRows(row, row);
    emit CurrentRowChanged(row);
}

void TRemoteGrid::UpdateRows(int from, int to)
{
    const int first = std::max(from, TopRow()), last = std::min(to, BottomRow());
    if (first <= last)
        viewport()->update(0, (first - TopRow()) * rowHeight_, viewport()->width(), (last - first + 1) * rowHeight_);
}

void TRemoteGrid::ShiftTop(int rows)
{
    UpdateScrollBars();
    verticalScrollBar()->setValue(verticalScrollBar()->value() + rows);
}

void TRemoteGrid::ScrollToEnd()
{
    UpdateScrollBars();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

int TRemoteGrid::ColumnWidth(int col) const { return header_->sectionSize(col); }

void TRemoteGrid::SetColumnWidth(int col, int width) { header_->resizeSection(col, width); }

void TRemoteGrid::paintEvent(QPaintEvent *event)
{
    if (!model_)
        return;
    QPainter p(viewport());
    const QPalette &pal = palette();
    const QRect area = event->rect();
    p.fillRect(area, pal.base());
    const int columns = model_->columnCount();
    // Only the rows being drawn are asked for.
    const qint64 top = TopRow();
    const qint64 first = top + area.top() / rowHeight_;
    const qint64 bottom = std::min<qint64>(BottomRow(), top + area.bottom() / rowHeight_);
    const QColor lines = pal.color(QPalette::Mid);
    for (qint64 r = first; r <= bottom; ++r) {
        const int row = static_cast<int>(r);
        const int y = static_cast<int>(r - top) * rowHeight_;
        const bool selected = row == current_;
        for (int col = 0; col < columns; ++col) {
            const QRect cell(header_->sectionViewportPosition(col), y, header_->sectionSize(col), rowHeight_);
            if (cell.right() < 0 || cell.left() > viewport()->width())
                continue;
            // Column 0 is the fixed column, never filled.
            if (col == 0)
                p.fillRect(cell, pal.button());
            else if (selected)
                p.fillRect(cell, pal.highlight());
            const QString text = model_->data(model_->index(row - 1, col), Qt::DisplayRole).toString();
            if (!text.isEmpty()) {
                p.setClipRect(cell.adjusted(0, 0, -1, -1));
                p.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
                p.drawText(cell.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
                p.setClipping(false);
            }
            p.setPen(lines);
            p.drawLine(cell.topRight(), cell.bottomRight());
            p.drawLine(cell.bottomLeft(), cell.bottomRight());
        }
    }
}

void TRemoteGrid::mousePressEvent(QMouseEvent *event)
{
    pressed_ = false;
    if (event->button() != Qt::LeftButton)
        return;
    const int row = RowAt(event->position().toPoint().y());
    if (row < 1)
        return;
    pressed_ = true;
    SetCurrent(row);
}

void TRemoteGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (pressed_ && event->button() == Qt::LeftButton)
        emit Clicked();
    pressed_ = false;
}

void TRemoteGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    pressed_ = false;
    if (event->button() == Qt::LeftButton && RowAt(event->position().toPoint().y()) >= 1)
        emit DoubleClicked();
}

void TRemoteGrid::keyPressEvent(QKeyEvent *event)
{
    const int rows = RowCount();
    qint64 row = current_ < 1 ? TopRow() : current_;
    switch (event->key()) {
    case Qt::Key_Up: row -= 1; break;
    case Qt::Key_Down: row += 1; break;
    case Qt::Key_PageUp: row -= VisibleRows(); break;
    case Qt::Key_PageDown: row += VisibleRows(); break;
    case Qt::Key_Home: row = 1; break;
    case Qt::Key_End: row = rows; break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    if (rows > 0)
        SelectRow(static_cast<int>(std::clamp<qint64>(row, 1, rows)));
}
