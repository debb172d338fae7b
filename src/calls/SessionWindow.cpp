#include "SessionWindow.h"

#include "KeyForward.h"
#include "Nlsfunc.h"

TSessionWindow::TSessionWindow(QWidget *owner, std::string section, PlacementKeys keys, bool canCall,
                               std::optional<QPoint> origin)
    : TForm(owner), CanCall(canCall), section_(std::move(section)), keys_(keys), origin_(origin)
{
    resize(520, 300);
    ForwardKeys(this);
}

void TSessionWindow::Translate()
{
    if (Nls)
        Nls->TranslateForm(this, true);
}

void TSessionWindow::LoadPlacement(const TIniFile &ini) { ::LoadPlacement(ini, section_, this, keys_, origin_); }
void TSessionWindow::SavePlacement(TIniFile &ini) const { ::SavePlacement(ini, section_, this, keys_); }
