#include "Portset.h"

#include "DialogButtons.h"
#include "Nlsfunc.h"

#include <QFormLayout>
#include <QVBoxLayout>

namespace {

TEdit *Edit(QWidget *owner, const std::string &text)
{
    auto *e = new TEdit(owner);
    e->SetText(text);
    e->setMinimumWidth(260);
    return e;
}

} // namespace

TFPorterSet::TFPorterSet(QWidget *owner, std::string *line, std::string *open, int *offset, std::string *www,
                         std::string *ww1, std::string *ww2, std::string *ww3)
    : TDialog(owner), line_(line), open_(open), www_(www), ww1_(ww1), ww2_(ww2), ww3_(ww3), offset_(offset)
{
    Tag = 7200;
    SetCaption("Porter Set");
    auto *layout = new QVBoxLayout(this);
    auto *pages = new TPageControl(this);
    TTabSheet *TabSheet1 = pages->AddPage("Porter");
    TabSheet1->Tag = 7210;
    auto *form = new QFormLayout(TabSheet1);
    EditLine = Edit(TabSheet1, *line);
    EditOpen = Edit(TabSheet1, *open);
    CSpinEditOff = new TCSpinEdit(TabSheet1);
    CSpinEditOff->setRange(-2000, 2000);
    CSpinEditOff->setValue(*offset);
    form->addRow(TaggedLabel(TabSheet1, 7211, "Door line:"), EditLine);
    form->addRow(TaggedLabel(TabSheet1, 7212, "Open code:"), EditOpen);
    // A text of its own: with the open code's, the two labels would read alike.
    form->addRow(TaggedLabel(TabSheet1, 7214, "Browser offset:"), CSpinEditOff);
    form->addRow(TaggedLabel(TabSheet1, 7213, "Camera pages:"));
    EditWWW = Edit(TabSheet1, *www);
    EditWW1 = Edit(TabSheet1, *ww1);
    EditWW2 = Edit(TabSheet1, *ww2);
    EditWW3 = Edit(TabSheet1, *ww3);
    const char *const digits[] = {"0", "1", "2", "3"};
    TEdit *const edits[] = {EditWWW, EditWW1, EditWW2, EditWW3};
    for (int n = 0; n < 4; ++n)
        form->addRow(TaggedLabel(TabSheet1, 0, digits[n]), edits[n]);
    layout->addWidget(pages);
    layout->addLayout(OkCancelRow(this, BitBtnOk, BitBtnCanc));
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFPorterSet::BitBtnOkClick()
{
    *line_ = EditLine->Text();
    *open_ = EditOpen->Text();
    *offset_ = CSpinEditOff->value();
    *www_ = EditWWW->Text();
    *ww1_ = EditWW1->Text();
    *ww2_ = EditWW2->Text();
    *ww3_ = EditWW3->Text();
    accept();
}
