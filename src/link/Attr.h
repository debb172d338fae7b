#pragma once
// Readers of one answer's attributes. An answer is not parsed as XML: an
// attribute is the first occurrence of its name followed by '="' (so Type
// also matches the tail of LineType), its value the text up to the next '"'
// within 1000 characters. Nothing here raises.
#include <string>

struct TAttrReader {
    // The raw value; "" when absent or not closed within 1000 characters.
    static std::string GetAttr(const std::string &message, const std::string &name);
    // Decimal value; -1 when absent, empty or not a number.
    static int GetAttrInt(const std::string &message, const std::string &name);
    // The value with entity and character references decoded.
    static std::string GetAttrText(const std::string &message, const std::string &name);
    // The value, with "/" in front on a closing tag ("/ACT").
    static std::string GetAttrAct(const std::string &message, const std::string &name);
    static bool IsEndTag(const std::string &message);

    static std::string DecodeEntities(const std::string &text);
    // text starts with a reference "&#65;" or "&#x41;": ch is its character
    // (low 8 bits) and the result the 1-based position after the ';'; 0 otherwise.
    static int DecodeCharRef(const std::string &text, char &ch);
    static bool IsValidChar(unsigned char ch);

    static constexpr size_t kValueWindow = 1000;
};
