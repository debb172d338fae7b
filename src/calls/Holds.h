#pragma once
#include "SessionWindow.h"
#include "Receivers.h"

class TFHold : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFHold(QWidget *owner, bool canCall, int handle);
    int Handle;
};

extern TFHold *FHold;
