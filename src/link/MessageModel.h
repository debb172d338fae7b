#pragma once
// The message list as a model: the lines live here, bounded by the link; a
// view is attached only while the link window is shown, so a hidden window
// costs no widget work per message.
#include "MessageList.h"

#include <QAbstractListModel>
#include <QPointer>

#include <deque>
#include <string>

class QAbstractItemView;

class TMessageModel : public QAbstractListModel, public TMessageList {
public:
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    int Count() const override { return static_cast<int>(lines_.size()); }
    void DeleteFirst() override;
    void Add(const std::string &line) override;
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    const std::deque<std::string> &Lines() const { return lines_; }

    // The view shows the list from now on (null: none), at the selected line.
    void Attach(QAbstractItemView *view);

private:
    std::deque<std::string> lines_;
    int index_ = -1;
    QPointer<QAbstractItemView> view_;
};
