#pragma once
#include "SessionWindow.h"
#include "Receivers.h"

class TFLog : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFLog(QWidget *owner, bool canCall);
};

extern TFLog *FLog;
