#include "Dialnum.h"

#include "DialogButtons.h"
#include "Nlsfunc.h"

#include <QFormLayout>
#include <QVBoxLayout>

TFDialNum::TFDialNum(QWidget *owner, std::string *number, std::string *label)
    : TDialog(owner), number_(number), label_(label)
{
    Tag = 7400;
    SetCaption("Speed dial");
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    Label1 = new TLabel(this);
    Label1->Tag = 7401;
    Label1->SetCaption("Number:");
    EditNum = new TEdit(this);
    EditNum->setMinimumWidth(220);
    Label2 = new TLabel(this);
    Label2->Tag = 7402;
    Label2->SetCaption("Label:");
    EditLab = new TEdit(this);
    form->addRow(Label1, EditNum);
    form->addRow(Label2, EditLab);
    layout->addLayout(form);
    CheckBoxSPK = new TCheckBox(this);
    CheckBoxSPK->Tag = 7403;
    CheckBoxSPK->SetCaption("Hang up after dialling");
    layout->addWidget(CheckBoxSPK);
    layout->addLayout(OkCancelRow(this, BitBtnOk, BitBtn2));
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });

    const bool hangUp = !number->empty() && (*number)[0] == 'S';
    EditNum->SetText(hangUp ? number->substr(1, 1000) : *number);
    CheckBoxSPK->setChecked(hangUp);
    // Connected only now, so the caller's label survives the filling above.
    connect(EditNum, &QLineEdit::textChanged, this, [this] { EditNumChange(); });
    EditLab->SetText(*label);
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFDialNum::EditNumChange() { EditLab->SetText(EditNum->Text()); }

void TFDialNum::BitBtnOkClick()
{
    *number_ = (CheckBoxSPK->isChecked() ? "S" : "") + EditNum->Text();
    *label_ = EditLab->Text();
    accept();
}
