#pragma once
// Settings dialog of the exchange link: trace, terminal and address pages.
// Fills its controls from the caller's values and writes them back on OK only.
#include "Vcl.h"

#include <QEventLoop>

#include <string>

class TFXmlSet : public TForm {
    Q_OBJECT
public:
    TFXmlSet(QWidget *owner, bool &trace, bool &traceErase, bool &terminal, bool &showLive, std::string &ip,
             bool connected);

    // Runs until OK or Cancel (or the window is closed); true for OK.
    bool ShowModal();
    // The address as typed, without the blanks of unfilled digit places.
    std::string GetIP() const;

    TPageControl *PageControl1;
    TTabSheet *TabSheetTrace, *TabSheetTerminal, *TabSheetServer;
    TCheckBox *CheckBoxTrace, *CheckBoxTraceErase, *CheckBoxTerminal, *CheckBoxLIVE;
    TLabel *Label1, *LabelWarn;
    TEdit *MaskEditIP;
    TBitBtn *BitBtnOk, *BitBtnCanc;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BitBtnOkClick();
    void Finish(bool ok);

    bool &trace_, &traceErase_, &terminal_, &showLive_;
    std::string &ip_;
    bool ok_ = false;
    QEventLoop *loop_ = nullptr;
};
