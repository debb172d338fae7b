#pragma once
#include "SessionWindow.h"

class TFFront : public TSessionWindow {
    Q_OBJECT
public:
    TFFront(QWidget *owner, bool canCall, int handle);
    void ProcessElement(const std::string &act, int pos, const std::string &text, const std::string &cid,
                        const std::string &port);
    int Handle;
};

extern TFFront *FFront;
