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
    virtual void Translate();
    void LoadPlacement(const TIniFile &ini);
    void SavePlacement(TIniFile &ini) const;

    const bool CanCall;

private:
    std::string section_;
    PlacementKeys keys_;
};
