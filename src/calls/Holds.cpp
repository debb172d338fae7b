#include "Holds.h"

#include "Attr.h"
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
    const std::string cid = TAttrReader::GetAttr(message, "Cid");
    const std::string pbxName = TAttrReader::GetAttrText(message, "PBXName");
    const std::string act = TAttrReader::GetAttrAct(message, "Act");
    const int pos = TAttrReader::GetAttrInt(message, "Pos");
    const std::string port = TAttrReader::GetAttr(message, "Port");
    if (act == "ACT" && pos == -1) {
        slots_.Clear();
    } else if (act == "ACT") {
        slots_.Store(pos, {SlotText(cid, pbxName, port), port, cid});
    } else if (act == "/ACT" || act == "END") {
        act == "END" ? slots_.ForgetCalls() : slots_.Show();
        SetLines(slots_.Lines());
    }
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
