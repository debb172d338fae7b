#include "DialogButtons.h"

#include <QHBoxLayout>

QHBoxLayout *OkCancelRow(QWidget *dialog, TBitBtn *&ok, TBitBtn *&cancel)
{
    auto *row = new QHBoxLayout;
    ok = new TBitBtn(dialog);
    ok->Tag = 1;
    ok->SetCaption("OK");
    ok->setDefault(true);
    cancel = new TBitBtn(dialog);
    cancel->Tag = 2;
    cancel->SetCaption("Cancel");
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    if (auto *modal = qobject_cast<QDialog *>(dialog))
        QObject::connect(cancel, &QPushButton::clicked, modal, &QDialog::reject);
    return row;
}

TLabel *TaggedLabel(QWidget *owner, int tag, const char *text)
{
    auto *l = new TLabel(owner);
    l->Tag = tag;
    l->SetCaption(text);
    return l;
}
