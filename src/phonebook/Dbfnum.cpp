#include "Dbfnum.h"

#include "Cursor.h"
#include "DbfPanes.h"
#include "DialogButtons.h"
#include "Nlsfunc.h"
#include "UnkeptText.h"

#include <QHBoxLayout>

namespace {
const char kTypes[] = "TMFL"; // by radio item
}

TFDbfNum::TFDbfNum(QWidget *owner, TDbCursor *nums) : TDialog(owner), nums_(nums)
{
    Tag = 30300;
    SetCaption("\xC8\xEDslo");
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    EditNum = AddFieldRow(this, grid, 0, 30301, "\xC8\xEDslo:");
    layout->addLayout(grid);
    RadioGroupType = new TRadioGroup(this);
    RadioGroupType->Tag = 30310;
    for (const char *item : {"Pevn\xE1", "Mobil", "Fax", "Lok\xE1l"})
        RadioGroupType->AddItem(item);
    layout->addWidget(RadioGroupType);
    layout->addLayout(OkCancelRow(this, BitBtn1, BitBtn2));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    std::string type = nums_->FieldByName("TYPE").AsString();
    int item = 0;
    for (int i = 1; i < 4; ++i)
        if (type.size() == 1 && type[0] == kTypes[i])
            item = i;
    RadioGroupType->SetItemIndex(item);
    EditNum->setMaxLength(nums_->FieldByName("NUM").Size());
    EditNum->SetText(nums_->FieldByName("NUM").AsString());
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFDbfNum::BitBtn1Click()
{
    if (RefuseUnkept(this, {EditNum}))
        return;
    int item = RadioGroupType->ItemIndex();
    nums_->FieldByName("TYPE").SetAsString(std::string(1, kTypes[item >= 0 && item < 4 ? item : 0]));
    nums_->FieldByName("NUM").SetAsString(EditNum->Text());
    accept();
}
