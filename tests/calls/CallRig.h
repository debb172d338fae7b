#pragma once
// The program logged in on a fake exchange, its requests of the log-in read.
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

// Occurrences of text in all.
inline int Count(const std::string &all, const std::string &text)
{
    int n = 0;
    for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1))
        ++n;
    return n;
}
