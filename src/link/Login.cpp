#include "Login.h"

#include "DialogButtons.h"
#include "Fce.h"
#include "Logatt.h"
#include "Nlsfunc.h"

#include <QGridLayout>
#include <QHBoxLayout>

TFLogin::TFLogin(QWidget *owner, std::string &attr, std::string &pass, std::string &user, std::string &line)
    : TDialog(owner), attr_(attr), pass_(pass), user_(user), line_(line)
{
    Tag = 2000;
    SetCaption("Login");
    auto *grid = new QGridLayout(this);
    auto row = [&](int r, int tag, const char *caption, TEdit *&edit, const std::string &value) {
        auto *label = new TLabel(this);
        label->Tag = tag;
        label->SetCaption(caption);
        edit = new TEdit(this);
        edit->SetText(value);
        label->setBuddy(edit);
        grid->addWidget(label, r, 0);
        grid->addWidget(edit, r, 1);
        return label;
    };
    Label1 = row(0, 2001, "User:", EditUser, user);
    Label2 = row(1, 2002, "Password:", EditPass, pass);
    Label3 = row(2, 2003, "Line:", EditLine, line);
    Label4 = row(3, 2004, "Attributes:", EditAttr, attr);
    EditPass->setEchoMode(QLineEdit::Password);
    EditAttr->setEnabled(false);
    Button1 = new TButton(this);
    Button1->Tag = 550;
    Button1->SetCaption("...");
    grid->addWidget(Button1, 3, 2);
    grid->addLayout(OkCancelRow(this, BitBtnOk, BitBtnCancel), 4, 0, 1, 3);
    connect(EditUser, &QLineEdit::textChanged, this, [this] { EditUserChange(); });
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    EditUserChange();
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFLogin::showEvent(QShowEvent *event)
{
    TDialog::showEvent(event);
    if (!user_.empty())
        EditPass->setFocus();
}

void TFLogin::EditUserChange() { BitBtnOk->setEnabled(!EditUser->text().isEmpty()); }

void TFLogin::BitBtnOkClick()
{
    line_ = EditLine->Text();
    user_ = EditUser->Text();
    pass_ = EditPass->Text();
    attr_ = EditAttr->Text();
    accept();
}

void TFLogin::Button1Click()
{
    std::string attr = EditAttr->Text();
    TFLogAtt dialog(this, attr);
    dialog.adjustSize();
    CenterForm(this, &dialog);
    if (dialog.exec() == QDialog::Accepted)
        EditAttr->SetText(attr);
}
