#pragma once
// The program logged in on a fake exchange, with the requests of the log-in
// already read: what a call window sends next is what Sent() returns.
#include "PanelRig.h"

#include <string>
#include <vector>

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
