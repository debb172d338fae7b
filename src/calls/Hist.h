#pragma once
#include "SessionWindow.h"
#include "Receivers.h"

class TFHist : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFHist(QWidget *owner, bool canCall, const std::string &line);
    std::string Line;
};

extern TFHist *FHist;
