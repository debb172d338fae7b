#pragma once
#include "Vcl.h"

#include <string>

// The rights asked for at log-in: the words STS, CTI and CMD.
class TFLogAtt : public TDialog {
    Q_OBJECT
public:
    TFLogAtt(QWidget *owner, std::string &attr);

    TGroupBox *GroupBox1;
    TCheckBox *CheckBoxSTS, *CheckBoxCTI, *CheckBoxCMD;
    TBitBtn *BitBtn1, *BitBtn2;

    void BitBtn1Click();

private:
    std::string &attr_;
};
