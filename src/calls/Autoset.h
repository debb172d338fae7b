#pragma once
// The dialler's settings: attempts per number (or without limit), ring
// time-out and call interval; written back only on OK.
#include "Vcl.h"

class TFAutoSet : public TDialog {
    Q_OBJECT
public:
    // interval in milliseconds, shown in seconds.
    TFAutoSet(QWidget *owner, int *interval, int *repeatCall, int *ringTimeOut);

    TLabel *LabelRC;
    TCSpinEdit *CSpinEditRC, *CSpinEditRT, *CSpinEditCT;
    TCheckBox *CheckBoxRC;
    TBitBtn *BitBtn1, *BitBtn2;

    void CheckBoxRCClick();
    void BitBtn1Click();

private:
    int *interval_, *repeatCall_, *ringTimeOut_;
};
