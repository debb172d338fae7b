#pragma once
// The door console's settings: door line, open code, browser offset and the
// four camera pages, written back only on OK.
#include "Vcl.h"

#include <string>

class TFPorterSet : public TDialog {
    Q_OBJECT
public:
    TFPorterSet(QWidget *owner, std::string *line, std::string *open, int *offset, std::string *www,
                std::string *ww1, std::string *ww2, std::string *ww3);

    TEdit *EditLine, *EditOpen, *EditWWW, *EditWW1, *EditWW2, *EditWW3;
    TCSpinEdit *CSpinEditOff;
    TBitBtn *BitBtnOk, *BitBtnCanc;

    void BitBtnOkClick();

private:
    std::string *line_, *open_, *www_, *ww1_, *ww2_, *ww3_;
    int *offset_;
};
