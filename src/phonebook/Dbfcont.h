#pragma once
#include "DbControls.h"
#include "Vcl.h"

class TDbCursor;

// Edits the subject, text and done mark of the current contact row.
class TFDbfContact : public TDialog {
    Q_OBJECT
public:
    TFDbfContact(QWidget *owner, TDbCursor *contacts);
    void BitBtn1Click();

    TEdit *DBEditSubject;
    TMemo *DBMemo1;
    TDBCheckBox *DBCheckBoxChecked;
    TBitBtn *BitBtn1, *BitBtn2;

private:
    TDbCursor *contacts_;
    TDbFieldLinks links_;
};
