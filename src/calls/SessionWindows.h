#pragma once
// The windows that exist only while logged in: call history, accounting,
// event log, waiting calls, held calls, parked calls and speed dials. Each
// keeps its place in the desktop under a section of its own.
#include "Placement.h"
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

class TFHist : public TSessionWindow {
    Q_OBJECT
public:
    TFHist(QWidget *owner, bool canCall, const std::string &line);
    std::string Line;
};

class TFAcc : public TSessionWindow {
    Q_OBJECT
public:
    TFAcc(QWidget *owner, bool canCall, const std::string &line);
    std::string Line;
};

class TFLog : public TSessionWindow {
    Q_OBJECT
public:
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

class TFHold : public TSessionWindow {
    Q_OBJECT
public:
    TFHold(QWidget *owner, bool canCall, int handle);
    int Handle;
};

class TFPark : public TSessionWindow {
    Q_OBJECT
public:
    TFPark(QWidget *owner, bool canCall, int handle);
    int Handle;
};

class TFPer : public TSessionWindow {
    Q_OBJECT
public:
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
