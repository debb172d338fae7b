#include "CallSlots.h"

namespace {

std::string Bare(int pos) { return std::to_string(pos) + ":"; }

bool Within(int index, size_t count) { return index >= 0 && static_cast<size_t>(index) < count; }

} // namespace

TCallSlots::TCallSlots(int count, int blankBelow)
    : slots_(static_cast<size_t>(count)), blankBelow_(static_cast<size_t>(blankBelow))
{
}

bool TCallSlots::Store(int pos, TCallSlot call)
{
    if (!Within(pos - 1, slots_.size()))
        return false;
    slots_[static_cast<size_t>(pos - 1)] = std::move(call);
    return true;
}

void TCallSlots::Clear()
{
    for (TCallSlot &slot : slots_)
        slot = {};
}

void TCallSlots::ForgetCalls()
{
    for (TCallSlot &slot : slots_)
        slot.Port.clear(), slot.Cid.clear();
    rows_.assign(1, -1);
}

void TCallSlots::Show()
{
    rows_.clear();
    for (size_t i = 0; i < slots_.size(); ++i)
        if (!slots_[i].Text.empty())
            rows_.push_back(static_cast<int>(i));
    if (rows_.size() < blankBelow_)
        rows_.push_back(-1);
}

std::vector<std::string> TCallSlots::Lines() const
{
    std::vector<std::string> lines;
    for (size_t row = 0; row < rows_.size(); ++row) {
        const TCallSlot *call = RowCall(static_cast<int>(row));
        lines.push_back(call ? call->Text : std::string());
    }
    return lines;
}

const TCallSlot *TCallSlots::RowCall(int row) const
{
    if (!Within(row, rows_.size()) || rows_[static_cast<size_t>(row)] < 0)
        return nullptr;
    return &slots_[static_cast<size_t>(rows_[static_cast<size_t>(row)])];
}

std::string TCallSlots::RowCid(int row) const
{
    const TCallSlot *call = RowCall(row);
    return call ? call->Cid : std::string();
}

TParkSlots::TParkSlots() : cids_(kPositions)
{
    Clear();
    lines_ = texts_;
}

void TParkSlots::Clear()
{
    texts_.clear();
    for (int pos = 1; pos <= kPositions; ++pos)
        texts_.push_back(Bare(pos));
    cids_.assign(kPositions, {});
}

bool TParkSlots::Store(int pos, const std::string &text, const std::string &cid)
{
    if (!Within(pos - 1, kPositions))
        return false;
    texts_[static_cast<size_t>(pos - 1)] += " " + text;
    cids_[static_cast<size_t>(pos - 1)] = cid;
    return true;
}

void TParkSlots::ForgetCalls()
{
    for (int pos = 1; pos <= kPositions; ++pos)
        lines_[static_cast<size_t>(pos - 1)] = Bare(pos);
    cids_.assign(kPositions, {});
}

std::string TParkSlots::RowCid(int row) const
{
    return Within(row, kPositions) ? cids_[static_cast<size_t>(row)] : std::string();
}
