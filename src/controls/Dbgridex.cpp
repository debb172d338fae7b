#include "Dbgridex.h"

#include "AtomicFile.h"
#include "DbView.h"
#include "IniFile.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QWheelEvent>

#include <filesystem>

void TDbGridModel::SetView(TDbView *view)
{
    beginResetModel();
    view_ = view;
    endResetModel();
}

void TDbGridModel::ColumnsChanged()
{
    beginResetModel();
    TitleColors.resize(grid_->Columns.size());
    endResetModel();
}

int TDbGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !view_ ? 0 : view_->Count();
}

int TDbGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(grid_->Columns.size());
}

std::string TDbGridModel::FieldText(TDbCursor &row, const std::string &field) const
{
    std::string text;
    if (CalcField && CalcField(row, field, text))
        return text;
    if (!row.HasField(field))
        return {};
    TDbField f = row.FieldByName(field);
    switch (f.DataType()) {
    case 'D': return f.IsNull() ? std::string() : FromQ(f.AsDate().toString("d.M.yyyy"));
    case 'M': return f.AsString().empty() ? "(memo)" : "(MEMO)";
    default: return f.AsString();
    }
}

QVariant TDbGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !view_ || index.row() >= view_->Count())
        return {};
    const auto &column = grid_->Columns[static_cast<size_t>(index.column())];
    try {
        TDbCursor &reader = view_->Reader();
        uint32_t recno = view_->RecNoAt(index.row());
        if (!reader.BookmarkValid(recno))
            return {};
        reader.GotoBookmark(recno);
        std::string text = FieldText(reader, column.FieldName);
        if (column.FieldName == "Check") // a tick in the symbol font
            return text.empty() ? QString() : QString::fromUtf8("\u2713");
        return ToQ(text);
    } catch (const std::exception &) {
        return {}; // a damaged row paints empty; the grid goes on
    }
}

QVariant TDbGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The rows' header is an indicator column without numbers.
    if (orientation != Qt::Horizontal)
        return {};
    if (section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return ToQ(grid_->Columns[static_cast<size_t>(section)].Title);
    if (role == Qt::ForegroundRole && static_cast<size_t>(section) < TitleColors.size()
        && TitleColors[static_cast<size_t>(section)].isValid())
        return TitleColors[static_cast<size_t>(section)];
    return {};
}

bool TDbGridModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &, int)
{
    if (orientation == Qt::Horizontal)
        emit headerDataChanged(orientation, section, section);
    return true;
}

TDBGridEx::TDBGridEx(QWidget *parent) : TDBGrid(parent), model_(new TDbGridModel(this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setWordWrap(false);
    verticalHeader()->setFixedWidth(12);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(true);
    // The user's moves in the grid move the view; the view's moves are followed below.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (!following_ && view_ && current.isValid() && current.row() != view_->Row())
            view_->MoveTo(current.row());
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (OnTitleClick && section >= 0 && static_cast<size_t>(section) < Columns.size())
            OnTitleClick(Columns[static_cast<size_t>(section)].FieldName);
    });
    connect(this, &QTableView::clicked, this, [this] {
        if (OnCellClick)
            OnCellClick();
    });
}

TDBGridEx::~TDBGridEx()
{
    SetView(nullptr);
}

void TDBGridEx::SetView(TDbView *view)
{
    if (view_)
        view_->RemoveObserver(observer_);
    view_ = view;
    model_->SetView(view);
    observer_ = view ? view->AddObserver([this](bool reset) { Follow(reset); }) : 0;
    Follow(false);
}

void TDBGridEx::Follow(bool reset)
{
    following_ = true;
    if (reset)
        model_->SetView(view_);
    int row = view_ ? view_->Row() : -1;
    if (row >= 0) {
        int column = std::max(currentIndex().column(), 0);
        setCurrentIndex(model_->index(row, column));
        scrollTo(model_->index(row, column));
    } else {
        clearSelection();
    }
    viewport()->update();
    following_ = false;
}

void TDBGridEx::SetColumns(const std::vector<Column> &columns)
{
    Columns = columns;
    model_->ColumnsChanged();
    for (int i = 0; i < horizontalHeader()->count(); ++i)
        horizontalHeader()->moveSection(horizontalHeader()->visualIndex(i), i);
}

std::vector<std::pair<TDBGrid::Column, int>> TDBGridEx::ShownColumns() const
{
    std::vector<std::pair<Column, int>> out;
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual) {
        int logical = horizontalHeader()->logicalIndex(visual);
        if (logical >= 0 && static_cast<size_t>(logical) < Columns.size())
            out.emplace_back(Columns[static_cast<size_t>(logical)], columnWidth(logical));
    }
    return out;
}

void TDBGridEx::SetTitleColor(size_t column, const QColor &color)
{
    if (column >= model_->TitleColors.size())
        model_->TitleColors.resize(Columns.size());
    if (column < model_->TitleColors.size())
        model_->TitleColors[column] = color;
    model_->setHeaderData(static_cast<int>(column), Qt::Horizontal, {}, Qt::ForegroundRole);
}

namespace {
constexpr int kMaxColumns = 200;
}

bool TDBGridEx::LoadColumns(const std::string &path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    TIniFile file(path);
    int count = file.ReadInteger("Columns", "Count", 0);
    if (count <= 0 || count > kMaxColumns)
        return false;
    std::vector<Column> columns;
    std::vector<int> widths;
    for (int i = 1; i <= count; ++i) {
        std::string section = "Column" + std::to_string(i);
        Column c{file.ReadString(section, "FieldName", ""), file.ReadString(section, "Title", "")};
        if (c.FieldName.empty())
            return false;
        columns.push_back(c);
        widths.push_back(std::clamp(file.ReadInteger(section, "Width", 64), 8, 2000));
    }
    SetColumns(columns);
    for (size_t i = 0; i < widths.size(); ++i)
        setColumnWidth(static_cast<int>(i), widths[i]);
    LayoutLoaded = true;
    return true;
}

void TDBGridEx::SaveColumns(const std::string &path) const
{
    std::string text = "[Columns]\r\n";
    auto shown = ShownColumns();
    text += "Count=" + std::to_string(shown.size()) + "\r\n";
    for (size_t i = 0; i < shown.size(); ++i) {
        text += "[Column" + std::to_string(i + 1) + "]\r\n";
        text += "FieldName=" + shown[i].first.FieldName + "\r\n";
        text += "Title=" + shown[i].first.Title + "\r\n";
        text += "Width=" + std::to_string(shown[i].second) + "\r\n";
    }
    atomicfile::Replace(path, text);
}

void TDBGridEx::WMMouseWheel(int delta)
{
    if (!view_ || view_->IsEmpty())
        return;
    if (delta < 0)
        view_->Next();
    else
        view_->Prior();
}

void TDBGridEx::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Also below the last row: an empty grid's double click inserts.
    TDBGrid::mouseDoubleClickEvent(event);
    if (OnDblClick)
        OnDblClick();
}

void TDBGridEx::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    int button = -1;
    if (event->key() == Qt::Key_Insert && mods == Qt::NoModifier)
        button = nbInsert;
    else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_F2) &&
             mods == Qt::NoModifier)
        button = nbEdit;
    else if (event->key() == Qt::Key_Delete && mods == Qt::ControlModifier)
        button = nbDelete;
    if (button < 0 || !OnNavigateKey) {
        TDBGrid::keyPressEvent(event);
        return;
    }
    event->accept();
    if (button == nbInsert || (view_ && view_->HasRow()))
        OnNavigateKey(static_cast<TNavigateBtn>(button));
}

void TDBGridEx::wheelEvent(QWheelEvent *event)
{
    // A horizontal wheel does nothing; a vertical message moves one record.
    if (event->angleDelta().y() != 0)
        WMMouseWheel(event->angleDelta().y());
    event->accept();
}
