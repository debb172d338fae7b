#include "Dbfrepre.h"

#include "ContactMemo.h"
#include "DbView.h"
#include "Dbf.h"
#include "Fce.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "UnkeptText.h"

#include <QHBoxLayout>

TFDbfRepre::TFDbfRepre(QWidget *owner, TDbView *contacts, TDbView *nums, TDbView *repres,
                       const std::string &firmName, bool canCall, bool insert)
    : TDialog(owner), FirmName(firmName), repres_(repres), insert_(insert)
{
    Tag = 10100;
    SetCaption("Z\xE1stupce");
    auto *layout = new QVBoxLayout(this);
    Panel1 = new TPanel(this);
    auto *top = new QGridLayout(Panel1);
    DBEditTitle = AddFieldRow(Panel1, top, 0, 10101, "Titl:");
    DBEditName = AddFieldRow(Panel1, top, 1, 10103, "Jm\xE9no:");
    DBEditSurName = AddFieldRow(Panel1, top, 2, 10102, "P\xF8ijmen\xED:");
    DBEditTitul = AddFieldRow(Panel1, top, 3, 10104, "Titl:");
    DBRadioGroupMuz = new TDBRadioGroup(Panel1);
    DBRadioGroupMuz->Tag = 10110;
    DBRadioGroupMuz->SetCaption("Pohlav\xED");
    DBRadioGroupMuz->AddItem("Mu\x9E");
    DBRadioGroupMuz->AddItem("\x8E" "ena");
    top->addWidget(DBRadioGroupMuz, 0, 2, 4, 1);
    GroupBox1 = new TGroupBox(Panel1);
    auto *job = new QGridLayout(GroupBox1);
    DBEditFce = AddFieldRow(GroupBox1, job, 0, 10120, "Funkce:");
    DBEditEmail = AddFieldRow(GroupBox1, job, 1, 10121, "Email:");
    top->addWidget(GroupBox1, 4, 0, 1, 3);
    layout->addWidget(Panel1);

    PageControl1 = AddPagesPanel(this, Panel2);
    Nums = AddNumPage(PageControl1, 10130, nums, {{"NUM", 2140, 150}, {"Typ", 2141, 80}}, this);
    SpeedButtonDialRepre = AddSpeedButton(Nums.Bar, 500, "\u260E", "Vyto\xC4\x8Dit");
    SpeedButtonHangRepre = AddSpeedButton(Nums.Bar, 1005, "\u2715", "Zav\xC4\x9Bsit");
    Contacts = AddContactPage(PageControl1, 10140, contacts,
                              {{"DATUM", 2130, 75}, {"SUBJECT", 2131, 200}, {"Check", 2132, 30}}, this);
    SpeedButtonCheck = Contacts.Check;
    DBMemoContact = Contacts.Memo;
    DBMemo = AddNotePage(PageControl1, 10150);
    layout->addWidget(Panel2, 1);
    Panel3 = AddButtonPanel(this, BitBtn1, BitBtn2);
    layout->addWidget(Panel3);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(SpeedButtonDialRepre, &QToolButton::clicked, this, [] { FDbf->SpeedButtonDialNumClick(); });
    connect(SpeedButtonHangRepre, &QToolButton::clicked, this, [] { FDbf->SpeedButtonHangNumClick(); });

    links_.Edit(DBEditTitle, "TITLE");
    links_.Edit(DBEditName, "NAME");
    links_.Edit(DBEditSurName, "SURNAME");
    links_.Edit(DBEditTitul, "TITUL");
    links_.Radio(DBRadioGroupMuz, "MUZ", {"True", "False"});
    links_.Edit(DBEditFce, "FCE", 40); // the window's field is narrower than the column
    links_.Edit(DBEditEmail, "EMAIL");
    if (insert) {
        Panel2->hide();
    } else {
        links_.Memo(DBMemo, "MEMO");
        LoadPageColumns(Nums, WithSlash(DataDir) + "Cfgs/DbfRepreNum.cfg");
        LoadPageColumns(Contacts.Pane, WithSlash(DataDir) + "Cfgs/DbfRepreCont.cfg");
        resize(520, 560);
    }
    links_.Load(repres_->Cursor());
    if (Nls)
        Nls->TranslateForm(this, true);
    if (!insert) {
        SetCaption(Caption() + " " + FirmName);
        SetCallButtons({SpeedButtonDialRepre, SpeedButtonHangRepre}, canCall);
    }
}

TFDbfRepre::~TFDbfRepre()
{
    RemoveContactPage(Contacts);
    if (!insert_) {
        Nums.Grid->SaveColumns(WithSlash(DataDir) + "Cfgs/DbfRepreNum.cfg");
        Contacts.Pane.Grid->SaveColumns(WithSlash(DataDir) + "Cfgs/DbfRepreCont.cfg");
    }
}

void TFDbfRepre::BitBtn1Click()
{
    if (RefuseUnkept(this, links_.Controls()) || Contacts.MemoLink->RefuseUnkept(this))
        return;
    links_.Store(repres_->Cursor());
    Contacts.MemoLink->Commit();
    accept();
}
