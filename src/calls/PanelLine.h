#pragma once
// What the call windows need of the panel's line: they place calls only
// through the panel. The panel plugs itself in once it exists; until then
// every call does nothing and the line reads as unknown.
#include <functional>
#include <string>

struct TPanelLine {
    // Number and kind letter ("L" internal line, "T", "M", "F").
    std::function<void(const std::string &, const std::string &)> Dial;
    std::function<void()> ToggleSpeaker;
    // The last line-state word.
    std::function<std::string()> LineState;
    // The session's command right.
    std::function<bool()> CanCall;
    // The outside-line prefix.
    std::function<std::string()> ToPSTN;
};

extern TPanelLine PanelLine;

namespace panelline {
void Dial(const std::string &number, const std::string &kind);
void ToggleSpeaker();
std::string LineState();
bool CanCall();
std::string ToPSTN();
} // namespace panelline
