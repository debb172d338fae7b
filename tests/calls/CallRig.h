#pragma once
// The program logged in on a fake exchange, with the request and answer texts
// the call windows' tests share.
#include "PanelRig.h"

#include <string>
#include <vector>

// Logged in, the requests of the log-in already read: what a call window
// sends next is what Sent() returns.
struct CallRig : PanelRig {
    explicit CallRig(const std::string &attr = "STS-CTI-CMD")
    {
        Start();
        LogIn(attr);
        Sent();
    }
};

// <ans Type="type" Handle="5" rest/>
inline std::string Ans(const std::string &type, const std::string &rest)
{
    return "<ans Type=\"" + type + "\" Handle=\"5\" " + rest + "/>";
}

// A list answer: the opening tag, one inner tag per element, the closing tag.
inline std::string List(const std::string &type, const std::vector<std::string> &items)
{
    std::string list = "<ans Type=\"" + type + "\" Handle=\"5\" Act=\"ACT\">\r\n";
    for (const std::string &item : items)
        list += "<ans " + item + " Act=\"ACT\"/>\r\n";
    return list + "</ans>\r\n";
}

// <req Type="type" Handle="5" rest/>
inline std::string Req(const std::string &type, const std::string &rest)
{
    return "<req Type=\"" + type + "\" Handle=\"5\" " + rest + "/>";
}

inline std::string Comm(const std::string &rest) { return Req("COMM", rest); }

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
