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
    if (act == "ACT" && pos == -1) {
        slots_.Clear();
    } else if (act == "ACT") {
        // Pos 0, the call on the line itself, has no slot.
        const std::string shown = !text.empty() ? text : !cid.empty() ? cid : port;
        slots_.Store(pos, {shown, port, cid});
    } else if (act == "/ACT" || act == "END") {
        act == "END" ? slots_.ForgetCalls() : slots_.Show();
        SetLines(slots_.Lines());
    }
}

std::string TFFront::RowCid(int row) const { return slots_.RowCid(row); }

void TFFront::TakeRow(int row)
{
    if (const TCallSlot *call = slots_.RowCall(row))
        SendLineRequest("RING", Handle, "GET", {{"Port", call->Port}});
}
