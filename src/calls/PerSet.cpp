#include "PerSet.h"

#include "DialogButtons.h"
#include "Nlsfunc.h"
#include "UnkeptText.h"

#include <QFormLayout>
#include <QVBoxLayout>

namespace {

TEdit *AddRow(QWidget *dialog, QFormLayout *rows, int tag, const char *caption, const std::string &value)
{
    auto *label = new TLabel(dialog);
    label->Tag = tag;
    label->SetCaption(caption);
    auto *edit = new TEdit(dialog);
    edit->setMinimumWidth(200);
    edit->SetText(value);
    rows->addRow(label, edit);
    return edit;
}

} // namespace

TFPerSet::TFPerSet(QWidget *owner, std::string *number, std::string *text)
    : TDialog(owner), number_(number), text_(text)
{
    Tag = 7400;
    SetCaption("Speed dial");
    auto *layout = new QVBoxLayout(this);
    auto *rows = new QFormLayout;
    EditText = AddRow(this, rows, 7402, "Label:", *text);
    EditNum = AddRow(this, rows, 7401, "Number:", *number);
    layout->addLayout(rows);
    layout->addLayout(OkCancelRow(this, BitBtn1, BitBtn2));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFPerSet::BitBtn1Click()
{
    // The exchange takes code page 1250 too.
    if (RefuseUnkept(this, {EditText, EditNum}))
        return;
    *text_ = EditText->Text();
    *number_ = EditNum->Text();
    accept();
}
