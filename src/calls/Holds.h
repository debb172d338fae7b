#pragma once
// Held calls: up to 24, and below them the empty hold line while there is
// room; a double click on a call takes it back, on the hold line holds the
// current call.
#include "CallList.h"
#include "CallSlots.h"
#include "Receivers.h"

class TFHold : public TCallListWindow, public TAnswerWindow {
    Q_OBJECT
public:
    static constexpr int kSlots = 24;
    TFHold(QWidget *owner, bool canCall, int handle);
    ~TFHold() override;
    // One tag of a HOLD answer, with the list's opening tag in front.
    void ProcessAnswer(const std::string &message) override;
    // Two presses close together without a click between them (below the
    // rows, say) act as a double click on the last row.
    void ListBoxMouseDown() override;

private:
    std::string RowCid(int row) const override;
    void TakeRow(int row) override;
    TCallSlots slots_{kSlots, kSlots};
};

extern TFHold *FHold;
