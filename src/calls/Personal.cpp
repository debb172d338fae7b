#include "Personal.h"

TFPer *FPer = nullptr;

TFPer::TFPer(QWidget *owner, bool canCall, int handle)
    : TSessionWindow(owner, "Personal", PlacementKeys::VisibleWidthHeightLeftTop, canCall), Handle(handle)
{
    SetCaption("Speed dials");
    Translate();
}
