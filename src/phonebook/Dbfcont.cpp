#include "Dbfcont.h"

#include "Cursor.h"
#include "DbfPanes.h"
#include "DialogButtons.h"
#include "Nlsfunc.h"
#include "UnkeptText.h"

#include <QHBoxLayout>

TFDbfContact::TFDbfContact(QWidget *owner, TDbCursor *contacts) : TDialog(owner), contacts_(contacts)
{
    Tag = 30400;
    SetCaption("Contact");
    resize(420, 320);
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    DBEditSubject = AddFieldRow(this, grid, 0, 30401, "P\xF8" "edm\xECt:");
    layout->addLayout(grid);
    DBMemo1 = new TMemo(this);
    layout->addWidget(DBMemo1, 1);
    DBCheckBoxChecked = new TDBCheckBox(this);
    DBCheckBoxChecked->Tag = 30402;
    DBCheckBoxChecked->SetCaption("Vy\xF8\xEDzen");
    layout->addWidget(DBCheckBoxChecked);
    layout->addLayout(OkCancelRow(this, BitBtn1, BitBtn2));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    links_.Edit(DBEditSubject, "SUBJECT");
    links_.Memo(DBMemo1, "MEMO");
    links_.Check(DBCheckBoxChecked, "CHECKED");
    links_.Load(*contacts_);
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TFDbfContact::BitBtn1Click()
{
    if (RefuseUnkept(this, links_.Controls()))
        return;
    links_.Store(*contacts_);
    accept();
}
