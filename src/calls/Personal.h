#pragma once
#include "SessionWindow.h"
#include "Receivers.h"

class TFPer : public TSessionWindow, public TSpeedDialReceiver {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &, int, const std::string &, const std::string &) override {}
    TFPer(QWidget *owner, bool canCall, int handle);
    int Handle;
};

extern TFPer *FPer;
