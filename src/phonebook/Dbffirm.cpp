#include "Dbffirm.h"

#include "ContactMemo.h"
#include "DbView.h"
#include "Dbf.h"
#include "Fce.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "UnkeptText.h"

#include <QHBoxLayout>

namespace {

void WindowRepre(QWidget *d, TNavigateBtn b) { FDbf->DBNavigatorRepreClick(d, b); }

TDBCheckBox *Check(QWidget *parent, QLayout *row, int tag, const char *caption)
{
    auto *c = new TDBCheckBox(parent);
    c->Tag = tag;
    c->SetCaption(caption);
    row->addWidget(c);
    return c;
}

} // namespace

TFDbfFirm::TFDbfFirm(QWidget *owner, TDbView *contacts, TDbView *nums, TDbView *repres, TDbView *firms,
                     bool canCall, bool insert)
    : TDialog(owner), firms_(firms), insert_(insert)
{
    Tag = 10000;
    SetCaption("Firm");
    auto *layout = new QVBoxLayout(this);
    Panel1 = new TPanel(this);
    auto *top = new QGridLayout(Panel1);
    DBEditName = AddFieldRow(Panel1, top, 0, 10001, "N\xE1zev:");
    GroupBoxAdd = new TGroupBox(Panel1);
    GroupBoxAdd->Tag = 10002;
    GroupBoxAdd->SetCaption("Adresa");
    auto *address = new QGridLayout(GroupBoxAdd);
    DBEditStreet = AddFieldRow(GroupBoxAdd, address, 0, 10003, "Ulice:");
    DBEditCity = AddFieldRow(GroupBoxAdd, address, 1, 10004, "Obec:");
    DBEditZip = AddFieldRow(GroupBoxAdd, address, 2, 10005, "PS\xC8:");
    DBEditState = AddFieldRow(GroupBoxAdd, address, 3, 10006, "St\xE1t:");
    top->addWidget(GroupBoxAdd, 1, 0, 1, 2);
    DBEditICO = AddFieldRow(Panel1, top, 2, 10010, "I\xC8O:");
    DBEditDIC = AddFieldRow(Panel1, top, 3, 10011, "DI\xC8:");
    DBEditEmail = AddFieldRow(Panel1, top, 4, 10030, "Email:");
    DBEditWWW = AddFieldRow(Panel1, top, 5, 10031, "WWW:");
    auto *checks = new QHBoxLayout;
    DBCheckBoxDealer = Check(Panel1, checks, 10020, "Dealer");
    DBCheckBoxSup = Check(Panel1, checks, 10021, "Dodavatel");
    DBCheckBoxCust = Check(Panel1, checks, 10022, "Z\xE1kazn\xEDk");
    top->addLayout(checks, 6, 0, 1, 2);
    layout->addWidget(Panel1);

    PageControl1 = AddPagesPanel(this, Panel2);
    Nums = AddNumPage(PageControl1, 10040, nums, {{"NUM", 2140, 130}, {"Typ", 2141, 70}, {"Repre", 2133, 110}}, this);
    SpeedButtonDialNum = AddSpeedButton(Nums.Bar, 500, "\u260E", "Vyto\xC4\x8Dit");
    SpeedButtonHangNum = AddSpeedButton(Nums.Bar, 1005, "\u2715", "Zav\xC4\x9Bsit");
    TTabSheet *reprePage = PageControl1->AddPage("Z\xE1stupci");
    reprePage->Tag = 10050;
    Repres = AddPagePane(reprePage, repres,
                         {{"TITLE", 2120, 50}, {"SURNAME", 2121, 120}, {"NAME", 2122, 90}, {"TITUL", 2123, 50}}, this,
                         WindowRepre);
    Repres.Grid->OnCellClick = [] { FDbf->DBGridRepreCellClick(); };
    TDbNavigatorLink *repreNav = Repres.Nav;
    Repres.Grid->OnDblClick = [repreNav] {
        FDbf->DBGridRepreCellClick();
        repreNav->Click(nbEdit);
    };
    SpeedButtonDialRepre = AddSpeedButton(Repres.Bar, 500, "\u260E", "Vyto\xC4\x8Dit");
    SpeedButtonHangRepre = AddSpeedButton(Repres.Bar, 1005, "\u2715", "Zav\xC4\x9Bsit");
    Contacts = AddContactPage(PageControl1, 10070, contacts,
                              {{"DATUM", 2130, 75}, {"SUBJECT", 2131, 180}, {"Check", 2132, 30}, {"Repre", 2133, 100}},
                              this);
    DBMemo1 = AddNotePage(PageControl1, 10060);
    layout->addWidget(Panel2, 1);
    Panel3 = AddButtonPanel(this, BitBtnOK, BitBtn2);
    layout->addWidget(Panel3);
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { BitBtnOKClick(); });
    connect(DBEditName, &QLineEdit::textChanged, this, [this] { DBEditNameChange(); });
    connect(SpeedButtonDialNum, &QToolButton::clicked, this, [] { FDbf->SpeedButtonDialNumClick(); });
    // The representative under the cursor, not one the selection still lags on.
    connect(SpeedButtonDialRepre, &QToolButton::clicked, this,
            [repres] { FDbf->ActOnCursorRow(*repres, [] { FDbf->SpeedButtonDialNumClick(); }); });
    for (TSpeedButton *b : {SpeedButtonHangNum, SpeedButtonHangRepre})
        connect(b, &QToolButton::clicked, this, [] { FDbf->SpeedButtonHangNumClick(); });
    for (auto [edit, field] : {std::pair{DBEditName, "NAME"}, {DBEditStreet, "ADD_STREET"}, {DBEditCity, "ADD_CITY"},
                               {DBEditZip, "ADD_ZIP"}, {DBEditState, "ADD_STATE"}, {DBEditICO, "ICO"},
                               {DBEditDIC, "DIC"}, {DBEditEmail, "EMAIL"}, {DBEditWWW, "WWW"}})
        links_.Edit(edit, field);
    links_.Check(DBCheckBoxDealer, "DEALER");
    links_.Check(DBCheckBoxSup, "SUPPLIER");
    links_.Check(DBCheckBoxCust, "CUSTOMER");
    TDbCursor &firm = firms_->Cursor();
    if (insert) {
        Panel2->hide();
        for (const char *f : {"DEALER", "SUPPLIER", "CUSTOMER"})
            firm.FieldByName(f).SetAsBoolean(false);
    } else {
        links_.Memo(DBMemo1, "MEMO");
        LoadPageColumns(Nums, WithSlash(DataDir) + "Cfgs/DbfFirmNum.cfg");
        LoadPageColumns(Contacts.Pane, WithSlash(DataDir) + "Cfgs/DbfFirmCont.cfg");
        LoadPageColumns(Repres, WithSlash(DataDir) + "Cfgs/DbfFirmRepre.cfg");
        resize(560, 600);
    }
    links_.Load(firm);
    if (Nls)
        Nls->TranslateForm(this, true);
    if (!insert)
        SetCallButtons({SpeedButtonDialNum, SpeedButtonDialRepre, SpeedButtonHangRepre, SpeedButtonHangNum}, canCall);
    SpeedButtonCheck = Contacts.Check;
    DBMemoContact = Contacts.Memo;
    DBEditNameChange();
}

TFDbfFirm::~TFDbfFirm()
{
    RemoveContactPage(Contacts);
    if (!insert_) {
        Nums.Grid->SaveColumns(WithSlash(DataDir) + "Cfgs/DbfFirmNum.cfg");
        Contacts.Pane.Grid->SaveColumns(WithSlash(DataDir) + "Cfgs/DbfFirmCont.cfg");
        Repres.Grid->SaveColumns(WithSlash(DataDir) + "Cfgs/DbfFirmRepre.cfg");
    }
}

void TFDbfFirm::DBEditNameChange()
{
    // A name of blanks only is no name.
    BitBtnOK->setEnabled(!DBEditName->text().trimmed().isEmpty());
}

void TFDbfFirm::BitBtnOKClick()
{
    if (RefuseUnkept(this, links_.Controls()) || Contacts.MemoLink->RefuseUnkept(this))
        return;
    links_.Store(firms_->Cursor());
    Contacts.MemoLink->Commit();
    accept();
}
