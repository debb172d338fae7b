#include "Dbf.h"

#include "Nlsfunc.h"
#include "Placement.h"

TFDbf *FDbf = nullptr;

TFDbf::TFDbf(QWidget *parent) : TForm(parent)
{
    FDbf = this;
    SetCaption("Phone book");
    resize(640, 420);
}

void TFDbf::Translate(bool) { Nls->TranslateForm(this, true); }
void TFDbf::LoadPlacement(const TIniFile &ini) { ::LoadPlacement(ini, "Dbf", this, PlacementKeys::VisibleLeftTopWidthHeight); }
void TFDbf::SavePlacement(TIniFile &ini) const { ::SavePlacement(ini, "Dbf", this, PlacementKeys::VisibleLeftTopWidthHeight); }
