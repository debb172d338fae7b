#pragma once
// The call lists the exchange keeps for the line (held calls, waiting calls,
// park positions), by the slot number the exchange gives, and the rows that
// show them. The exchange may leave gaps, so a row keeps which slot it shows;
// a position without a slot is ignored.
#include <functional>
#include <string>
#include <vector>

struct TCallSlot {
    std::string Text, Port, Cid;
};

// What the lists share: the exchange fills them with the elements of a list
// answer.
class TSlotList {
public:
    virtual ~TSlotList() = default;

    // One element: "ACT" at position -1 starts the list anew, "ACT" at a
    // position stores the call made by `call` there, "/ACT" shows what was
    // stored and "END" says no call is listed any more. True when the lines
    // are to be shown anew.
    bool TakeElement(const std::string &act, int pos, const std::function<TCallSlot()> &call);

    virtual void Clear() = 0;
    // false for a position that has no slot.
    virtual bool Store(int pos, TCallSlot call) = 0;
    virtual void Show() = 0;
    // The calls are gone; what each list keeps is its own.
    virtual void ForgetCalls() = 0;
};

// Slots 1..count shown as the rows of the calls with a text, in slot order,
// and an empty line below them while fewer than blankBelow rows are shown.
class TCallSlots : public TSlotList {
public:
    TCallSlots(int count, int blankBelow);

    bool Store(int pos, TCallSlot call) override;
    void Clear() override;
    // Ports and numbers go, the texts stay until the next Clear, and one
    // empty line is shown.
    void ForgetCalls() override;
    void Show() override;

    std::vector<std::string> Lines() const;
    // The call a row shows; nullptr for the empty line and rows not shown.
    const TCallSlot *RowCall(int row) const;
    std::string RowCid(int row) const;

private:
    std::vector<TCallSlot> slots_;
    std::vector<int> rows_; // slot index of each row, -1 for the empty line
    size_t blankBelow_;
};

// The park positions 1..9: always nine lines "n:", each followed by the
// callers parked there.
class TParkSlots : public TSlotList {
public:
    static constexpr int kPositions = 9;
    TParkSlots();

    void Clear() override;
    // Adds a caller to position pos (its Port is not kept).
    bool Store(int pos, TCallSlot call) override;
    void Show() override;
    // Every line back to its bare "n:" (the texts stay).
    void ForgetCalls() override;

    const std::vector<std::string> &Lines() const { return lines_; }
    // The number parked on the position of a row; "" when none or no such row.
    std::string RowCid(int row) const;
    // Whether the position a row shows has nobody parked on it.
    bool RowFree(int row) const;

private:
    std::vector<std::string> texts_, cids_, lines_;
    std::vector<bool> taken_, shownTaken_;
};
