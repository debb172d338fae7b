#include "Auto.h"

#include "KeyForward.h"
#include "Nlsfunc.h"
#include "Placement.h"

TFAuto *FAuto = nullptr;

TFAuto::TFAuto(QWidget *parent) : TForm(parent)
{
    FAuto = this;
    SetCaption("Dialler");
    resize(480, 360);
    ForwardKeys(this);
}

TFAuto::~TFAuto()
{
    if (FAuto == this)
        FAuto = nullptr;
}

void TFAuto::Translate() { Nls->TranslateForm(this, true); }
void TFAuto::LoadPlacement(const TIniFile &ini) { ::LoadPlacement(ini, "Auto", this, PlacementKeys::LeftTopWidthHeight); }
void TFAuto::SavePlacement(TIniFile &ini) const { ::SavePlacement(ini, "Auto", this, PlacementKeys::LeftTopWidthHeight); }
