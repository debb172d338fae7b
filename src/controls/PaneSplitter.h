#pragma once
// A splitter whose leading panes keep the pixel sizes they are given, like
// panels of fixed size before one that takes the rest: resizing the window
// changes only the last pane. The sizes given hold whether or not the
// splitter was ever laid out, until the user drags a handle.
#include <QSplitter>

#include <vector>

class TPaneSplitter : public QSplitter {
    Q_OBJECT
public:
    TPaneSplitter(Qt::Orientation orientation, QWidget *parent = nullptr);
    // Sizes of every pane but the last, once all panes are added.
    void SetLeading(const std::vector<int> &sizes);
    const std::vector<int> &Leading() const { return leading_; }
    // Where handle i starts: the panes before it and their handles.
    int HandlePosition(size_t i) const;

private:
    std::vector<int> leading_;
};
