#include "Parks.h"

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
    if (TakeAnswer(slots_, message))
        SetLines(slots_.Lines(), true);
}

std::string TFPark::RowCid(int row) const { return slots_.RowCid(row); }

void TFPark::TakeRow(int row)
{
    if (row >= TParkSlots::kPositions)
        return;
    SendLineRequest("PARK", Handle, slots_.RowFree(row) ? "SET" : "GET", {{"Pos", std::to_string(row + 1)}});
}
