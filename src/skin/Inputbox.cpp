#include "Inputbox.h"

#include "DialogButtons.h"
#include "Nlsfunc.h"

#include <QVBoxLayout>

TFInputBox::TFInputBox(QWidget *owner, std::string *text) : TDialog(owner), text_(text)
{
    Tag = 7500;
    SetCaption("Label text");
    auto *layout = new QVBoxLayout(this);
    Edit1 = new TEdit(this);
    Edit1->setMinimumWidth(260);
    Edit1->SetText(*text);
    layout->addWidget(Edit1);
    layout->addLayout(OkCancelRow(this, BitBtnOk, BitBtn2));
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFInputBox::BitBtnOkClick()
{
    *text_ = Edit1->Text();
    accept();
}
