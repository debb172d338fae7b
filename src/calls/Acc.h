#pragma once
#include "SessionWindow.h"
#include "Receivers.h"

class TFAcc : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFAcc(QWidget *owner, bool canCall, const std::string &line);
    std::string Line;
};

extern TFAcc *FAcc;
