#include "IniFile.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

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
    // For 11 the search for an escape starts again from the start of the line.
    const std::pair<int, const char *> texts[] = {{7, "a\r\nb"}, {8, ""},     {9, "\"quoted\""},
                                                  {10, ""},       {11, "x\"y"}, {-3, "minus"}};
    for (auto [id, text] : texts)
        EXPECT_EQ(nls.GetText(id), text) << id;
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

TEST_F(LanguageFile, AFileChangedSinceItWasReadIsReadAgainEvenWithItsOldTimes)
{
    // Old times let the object keep what it read; the change must still show.
    const timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
    for (const char *text : {"[Texty]\r\n1=a\r\n", "[Texty]\r\n1=b\r\n", "[Texty]\r\n1=c\r\n"}) {
        WriteBytes(dir.File("Talvodel.tst"), text);
        ASSERT_EQ(::utimensat(AT_FDCWD, dir.File("Talvodel.tst").c_str(), past, 0), 0);
        SetProgramDirForTesting(dir.Path());
        nls.SetLanguage("tst");
        nls.LoadTexts();
        EXPECT_EQ(nls.GetText(1), std::string(1, text[11]));
    }
}

// Sort keys from the collation tables the language file carries.
class Collation : public LanguageFile {};

TEST_F(Collation, WeightsKeepLowEightBitsAndIgnoreWhatIsNoNumber)
{
    // Without tables only ASCII letters are upper-cased.
    EXPECT_EQ(nls.MakeSortKey("abc \xE8\x65-1"), "ABC \xE8\x45-1");
    Load("[Sort]\r\nA=0\r\nB=300\r\nC=abc\r\nab=7\r\nx=1\r\nX=2\r\n");
    // A zero weight puts a NUL into the key; a key's first character counts; a
    // lower-case line before its capital wins, as the reader merges keys that
    // differ only in case.
    const std::pair<const char *, std::string> weights[] = {
        {"A", std::string(1, '\0')}, {"a", "\x07"}, {"B", ","}, {"C", "C"}, {"x", "\x01"}, {"X", "X"}};
    for (const auto &[text, weight] : weights)
        EXPECT_EQ(nls.SortWeights(text), weight) << text;
    EXPECT_EQ(nls.MakeSortKey("A"), std::string(1, '\0'));
    EXPECT_EQ(nls.MakeSortKey("x"), "X");
}

TEST_F(Collation, DoublesMatchOnlyTwoUpperCaseCharactersAndTheTailIsBounded)
{
    Load("[Double]\r\nch=90\r\nQQ=81\r\nC=70\r\nCHA=71\r\nAB=66\r\n");
    EXPECT_EQ(nls.MakeSortKey("ch"), "CH") << "a lower-case key never matches";
    EXPECT_EQ(nls.MakeSortKey("qqqq"), "Q") << "each replacement shortens the text by one";
    EXPECT_EQ(nls.MakeSortKey("cab") + nls.MakeSortKey("chab"), "CBCHB") << "keys of other lengths are skipped";
    Load("[Double]\r\nCH=74\r\n");
    EXPECT_EQ(nls.MakeSortKey("ch" + std::string(1500, 'a')), "J" + std::string(1000, 'A'));
}

TEST(ShippedCzech, NamesSortAsACzechReaderExpects)
{
    TNlsFunc nls;
    nls.SetLanguage("cz");
    nls.LoadTexts();
    nls.CloseFile();
    // Hradec, Chrudim, Ivančice; Cyril, Černý; Rudolf, Řevnice; Sova, Šimek; Zdeněk, Žák
    std::vector<std::string> expected = {"Cyril", "\xC8\x65rn\xFD", "Hradec", "Chrudim", "Ivan\xE8ice",
                                         "Rudolf", "\xD8\x65vnice", "Sova", "\x8Aimek", "Zden\xECk", "\x8E\xE1k"};
    std::vector<std::string> names(expected.rbegin(), expected.rend());
    std::sort(names.begin(), names.end(), [&](const std::string &a, const std::string &b) {
        return nls.MakeSortKey(a) < nls.MakeSortKey(b);
    });
    EXPECT_EQ(names, expected);
    // Accented vowels and ď, ť, ň sort with their base letters.
    EXPECT_EQ(nls.MakeSortKey("\xE1\xE9\xEC\xED\xF3\xFA\xF9\xFD\xEF\x9D\xF2"), nls.MakeSortKey("aeeiouuydtn"));
    EXPECT_LT(nls.MakeSortKey("Nov\xE1k"), nls.MakeSortKey("Nov\xE1kov\xE1"));
}

} // namespace
