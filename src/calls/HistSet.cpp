#include "HistSet.h"

#include "DialogButtons.h"
#include "Nlsfunc.h"

#include <QVBoxLayout>

TFHistSet::TFHistSet(QWidget *owner, bool *recDay, bool *recWeek, bool *recMonth, bool *recYear,
                     std::string *txtPath, std::string *wavPath)
    : TDialog(owner), recDay_(recDay), recWeek_(recWeek), recMonth_(recMonth), recYear_(recYear), txtPath_(txtPath),
      wavPath_(wavPath)
{
    Tag = 6000;
    SetCaption("Hist Set");
    auto *layout = new QVBoxLayout(this);
    Label3 = new TLabel(this);
    Label3->Tag = 6021;
    Label3->SetCaption("Cesta k txt soubor\xF9m:");
    EditTxtPath = new TEdit(this);
    EditTxtPath->setMinimumWidth(320);
    Label1 = new TLabel(this);
    Label1->Tag = 6011;
    Label1->SetCaption("Cesta k wav soubor\xF9m:");
    EditWavPath = new TEdit(this);
    CheckBoxDir = new TCheckBox(this);
    CheckBoxDir->Tag = 6022;
    CheckBoxDir->SetCaption("Ukl\xE1" "d\xE1no do podadres\xE1\xF8\xF9");
    ComboBoxDir = new TComboBox(this);
    ComboBoxDir->Tag = 6030;
    for (const char *item : {"Po m\xEC" "s\xED" "c\xED" "ch", "Po t\xFD" "dnech", "Po dnech"})
        ComboBoxDir->AddItem(item);
    for (QWidget *w : std::initializer_list<QWidget *>{Label3, EditTxtPath, Label1, EditWavPath, CheckBoxDir, ComboBoxDir})
        layout->addWidget(w);
    layout->addLayout(OkCancelRow(this, BitBtnOk, BitBtnCanc));
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });

    EditWavPath->SetText(*wavPath);
    EditTxtPath->SetText(*txtPath);
    CheckBoxDir->setChecked(*recYear);
    ComboBoxDir->SetItemIndex(*recDay ? 2 : *recWeek ? 1 : 0);
    if (Nls)
        Nls->TranslateForm(this, true);
    ComboBoxDir->setVisible(CheckBoxDir->isChecked());
    connect(CheckBoxDir, &QCheckBox::toggled, ComboBoxDir, &QWidget::setVisible);
}

void TFHistSet::BitBtnOkClick()
{
    *wavPath_ = EditWavPath->Text();
    *txtPath_ = EditTxtPath->Text();
    *recYear_ = CheckBoxDir->isChecked();
    const int i = ComboBoxDir->ItemIndex();
    if (i >= 0 && i <= 2) {
        *recMonth_ = true;
        *recWeek_ = i == 1;
        *recDay_ = i == 2;
    }
    accept();
}
