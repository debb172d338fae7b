#include "Fce.h"
#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(CommonFunctions, CommaFields)
{
    EXPECT_EQ(GetCommaField(0, "a,b,c"), "a");
    EXPECT_EQ(GetCommaField(1, "a,b,c"), "b");
    EXPECT_EQ(GetCommaField(2, "a,b,c"), "c");
    EXPECT_EQ(GetCommaField(7, "a,b,c,d"), "c,d");
    EXPECT_EQ(GetCommaField(1, "a,b"), "");
    EXPECT_EQ(GetCommaField(0, "abc"), "abc");
    EXPECT_EQ(GetCommaField(1, "abc"), "");
}

TEST(CommonFunctions, DatesAndRightStr)
{
    EXPECT_EQ(SqlDateString(-7, QDate(2007, 1, 3)), "'12/27/2006'");
    EXPECT_EQ(SqlDateString(0, QDate(2006, 8, 9)), "'8/9/2006'");
    EXPECT_EQ(RightStr("abc", 2), "bc");
    EXPECT_EQ(RightStr("abc", 5), "");
    EXPECT_EQ(RightStr("abc", 0), "");
}

TEST(CommonFunctions, NumberNormalisation)
{
    EXPECT_EQ(NormalizeNumber("+420602123456"), "0602123456");
    EXPECT_EQ(NormalizeNumber("+441234"), "00441234");
    EXPECT_EQ(NormalizeNumber("+42"), "0042");
    EXPECT_EQ(NormalizeNumber("0602"), "0602");
    EXPECT_EQ(NormalizeNumber("*21"), "*21");
}

TEST(CommonFunctions, ToggleLineAddsOnceAndRemovesTheTail)
{
    std::string once = ToggleLine(true, "hint", "F5");
    EXPECT_EQ(once, "hint\nF5");
    EXPECT_EQ(ToggleLine(true, once, "F5"), once);
    EXPECT_EQ(ToggleLine(false, "hint\nF5\nmore", "F5"), "hint");
    EXPECT_EQ(ToggleLine(false, "hint", "F5"), "hint");
}

TEST(CommonFunctions, HexAcceptsOnlyTextsItsValueReproduces)
{
    EXPECT_EQ(HexToIntDef("00FF", 7), 255);
    EXPECT_EQ(HexToIntDef("1a2B", 7), 7);
    EXPECT_EQ(HexToIntDef("ff", 7), 7);
    EXPECT_EQ(HexToIntDef("0xFF", 7), 7);
    EXPECT_EQ(HexToIntDef("", 7), 7);
    EXPECT_EQ(HexToIntDef(" FF", 7), 7);
    EXPECT_EQ(HexToIntDef("80000008", 7), static_cast<int>(0x80000008u));
    EXPECT_EQ(HexToIntDef("8000000F", 7), -2147483633);
    EXPECT_EQ(HexToIntDef("0000000000FF", 7), 255) << "zero padding stays accepted";
    EXPECT_EQ(HexToIntDef("1FFFFFFFF", 7), 7) << "beyond 32 bits";
}

TEST(CommonFunctions, TextBeforeQuoteAndDataDir)
{
    EXPECT_EQ(TextBeforeQuote("  name \"rest\""), "name");
    EXPECT_EQ(TextBeforeQuote("\t plain \r\n"), "plain");
    qputenv("HOME", "/home/tester");
    EXPECT_EQ(GetDataDir("Talvocti"), "/home/tester/Talvocti/");
}

class FileCopy : public ::testing::Test {
protected:
    TempDir src, dst;
};

TEST_F(FileCopy, CopiesMatchingRegularFilesOnly)
{
    WriteBytes(src.File("Riz.skn"), std::string(12000, 's'));
    WriteBytes(src.File("back.BMP"), "bmp");
    WriteBytes(src.File("notes.txt"), "no");
    QDir(QString::fromStdString(src.Path())).mkdir("sub.skn");
    WriteBytes(dst.File("Riz.skn"), "old");
    CopyDirFiles(dst.Path(), src.Path(), "*.skn");
    EXPECT_EQ(ReadBytes(dst.File("Riz.skn")), std::string(12000, 's'));
    struct stat st {};
    EXPECT_NE(::stat(dst.File("sub.skn").c_str(), &st), 0) << "a folder is no file to copy";
    EXPECT_NE(::stat(dst.File("notes.txt").c_str(), &st), 0);
    CopyDirFiles(dst.Path(), src.Path(), "*.bmp");
    EXPECT_EQ(ReadBytes(dst.File("back.BMP")), "bmp") << "masks match without regard to case";
}

TEST_F(FileCopy, SameFolderOrMissingSourceCopiesNothing)
{
    WriteBytes(src.File("a.skn"), "a");
    CopyDirFiles(src.Path(), src.Path(), "*");
    EXPECT_EQ(ReadBytes(src.File("a.skn")), "a");
    CopyFileData(dst.File("x"), src.File("missing"));
    struct stat st {};
    EXPECT_NE(::stat(dst.File("x").c_str(), &st), 0);
}

TEST_F(FileCopy, AShortWriteLeavesNoTruncatedCopy)
{
    WriteBytes(src.File("big"), std::string(20000, 'b'));
    // A child limited to 10000 bytes per file sees its writes cut short.
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{10000, 10000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CopyFileData(dst.File("big"), src.File("big"));
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    struct stat st {};
    EXPECT_NE(::stat(dst.File("big").c_str(), &st), 0);
}
