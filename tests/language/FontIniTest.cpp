#include "FontIni.h"
#include "IniFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

class FontFamily : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("skin.skn");
};

TEST_F(FontFamily, DefaultFontWritesNothingAndReadingLeavesTheTarget)
{
    {
        TIniFile ini(path);
        WriteFontIni(ini, TFont(), "Fonts", "LabelDISP");
    }
    EXPECT_EQ(ReadBytes(path), "");
    TIniFile ini(path);
    TFont target;
    target.Name = "Arial";
    ReadFontIni(ini, target, "Fonts", "LabelDISP");
    EXPECT_EQ(target.Name, "Arial");
}

TEST_F(FontFamily, BoldItalicArialRoundTripsAndOddValuesReadSafely)
{
    TFont f;
    f.Name = "Arial";
    f.SetSize(10);
    f.Style = fsBold | fsItalic;
    f.Color = 0x0000FF;
    {
        TIniFile ini(path);
        WriteFontIni(ini, f, "Fonts", "L");
    }
    EXPECT_EQ(ReadBytes(path), "[Fonts]\r\nL-Color=000000FF\r\nL-Height=-13\r\nL-Name=Arial\r\nL-Size=10\r\n"
                               "L-Style=BI\r\nL-Def=1\r\n");
    TIniFile ini(path);
    TFont back;
    ReadFontIni(ini, back, "Fonts", "L");
    EXPECT_EQ(back, f);

    // A lower-case colour reads as window text; unknown style letters are skipped.
    WriteBytes(path, "[Fonts]\r\nL-Def=1\r\nL-Color=000000ff\r\nL-Style=xSBz\r\n");
    ReadFontIni(TIniFile(path), back, "Fonts", "L");
    EXPECT_EQ(back.Color, clWindowText);
    EXPECT_EQ(back.Style, unsigned(fsBold | fsStrikeOut));
}

TEST_F(FontFamily, PropertyBackAtDefaultLosesItsKey)
{
    TFont f;
    f.Name = "Arial";
    f.Style = fsBold;
    {
        TIniFile ini(path);
        WriteFontIni(ini, f, "Fonts", "L");
        f.Style = 0;
        WriteFontIni(ini, f, "Fonts", "L");
    }
    TIniFile ini(path);
    TFont back;
    ReadFontIni(ini, back, "Fonts", "L");
    EXPECT_EQ(back.Style, 0u) << "the old bold must not come back";
    EXPECT_EQ(back.Name, "Arial");
    f.Name = "MS Sans Serif";
    WriteFontIni(ini, f, "Fonts", "L");
    EXPECT_FALSE(ini.ValueExists("Fonts", "L-Def"));
    EXPECT_FALSE(ini.ValueExists("Fonts", "L-Name"));
}

TEST_F(FontFamily, UnchangedFontLeavesTheFileByteForByte)
{
    const std::string original = "[Fonts]\r\nA-Name=Courier New\r\nA-Def=1\r\nB-Style=U\r\nB-Def=1\r\n\r\n[Other]\r\nx=1\r\n";
    WriteBytes(path, original);
    TIniFile ini(path);
    TFont a, b;
    ReadFontIni(ini, a, "Fonts", "A");
    ReadFontIni(ini, b, "Fonts", "B");
    WriteFontIni(ini, a, "Fonts", "A");
    WriteFontIni(ini, b, "Fonts", "B");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadBytes(path), original);
}

} // namespace
