#pragma once
// The panel rig with the request and answer texts the call windows' tests share.
#include "PanelRig.h"

#include <string>

inline std::string Comm(const std::string &rest) { return "<req Type=\"COMM\" Handle=\"5\" " + rest + "/>"; }

inline std::string Ans(const std::string &type, const std::string &rest)
{
    return "<ans Type=\"" + type + "\" Handle=\"5\" " + rest + "/>";
}

inline std::string State(const std::string &word)
{
    return Ans("STATE", "State=\"" + word + "\" Hfree=\"0\" Mic=\"0\"");
}

// Occurrences of text in all.
inline int Count(const std::string &all, const std::string &text)
{
    int n = 0;
    for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1))
        ++n;
    return n;
}
