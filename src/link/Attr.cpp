#include "Attr.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

bool ParseDecimal(const char *p, const char *end, long long &value)
{
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    if (p == end)
        return false;
    long long v = 0;
    for (; p < end; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        v = v * 10 + (*p - '0');
        if (v > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    value = negative ? -v : v;
    return value >= INT_MIN && value <= INT_MAX;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

struct Entity {
    const char *text;
    char ch;
};
constexpr Entity kEntities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}};

} // namespace

std::string TAttrReader::GetAttr(const std::string &message, const std::string &name)
{
    // Every occurrence of name=" has its =" right behind the name, and an
    // answer holds few of them: finding those and looking back is quicker
    // than searching for the whole key.
    const char *data = message.data(), *end = data + message.size();
    const size_t length = name.size();
    size_t start = std::string::npos;
    for (const char *eq = data; (eq = static_cast<const char *>(std::memchr(eq, '=', static_cast<size_t>(end - eq))));
         ++eq) {
        if (eq + 1 < end && eq[1] == '"' && static_cast<size_t>(eq - data) >= length &&
            (length == 0 || *(eq - length) == name[0]) && std::memcmp(eq - length, name.data(), length) == 0) {
            start = static_cast<size_t>(eq - data) + 2;
            break;
        }
    }
    if (start == std::string::npos)
        return "";
    const size_t window = std::min(kValueWindow, message.size() - start);
    const char *begin = message.data() + start;
    const void *quote = std::memchr(begin, '"', window);
    if (!quote)
        return "";
    return std::string(begin, static_cast<const char *>(quote));
}

int TAttrReader::GetAttrInt(const std::string &message, const std::string &name)
{
    const std::string value = GetAttr(message, name);
    long long v = 0;
    if (!ParseDecimal(value.data(), value.data() + value.size(), v))
        return -1;
    return static_cast<int>(v);
}

std::string TAttrReader::GetAttrText(const std::string &message, const std::string &name)
{
    return DecodeEntities(GetAttr(message, name));
}

bool TAttrReader::IsEndTag(const std::string &message) { return message.find("</") != std::string::npos; }

std::string TAttrReader::GetAttrAct(const std::string &message, const std::string &name)
{
    std::string value = GetAttr(message, name);
    return IsEndTag(message) ? "/" + value : value;
}

bool TAttrReader::IsValidChar(unsigned char ch)
{
    return ch == 9 || ch == 10 || ch == 13 || ch >= 32;
}

int TAttrReader::DecodeCharRef(const std::string &text, char &ch)
{
    if (text.compare(0, 2, "&#") != 0)
        return 0;
    const size_t semicolon = text.find(';');
    if (semicolon == std::string::npos)
        return 0;
    const char *digits = text.data() + 2;
    const char *end = text.data() + semicolon;
    unsigned value = 0;
    if (digits < end && *digits == 'x') {
        // Hex digits as far as they go; anything after them up to ';' is skipped.
        const char *p = digits + 1;
        if (p >= end || HexDigit(*p) < 0)
            return 0;
        for (; p < end && HexDigit(*p) >= 0; ++p)
            value = (value << 4) | static_cast<unsigned>(HexDigit(*p));
    } else {
        long long v = 0;
        if (!ParseDecimal(digits, end, v))
            return 0;
        value = static_cast<unsigned>(v);
    }
    const unsigned char c = static_cast<unsigned char>(value & 0xFF);
    if (!IsValidChar(c))
        return 0;
    ch = static_cast<char>(c);
    return static_cast<int>(semicolon) + 2;
}

std::string TAttrReader::DecodeEntities(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '&') {
            bool done = false;
            for (const Entity &e : kEntities) {
                if (text.compare(i, std::strlen(e.text), e.text) == 0) {
                    out += e.ch;
                    i += std::strlen(e.text);
                    done = true;
                    break;
                }
            }
            if (done)
                continue;
            char ch = 0;
            if (int after = DecodeCharRef(text.substr(i, text.find(';', i) - i + 1), ch)) {
                out += ch;
                i += static_cast<size_t>(after - 1);
                continue;
            }
        }
        unsigned char c = static_cast<unsigned char>(text[i++]);
        if (c == '"' || c == '&' || c == '<' || !IsValidChar(c))
            c = '?';
        out += static_cast<char>(c);
    }
    return out;
}
