#include "Holds.h"

TFHold *FHold = nullptr;

TFHold::TFHold(QWidget *owner, bool canCall, int handle)
    : TSessionWindow(owner, "Holds", PlacementKeys::VisibleWidthHeightLeftTop, canCall), Handle(handle)
{
    SetCaption("Held calls");
    Translate();
}
