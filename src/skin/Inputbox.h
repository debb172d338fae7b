#pragma once
// One line of text (a skin image's label), written back only on OK.
#include "Vcl.h"

#include <string>

class TFInputBox : public TDialog {
    Q_OBJECT
public:
    TFInputBox(QWidget *owner, std::string *text);

    TEdit *Edit1;
    TBitBtn *BitBtnOk, *BitBtn2;

    void BitBtnOkClick();

private:
    std::string *text_;
};
