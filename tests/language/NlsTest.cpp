#include "IniFile.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

// A language object over a hand-made language file "Talvodel.tst".
class LanguageFile : public ::testing::Test {
protected:
    void Load(const std::string &contents)
    {
        SetProgramDirForTesting(dir.Path());
        WriteBytes(dir.File("Talvodel.tst"), contents);
        nls.SetLanguage("tst");
        nls.LoadTexts();
    }
    void TearDown() override { SetProgramDirForTesting(""); }

    TempDir dir;
    TNlsFunc nls;
};

TEST_F(LanguageFile, TextsResolveEscapesAndMissingOrEmptyKeysGiveNothing)
{
    Load("[Texty]\r\n7=a\\nb\r\n9=\\\"quoted\\\"\r\n10=\r\n11=x\\\\\"y\r\n-3=minus\r\n");
    EXPECT_EQ(nls.GetText(7), "a\r\nb");
    EXPECT_EQ(nls.GetText(8), "");
    EXPECT_EQ(nls.GetText(9), "\"quoted\"");
    EXPECT_EQ(nls.GetText(10), "");
    EXPECT_EQ(nls.GetText(11), "x\"y") << "the search starts again from the start of the line";
    EXPECT_EQ(nls.GetText(-3), "minus");
    Load("[Texty]\r\n1=a\\n" + std::string(1500, 'x') + "\r\n");
    EXPECT_EQ(nls.GetText(1), "a\r\n" + std::string(1000, 'x')) << "a thousand characters survive an escape";
}

TEST_F(LanguageFile, ParamTextFallsBackAndKeepsQuoteEscapes)
{
    Load("[Common]\r\n5=one\\ntwo\\\"\r\n");
    EXPECT_EQ(nls.GetParamText("Common", 12, "OK"), "OK");
    EXPECT_EQ(nls.GetParamText("Common", 5, ""), "one\r\ntwo\\\"");
    nls.CloseFile();
    EXPECT_EQ(nls.GetParamText("Common", 5, "closed"), "closed");
    EXPECT_EQ(nls.GetText(5), "") << "texts are only what Texty holds";
}

TEST_F(LanguageFile, MissingFileReadsAsEmptyAndCodeIsFoundWithoutCase)
{
    SetProgramDirForTesting(dir.Path());
    nls.SetLanguage("none");
    nls.LoadTexts();
    EXPECT_EQ(nls.GetText(1), "");
    WriteBytes(dir.File("TALVODEL.CZ"), "[Texty]\r\n1=jedna\r\n");
    nls.SetLanguage("Cz");
    nls.LoadTexts();
    EXPECT_EQ(nls.GetText(1), "jedna");
    EXPECT_EQ(nls.Language(), "Cz");
}

} // namespace
