#pragma once
// A speed-dial image's number and label. The stored number carries a leading
// "S" when the panel hangs up after dialling it.
#include "Vcl.h"

#include <string>

class TFDialNum : public TDialog {
    Q_OBJECT
public:
    TFDialNum(QWidget *owner, std::string *number, std::string *label);

    TLabel *Label1, *Label2;
    TEdit *EditNum, *EditLab;
    TCheckBox *CheckBoxSPK;
    TBitBtn *BitBtnOk, *BitBtn2;

    void BitBtnOkClick();
    void EditNumChange();

private:
    std::string *number_, *label_;
};
