#pragma once
// The find dialog of the phone book: the text and two options, written back
// to the caller's variables only on OK.
#include "Vcl.h"

#include <string>

class TFDbfFind : public TDialog {
    Q_OBJECT
public:
    TFDbfFind(QWidget *owner, bool *onlyInName, bool *caseSensitive, bool firms, std::string *findText);
    void BitBtnOkClick();

    TLabel *Label1;
    TEdit *Edit1;
    TCheckBox *CheckBoxCase;
    TCheckBox *CheckBoxName;
    TBitBtn *BitBtnOk;
    TBitBtn *BitBtn2;

private:
    bool *onlyInName_;
    bool *caseSensitive_;
    std::string *findText_;
};

// Shows the dialog centred over owner; true on OK.
bool AskFind(QWidget *owner, bool firms, std::string &findText, bool &caseSensitive, bool &onlyInName);
