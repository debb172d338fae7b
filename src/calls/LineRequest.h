#pragma once
// A request about the logged-in line's calls: Type, Handle, Act, then the
// given attributes in order. Without a link or a connection it is lost.
#include <initializer_list>
#include <string>
#include <utility>

void SendLineRequest(const std::string &type, int handle, const std::string &act,
                     std::initializer_list<std::pair<const char *, std::string>> attrs = {});
