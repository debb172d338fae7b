#include "CallSlots.h"

namespace {

std::string Bare(int pos) { return std::to_string(pos) + ":"; }

bool Within(int index, size_t count) { return index >= 0 && static_cast<size_t>(index) < count; }

} // namespace

bool TSlotList::TakeElement(const std::string &act, int pos, const std::function<TCallSlot()> &call)
{
    if (act == "ACT" && pos == -1)
        Clear();
    else if (act == "ACT")
        Store(pos, call());
    else if (act == "/ACT")
        Show();
    else if (act == "END")
        ForgetCalls();
    else
        return false;
    return act != "ACT";
}

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

TParkSlots::TParkSlots()
{
    Clear();
    Show();
}

void TParkSlots::Clear()
{
    texts_.clear();
    for (int pos = 1; pos <= kPositions; ++pos)
        texts_.push_back(Bare(pos));
    cids_.assign(kPositions, {});
    taken_.assign(kPositions, false);
}

bool TParkSlots::Store(int pos, TCallSlot call)
{
    if (!Within(pos - 1, kPositions))
        return false;
    const size_t i = static_cast<size_t>(pos - 1);
    texts_[i] += " " + call.Text;
    cids_[i] = std::move(call.Cid);
    taken_[i] = true;
    return true;
}

void TParkSlots::Show()
{
    lines_ = texts_;
    shownTaken_ = taken_;
}

void TParkSlots::ForgetCalls()
{
    for (int pos = 1; pos <= kPositions; ++pos)
        lines_[static_cast<size_t>(pos - 1)] = Bare(pos);
    cids_.assign(kPositions, {});
    shownTaken_.assign(kPositions, false);
}

std::string TParkSlots::RowCid(int row) const
{
    return Within(row, kPositions) ? cids_[static_cast<size_t>(row)] : std::string();
}

bool TParkSlots::RowFree(int row) const { return Within(row, kPositions) && !shownTaken_[static_cast<size_t>(row)]; }
