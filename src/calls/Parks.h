#pragma once
// The nine park positions; a double click parks the current call on a free
// position or picks up the call parked on a taken one.
#include "CallList.h"
#include "CallSlots.h"
#include "Receivers.h"

class TFPark : public TCallListWindow, public TAnswerWindow {
    Q_OBJECT
public:
    TFPark(QWidget *owner, bool canCall, int handle);
    ~TFPark() override;
    // One tag of a PARK answer, with the list's opening tag in front.
    void ProcessAnswer(const std::string &message) override;

private:
    std::string RowCid(int row) const override;
    void TakeRow(int row) override;
    TParkSlots slots_;
};

extern TFPark *FPark;
