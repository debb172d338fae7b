#include "SessionWindows.h"

#include "KeyForward.h"
#include "Nlsfunc.h"

TFHist *FHist = nullptr;
TFAcc *FAcc = nullptr;
TFLog *FLog = nullptr;
TFFront *FFront = nullptr;
TFHold *FHold = nullptr;
TFPark *FPark = nullptr;
TFPer *FPer = nullptr;

TSessionWindow::TSessionWindow(QWidget *owner, std::string section, PlacementKeys keys, bool canCall)
    : TForm(owner), CanCall(canCall), section_(std::move(section)), keys_(keys)
{
    resize(520, 300);
    ForwardKeys(this);
}

void TSessionWindow::Translate()
{
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TSessionWindow::LoadPlacement(const TIniFile &ini) { ::LoadPlacement(ini, section_, this, keys_); }
void TSessionWindow::SavePlacement(TIniFile &ini) const { ::SavePlacement(ini, section_, this, keys_); }

TFHist::TFHist(QWidget *owner, bool canCall, const std::string &line)
    : TSessionWindow(owner, "Hist", PlacementKeys::VisibleLeftTopWidthHeight, canCall), Line(line)
{
    Tag = 30200;
    SetCaption("History");
    Translate();
}

TFAcc::TFAcc(QWidget *owner, bool canCall, const std::string &line)
    : TSessionWindow(owner, "Acc", PlacementKeys::VisibleWidthHeightLeftTop, canCall), Line(line)
{
    SetCaption("Accounting");
    Translate();
}

TFLog::TFLog(QWidget *owner, bool canCall) : TSessionWindow(owner, "Log", PlacementKeys::VisibleLeftTopWidthHeight, canCall)
{
    SetCaption("Log");
    Translate();
}

TFFront::TFFront(QWidget *owner, bool canCall, int handle)
    : TSessionWindow(owner, "Fronts", PlacementKeys::VisibleLeftTopWidthHeight, canCall), Handle(handle)
{
    SetCaption("Waiting calls");
    Translate();
}

void TFFront::ProcessElement(const std::string &, int, const std::string &, const std::string &, const std::string &) {}

TFHold::TFHold(QWidget *owner, bool canCall, int handle)
    : TSessionWindow(owner, "Holds", PlacementKeys::VisibleWidthHeightLeftTop, canCall), Handle(handle)
{
    SetCaption("Held calls");
    Translate();
}

TFPark::TFPark(QWidget *owner, bool canCall, int handle)
    : TSessionWindow(owner, "Parks", PlacementKeys::VisibleLeftTopWidthHeight, canCall), Handle(handle)
{
    SetCaption("Parked calls");
    Translate();
}

TFPer::TFPer(QWidget *owner, bool canCall, int handle)
    : TSessionWindow(owner, "Personal", PlacementKeys::VisibleWidthHeightLeftTop, canCall), Handle(handle)
{
    SetCaption("Speed dials");
    Translate();
}
