#pragma once
// Call actions that windows place through the panel, and the parts of a
// caller's name the panel's skin shows; the panel plugs them in once it exists.
#include <functional>
#include <string>

struct TPanelCalls {
    std::function<void(const std::string &number, const std::string &kind)> Dial;
    std::function<void(const std::string &number, const std::string &kind)> DialOrTransfer;
    std::function<void(const std::string &number)> SendConference;
    std::function<void()> ToggleSpeaker;
    // title before the name, first name, title after the name
    std::function<void(bool &title, bool &firstName, bool &titleAfter)> NameParts;
};

extern TPanelCalls PanelCalls;
