#include "MessageModel.h"

#include "Cp1250.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

int TMessageModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : Count(); }

QVariant TMessageModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Count())
        return {};
    return ToQ(lines_[static_cast<size_t>(index.row())]);
}

void TMessageModel::DeleteFirst()
{
    if (lines_.empty())
        return;
    if (view_) {
        beginRemoveRows({}, 0, 0);
        lines_.pop_front();
        endRemoveRows();
    } else {
        lines_.pop_front();
    }
}

void TMessageModel::Add(const std::string &line)
{
    if (view_) {
        beginInsertRows({}, Count(), Count());
        lines_.push_back(line);
        endInsertRows();
    } else {
        lines_.push_back(line);
    }
}

int TMessageModel::ItemIndex() const
{
    if (view_)
        return view_->currentIndex().row();
    return index_ < Count() ? index_ : -1;
}

void TMessageModel::SetItemIndex(int index)
{
    index_ = index >= 0 && index < Count() ? index : -1;
    if (view_)
        view_->setCurrentIndex(this->index(index_));
}

void TMessageModel::Attach(QAbstractItemView *view)
{
    if (view_ == view)
        return;
    if (view_) {
        index_ = view_->currentIndex().row();
        QItemSelectionModel *old = view_->selectionModel();
        view_->setModel(nullptr);
        delete old;
    }
    view_ = view;
    if (!view_)
        return;
    // The rows changed unseen while no view was attached.
    beginResetModel();
    endResetModel();
    QItemSelectionModel *old = view_->selectionModel();
    view_->setModel(this);
    delete old;
    SetItemIndex(index_);
}
