#include "Fronts.h"

#include "LineRequest.h"

TFFront *FFront = nullptr;

TFFront::TFFront(QWidget *owner, bool canCall, int handle)
    : TCallListWindow(owner, "Fronts", PlacementKeys::VisibleLeftTopWidthHeight, canCall, handle)
{
    Tag = 30500;
    SetCaption("Waiting calls");
    resize(220, 100);
    Translate();
}

TFFront::~TFFront()
{
    if (FFront == this)
        FFront = nullptr;
}

void TFFront::ProcessElement(const std::string &act, int pos, const std::string &text, const std::string &cid,
                             const std::string &port)
{
    // Pos 0, the call on the line itself, has no slot.
    const bool shown = slots_.TakeElement(act, pos, [&] {
        return TCallSlot{!text.empty() ? text : !cid.empty() ? cid : port, port, cid};
    });
    if (shown)
        SetLines(slots_.Lines());
}

std::string TFFront::RowCid(int row) const { return slots_.RowCid(row); }

void TFFront::TakeRow(int row)
{
    if (const TCallSlot *call = slots_.RowCall(row))
        SendLineRequest("RING", Handle, "GET", {{"Port", call->Port}});
}
