#include "PanelLine.h"

TPanelLine PanelLine;

namespace panelline {

void Dial(const std::string &number, const std::string &kind)
{
    if (PanelLine.Dial)
        PanelLine.Dial(number, kind);
}

void ToggleSpeaker()
{
    if (PanelLine.ToggleSpeaker)
        PanelLine.ToggleSpeaker();
}

std::string LineState() { return PanelLine.LineState ? PanelLine.LineState() : std::string(); }
bool CanCall() { return PanelLine.CanCall && PanelLine.CanCall(); }
std::string ToPSTN() { return PanelLine.ToPSTN ? PanelLine.ToPSTN() : std::string(); }

} // namespace panelline
