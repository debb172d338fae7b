#include "Autoset.h"

#include "DialogButtons.h"
#include "Nlsfunc.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace {

TCSpinEdit *Spin(QWidget *owner, int low, int high, int value)
{
    auto *s = new TCSpinEdit(owner);
    s->setRange(low, high);
    s->setValue(value);
    return s;
}

} // namespace

TFAutoSet::TFAutoSet(QWidget *owner, int *interval, int *repeatCall, int *ringTimeOut)
    : TDialog(owner), interval_(interval), repeatCall_(repeatCall), ringTimeOut_(ringTimeOut)
{
    Tag = 31000;
    SetCaption("Dialler settings");
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    LabelRC = TaggedLabel(this, 31001, "Attempts per number:");
    CSpinEditRC = Spin(this, 1, 500, *repeatCall);
    CheckBoxRC = new TCheckBox(this);
    CheckBoxRC->Tag = 31002;
    CheckBoxRC->SetCaption("Permanently");
    CheckBoxRC->setChecked(*repeatCall == 0);
    CSpinEditRT = Spin(this, 0, 3600, *ringTimeOut);
    CSpinEditCT = Spin(this, 1, 3600, *interval / 1000);
    grid->addWidget(LabelRC, 0, 0);
    grid->addWidget(CSpinEditRC, 0, 1);
    grid->addWidget(CheckBoxRC, 0, 2);
    grid->addWidget(TaggedLabel(this, 31003, "Ring time-out (s):"), 1, 0);
    grid->addWidget(CSpinEditRT, 1, 1);
    grid->addWidget(TaggedLabel(this, 31004, "Call interval (s):"), 2, 0);
    grid->addWidget(CSpinEditCT, 2, 1);
    layout->addLayout(grid);
    layout->addLayout(OkCancelRow(this, BitBtn1, BitBtn2));
    connect(CheckBoxRC, &QCheckBox::clicked, this, [this] { CheckBoxRCClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    CheckBoxRCClick();
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFAutoSet::CheckBoxRCClick()
{
    CSpinEditRC->setEnabled(!CheckBoxRC->isChecked());
    LabelRC->setEnabled(!CheckBoxRC->isChecked());
}

void TFAutoSet::BitBtn1Click()
{
    *ringTimeOut_ = CSpinEditRT->value();
    *interval_ = CSpinEditCT->value() * 1000;
    *repeatCall_ = CheckBoxRC->isChecked() ? 0 : CSpinEditRC->value();
    accept();
}
