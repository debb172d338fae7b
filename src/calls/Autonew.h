#pragma once
// One record of the dialler's list: name, number and note of the record the
// table holds in edit or insert; OK writes the fields, the caller posts.
#include "Vcl.h"

class TDbCursor;

class TFAutoNew : public TDialog {
    Q_OBJECT
public:
    TFAutoNew(QWidget *owner, TDbCursor &table);

    TEdit *DBEdit1, *DBEdit2, *DBEdit3;
    TBitBtn *BitBtnOk, *BitBtnCancel;

    void BitBtnOkClick();

private:
    TDbCursor &table_;
};
