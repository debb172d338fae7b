#include "Autonew.h"

#include "Cursor.h"
#include "DialogButtons.h"
#include "Nlsfunc.h"

#include <QFormLayout>
#include <QVBoxLayout>

namespace {

const char *const kFields[3] = {"NAME", "NUMBER", "NOTE"};

} // namespace

TFAutoNew::TFAutoNew(QWidget *owner, TDbCursor &table) : TDialog(owner), table_(table)
{
    SetCaption("Record");
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    TEdit **edits[3] = {&DBEdit1, &DBEdit2, &DBEdit3};
    for (int i = 0; i < 3; ++i) {
        TEdit *edit = *edits[i] = new TEdit(this);
        TDbField field = table.FieldByName(kFields[i]);
        edit->setMaxLength(field.Size());
        edit->setMinimumWidth(280);
        edit->SetText(field.AsString());
        auto *label = new TLabel(this);
        label->SetCaption(Nls ? Nls->GetText(6000 + i) : kFields[i]);
        form->addRow(label, edit);
    }
    layout->addLayout(form);
    layout->addLayout(OkCancelRow(this, BitBtnOk, BitBtnCancel));
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFAutoNew::BitBtnOkClick()
{
    TEdit *const edits[3] = {DBEdit1, DBEdit2, DBEdit3};
    for (int i = 0; i < 3; ++i)
        table_.FieldByName(kFields[i]).SetAsString(edits[i]->Text());
    accept();
}
