// The text forms of skin control lines and change-list values.
#include "SkinLines.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinLines, ImageLineReadsAndWritesTheSameForm)
{
    TSkinItem item = ParseImageLine("12 34 56 78:90 11:205");
    EXPECT_EQ(item.Left, 12);
    EXPECT_EQ(item.Top, 34);
    EXPECT_EQ(item.Width, 56);
    EXPECT_EQ(item.Height, 78);
    EXPECT_EQ(item.SpriteX, 90);
    EXPECT_EQ(item.SpriteY, 11);
    EXPECT_EQ(item.Code, 205);
    EXPECT_EQ(FormatImageLine(item), "12 34 56 78:90 11:205");

    // Missing trailing fields stay zero; a blank before a colon stops the read.
    item = ParseImageLine("1 2 3 4:5");
    EXPECT_EQ(item.Height, 4);
    EXPECT_EQ(item.SpriteX, 5);
    EXPECT_EQ(item.SpriteY, 0);
    EXPECT_EQ(item.Code, 0);
    item = ParseImageLine("1 2 3 4 :5 6:7");
    EXPECT_EQ(item.Height, 4);
    EXPECT_EQ(item.SpriteX, 0);
    // Over-long numbers are bounded, not undefined.
    item = ParseImageLine("99999999999999999999 -99999999999999999999 0 0:0 0:0");
    EXPECT_EQ(item.Left, INT_MAX);
    EXPECT_EQ(item.Top, INT_MIN);
}

TEST(SkinLines, LabelLineKeepsFlagsAndLinkWord)
{
    TLabelFlags flags;
    TSkinItem item = ParseLabelLine("5 6 70 12:TC:ImageD1", flags);
    EXPECT_TRUE(flags.Transparent);
    EXPECT_EQ(flags.Alignment, 'C');
    EXPECT_EQ(item.Link, "ImageD1");
    EXPECT_EQ(FormatLabelLine(item, flags), "5 6 70 12:TC:ImageD1");

    item = ParseLabelLine("5 6 70 12:FX", flags);
    EXPECT_FALSE(flags.Transparent);
    EXPECT_EQ(flags.Alignment, 'L');
    EXPECT_EQ(item.Link, "");
    EXPECT_EQ(FormatLabelLine(item, flags), "5 6 70 12:FL");

    // The link word is one word of at most 101 characters.
    item = ParseLabelLine("0 0 1 1:TR:" + std::string(300, 'x') + " tail", flags);
    EXPECT_EQ(item.Link, std::string(kMaxLinkWord, 'x'));
    item = ParseLabelLine("0 0 1 1:TR: Image7 more", flags);
    EXPECT_EQ(item.Link, "Image7");
    item = ParseLabelLine("0 0 1 1", flags);
    EXPECT_FALSE(flags.Transparent);
}

TEST(SkinLines, ChangeValueSplitsIntoCodeLabelAndDialValue)
{
    TSkinChange c = SplitSkinChange("150,Office,S(0)123");
    EXPECT_EQ(c.Code, 150);
    EXPECT_EQ(c.LabelText, "Office");
    EXPECT_EQ(c.Value, "S(0)123");

    c = SplitSkinChange("no comma");
    EXPECT_EQ(c.Code, 899);
    EXPECT_EQ(c.LabelText, "");
    EXPECT_EQ(c.Value, "");

    c = SplitSkinChange("x5,lab");
    EXPECT_EQ(c.Code, 899);
    EXPECT_EQ(c.LabelText, "lab");
    EXPECT_EQ(c.Value, "");

    // Entries without a comma in the label text keep their bytes.
    for (const char *text : {"5,5,", "150,Office,S(0)123", "11,*,", "899,,"})
        EXPECT_EQ(JoinSkinChange(SplitSkinChange(text)), text);

    // The rest is bounded.
    c = SplitSkinChange("1,a," + std::string(3000, '9'));
    EXPECT_EQ(c.Value.size(), 998u);
}

TEST(SkinLines, LabelTextWithCommaOrQuoteSurvivesTheList)
{
    TSkinChange c;
    c.Code = 150;
    c.LabelText = "Novak, J";
    c.Value = "123";
    const std::string stored = JoinSkinChange(c);
    TSkinChange back = SplitSkinChange(stored);
    EXPECT_EQ(back.Code, 150);
    EXPECT_EQ(back.LabelText, "Novak, J");
    EXPECT_EQ(back.Value, "123");

    c.LabelText = "\"Boss\", \"the\"";
    c.Value = "1,2";
    back = SplitSkinChange(JoinSkinChange(c));
    EXPECT_EQ(back.LabelText, c.LabelText);
    EXPECT_EQ(back.Value, "1,2");

    // A quote that is not closed reads as before.
    back = SplitSkinChange("5,\"abc,9");
    EXPECT_EQ(back.LabelText, "\"abc");
    EXPECT_EQ(back.Value, "9");
}

TEST(SkinLines, FunctionCodesGiveLabelTexts)
{
    EXPECT_EQ(FunctionLabelText(0), "0");
    EXPECT_EQ(FunctionLabelText(7), "7");
    EXPECT_EQ(FunctionLabelText(10), "0");
    EXPECT_EQ(FunctionLabelText(11), "*");
    EXPECT_EQ(FunctionLabelText(12), "#");
    EXPECT_EQ(FunctionLabelText(-3), "-");
    EXPECT_EQ(FunctionLabelText(INT_MAX), "");
}

} // namespace
