#include "Filter.h"

#include "DbTypes.h"

#include <cmath>
#include <cstdlib>

namespace {

std::string Trim(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Position of the next " AND " (any case) at or after from, or npos.
size_t FindAnd(const std::string &upper, size_t from)
{
    for (size_t at = upper.find("AND", from); at != std::string::npos; at = upper.find("AND", at + 1)) {
        bool before = at == 0 || upper[at - 1] == ' ' || upper[at - 1] == '\t';
        bool after = at + 3 >= upper.size() || upper[at + 3] == ' ' || upper[at + 3] == '\t';
        if (before && after && at > 0)
            return at;
    }
    return std::string::npos;
}

TDbCondition ParseCondition(const std::string &part, const std::string &whole)
{
    size_t eq = part.find('=');
    TDbCondition c;
    if (eq != std::string::npos) {
        c.Field = Trim(part.substr(0, eq));
        std::string value = Trim(part.substr(eq + 1));
        char *end = nullptr;
        c.Value = strtod(value.c_str(), &end);
        bool name = !c.Field.empty() && c.Field.find_first_of(" \t") == std::string::npos;
        if (name && !value.empty() && end == value.c_str() + value.size() && std::isfinite(c.Value))
            return c;
    }
    throw EDbError("Filter expression is not supported: " + whole);
}

} // namespace

std::vector<TDbCondition> ParseDbFilter(const std::string &text)
{
    std::vector<TDbCondition> out;
    if (Trim(text).empty())
        return out;
    std::string upper = DbUpper(text);
    size_t from = 0;
    for (;;) {
        size_t at = FindAnd(upper, from);
        out.push_back(ParseCondition(text.substr(from, at == std::string::npos ? std::string::npos : at - from), text));
        if (at == std::string::npos)
            return out;
        from = at + 3;
    }
}
