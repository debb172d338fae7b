#pragma once
// The exchange's event log, by date.
#include "RemoteView.h"

class TFLog : public TRemoteView {
    Q_OBJECT
public:
    TFLog(QWidget *owner, bool canCall);
    ~TFLog() override;

    std::vector<std::string> Conditions() const override { return DateConditions(); }
    void LoadSettings();
};

extern TFLog *FLog;
