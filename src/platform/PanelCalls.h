#pragma once
// What the other windows need of the panel: they place calls and send list
// requests only through it, read its line state, and name callers as its skin
// asks. The panel plugs itself in once it exists; until then every call does
// nothing and the line reads as unknown.
#include <functional>
#include <string>

struct TPanelCalls {
    // Number and kind letter ("L" internal line, "T", "M", "F").
    std::function<void(const std::string &number, const std::string &kind)> Dial;
    std::function<void(const std::string &number, const std::string &kind)> DialOrTransfer;
    std::function<void(const std::string &number)> SendConference;
    std::function<void()> ToggleSpeaker;
    // A request of a list window: HIST, ACC, LOG with its Act and value.
    std::function<void(const std::string &type, const std::string &act, const std::string &value)> SendList;
    // title before the name, first name, title after the name
    std::function<void(bool &title, bool &firstName, bool &titleAfter)> NameParts;
    // The last line-state word.
    std::function<std::string()> LineState;
    // The session's command right.
    std::function<bool()> CanCall;
    // The outside-line prefix.
    std::function<std::string()> ToPSTN;
    // New records of the call lists come on top.
    std::function<bool()> LastTop;
};

extern TPanelCalls PanelCalls;

// The same, safe to call before the panel exists or after it is gone.
namespace panelcall {
void Dial(const std::string &number, const std::string &kind);
void DialOrTransfer(const std::string &number, const std::string &kind);
void SendConference(const std::string &number);
void ToggleSpeaker();
void SendList(const std::string &type, const std::string &act, const std::string &value);
std::string LineState();
bool CanCall();
std::string ToPSTN();
bool LastTop();
} // namespace panelcall
