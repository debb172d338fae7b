#include "PaneSplitter.h"

#include <algorithm>

TPaneSplitter::TPaneSplitter(Qt::Orientation orientation, QWidget *parent) : QSplitter(orientation, parent)
{
    connect(this, &QSplitter::splitterMoved, this, [this] {
        const QList<int> now = sizes();
        for (size_t i = 0; i < leading_.size() && i < static_cast<size_t>(now.size()); ++i)
            leading_[i] = now[static_cast<int>(i)];
    });
}

void TPaneSplitter::SetLeading(const std::vector<int> &sizes)
{
    const int panes = count();
    leading_.assign(sizes.begin(), sizes.begin() + std::min<ptrdiff_t>(sizes.size(), std::max(0, panes - 1)));
    QList<int> all;
    int used = 0;
    for (int &s : leading_) {
        s = std::max(s, 0);
        all.append(s);
        used += s + handleWidth();
    }
    // Only the last pane stretches; it takes whatever room is left.
    for (int i = 0; i < panes; ++i)
        setStretchFactor(i, i == panes - 1 ? 1 : 0);
    const int extent = orientation() == Qt::Vertical ? height() : width();
    all.append(std::max(1, extent - used));
    setSizes(all);
}

int TPaneSplitter::HandlePosition(size_t i) const
{
    int at = 0;
    for (size_t k = 0; k <= i && k < leading_.size(); ++k)
        at += leading_[k] + (k < i ? handleWidth() : 0);
    return at;
}
