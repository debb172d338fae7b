// Reading attribute values out of one answer.
#include "Attr.h"

#include <gtest/gtest.h>

namespace {

using R = TAttrReader;

TEST(AttrReader, RawAndIntegerValues)
{
    const std::string m = "<ans LineType=\"ILL\" Type=\"OPEN\" Ret=\"a&amp;b\" Pos=\"-7\" E=\"\" X=\"12x\"/>";
    EXPECT_EQ(R::GetAttr(m, "Type"), "ILL"); // the first occurrence wins
    EXPECT_EQ(R::GetAttr(m, "Ret"), "a&amp;b");
    EXPECT_EQ(R::GetAttr(m, "ret"), "");
    EXPECT_EQ(R::GetAttr("<ans Ret=\"OK", "Ret"), "");
    EXPECT_EQ(R::GetAttr("Ret=\"at the start\"", "Ret"), "at the start");
    EXPECT_EQ(R::GetAttr("R=\"1\" XR=\"2\"", "XR"), "2");
    EXPECT_EQ(R::GetAttr("<a X==\"3\"/>", "X="), "3");
    const std::string v999(999, 'v');
    EXPECT_EQ(R::GetAttr("<a N=\"" + v999 + "\"/>", "N"), v999);
    EXPECT_EQ(R::GetAttr("<a N=\"" + v999 + "v\"/>", "N"), "");

    EXPECT_EQ(R::GetAttrInt(m, "Pos"), -7);
    for (const char *name : {"E", "X", "Missing"})
        EXPECT_EQ(R::GetAttrInt(m, name), -1) << name;
    EXPECT_EQ(R::GetAttrInt("<a P=\"99999999999\"/>", "P"), -1);
    EXPECT_EQ(R::GetAttrInt("<a P=\"2147483647\"/>", "P"), 2147483647);

    const std::string list = "<ans Type=\"HOLD\" Act=\"ACT\">";
    EXPECT_EQ(R::GetAttrAct(list, "Act"), "ACT");
    EXPECT_EQ(R::GetAttrAct(list + "</ans>", "Act"), "/ACT");
}

TEST(AttrReader, EntitiesAndCharacterReferences)
{
    const std::pair<const char *, const char *> cases[] = {
        {"a&amp;b&lt;c&gt;d&apos;e&quot;f", "a&b<c>d'e\"f"},
        {"&#65;&#x41;&#321;&#-191;", "AAAA"}, // low 8 bits
        {"&#x41zz;B", "AB"},                  // hex digits as far as they go
        {"&#232;", "\xE8"},                   // a code page byte, not a code point
        {"&#7;|&#x;|&#6a;|&#65|&amp", "?#7;|?#x;|?#6a;|?#65|?amp"},
        {"a<b\"c&d", "a?b?c?d"},
        {"t\tl\nc\r\x01\x0B\x0C\x1F", "t\tl\nc\r????"},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(R::DecodeEntities(in), out) << in;
    EXPECT_EQ(R::GetAttrText("<a N=\"&#x50;&amp;L\"/>", "N"), "P&L");
    char ch = 0;
    EXPECT_EQ(R::DecodeCharRef("&#x4a;rest", ch), 7);
    EXPECT_EQ(ch, 'J');
}

} // namespace
