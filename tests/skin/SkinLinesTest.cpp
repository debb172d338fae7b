// The text forms of skin control lines and change-list values.
#include "SkinLines.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinLines, ControlLinesReadAsWrittenAndStayBounded)
{
    TSkinItem item = ParseImageLine("12 34 56 78:90 11:205");
    EXPECT_EQ(item.Height, 78);
    EXPECT_EQ(item.SpriteY, 11);
    EXPECT_EQ(FormatImageLine(item), "12 34 56 78:90 11:205");
    // Missing trailing fields stay zero; a blank before a colon stops the read.
    item = ParseImageLine("1 2 3 4:5");
    EXPECT_EQ(item.SpriteX, 5);
    EXPECT_EQ(item.Code, 0);
    EXPECT_EQ(ParseImageLine("1 2 3 4 :5 6:7").SpriteX, 0);
    // Over-long numbers are bounded, not undefined.
    item = ParseImageLine("99999999999999999999 -99999999999999999999 0 0:0 0:0");
    EXPECT_EQ(item.Left, INT_MAX);
    EXPECT_EQ(item.Top, INT_MIN);

    TLabelFlags flags;
    item = ParseLabelLine("5 6 70 12:TC:ImageD1", flags);
    EXPECT_TRUE(flags.Transparent);
    EXPECT_EQ(flags.Alignment, 'C');
    // The link word is written back.
    EXPECT_EQ(FormatLabelLine(item, flags), "5 6 70 12:TC:ImageD1");
    item = ParseLabelLine("5 6 70 12:FX", flags);
    EXPECT_EQ(flags.Alignment, 'L');
    EXPECT_EQ(FormatLabelLine(item, flags), "5 6 70 12:FL");
    // One word of at most 101 characters.
    EXPECT_EQ(ParseLabelLine("0 0 1 1:TR:" + std::string(300, 'x'), flags).Link, std::string(kMaxLinkWord, 'x'));
    EXPECT_EQ(ParseLabelLine("0 0 1 1:TR: Image7 more", flags).Link, "Image7");
}

TEST(SkinLines, AControlThePanelCannotHoldIsNamed)
{
    const struct {
        const char *line;
        bool imageFits, labelFits;
    } cases[] = {
        {"0 0 100 80:0 0:1", true, true},           // the whole panel
        {"-5 -5 20 20:0 0:1", true, true},          // past an edge, partly seen
        {"100 80 0 0:0 0:1", true, true},           // an empty one at the far corner
        {"-20 0 10 10:0 0:1", true, true},          // hidden off the panel
        {"0 0 101 10:0 0:1", false, true},          // a wide label only shows cut
        {"0 0 10 81:0 0:1", false, true},
        {"0 0 20000000 20000000:0 0:1", false, false},
        {"0 0 10 1001:0 0:1", false, false},        // beyond any panel
        {"2147483647 0 10 10:0 0:1", false, false},
        {"0 -2147483648 10 10:0 0:1", false, false},
    };
    for (const auto &c : cases)
        for (const char *name : {"ImageA", "LabelA"})
            EXPECT_EQ(OversizedControl({{"Other", "0 0 999 999"}, {name, c.line}}, 100, 80, 1000, 1000000),
                      (name[0] == 'I' ? c.imageFits : c.labelFits) ? "" : name)
                << name << "=" << c.line;
    // The images together: each fits, the third takes the area past the bound.
    const std::vector<std::pair<std::string, std::string>> many = {
        {"ImageA", "0 0 100 80"}, {"LabelA", "0 0 100 80:TL"}, {"ImageB", "0 0 100 80"}, {"ImageC", "0 0 100 80"}};
    EXPECT_EQ(OversizedControl(many, 100, 80, 1000, 2 * 100 * 80), "ImageC");
}

TEST(SkinLines, ChangeValuesKeepTheirBytesAndCommasInLabelTexts)
{
    TSkinChange c = SplitSkinChange("150,Office,S(0)123");
    EXPECT_EQ(c.Code, 150);
    EXPECT_EQ(c.LabelText, "Office");
    EXPECT_EQ(c.Value, "S(0)123");
    c = SplitSkinChange("no comma");
    EXPECT_EQ(c.Code, 899);
    EXPECT_EQ(c.LabelText + c.Value, "");
    EXPECT_EQ(SplitSkinChange("x5,lab").Code, 899);
    EXPECT_EQ(SplitSkinChange("1,a," + std::string(3000, '9')).Value.size(), 998u);
    // Entries without a comma in the label text keep their bytes.
    for (const char *text : {"5,5,", "150,Office,S(0)123", "11,*,", "899,,"})
        EXPECT_EQ(JoinSkinChange(SplitSkinChange(text)), text);

    for (const char *label : {"Novak, J", "\"Boss\", \"the\""}) {
        c.LabelText = label;
        c.Value = "1,2";
        const TSkinChange back = SplitSkinChange(JoinSkinChange(c));
        EXPECT_EQ(back.LabelText, label);
        EXPECT_EQ(back.Value, "1,2");
    }
    // A quote that is not closed reads as before.
    c = SplitSkinChange("5,\"abc,9");
    EXPECT_EQ(c.LabelText, "\"abc");
    EXPECT_EQ(c.Value, "9");
    EXPECT_EQ(FunctionLabelText(12), "#");
    EXPECT_EQ(FunctionLabelText(-3), "-");
}

} // namespace
