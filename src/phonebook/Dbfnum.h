#pragma once
#include "Vcl.h"

class TDbCursor;

// Edits the number and kind of the current numbers row; values are copied
// in and out, not bound.
class TFDbfNum : public TDialog {
    Q_OBJECT
public:
    TFDbfNum(QWidget *owner, TDbCursor *nums);
    void BitBtn1Click();

    TEdit *EditNum;
    TRadioGroup *RadioGroupType;
    TBitBtn *BitBtn1, *BitBtn2;

private:
    TDbCursor *nums_;
};
