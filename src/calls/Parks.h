#pragma once
#include "SessionWindow.h"
#include "Receivers.h"

class TFPark : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFPark(QWidget *owner, bool canCall, int handle);
    int Handle;
};

extern TFPark *FPark;
