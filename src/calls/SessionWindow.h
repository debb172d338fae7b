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
    // origin: where the window stands when the desktop names no place; none
    // keeps the place it has.
    TSessionWindow(QWidget *owner, std::string section, PlacementKeys keys, bool canCall,
                   std::optional<QPoint> origin = QPoint(0, 100));
    virtual void Translate();
    void LoadPlacement(const TIniFile &ini);
    void SavePlacement(TIniFile &ini) const;

    const bool CanCall;

private:
    std::string section_;
    PlacementKeys keys_;
    std::optional<QPoint> origin_;
};
