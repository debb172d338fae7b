#pragma once
#include "DbControls.h"
#include "DbfPanes.h"
#include "Vcl.h"

class TDbView;

// Edits one firm, bound to the window's current firm row; for an existing
// firm also its numbers, representatives, contacts and note.
class TFDbfFirm : public TDialog {
    Q_OBJECT
public:
    TFDbfFirm(QWidget *owner, TDbView *contacts, TDbView *nums, TDbView *repres, TDbView *firms, bool canCall,
              bool insert);
    ~TFDbfFirm() override;
    void DBEditNameChange();
    void BitBtnOKClick();

    TPanel *Panel1, *Panel2, *Panel3;
    TEdit *DBEditName, *DBEditStreet, *DBEditCity, *DBEditZip, *DBEditState, *DBEditICO, *DBEditDIC,
        *DBEditEmail, *DBEditWWW;
    TDBCheckBox *DBCheckBoxDealer, *DBCheckBoxSup, *DBCheckBoxCust;
    TGroupBox *GroupBoxAdd;
    TPageControl *PageControl1;
    TPagePane Nums, Repres;
    TContactPage Contacts;
    TMemo *DBMemoContact, *DBMemo1;
    TSpeedButton *SpeedButtonDialNum, *SpeedButtonHangNum, *SpeedButtonDialRepre, *SpeedButtonHangRepre,
        *SpeedButtonCheck;
    TBitBtn *BitBtnOK, *BitBtn2;

private:
    TDbView *firms_;
    TDbFieldLinks links_;
    bool insert_;
};
