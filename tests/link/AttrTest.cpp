// Reading attribute values out of one answer.
#include "Attr.h"

#include <gtest/gtest.h>

namespace {

using R = TAttrReader;

TEST(AttrReader, FirstOccurrenceOfNameWins)
{
    const std::string m = "<ans LineType=\"ILL\" Type=\"OPEN\" Ret=\"OK\"/>";
    EXPECT_EQ(R::GetAttr(m, "Type"), "ILL");
    EXPECT_EQ(R::GetAttr(m, "Ret"), "OK");
    EXPECT_EQ(R::GetAttr(m, "ret"), "");
    EXPECT_EQ(R::GetAttr(m, "Missing"), "");
    EXPECT_EQ(R::GetAttr("<ans Ret=\"OK", "Ret"), "");
    EXPECT_EQ(R::GetAttr("<ans Ret=\"a&amp;b\"/>", "Ret"), "a&amp;b");
}

TEST(AttrReader, ValueWindowIs999Characters)
{
    const std::string v999(999, 'v');
    EXPECT_EQ(R::GetAttr("<a N=\"" + v999 + "\"/>", "N"), v999);
    EXPECT_EQ(R::GetAttr("<a N=\"" + v999 + "v\"/>", "N"), "");
}

TEST(AttrReader, IntegersAndTheirAbsence)
{
    EXPECT_EQ(R::GetAttrInt("<a Pos=\"12\"/>", "Pos"), 12);
    EXPECT_EQ(R::GetAttrInt("<a Pos=\"-7\"/>", "Pos"), -7);
    EXPECT_EQ(R::GetAttrInt("<a Pos=\"-1\"/>", "Pos"), -1);
    EXPECT_EQ(R::GetAttrInt("<a Pos=\"\"/>", "Pos"), -1);
    EXPECT_EQ(R::GetAttrInt("<a/>", "Pos"), -1);
    EXPECT_EQ(R::GetAttrInt("<a Pos=\"12x\"/>", "Pos"), -1);
    EXPECT_EQ(R::GetAttrInt("<a Pos=\"99999999999\"/>", "Pos"), -1);
    EXPECT_EQ(R::GetAttrInt("<a Pos=\"2147483647\"/>", "Pos"), 2147483647);
}

TEST(AttrReader, ActOfAClosingTagGetsASlash)
{
    const std::string open = "<ans Type=\"HOLD\" Act=\"ACT\">";
    EXPECT_FALSE(R::IsEndTag(open));
    EXPECT_EQ(R::GetAttrAct(open, "Act"), "ACT");
    EXPECT_TRUE(R::IsEndTag(open + "</ans>"));
    EXPECT_EQ(R::GetAttrAct(open + "</ans>", "Act"), "/ACT");
    EXPECT_EQ(R::GetAttrAct("</ans>", "Act"), "/");
}

TEST(AttrReader, EntitiesAndCharacterReferences)
{
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"a&amp;b&lt;c&gt;d&apos;e&quot;f", "a&b<c>d'e\"f"},
        {"&#65;&#x41;&#321;", "AAA"},
        {"&#x41zz;B", "AB"},       // hex digits as far as they go
        {"&#7;", "?#7;"},          // a control character is no reference
        {"&#x;", "?#x;"},          // no hex digit
        {"&#6a;", "?#6a;"},        // decimal must convert whole
        {"&#65", "?#65"},          // no ';'
        {"&#232;", "\xE8"},        // a byte of the code page, not a code point
        {"&#-191;", "A"},          // low 8 bits
        {"a<b\"c&d", "a?b?c?d"},
        {"t\tl\nc\r.", "t\tl\nc\r."},
        {"\x01\x0B\x0C\x1F", "????"},
        {"&amp", "?amp"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(R::DecodeEntities(c.in), c.out) << c.in;
    EXPECT_EQ(R::GetAttrText("<a N=\"&#x50;&amp;L\"/>", "N"), "P&L");
}

TEST(AttrReader, CharRefReportsThePositionAfterIt)
{
    char ch = 0;
    EXPECT_EQ(R::DecodeCharRef("&#65;rest", ch), 6);
    EXPECT_EQ(ch, 'A');
    EXPECT_EQ(R::DecodeCharRef("&#x4a;", ch), 7);
    EXPECT_EQ(ch, 'J');
    EXPECT_EQ(R::DecodeCharRef("&65;", ch), 0);
    EXPECT_EQ(R::DecodeCharRef("&#9;", ch), 5);
    for (int c : {0, 8, 11, 12, 14, 31})
        EXPECT_FALSE(R::IsValidChar(static_cast<unsigned char>(c))) << c;
    for (int c : {9, 10, 13, 32, 127, 255})
        EXPECT_TRUE(R::IsValidChar(static_cast<unsigned char>(c))) << c;
}

} // namespace
