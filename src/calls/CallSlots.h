#pragma once
// The call lists the exchange keeps for the line (held calls, waiting calls,
// park positions), by the slot number the exchange gives, and the rows that
// show them. The exchange may leave gaps, so a row keeps which slot it shows;
// a position without a slot is ignored.
#include <string>
#include <vector>

struct TCallSlot {
    std::string Text, Port, Cid;
};

// Slots 1..count shown as the rows of the calls with a text, in slot order,
// and an empty line below them while fewer than blankBelow rows are shown.
class TCallSlots {
public:
    TCallSlots(int count, int blankBelow);

    // false for a position that has no slot.
    bool Store(int pos, TCallSlot call);
    void Clear();
    // No call is listed any more: ports and numbers go, the texts stay until
    // the next Clear, and one empty line is shown.
    void ForgetCalls();
    void Show();

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
class TParkSlots {
public:
    static constexpr int kPositions = 9;
    TParkSlots();

    void Clear();
    // Adds a caller to position pos; false for a position that does not exist.
    bool Store(int pos, const std::string &text, const std::string &cid);
    void Show() { lines_ = texts_; }
    // The calls are gone: every line back to its bare "n:" (the texts stay).
    void ForgetCalls();

    const std::vector<std::string> &Lines() const { return lines_; }
    // The number parked on the position of a row; "" when none or no such row.
    std::string RowCid(int row) const;

private:
    std::vector<std::string> texts_, cids_, lines_;
};
