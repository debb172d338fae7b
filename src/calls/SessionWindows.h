#pragma once
// The windows that exist only while logged in: call history, accounting,
// event log, waiting calls, held calls, parked calls and speed dials. Each
// keeps its place in the desktop under a section of its own.
#include "Placement.h"
#include "Receivers.h"
#include "Vcl.h"

#include <string>

class TIniFile;

class TSessionWindow : public TForm {
    Q_OBJECT
public:
    TSessionWindow(QWidget *owner, std::string section, PlacementKeys keys, bool canCall);
    void Translate();
    void LoadPlacement(const TIniFile &ini);
    void SavePlacement(TIniFile &ini) const;

    const bool CanCall;

private:
    std::string section_;
    PlacementKeys keys_;
};

class TFHist : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFHist(QWidget *owner, bool canCall, const std::string &line);
    std::string Line;
};

class TFAcc : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFAcc(QWidget *owner, bool canCall, const std::string &line);
    std::string Line;
};

class TFLog : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFLog(QWidget *owner, bool canCall);
};

class TFFront : public TSessionWindow {
    Q_OBJECT
public:
    TFFront(QWidget *owner, bool canCall, int handle);
    void ProcessElement(const std::string &act, int pos, const std::string &text, const std::string &cid,
                        const std::string &port);
    int Handle;
};

class TFHold : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFHold(QWidget *owner, bool canCall, int handle);
    int Handle;
};

class TFPark : public TSessionWindow, public TAnswerWindow {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &) override {}
    TFPark(QWidget *owner, bool canCall, int handle);
    int Handle;
};

class TFPer : public TSessionWindow, public TSpeedDialReceiver {
    Q_OBJECT
public:
    void ProcessAnswer(const std::string &, int, const std::string &, const std::string &) override {}
    TFPer(QWidget *owner, bool canCall, int handle);
    int Handle;
};

extern TFHist *FHist;
extern TFAcc *FAcc;
extern TFLog *FLog;
extern TFFront *FFront;
extern TFHold *FHold;
extern TFPark *FPark;
extern TFPer *FPer;
