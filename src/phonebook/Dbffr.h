#pragma once
#include "Vcl.h"

#include <QComboBox>

class TDbView;

// Asks to which firm, or representative of a firm, a new number belongs;
// the choice becomes the phone-book window's selection.
class TFDbfFR : public TDialog {
    Q_OBJECT
public:
    TFDbfFR(QWidget *owner, TDbView *repres, TDbView *firms);
    ~TFDbfFR() override;
    void UpdateOk();
    void RadioGroup1Click();
    void FirmChosen(int index);
    void RepreChosen(int index);
    void BitBtnFirmClick();
    void BitBtnRepreClick();
    void BitBtnOkClick();

    TRadioGroup *RadioGroup1;
    QComboBox *DBLookupComboBoxFirm, *DBLookupComboBoxRepre;
    TBitBtn *BitBtnFirm, *BitBtnRepre, *BitBtnOk, *BitBtn2;

private:
    // Fills a list with a field of the view's rows; the current row chosen when asked.
    void Fill(QComboBox *list, TDbView *view, const char *field, bool chooseCurrent);
    TDbView *repres_, *firms_;
    int repreObserver_ = 0;
    bool filling_ = false;
};
