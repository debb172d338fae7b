#include "Hist.h"

TFHist *FHist = nullptr;

TFHist::TFHist(QWidget *owner, bool canCall, const std::string &line)
    : TSessionWindow(owner, "Hist", PlacementKeys::VisibleLeftTopWidthHeight, canCall), Line(line)
{
    Tag = 30200;
    SetCaption("History");
    Translate();
}
