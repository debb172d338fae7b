#include "Parks.h"

#include "Attr.h"
#include "LineRequest.h"

TFPark *FPark = nullptr;

TFPark::TFPark(QWidget *owner, bool canCall, int handle)
    : TCallListWindow(owner, "Parks", PlacementKeys::VisibleLeftTopWidthHeight, canCall, handle)
{
    Tag = 30502;
    SetCaption("Parked calls");
    SetLines(slots_.Lines());
    Translate();
}

TFPark::~TFPark()
{
    if (FPark == this)
        FPark = nullptr;
}

void TFPark::ProcessAnswer(const std::string &message)
{
    const std::string act = TAttrReader::GetAttrAct(message, "Act");
    const std::string cid = TAttrReader::GetAttr(message, "Cid");
    const std::string pbxName = TAttrReader::GetAttrText(message, "PBXName");
    const int pos = TAttrReader::GetAttrInt(message, "Pos");
    if (act == "ACT" && pos == -1) {
        slots_.Clear();
    } else if (act == "ACT") {
        slots_.Store(pos, SlotText(cid, pbxName, TAttrReader::GetAttr(message, "Port")), cid);
    } else if (act == "/ACT" || act == "END") {
        act == "END" ? slots_.ForgetCalls() : slots_.Show();
        SetLines(slots_.Lines(), true);
    }
}

std::string TFPark::RowCid(int row) const { return slots_.RowCid(row); }

void TFPark::TakeRow(int row)
{
    if (row >= TParkSlots::kPositions)
        return;
    // A free position reads "n:" alone.
    const bool free = slots_.Lines()[static_cast<size_t>(row)].size() < 3;
    SendLineRequest("PARK", Handle, free ? "SET" : "GET", {{"Pos", std::to_string(row + 1)}});
}
