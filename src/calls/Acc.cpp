#include "Acc.h"

TFAcc *FAcc = nullptr;

TFAcc::TFAcc(QWidget *owner, bool canCall, const std::string &line)
    : TSessionWindow(owner, "Acc", PlacementKeys::VisibleWidthHeightLeftTop, canCall), Line(line)
{
    SetCaption("Accounting");
    Translate();
}
