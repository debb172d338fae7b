#include "IniFile.h"
#include "PanelSettings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

class PanelSettings : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("Talvodem.ini");
};

TEST_F(PanelSettings, FirstStartGetsTheThreePrefixesAndAPrivateFile)
{
    TPanelSettings s;
    s.LoadIni(path);
    EXPECT_EQ(s.Prefixes.Entries(), (Pairs{{"+420", "_"}, {"+", "00"}, {"00420", "_"}}));
    EXPECT_EQ(s.Currency, "K\xE8");
    EXPECT_EQ(s.KeySPK, 116);
    s.Pass = "tajn\xE9 heslo";
    s.SaveIni(path);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadSectionValues("Prefixes"), (Pairs{{"+420", "_"}, {"+", "00"}, {"00420", "_"}}));
    EXPECT_EQ(ini.ReadString("USR", "Pass", ""), "tajn\xE9 heslo") << "written back as typed";
    EXPECT_EQ(ini.ReadString("Main", "Lang", ""), "cz");
}

TEST_F(PanelSettings, ExistingFileGetsNoDefaultPrefixesAndKeepsHandWrittenKeys)
{
    WriteBytes(path, "[Main]\r\nTrace=1\r\nStableDisp=1\r\nRelaxMinimize=1\r\n[KeyPad]\r\nSPK=70000\r\nFLASH=x\r\n");
    TPanelSettings s;
    s.LoadIni(path);
    EXPECT_TRUE(s.Prefixes.Entries().empty());
    EXPECT_TRUE(s.Trace);
    EXPECT_EQ(s.KeySPK, 70000 & 0xFFFF);
    EXPECT_EQ(s.KeyFLASH, 119) << "not a number gives the default";
    s.Trace = false;
    s.SaveIni(path);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Main", "Trace", ""), "1") << "never written back";
    EXPECT_EQ(ini.ReadString("Main", "StableDisp", ""), "1");
    EXPECT_FALSE(ini.ValueExists("Main", "TraceErase"));
    EXPECT_EQ(ini.ReadInteger("KeyPad", "SPK", 0), 70000 & 0xFFFF);
    EXPECT_FALSE(ini.SectionExists("Prefixes"));

    // Prefixes are set by name in file order.
    WriteBytes(path, "[Prefixes]\r\n+420=_\r\nempty=\r\n+=00\r\n");
    s.LoadIni(path);
    s.Prefixes.Set("+420", "0");
    s.Prefixes.Set("+", "");
    s.Prefixes.Set("9", "");
    EXPECT_EQ(s.Prefixes.Entries(), (Pairs{{"+420", "0"}}));
    EXPECT_EQ(s.Prefixes.Value("+420"), "0");
}

TEST_F(PanelSettings, TwentyThousandPrefixesSurviveARunInOrderAndARemovalKeepsTheRestFound)
{
    WriteBytes(path, "[Main]\r\nLang=eng\r\n");
    TPanelSettings s;
    s.LoadIni(path);
    for (int i = 0; i < 20000; ++i)
        s.Prefixes.Set("p" + std::to_string(i), std::to_string(i));
    s.Prefixes.Set("P5", "");
    s.Prefixes.Set("P7", "seven");
    s.SaveIni(path);
    TPanelSettings again;
    again.LoadIni(path);
    EXPECT_EQ(again.Prefixes.Entries(), s.Prefixes.Entries());
    ASSERT_EQ(again.Prefixes.Entries().size(), 19999u);
    EXPECT_EQ(again.Prefixes.Value("p19999"), "19999");
    EXPECT_EQ(again.Prefixes.Value("p7"), "seven");
    EXPECT_EQ(again.Prefixes.Value("p5"), "");
    EXPECT_EQ(again.Lang, "eng");
}

} // namespace
