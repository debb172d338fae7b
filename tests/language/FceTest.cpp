#include "Fce.h"
#include "TempDir.h"
#include "WholeCopy.h"

#include <QDir>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <thread>
#include <tuple>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(CommonFunctions, FieldsDatesNumbersAndToggledLines)
{
    const std::tuple<int, const char *, const char *> cases[] = {
        {0, "a,b,c", "a"}, {1, "a,b,c", "b"}, {2, "a,b,c", "c"}, {7, "a,b,c,d", "c,d"},
        {1, "a,b", ""},    {0, "abc", "abc"}, {1, "abc", ""}};
    for (auto [n, text, field] : cases)
        EXPECT_EQ(GetCommaField(n, text), field) << n << " " << text;

    const std::pair<std::string, std::string> results[] = {
        {SqlDateString(-7, QDate(2007, 1, 3)), "'12/27/2006'"}, {SqlDateString(0, QDate(2006, 8, 9)), "'8/9/2006'"},
        {RightStr("abc", 2), "bc"}, {RightStr("abc", 5), ""}, {RightStr("abc", 0), ""},
        {NormalizeNumber("+420602123456"), "0602123456"}, {NormalizeNumber("+441234"), "00441234"},
        {NormalizeNumber("+42"), "0042"}, {NormalizeNumber("0602"), "0602"}, {NormalizeNumber("*21"), "*21"},
        {NormalizeNumber("(+420) 777-888/99.9"), "0777888999"}, {PlainNumber("+420 (777) 888 999"), "+420777888999"},
        {ToggleLine(true, "hint", "F5"), "hint\nF5"}, {ToggleLine(true, "hint\nF5", "F5"), "hint\nF5"},
        {ToggleLine(false, "hint\nF5\nmore", "F5"), "hint"}, {ToggleLine(false, "hint", "F5"), "hint"},
        {TextBeforeQuote("  name \"rest\""), "name"}, {TextBeforeQuote("\t plain \r\n"), "plain"}};
    std::string shared = "+1"; // numbers appended after others
    AppendNormalizedNumber("+420 77", shared);
    AppendNormalizedNumber("+4", shared);
    EXPECT_EQ(shared, "+1077004");
    for (const auto &[got, want] : results)
        EXPECT_EQ(got, want);
    qputenv("HOME", "/home/tester");
    EXPECT_EQ(GetDataDir("Talvocti"), "/home/tester/Talvocti/");
}

TEST(CommonFunctions, HexAcceptsOnlyTextsItsValueReproduces)
{
    // Zero padding stays accepted; beyond 32 bits is rejected.
    const std::pair<const char *, int> cases[] = {
        {"00FF", 255}, {"1a2B", 7}, {"ff", 7}, {"0xFF", 7}, {"", 7}, {" FF", 7},
        {"80000008", static_cast<int>(0x80000008u)}, {"8000000F", -2147483633}, {"0000000000FF", 255},
        {"1FFFFFFFF", 7}};
    for (auto [text, value] : cases)
        EXPECT_EQ(HexToIntDef(text, 7), value) << text;
}

class FileCopy : public ::testing::Test {
protected:
    TempDir src, dst;
};

TEST_F(FileCopy, CopiesMatchingRegularFilesOnlyAndNothingOntoItself)
{
    WriteBytes(src.File("Riz.skn"), std::string(12000, 's'));
    WriteBytes(src.File("back.BMP"), "bmp");
    WriteBytes(src.File("notes.txt"), "no");
    QDir(QString::fromStdString(src.Path())).mkdir("sub.skn");
    WriteBytes(dst.File("Riz.skn"), "old");
    CopyDirFiles(dst.Path(), src.Path(), "*.skn");
    EXPECT_EQ(ReadBytes(dst.File("Riz.skn")), std::string(12000, 's'));
    EXPECT_FALSE(std::filesystem::exists(dst.File("sub.skn"))) << "a folder is no file to copy";
    EXPECT_FALSE(std::filesystem::exists(dst.File("notes.txt")));
    CopyDirFiles(dst.Path(), src.Path(), "*.bmp");
    EXPECT_EQ(ReadBytes(dst.File("back.BMP")), "bmp") << "masks match without regard to case";
    // The same folder or a missing source copies nothing.
    CopyDirFiles(src.Path(), src.Path(), "*");
    EXPECT_EQ(ReadBytes(src.File("back.BMP")), "bmp");
    CopyFileData(dst.File("x"), src.File("missing"));
    EXPECT_FALSE(std::filesystem::exists(dst.File("x")));
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
    EXPECT_FALSE(std::filesystem::exists(dst.File("big")));
}

// What copies killed half way left is removed: only folders no copy holds and
// that hold nothing but beginnings of the files copied. A copy that finds
// the folder in place, another program's whole one, has done its work.
TEST_F(FileCopy, LeftCopiesGoAndACopyFindingTheFolderInPlaceSucceeds)
{
    WriteBytes(src.File("A.skn"), std::string(3000, 'a'));
    WriteBytes(src.File("B.skn"), "bbbb");
    const std::string skins = dst.File("Skins");
    const auto leave = [&](const std::string &folder, const std::map<std::string, std::string> &files) {
        QDir().mkpath(QString::fromStdString(dst.File(folder)));
        for (const auto &[name, bytes] : files)
            WriteBytes(dst.File(folder + "/" + name), bytes);
    };
    leave("Skins.Ab12Cd", {{"A.skn", std::string(1000, 'a')}});                   // cut in the first file
    leave("Skins.XyZ789", {{"A.skn", std::string(3000, 'a')}, {"B.skn", "bbbb"}}); // cut before the rename
    leave("Skins.Fresh0", {});                                                     // cut as it was made
    leave("Skins.backup", {{"A.skn", "my own"}});
    leave("Skins.notes1", {{"notes.txt", ""}});
    leave("Skins.Busy01", {{"A.skn", "aa"}});
    leave("Skins.old", {});
    const int busy = ::open(dst.File("Skins.Busy01").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    RemoveLeftCopies(skins, src.Path(), "*.skn");
    ::close(busy);
    const QStringList kept = {"Skins.Busy01", "Skins.backup", "Skins.notes1", "Skins.old"};
    const auto beside = [&] {
        return QDir(QString::fromStdString(dst.Path())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    };
    EXPECT_EQ(beside(), kept);

    EXPECT_TRUE(CopyDirWhole(skins, src.Path(), "*.skn"));
    WriteBytes(dst.File("Skins/A.skn"), "edited");
    EXPECT_TRUE(CopyDirWhole(skins + "/", src.Path(), "*.skn"));
    EXPECT_EQ(ReadBytes(dst.File("Skins/A.skn")), "edited") << "the copy in place stays";
    EXPECT_EQ(beside(), QStringList{"Skins"} + kept);
    // Nor is a file or link in its place taken over, nor taken for a copy.
    WriteBytes(dst.File("Other"), "mine");
    EXPECT_FALSE(PlaceWholeCopy(dst.File("Skins"), dst.File("Other")));
    EXPECT_EQ(ReadBytes(dst.File("Other")), "mine");
    EXPECT_EQ(beside(), QStringList{"Other"} + kept);
}

// Programs starting together on a fresh folder, each clearing up and copying
// as at start: every one finds the folder whole and nothing is left beside it.
TEST_F(FileCopy, CopiesStartedTogetherAllSucceedAndLeaveNothingBeside)
{
    for (int i = 0; i < 20; ++i)
        WriteBytes(src.File("S" + std::to_string(i) + ".skn"), std::string(2000, char('a' + i)));
    for (int round = 0; round < 50; ++round) {
        const std::string skins = dst.File("Skins" + std::to_string(round));
        bool ok[3] = {};
        std::vector<std::thread> programs;
        for (bool &result : ok)
            programs.emplace_back([&] {
                RemoveLeftCopies(skins, src.Path(), "*.skn");
                result = std::filesystem::exists(skins) || CopyDirWhole(skins, src.Path(), "*.skn");
            });
        for (auto &p : programs)
            p.join();
        for (bool result : ok)
            ASSERT_TRUE(result) << "round " << round;
        ASSERT_EQ(ReadBytes(skins + "/S19.skn"), std::string(2000, 't'));
    }
    EXPECT_EQ(QDir(QString::fromStdString(dst.Path())).entryList({"*.*"}, QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
}
