#include "Logatt.h"

#include "DialogButtons.h"
#include "Nlsfunc.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TFLogAtt::TFLogAtt(QWidget *owner, std::string &attr) : TDialog(owner), attr_(attr)
{
    Tag = 2100;
    SetCaption("Attributes");
    auto *layout = new QVBoxLayout(this);
    GroupBox1 = new TGroupBox(this);
    GroupBox1->Tag = 2110;
    auto *boxes = new QVBoxLayout(GroupBox1);
    auto check = [&](int tag, const char *word) {
        auto *c = new TCheckBox(GroupBox1);
        c->Tag = tag;
        c->SetCaption(word);
        c->setChecked(attr.find(word) != std::string::npos);
        boxes->addWidget(c);
        return c;
    };
    CheckBoxSTS = check(2111, "STS");
    CheckBoxCTI = check(2112, "CTI");
    CheckBoxCMD = check(2113, "CMD");
    layout->addWidget(GroupBox1);
    layout->addLayout(OkCancelRow(this, BitBtn1, BitBtn2));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFLogAtt::BitBtn1Click()
{
    std::string words;
    for (auto [box, word] : {std::pair{CheckBoxSTS, "STS"}, {CheckBoxCTI, "CTI"}, {CheckBoxCMD, "CMD"}}) {
        if (!box->isChecked())
            continue;
        if (!words.empty())
            words += "-";
        words += word;
    }
    attr_ = words;
    accept();
}
