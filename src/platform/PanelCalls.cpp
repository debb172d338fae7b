#include "PanelCalls.h"

TPanelCalls PanelCalls;

namespace panelcall {

void Dial(const std::string &number, const std::string &kind)
{
    if (PanelCalls.Dial)
        PanelCalls.Dial(number, kind);
}

void DialOrTransfer(const std::string &number, const std::string &kind)
{
    if (PanelCalls.DialOrTransfer)
        PanelCalls.DialOrTransfer(number, kind);
}

void SendConference(const std::string &number)
{
    if (PanelCalls.SendConference)
        PanelCalls.SendConference(number);
}

void ToggleSpeaker()
{
    if (PanelCalls.ToggleSpeaker)
        PanelCalls.ToggleSpeaker();
}

void SendList(const std::string &type, const std::string &act, const std::string &value)
{
    if (PanelCalls.SendList)
        PanelCalls.SendList(type, act, value);
}

std::string LineState() { return PanelCalls.LineState ? PanelCalls.LineState() : std::string(); }
bool CanCall() { return PanelCalls.CanCall && PanelCalls.CanCall(); }
std::string ToPSTN() { return PanelCalls.ToPSTN ? PanelCalls.ToPSTN() : std::string(); }
bool LastTop() { return PanelCalls.LastTop && PanelCalls.LastTop(); }

} // namespace panelcall
