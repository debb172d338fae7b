#pragma once
// Folders of recorded calls and how the recorder splits them into subfolders.
// Written back through the caller's variables on OK only.
#include "Vcl.h"

#include <string>

class TFHistSet : public TDialog {
    Q_OBJECT
public:
    TFHistSet(QWidget *owner, bool *recDay, bool *recWeek, bool *recMonth, bool *recYear, std::string *txtPath,
              std::string *wavPath);

    TLabel *Label1, *Label3;
    TEdit *EditTxtPath, *EditWavPath;
    TCheckBox *CheckBoxDir;
    TComboBox *ComboBoxDir;
    TBitBtn *BitBtnOk, *BitBtnCanc;

    void BitBtnOkClick();

private:
    bool *recDay_, *recWeek_, *recMonth_, *recYear_;
    std::string *txtPath_, *wavPath_;
};
