#pragma once
// The exchange's accounting records, by own line and date; dials from a row.
#include "RemoteView.h"

class TFAcc : public TRemoteView {
    Q_OBJECT
public:
    TFAcc(QWidget *owner, bool canCall, const std::string &line);
    ~TFAcc() override;

    std::vector<std::string> Conditions() const override;
    void LoadSettings();
    void SpeedButtonDialFirmClick();

    std::string Line;
    TSpeedButton *SpeedButtonMy, *SpeedButtonDialFirm;

protected:
    void RowSelected(int row) override;
};

extern TFAcc *FAcc;
