#pragma once
#include "Vcl.h"

#include <string>

// The log-in dialog: user, password, line and the rights asked for. The
// caller's values change only on OK.
class TFLogin : public TDialog {
    Q_OBJECT
public:
    TFLogin(QWidget *owner, std::string &attr, std::string &pass, std::string &user, std::string &line);

    TLabel *Label1, *Label2, *Label3, *Label4;
    TEdit *EditUser, *EditPass, *EditLine, *EditAttr;
    TButton *Button1;
    TBitBtn *BitBtnOk, *BitBtnCancel;

    void EditUserChange();
    void BitBtnOkClick();
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::string &attr_, &pass_, &user_, &line_;
};
