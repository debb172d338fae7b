#pragma once
// The 32 speed dials the exchange keeps for the user, as buttons: a click
// dials the slot as an internal number, a right click edits it and stores it
// in the exchange. Exists only with the command right.
#include "Receivers.h"
#include "SessionWindow.h"

#include <array>
#include <string>

class TBitBtn;

class TFPer : public TSessionWindow, public TSpeedDialReceiver {
    Q_OBJECT
public:
    static constexpr int kSlots = 32;
    TFPer(QWidget *owner, bool canCall, int handle);
    ~TFPer() override;

    void RequestAll();
    void ProcessAnswer(const std::string &act, int pos, const std::string &num, const std::string &text) override;
    void BitBtnClick(int slot);
    void BitBtnMouseDown(int slot, Qt::MouseButton button);

    const int Handle;
    std::array<std::string, kSlots> Numbers, Texts;
    std::array<TBitBtn *, kSlots> Buttons{};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowSlot(int slot);
};

extern TFPer *FPer;
