#include "DbView.h"

#include <algorithm>

TDbView::TDbView(TDbCursor &cursor, TCandidates candidates)
    : cursor_(cursor), candidates_(std::move(candidates))
{
    cursor_.AfterScroll = [this](TDbCursor &) { Scrolled(); };
}

TDbView::~TDbView()
{
    cursor_.AfterScroll = nullptr;
}

TDbCursor &TDbView::Reader()
{
    // The table may have been closed and opened again under the cursor.
    if (cursor_.Active() && (!reader_.Active() || reader_.DataVersion() != cursor_.DataVersion()))
        reader_.OpenLike(cursor_);
    else if (!cursor_.Active())
        reader_.Close();
    return reader_;
}

void TDbView::SetFilter(const std::string &text)
{
    std::vector<TDbCondition> conditions = ParseDbFilter(text);
    if (cursor_.Active())
        for (const TDbCondition &c : conditions)
            cursor_.FieldByName(c.Field); // throws for a field the table lacks
    filter_ = text;
    conditions_ = std::move(conditions);
    Read();
    First();
}

void TDbView::SetIndexName(const std::string &name)
{
    cursor_.DisableControls();
    try {
        cursor_.SetIndexName(name);
    } catch (...) {
        cursor_.EnableControls();
        throw;
    }
    cursor_.EnableControls();
    Refresh();
}

void TDbView::Read()
{
    rows_.clear();
    row_ = -1;
    if (!cursor_.Active()) {
        Tell(true);
        return;
    }
    TDbCursor &r = Reader();
    const std::vector<uint32_t> *candidates = nullptr;
    for (const TDbCondition &c : conditions_)
        if (candidates_ && (candidates = candidates_(c)))
            break;
    if (!candidates && conditions_.empty()) {
        // The whole table already in the index's order.
        r.SetIndexName(cursor_.IndexName());
        for (r.First(); !r.Eof(); r.Next())
            rows_.push_back(r.RecNo());
        r.SetIndexName("");
    } else {
        std::vector<uint32_t> all;
        if (!candidates)
            for (r.First(); !r.Eof(); r.Next())
                all.push_back(r.RecNo());
        rows_ = cursor_.Select(candidates ? *candidates : all, conditions_);
    }
    FindRow();
    Tell(true);
}

void TDbView::FindRow()
{
    uint32_t cur = cursor_.Active() ? cursor_.RecNo() : 0;
    if (row_ >= 0 && row_ < Count() && rows_[static_cast<size_t>(row_)] == cur)
        return;
    auto it = std::find(rows_.begin(), rows_.end(), cur);
    row_ = cur && it != rows_.end() ? static_cast<int>(it - rows_.begin()) : -1;
}

void TDbView::Release()
{
    reader_.Close();
    rows_.clear();
    row_ = -1;
    Tell(true);
}

bool TDbView::Contains(uint32_t recno) const
{
    return recno && std::find(rows_.begin(), rows_.end(), recno) != rows_.end();
}

void TDbView::Refresh()
{
    int was = row_;
    Read();
    if (row_ < 0 && !rows_.empty())
        MoveTo(std::clamp(was, 0, Count() - 1));
    else if (row_ < 0)
        Scrolled();
}

int TDbView::AddObserver(TObserver observer)
{
    observers_.emplace_back(nextObserver_, std::move(observer));
    return nextObserver_++;
}

void TDbView::RemoveObserver(int id)
{
    std::erase_if(observers_, [id](const auto &o) { return o.first == id; });
}

void TDbView::Tell(bool reset)
{
    auto copy = observers_; // an observer may remove itself
    for (auto &o : copy)
        o.second(reset);
}

void TDbView::Scrolled()
{
    FindRow();
    Tell(false);
    if (AfterScroll && !cursor_.ControlsDisabled())
        AfterScroll();
}

void TDbView::MoveTo(int row)
{
    if (rows_.empty()) {
        row_ = -1;
        Scrolled();
        return;
    }
    row = std::clamp(row, 0, Count() - 1);
    // A row another program deleted since the rows were read: read them
    // again and take the nearest, rather than fail on a row that is gone.
    cursor_.DataVersion(); // looks at the file once a turn
    if (!cursor_.BookmarkValid(rows_[static_cast<size_t>(row)])) {
        Read();
        if (rows_.empty()) {
            Scrolled();
            return;
        }
        row = std::clamp(row, 0, Count() - 1);
    }
    row_ = row;
    cursor_.GotoBookmark(rows_[static_cast<size_t>(row)]);
}

bool TDbView::MoveToRecNo(uint32_t recno)
{
    auto it = std::find(rows_.begin(), rows_.end(), recno);
    if (!recno || it == rows_.end())
        return false;
    MoveTo(static_cast<int>(it - rows_.begin()));
    return true;
}

void TDbView::First() { MoveTo(0); }
void TDbView::Last() { MoveTo(Count() - 1); }

void TDbView::Next()
{
    if (row_ + 1 < Count())
        MoveTo(row_ + 1);
}

void TDbView::Prior()
{
    if (row_ > 0)
        MoveTo(row_ - 1);
}
