#include "Log.h"

TFLog *FLog = nullptr;

TFLog::TFLog(QWidget *owner, bool canCall) : TSessionWindow(owner, "Log", PlacementKeys::VisibleLeftTopWidthHeight, canCall)
{
    SetCaption("Log");
    Translate();
}
