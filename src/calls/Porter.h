#pragma once
#include "Vcl.h"

#include <string>

class TIniFile;

// The door-entry console.
class TFPorter : public TForm {
    Q_OBJECT
public:
    explicit TFPorter(QWidget *parent = nullptr);
    ~TFPorter() override;
    void Translate();
    void IncomingCall(const std::string &) {}
    void StartCloseTimer() {}
    void SetCallState(int handle, bool canCall)
    {
        LoginHandle = handle;
        CanCall = canCall;
    }

    int LoginHandle = -1;
    bool CanCall = false;
};

extern TFPorter *FPorter;
