#include "Parks.h"

TFPark *FPark = nullptr;

TFPark::TFPark(QWidget *owner, bool canCall, int handle)
    : TSessionWindow(owner, "Parks", PlacementKeys::VisibleLeftTopWidthHeight, canCall), Handle(handle)
{
    SetCaption("Parked calls");
    Translate();
}
