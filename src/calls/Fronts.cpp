#include "Fronts.h"

TFFront *FFront = nullptr;

TFFront::TFFront(QWidget *owner, bool canCall, int handle)
    : TSessionWindow(owner, "Fronts", PlacementKeys::VisibleLeftTopWidthHeight, canCall), Handle(handle)
{
    SetCaption("Waiting calls");
    Translate();
}

void TFFront::ProcessElement(const std::string &, int, const std::string &, const std::string &, const std::string &) {}
