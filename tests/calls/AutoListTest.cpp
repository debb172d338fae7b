// The dialler's list over its table: order, who is next, marking, the text file.
#include "AutoList.h"
#include "FailingDisk.h"
#include "FailureTrace.h"
#include "PorterText.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Rec {
    int id;
    std::string name, number, note;
    int attempts = 0;
};

// The list as browsed: one "name:id:attempts" per record.
std::string Browse(TAutoList &list)
{
    std::string out;
    for (list.Table.First(); !list.Table.Eof(); list.Table.Next())
        out += list.Table.FieldByName("NAME").AsString() + ":" + list.Table.FieldByName("ID").AsString() + ":" +
               list.Table.FieldByName("ATTEMPTS").AsString() + " ";
    return out;
}

void Add(TAutoList &list, const Rec &r)
{
    list.Table.Append();
    list.Table.FieldByName("ID").SetAsInteger(r.id);
    list.Table.FieldByName("NAME").SetAsString(r.name);
    list.Table.FieldByName("NUMBER").SetAsString(r.number);
    list.Table.FieldByName("NOTE").SetAsString(r.note);
    list.Table.FieldByName("ATTEMPTS").SetAsInteger(r.attempts);
    list.Table.Post();
}

// A list over a fresh table in a folder of its own.
struct Fresh {
    TempDir dir;
    TAutoList list;
    Fresh() { list.OpenTable(dir.Path()); }
};

TEST(AutoList, FixtureOfAnotherEngineOpensInIdOrderAndRenumbers)
{
    TempDir dir;
    for (const char *f : {"Autosn.dbf", "Autosn.cdx"}) {
        fs::copy_file(std::string(TALVO_FIXTURES_DIR) + "/xbase/" + f, dir.File(f));
        fs::permissions(dir.File(f), fs::perms::owner_write, fs::perm_options::add);
    }
    TAutoList list;
    list.OpenTable(dir.Path());
    ASSERT_TRUE(list.TableOpen);
    EXPECT_EQ(Browse(list), "Beta:-2000000000:0 Alpha:0:0 Gamma:3:2 ");
    list.RenumberRecords();
    EXPECT_EQ(Browse(list), "Beta:-2000000000:0 Alpha:0:0 Gamma:0:0 ");
    EXPECT_EQ(list.NextDoneId, -1999999999);
}

TEST(AutoList, MissingTableIsCreatedAnUnusableFolderLeavesItClosed)
{
    auto [dir, list] = Fresh();
    EXPECT_TRUE(list.TableOpen);
    EXPECT_TRUE(fs::exists(dir.File("Autosn.dbf")) && fs::exists(dir.File("Autosn.cdx")));
    list.CloseTable();
    WriteBytes(dir.File("file"), "x");
    SetFailureTrace(dir.File("t.trc"));
    TAutoList broken;
    broken.OpenTable(dir.File("file"));
    SetFailureTrace("");
    EXPECT_FALSE(broken.TableOpen);
    EXPECT_NE(ReadBytes(dir.File("t.trc")).find(" Failure in TAutoList::OpenTable: "), std::string::npos);
    EXPECT_FALSE(broken.FindNext(0, [] { return true; }));
}

// Calls the list as a run would, each call's outcome ('R' reached, 'F'
// failed) in turn; gives the numbers dialled and then the one due next
// ('-' for none).
std::string Dialled(int repeatCall, const std::string &outcomes, int numbers = 2)
{
    auto [dir, list] = Fresh();
    for (int i = 0; i < numbers; ++i)
        Add(list, {0, "N", std::string(1, static_cast<char>('A' + i)), ""});
    list.RenumberRecords();
    std::string dialled;
    for (char outcome : outcomes) {
        if (!list.FindNext(repeatCall, [] { return true; }))
            return dialled + "!";
        dialled += list.Table.FieldByName("NUMBER").AsString();
        list.FinishCall(list.Table.GetBookmark(), outcome == 'R', repeatCall != 0);
    }
    return dialled + (list.FindNext(repeatCall, [] { return true; }) ? list.Table.FieldByName("NUMBER").AsString()
                                                                        : "-");
}

TEST(AutoList, WhoIsDialledNext)
{
    struct Case {
        int repeatCall;
        std::string outcomes, dialled;
    } cases[] = {
        {0, "RR", "AB-"},     // reached numbers are done
        {0, "F", "AB"},       // a failure waits behind the numbers still to call
        {0, "FR", "ABA"},
        {0, "FFFF", "ABABA"}, // no limit: failures come round again and again
        {2, "FFFF", "ABAB-"}, // each number dialled at most twice
        {1, "FR", "AB-"},
        {3, "RFFF", "ABBB-"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Dialled(c.repeatCall, c.outcomes), c.dialled) << c.repeatCall << " " << c.outcomes;
}

TEST(AutoList, IdleIsAskedBeforeEachRecordAndMarksByHand)
{
    auto [dir, list] = Fresh();
    Add(list, {-5, "Done", "1", ""});
    Add(list, {0, "Next", "2", "", 7});
    int asked = 0;
    EXPECT_FALSE(list.FindNext(0, [&] { return ++asked < 2; })) << "the line became busy";
    EXPECT_EQ(asked, 2);
    ASSERT_TRUE(list.FindNext(0, [] { return true; }));
    list.MarkFailedByHand();
    list.Table.First();
    list.MarkReached();
    EXPECT_EQ(Browse(list), "Done:-2000000000:0 Next:1:0 ");
}

TEST(AutoList, ExportWritesOneLinePerRecordAndImportReadsItBack)
{
    auto [dir, list] = Fresh();
    Add(list, {0, "Alpha", "123", "note"});
    Add(list, {-2000000000, "Beta", "456", ""});
    Add(list, {3, "Gamma", "789", "x", 2});
    std::ostringstream out;
    list.Export(out);
    EXPECT_EQ(out.str(), "456;Beta;;T\r\n123;Alpha;note; \r\n789;Gamma;x;E\r\n");

    list.EraseAll();
    EXPECT_TRUE(list.Table.IsEmpty());
    std::istringstream in(out.str() + "555;Three fields;a note\r\n" + "only;one field\n" + "\n");
    EXPECT_EQ(list.Import(in).Added, 4);
    EXPECT_EQ(Browse(list), "Beta:-2000000000:0 Alpha:0:0 Gamma:0:0 Three fields:0:0 ");
    list.Table.Last();
    EXPECT_EQ(list.Table.FieldByName("NOTE").AsString(), "a note");
}

TEST(AutoList, AnExportThroughALinkWritesTheFileItNamesAndKeepsTheLink)
{
    auto [dir, list] = Fresh();
    Add(list, {0, "Alpha", "123", ""});
    const std::string lines = "123;Alpha;; \r\n";
    fs::create_directory(dir.File("real"));
    WriteBytes(dir.File("real/list.csv"), "old");
    fs::create_symlink("real/list.csv", dir.File("link.csv"));
    fs::create_symlink(dir.File("link.csv"), dir.File("chain.csv"));
    ASSERT_TRUE(list.ExportFile(dir.File("chain.csv")));
    EXPECT_TRUE(fs::is_symlink(dir.File("chain.csv")) && fs::is_symlink(dir.File("link.csv")));
    EXPECT_EQ(ReadBytes(dir.File("real/list.csv")), lines);

    // A link to a file not there yet makes it, as a write through it would.
    fs::create_symlink("real/new.csv", dir.File("dangling.csv"));
    ASSERT_TRUE(list.ExportFile(dir.File("dangling.csv")));
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling.csv")));
    EXPECT_EQ(ReadBytes(dir.File("real/new.csv")), lines);

    fs::create_symlink("loop2.csv", dir.File("loop1.csv"));
    fs::create_symlink("loop1.csv", dir.File("loop2.csv"));
    EXPECT_FALSE(list.ExportFile(dir.File("loop1.csv")));
    EXPECT_TRUE(fs::is_symlink(dir.File("loop1.csv")) && fs::is_symlink(dir.File("loop2.csv")));
}

// The disk fails at each write, sync, rename and file made of an export in
// turn: the earlier list stays byte for byte and nothing is left beside it.
TEST(AutoList, AnExportOnAFailingDiskKeepsTheEarlierFile)
{
    auto [dir, list] = Fresh();
    Add(list, {0, "Alpha", "123", ""});
    fs::create_directory(dir.File("out"));
    const std::string file = dir.File("out/list.csv");
    for (int n = 1;; ++n) {
        WriteBytes(file, "earlier");
        failingdisk::TArmed disk(dir.File("out/"), n);
        const bool written = list.ExportFile(file);
        if (!failingdisk::Failed()) {
            EXPECT_TRUE(written);
            EXPECT_EQ(ReadBytes(file), "123;Alpha;; \r\n");
            break;
        }
        EXPECT_FALSE(written) << n;
        EXPECT_EQ(ReadBytes(file), "earlier") << n;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("out")), fs::directory_iterator()), 1) << n;
    }
}

TEST(AutoList, OneRecordPerLineAtMostFieldsCutAndControlBytesSkipped)
{
    auto [dir, list] = Fresh();
    // The first 199 bytes make the record; the tail is never one of its own.
    std::istringstream in(std::string(190, '1') + ";n;" + std::string(20, 'x') + ";ab;cd;T\r\n");
    EXPECT_EQ(list.Import(in).Added, 1);
    list.Table.First();
    EXPECT_EQ(list.Table.FieldByName("ID").AsInteger(), 0);
    EXPECT_EQ(list.Table.FieldByName("NUMBER").AsString(), std::string(24, '1'));
    EXPECT_EQ(list.Table.FieldByName("NOTE").AsString(), std::string(6, 'x'));

    // 198 bytes: the CR of the line end must not stay in the note.
    list.EraseAll();
    std::istringstream crlf("1;" + std::string(193, 'n') + ";ab\r\n2;m;cd\r\n");
    EXPECT_EQ(list.Import(crlf).Added, 2);
    list.Table.First();
    EXPECT_EQ(list.Table.FieldByName("NOTE").AsString(), "ab");

    list.EraseAll();
    std::istringstream binary(std::string("1;a\x01;b\n2;\x81;c\r\n3;\tx;\n4;\x9A\xE8;ok\r\n\x7F;;\n", 33));
    const TAutoList::TImported counts = list.Import(binary);
    EXPECT_EQ(counts.Added, 1);
    EXPECT_EQ(counts.Skipped, 4);
    EXPECT_EQ(Browse(list), "\x9A\xE8:0:0 ");
}

TEST(PorterText, LoadProgressSaysOnlyWhatIsKnown)
{
    const std::function<std::string(int)> none = [](int) { return std::string(); };
    const std::function<std::string(int)> czech = [](int id) {
        return id == 7308 ? std::string("Na\xE8\xEDt\xE1n\xED: %1 % z %2 kB") : std::string();
    };
    struct Case {
        int progress, maximum;
        const std::function<std::string(int)> &text;
        const char *shown;
    } cases[] = {
        {-1, 0, none, "Done."},
        {50, 2048, none, "Getting Document: 2% of 2K"},
        {1024, 2048, none, "Getting Document: 50% of 2K"},
        {0, 2048, none, "Getting Document: 0% of 2K"},
        {50, 100, none, "Getting Document: 50%"}, // the web engine's share: no size known
        {5, 0, none, "Getting Document..."},
        {1024, 2048, czech, "Na\xE8\xEDt\xE1n\xED: 50 % z 2 kB"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PorterProgressText(c.progress, c.maximum, c.text), c.shown) << c.progress << "/" << c.maximum;
}

} // namespace
