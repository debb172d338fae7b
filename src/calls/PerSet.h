#pragma once
// Edits one speed dial: its label and number. OK writes both back.
#include "Vcl.h"

#include <string>

class TFPerSet : public TDialog {
    Q_OBJECT
public:
    TFPerSet(QWidget *owner, std::string *number, std::string *text);
    void BitBtn1Click();

    TEdit *EditText, *EditNum;
    TBitBtn *BitBtn1, *BitBtn2;

private:
    std::string *number_, *text_;
};
