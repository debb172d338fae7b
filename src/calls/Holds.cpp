#include "Holds.h"

#include "LineRequest.h"

#include <QApplication>

#include <chrono>

TFHold *FHold = nullptr;

TFHold::TFHold(QWidget *owner, bool canCall, int handle)
    : TCallListWindow(owner, "Holds", PlacementKeys::VisibleWidthHeightLeftTop, canCall, handle)
{
    Tag = 30501;
    SetCaption("Held calls");
    SetLines({""});
    Translate();
}

TFHold::~TFHold()
{
    if (FHold == this)
        FHold = nullptr;
}

void TFHold::ProcessAnswer(const std::string &message)
{
    if (TakeAnswer(slots_, message))
        SetLines(slots_.Lines());
}

void TFHold::ListBoxMouseDown()
{
    using namespace std::chrono;
    const long long now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    if (LastDownTicks != 0 && now - LastDownTicks < QApplication::doubleClickInterval()) {
        ListBox->setCurrentRow(ListBox->count() - 1);
        ListBoxDblClick();
    } else {
        LastDownTicks = now;
    }
}

std::string TFHold::RowCid(int row) const { return slots_.RowCid(row); }

void TFHold::TakeRow(int row)
{
    if (const TCallSlot *call = slots_.RowCall(row))
        SendLineRequest("HOLD", Handle, "GET", {{"Port", call->Port}});
    else
        SendLineRequest("HOLD", Handle, "SET");
}
