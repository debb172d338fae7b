#include "IniFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include <functional>

#include <sys/stat.h>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

class IniFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("test.ini");
};

TEST_F(IniFileTest, SectionReadKeepsFileOrderFirstOfRepeatedKeysAndSkipsEmptyValues)
{
    WriteBytes(path, "[Texty]\r\n20=twenty\r\n3=three\r\nempty=\r\n20=again\r\n; comment\r\nnoequals\r\n1=one\r\n"
                     "[Other]\r\nx=1\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadSectionValues("texty"), (Pairs{{"20", "twenty"}, {"3", "three"}, {"1", "one"}}));
    EXPECT_EQ(ini.ReadSection("TEXTY"), (std::vector<std::string>{"20", "3", "1"}));
    EXPECT_EQ((std::vector<std::string>{ini.ReadString("Texty", "20", "d"), ini.ReadString("Texty", "empty", "d"),
                                        ini.ReadString("Texty", "missing", "d"), ini.ReadString("Missing", "x", "d")}),
              (std::vector<std::string>{"twenty", "", "d", "d"}));
    EXPECT_TRUE(ini.ValueExists("Texty", "empty"));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Texty", "Other"}));
}

TEST_F(IniFileTest, NamesCompareWithoutCaseForCodePageLetters)
{
    // "[Čísla]" with "žluť=1", read back with the capitals.
    WriteBytes(path, "[\xC8\xEDsla]\n\x9El\x75\x9D=1\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("\xC8\xCDSLA", "\x8EL\x55\x8D", 0), 1);
    EXPECT_EQ(ini.ReadInteger("\xE8\xEDsla", "\x9El\x75\x9D", 0), 1);
}

TEST_F(IniFileTest, ValuesAreTrimmedUnquotedAndBounded)
{
    std::string longValue(3000, 'v');
    WriteBytes(path, "[S]\r\n  key  =  spaced value  \r\nq=\"quoted \"\r\ninner=a\"b\"\r\nhalf=\"x\r\nlong=" + longValue +
                         "\r\n");
    TIniFile ini(path);
    const Pairs values = {{"key", "spaced value"}, {"q", "quoted "}, {"inner", "a\"b\""}, {"half", "\"x"}};
    for (const auto &[key, value] : values)
        EXPECT_EQ(ini.ReadString("S", key, ""), value) << key;
    EXPECT_EQ(ini.ReadString("S", "long", "").size(), 2047u);
}

TEST_F(IniFileTest, IntegersAndBooleans)
{
    WriteBytes(path, "[N]\na=42\nb=-7\nc=12x\nd=0x10\ne=99999999999\nf= 5 \nt=2\nz=0\n");
    TIniFile ini(path);
    const std::pair<const char *, int> ints[] = {{"a", 42}, {"b", -7}, {"c", -1}, {"d", -1}, {"e", -1}, {"f", 5}};
    for (auto [key, value] : ints)
        EXPECT_EQ(ini.ReadInteger("N", key, -1), value) << key;
    EXPECT_EQ((std::vector<bool>{ini.ReadBool("N", "t", false), ini.ReadBool("N", "z", true), ini.ReadBool("N", "missing", true)}),
              (std::vector<bool>{true, false, true}));
}

TEST_F(IniFileTest, WritesReplaceInPlaceAppendAddSectionsAtTheEndAndFollowTheFirstOfRepeatedOnes)
{
    struct Case {
        const char *before;
        std::function<void(TIniFile &)> change;
        const char *after;
    };
    const Case cases[] = {
        {"[A]\nKey=old\nother=1\n\n[B]\nx=1\n[D]\ny=2\n",
         [](TIniFile &i) {
             i.WriteString("a", "KEY", "new");
             i.WriteInteger("A", "added", 5);
             i.WriteBool("C", "flag", true);
             i.WriteBool("C", "off", false);
             i.EraseSection("d");
             i.DeleteKey("A", "OTHER");
         },
         "[A]\r\nKey=new\r\nadded=5\r\n\r\n[B]\r\nx=1\r\n[C]\r\nflag=1\r\noff=0\r\n"},
        {"[A]\na=1\n[a]\nb=2\n", [](TIniFile &i) { i.WriteString("A", "b", "3"); },
         "[A]\r\na=1\r\nb=3\r\n[a]\r\nb=2\r\n"},
        {"[A]\na=1\n[a]\nb=2\n", [](TIniFile &i) { i.EraseSection("a"); i.WriteString("A", "b", "3"); },
         "[a]\r\nb=3\r\n"},
        {"[A]\nk=1\nk=2\n", [](TIniFile &i) { i.DeleteKey("A", "K"); i.WriteString("A", "k", "3"); },
         "[A]\r\nk=3\r\n"},
        {"[A]\na=1\n\nb=2\n\n[B]\n", [](TIniFile &i) { i.DeleteKey("A", "b"); i.WriteString("A", "c", "3"); },
         "[A]\r\na=1\r\nc=3\r\n\r\n\r\n[B]\r\n"},
        {"[A]\n", [](TIniFile &i) { i.EraseSection("A"); i.EraseSection("A"); i.WriteString("A", "x", "1"); },
         "[A]\r\nx=1\r\n"},
        {"x=0\n[A]\n", [](TIniFile &i) { i.WriteString("A", "[B]", "1"); i.WriteString("b", "y", "2"); },
         "x=0\r\n[A]\r\n[B]=1\r\ny=2\r\n"},
    };
    for (const auto &c : cases) {
        WriteBytes(path, c.before);
        {
            TIniFile ini(path);
            c.change(ini);
        }
        EXPECT_EQ(ReadBytes(path), c.after) << c.before;
    }
}

TEST_F(IniFileTest, ThousandsOfKeysKeepTheirOrderAndValuesThroughARewrite)
{
    constexpr int kKeys = 20000;
    {
        TIniFile ini(path);
        ini.WriteString("Main", "Lang", "cz");
        for (int i = 0; i < kKeys; ++i)
            ini.WriteInteger("Prefixes", "+" + std::to_string(i), i);
    }
    {
        TIniFile ini(path);
        ini.EraseSection("Prefixes");
        for (int i = kKeys - 1; i >= 0; --i)
            ini.WriteInteger("Prefixes", "+" + std::to_string(i), -i);
        ini.WriteString("Main", "Lang", "eng");
    }
    TIniFile ini(path);
    auto values = ini.ReadSectionValues("Prefixes");
    ASSERT_EQ(values.size(), size_t(kKeys));
    EXPECT_EQ(values.front(), (std::pair<std::string, std::string>{"+19999", "-19999"}));
    EXPECT_EQ(values.back(), (std::pair<std::string, std::string>{"+0", "0"}));
    EXPECT_EQ(ini.ReadInteger("Prefixes", "+1234", 0), -1234);
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Main", "Prefixes"}));
}

int Mode(const std::string &file)
{
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

TEST_F(IniFileTest, MissingFileIsCreatedPrivateOnFirstWriteAndAReplaceKeepsTheMode)
{
    std::string fresh = dir.File("new.ini");
    {
        TIniFile ini(fresh, 0600);
        EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
        EXPECT_TRUE(ini.ReadSections().empty());
    }
    EXPECT_EQ(Mode(fresh), -1) << "reading alone creates nothing";
    TIniFile(fresh).WriteString("S", "password", "secret");
    EXPECT_EQ(Mode(fresh), 0600);
    WriteBytes(path, "[S]\r\nk=1\r\n");
    ::chmod(path.c_str(), 0640);
    TIniFile(path).WriteString("S", "k", "2");
    EXPECT_EQ(Mode(path), 0640);
}

TEST_F(IniFileTest, TwoObjectsNeverWriteStaleCopiesOverEachOther)
{
    WriteBytes(path, "[Main]\r\nLang=cz\r\n");
    TIniFile first(path);
    TIniFile second(path);
    first.WriteString("Main", "Lang", "eng");
    ASSERT_TRUE(first.UpdateFile());
    second.WriteString("TCP", "Port", "6801");
    ASSERT_TRUE(second.UpdateFile());
    TIniFile third(path);
    EXPECT_EQ(third.ReadString("Main", "Lang", ""), "eng");
    EXPECT_EQ(third.ReadString("TCP", "Port", ""), "6801");
    // An object reads its own writes before they reach the file.
    second.WriteString("TCP", "IP", "127.0.0.1");
    EXPECT_EQ(second.ReadString("TCP", "IP", ""), "127.0.0.1");
}

TEST_F(IniFileTest, WritesReachTheFileAtTheNextTurnOfTheEventLoop)
{
    TIniFile ini(path);
    ini.WriteString("S", "k", "v");
    EXPECT_EQ(ReadBytes(path), "");
    QCoreApplication::processEvents();
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n");
}

TEST_F(IniFileTest, UnchangedContentsLeaveTheFileAloneAndLineBreaksCannotSmuggleInKeys)
{
    WriteBytes(path, "[S]\nk=v\n");
    {
        TIniFile ini(path);
        ini.WriteString("S", "k", "v");
        ini.DeleteKey("S", "absent");
    }
    EXPECT_EQ(ReadBytes(path), "[S]\nk=v\n") << "an LF file is not rewritten when nothing changed";
    TIniFile(path).WriteString("S", "name", "Jan\r\n[Main]\r\nPassword=x");
    TIniFile ini(path);
    EXPECT_FALSE(ini.SectionExists("Main"));
    EXPECT_EQ(ini.ReadString("S", "name", ""), "Jan  [Main]  Password=x");
}

TEST_F(IniFileTest, ReplaceIsAtomicAndLeavesNoTemporaryFiles)
{
    WriteBytes(path, "[S]\r\nk=1\r\n");
    {
        TIniFile ini(path);
        for (int i = 0; i < 50; ++i)
            ini.WriteInteger("S", "k" + std::to_string(i), i);
    }
    QDir d(QString::fromStdString(dir.Path()));
    EXPECT_EQ(d.entryList(QDir::Files).size(), 1);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("S", "k49", 0), 49);
}

TEST_F(IniFileTest, ANameNearTheLongestTheFolderTakesIsWrittenAndALongerOneFails)
{
    const std::string longest(255, 'n');
    for (const std::string &name : {longest, longest.substr(0, 254), longest + "n"}) {
        TIniFile ini(dir.File(name));
        ini.WriteInteger("S", "k", 1);
        EXPECT_EQ(ini.UpdateFile(), name.size() <= 255) << name.size();
    }
    EXPECT_EQ(QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files).size(), 2) << "no temporary file stays";
}

} // namespace
