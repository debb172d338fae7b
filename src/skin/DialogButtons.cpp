#include "DialogButtons.h"

#include <QHBoxLayout>

void AddOkCancel(TDialog *dialog, QBoxLayout *layout, TBitBtn *&ok, TBitBtn *&cancel)
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
    layout->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}
