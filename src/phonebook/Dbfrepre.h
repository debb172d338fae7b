#pragma once
#include "DbControls.h"
#include "DbfPanes.h"
#include "Vcl.h"

class TDbView;

// Edits one representative, bound to the window's current representative
// row; for an existing one also its numbers, contacts and note.
class TFDbfRepre : public TDialog {
    Q_OBJECT
public:
    TFDbfRepre(QWidget *owner, TDbView *contacts, TDbView *nums, TDbView *repres, const std::string &firmName,
               bool canCall, bool insert);
    ~TFDbfRepre() override;
    void BitBtn1Click();

    std::string FirmName;
    TPanel *Panel1, *Panel2, *Panel3;
    TEdit *DBEditTitle, *DBEditName, *DBEditSurName, *DBEditTitul, *DBEditFce, *DBEditEmail;
    TDBRadioGroup *DBRadioGroupMuz;
    TGroupBox *GroupBox1;
    TPageControl *PageControl1;
    TPagePane Nums;
    TContactPage Contacts;
    TMemo *DBMemoContact, *DBMemo;
    TSpeedButton *SpeedButtonDialRepre, *SpeedButtonHangRepre, *SpeedButtonCheck;
    TBitBtn *BitBtn1, *BitBtn2;

private:
    TDbView *repres_;
    TDbFieldLinks links_;
    bool insert_;
};
