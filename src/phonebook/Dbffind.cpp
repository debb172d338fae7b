#include "Dbffind.h"

#include "DialogButtons.h"
#include "Fce.h"
#include "Nlsfunc.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TFDbfFind::TFDbfFind(QWidget *owner, bool *onlyInName, bool *caseSensitive, bool firms, std::string *findText)
    : TDialog(owner), onlyInName_(onlyInName), caseSensitive_(caseSensitive), findText_(findText)
{
    Tag = 8700;
    SetCaption("Hledej");
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    Label1 = new TLabel(this);
    Label1->Tag = 8701;
    Label1->SetCaption("Text:");
    Edit1 = new TEdit(this);
    Edit1->setMinimumWidth(240);
    Label1->setBuddy(Edit1);
    row->addWidget(Label1);
    row->addWidget(Edit1, 1);
    layout->addLayout(row);
    CheckBoxCase = new TCheckBox(this);
    CheckBoxCase->Tag = 8703;
    CheckBoxCase->SetCaption("Rozli\x9Aovat mal\xE9 a velk\xE9 znaky");
    CheckBoxCase->setChecked(*caseSensitive);
    CheckBoxName = new TCheckBox(this);
    // The caption names the name for firms and the surname for representatives.
    CheckBoxName->Tag = firms ? 8704 : 8705;
    CheckBoxName->SetCaption("Hledat pouze ve jm\xE9n\xEC");
    CheckBoxName->setChecked(*onlyInName);
    layout->addWidget(CheckBoxCase);
    layout->addWidget(CheckBoxName);
    layout->addLayout(OkCancelRow(this, BitBtnOk, BitBtn2));
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });
    Edit1->SetText(*findText);
    Edit1->selectAll();
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFDbfFind::BitBtnOkClick()
{
    *findText_ = Edit1->Text();
    *caseSensitive_ = CheckBoxCase->isChecked();
    *onlyInName_ = CheckBoxName->isChecked();
    accept();
}

bool AskFind(QWidget *owner, bool firms, std::string &findText, bool &caseSensitive, bool &onlyInName)
{
    TFDbfFind dialog(owner, &onlyInName, &caseSensitive, firms, &findText);
    dialog.adjustSize();
    if (owner)
        CenterForm(owner, &dialog);
    return dialog.exec() == QDialog::Accepted;
}
