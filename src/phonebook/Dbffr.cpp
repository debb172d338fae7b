#include "Dbffr.h"

#include "DbView.h"
#include "Dbf.h"
#include "DialogButtons.h"
#include "Nlsfunc.h"

#include <QGridLayout>
#include <QHBoxLayout>

TFDbfFR::TFDbfFR(QWidget *owner, TDbView *repres, TDbView *firms) : TDialog(owner), repres_(repres), firms_(firms)
{
    Tag = 30000;
    SetCaption("P\xF8i\x9Azen\xED kontaktu");
    auto *layout = new QVBoxLayout(this);
    RadioGroup1 = new TRadioGroup(this);
    RadioGroup1->Tag = 30010;
    RadioGroup1->AddItem("Firm");
    RadioGroup1->AddItem("Reprezentant");
    RadioGroup1->SetItemIndex(0);
    layout->addWidget(RadioGroup1);
    auto *grid = new QGridLayout;
    DBLookupComboBoxFirm = new QComboBox(this);
    DBLookupComboBoxFirm->setMinimumWidth(260);
    BitBtnFirm = new TBitBtn(this);
    BitBtnFirm->Tag = 30001;
    BitBtnFirm->SetCaption("Nov\xE1 firma");
    DBLookupComboBoxRepre = new QComboBox(this);
    BitBtnRepre = new TBitBtn(this);
    BitBtnRepre->Tag = 30002;
    BitBtnRepre->SetCaption("Nov\xFD z\xE1stupce");
    grid->addWidget(DBLookupComboBoxFirm, 0, 0);
    grid->addWidget(BitBtnFirm, 0, 1);
    grid->addWidget(DBLookupComboBoxRepre, 1, 0);
    grid->addWidget(BitBtnRepre, 1, 1);
    layout->addLayout(grid);
    layout->addLayout(OkCancelRow(this, BitBtnOk, BitBtn2));
    DBLookupComboBoxRepre->hide();
    BitBtnRepre->hide();
    if (Nls)
        Nls->TranslateForm(this, true);

    Fill(DBLookupComboBoxFirm, firms_, "NAME", false);
    Fill(DBLookupComboBoxRepre, repres_, "SURNAME", false);
    // The representatives follow the firm chosen.
    repreObserver_ = repres_->AddObserver([this](bool reset) {
        if (reset)
            Fill(DBLookupComboBoxRepre, repres_, "SURNAME", false);
    });
    connect(RadioGroup1, &QGroupBox::toggled, this, [this] { RadioGroup1Click(); });
    for (QRadioButton *b : RadioGroup1->findChildren<QRadioButton *>())
        connect(b, &QRadioButton::toggled, this, [this] { RadioGroup1Click(); });
    connect(DBLookupComboBoxFirm, &QComboBox::activated, this, [this](int i) { FirmChosen(i); });
    connect(DBLookupComboBoxRepre, &QComboBox::activated, this, [this](int i) { RepreChosen(i); });
    connect(BitBtnFirm, &QPushButton::clicked, this, [this] { BitBtnFirmClick(); });
    connect(BitBtnRepre, &QPushButton::clicked, this, [this] { BitBtnRepreClick(); });
    connect(BitBtnOk, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });
    UpdateOk();
}

TFDbfFR::~TFDbfFR()
{
    repres_->RemoveObserver(repreObserver_);
}

void TFDbfFR::Fill(QComboBox *list, TDbView *view, const char *field, bool chooseCurrent)
{
    filling_ = true;
    list->clear();
    TDbCursor &reader = view->Reader();
    for (int row = 0; row < view->Count(); ++row) {
        reader.GotoBookmark(view->RecNoAt(row));
        list->addItem(ToQ(reader.FieldByName(field).AsString()), QVariant::fromValue(view->RecNoAt(row)));
    }
    list->setCurrentIndex(chooseCurrent ? view->Row() : -1);
    filling_ = false;
    UpdateOk();
}

void TFDbfFR::UpdateOk()
{
    QComboBox *list = RadioGroup1->ItemIndex() == 1 ? DBLookupComboBoxRepre : DBLookupComboBoxFirm;
    BitBtnOk->setEnabled(!list->currentText().isEmpty());
}

void TFDbfFR::RadioGroup1Click()
{
    bool repre = RadioGroup1->ItemIndex() == 1;
    DBLookupComboBoxRepre->setVisible(repre);
    BitBtnRepre->setVisible(repre);
    UpdateOk();
}

void TFDbfFR::FirmChosen(int index)
{
    if (filling_ || index < 0)
        return;
    firms_->MoveToRecNo(DBLookupComboBoxFirm->itemData(index).toUInt());
    UpdateOk();
    FDbf->SelectFirm();
}

void TFDbfFR::RepreChosen(int index)
{
    if (filling_ || index < 0)
        return;
    repres_->MoveToRecNo(DBLookupComboBoxRepre->itemData(index).toUInt());
    UpdateOk();
}

void TFDbfFR::BitBtnFirmClick()
{
    FDbf->Guard([this] {
        firms_->Cursor().Append();
        FDbf->DBNavigatorFirmClick(nullptr, nbInsert);
        FDbf->SelectFirm();
        Fill(DBLookupComboBoxFirm, firms_, "NAME", true);
    });
}

void TFDbfFR::BitBtnRepreClick()
{
    FDbf->Guard([this] {
        repres_->Cursor().Append();
        FDbf->DBNavigatorRepreClick(nullptr, nbInsert);
        FDbf->SelectRepre();
        Fill(DBLookupComboBoxRepre, repres_, "SURNAME", true);
    });
}

void TFDbfFR::BitBtnOkClick()
{
    // Selected now: the window's own selection would follow only after its delay.
    if (RadioGroup1->ItemIndex() == 1)
        FDbf->SelectRepre();
    else
        FDbf->SelectFirm();
    FDbf->FirmMode = RadioGroup1->ItemIndex() == 0;
    accept();
}
