#include "AutoGrid.h"

#include "AutoList.h"
#include "Cp1250.h"
#include "FailureTrace.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace {

const char *const kFields[3] = {"NAME", "NUMBER", "NOTE"};

// The class library's standard green, navy and red.
QColor StatusColor(double id)
{
    switch (TAutoList::StatusOf(id)) {
    case -1:
        return QColor(0, 128, 0);
    case 0:
        return QColor(0, 0, 128);
    default:
        return QColor(255, 0, 0);
    }
}

// A selected row shows its status colour as the background, in the window colour.
class TStatusDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QColor status = index.data(Qt::ForegroundRole).value<QColor>();
        option->palette.setColor(QPalette::Highlight, status);
        option->palette.setColor(QPalette::HighlightedText, Qt::white);
        option->palette.setColor(QPalette::Text, status);
    }
};

} // namespace

void TAutoGridModel::Open(const std::string &databaseDir, const std::string &tableName)
{
    beginResetModel();
    marks_.clear();
    cached_.Row = -1;
    try {
        cursor_.Close();
        cursor_.DatabaseName = databaseDir;
        cursor_.TableName = tableName;
        cursor_.IndexDefs = TAutoList::Def().Indexes;
        cursor_.Open();
        cursor_.SetIndexName("ID");
        version_ = cursor_.DataVersion() - 1;
    } catch (const std::exception &) {
        TraceFailure("TAutoGridModel::Open");
        cursor_.Close();
    }
    endResetModel();
    Refresh();
}

void TAutoGridModel::Close()
{
    beginResetModel();
    cursor_.Close();
    marks_.clear();
    cached_.Row = -1;
    endResetModel();
}

void TAutoGridModel::Refresh()
{
    if (!cursor_.Active() || cursor_.DataVersion() == version_)
        return;
    beginResetModel();
    version_ = cursor_.DataVersion();
    marks_.clear();
    cached_.Row = -1;
    for (cursor_.First(); !cursor_.Eof(); cursor_.Next())
        marks_.push_back(cursor_.GetBookmark());
    endResetModel();
}

TDbCursor::TBookmark TAutoGridModel::Bookmark(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < marks_.size() ? marks_[static_cast<size_t>(row)] : 0;
}

int TAutoGridModel::RowOf(TDbCursor::TBookmark mark) const
{
    for (size_t i = 0; i < marks_.size(); ++i)
        if (marks_[i] == mark)
            return static_cast<int>(i);
    return -1;
}

void TAutoGridModel::SetTitles(const std::array<std::string, 3> &titles)
{
    titles_ = titles;
    emit headerDataChanged(Qt::Horizontal, 0, 2);
}

int TAutoGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(marks_.size());
}

int TAutoGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 3; }

const TAutoGridModel::TRow &TAutoGridModel::Fetch(int row) const
{
    if (cached_.Row == row)
        return cached_;
    cached_ = TRow();
    try {
        cursor_.GotoBookmark(marks_[static_cast<size_t>(row)]);
        for (int c = 0; c < 3; ++c)
            cached_.Texts[c] = ToQ(cursor_.FieldByName(kFields[c]).AsString());
        cached_.Id = cursor_.FieldByName("ID").AsFloat();
        cached_.Row = row;
    } catch (const std::exception &) {
        // Deleted since the last look: drawn empty until the next refresh.
    }
    return cached_;
}

QVariant TAutoGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return Fetch(index.row()).Texts[index.column()];
    if (role == Qt::ForegroundRole)
        return StatusColor(Fetch(index.row()).Id);
    return {};
}

QVariant TAutoGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return {};
    return section >= 0 && section < 3 ? ToQ(titles_[static_cast<size_t>(section)]) : QVariant();
}

TAutoGrid::TAutoGrid(QWidget *parent) : QTableView(parent)
{
    setModel(&Model);
    setItemDelegate(new TStatusDelegate(this));
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->hide();
    setWordWrap(false);
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(0, 180);
    setColumnWidth(1, 130);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &now) {
        if (!selecting_ && OnCurrentChanged && now.isValid())
            OnCurrentChanged(Model.Bookmark(now.row()));
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (OnDoubleClick)
            OnDoubleClick();
    });
}

void TAutoGrid::SelectRecord(TDbCursor::TBookmark mark)
{
    const int row = Model.RowOf(mark);
    selecting_ = true;
    if (row < 0)
        selectionModel()->clearCurrentIndex();
    else {
        selectionModel()->setCurrentIndex(Model.index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
        scrollTo(Model.index(row, 0));
    }
    selecting_ = false;
}

void TAutoGrid::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const int rows = Model.rowCount();
    if (rows == 0)
        return;
    const int now = currentIndex().isValid() ? currentIndex().row() : 0;
    const int next = event->angleDelta().y() < 0 ? std::min(now + 1, rows - 1) : std::max(now - 1, 0);
    setCurrentIndex(Model.index(next, 0));
}
