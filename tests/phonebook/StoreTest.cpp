// The phone-book store: folders, tables created when missing, ID counters,
// sort keys and derived fields.
#include "DbTestUtil.h"
#include "FailureTrace.h"
#include "IniFile.h"
#include "Nlsfunc.h"
#include "Paths.h"
#include "PhoneBookStore.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

namespace {

class Store : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramDirForTesting(langDir.Path());
        Language("[Texty]\r\n2000=Fixed\r\n2001=Fax\r\n2002=Local\r\n2003=Mobile\r\n2010=Man\r\n2011=Woman\r\n");
        Nls = &nls;
    }
    void Language(const std::string &file)
    {
        WriteBytes(langDir.File("Talvodel.tst"), file);
        nls.SetLanguage("tst");
        nls.LoadTexts();
        nls.CloseFile();
    }
    void TearDown() override
    {
        Nls = nullptr;
        SetProgramDirForTesting("");
    }
    std::unique_ptr<TPhoneBookStore> Make(const std::string &home = "")
    {
        if (!home.empty())
            WriteBytes(data.File("Talvodem.ini"), "[Dbf]\r\nHome=" + home + "\r\n");
        TIniFile ini(data.File("Talvodem.ini"));
        return std::make_unique<TPhoneBookStore>(ini, data.Path());
    }
    static void AddFirm(TPhoneBookStore &s, int id, const std::string &name)
    {
        s.TableFirm.Append();
        s.TableFirm.FieldByName("ID").SetAsInteger(id);
        s.TableFirm.FieldByName("NAME").SetAsString(name);
        TPhoneBookStore::SetFirmKeys(s.TableFirm);
        s.TableFirm.Post();
    }

    TempDir langDir, data;
    TNlsFunc nls;
};

bool IsDir(const std::string &path) { return std::filesystem::is_directory(path); }

} // namespace

TEST_F(Store, FirstStartCreatesFoldersAndEmptyTables)
{
    auto s = Make();
    EXPECT_EQ(s->DatabaseDir, data.Path() + "Dbf");
    EXPECT_FALSE(s->TablesOpen);
    s->OpenTables();
    ASSERT_TRUE(s->TablesOpen);
    EXPECT_TRUE(IsDir(data.File("Cfgs")));
    for (const char *f : {"Firms.dbf", "Firms.cdx", "Firms.fpt", "Repres.dbf", "Repres.cdx", "Nums.dbf", "Nums.cdx",
                          "Contacts.dbf", "Contacts.cdx", "Contacts.fpt"})
        EXPECT_TRUE(std::filesystem::exists(data.File("Dbf/") + f)) << f;
    EXPECT_EQ(s->NextFirmId, 1);
    EXPECT_EQ(s->NextRepreId, 1);
    EXPECT_EQ(s->TableFirm.RecordCount(), 0);
    s->TableRepre.SetIndexName("SURNAME");
    s->TableContact.SetIndexName("DATUM");
    s->CloseTables();
    EXPECT_FALSE(s->TablesOpen);
    EXPECT_FALSE(s->QueryNum.Active());

    // A nested relative folder is created with its parents.
    auto nested = Make("Books/Office");
    nested->OpenTables();
    EXPECT_TRUE(nested->TablesOpen);
    EXPECT_TRUE(IsDir(data.File("Books/Office")));
}

TEST_F(Store, AbsoluteHomeIsUsedAsItStandsAndNeverCreated)
{
    TempDir elsewhere;
    auto s = Make(elsewhere.Path() + "missing");
    EXPECT_EQ(s->DatabaseDir, elsewhere.Path() + "missing");
    s->OpenTables();
    EXPECT_FALSE(s->TablesOpen);
    EXPECT_FALSE(IsDir(elsewhere.Path() + "missing"));
    EXPECT_EQ(s->NextFirmId, 0);

    auto t = Make(elsewhere.Path());
    t->OpenTables();
    EXPECT_TRUE(t->TablesOpen);
    EXPECT_TRUE(std::filesystem::exists(elsewhere.File("Nums.dbf")));
}

TEST_F(Store, UnreadableTableLeavesTheStoreClosedAndATraceLine)
{
    auto s = Make();
    std::filesystem::create_directories(data.File("Dbf"));
    WriteBytes(data.File("Dbf/NUMS.DBF"), "not a table at all, just some bytes");
    SetFailureTrace(data.File("t.trc"));
    EXPECT_NO_THROW(s->OpenTables());
    SetFailureTrace("");
    EXPECT_FALSE(s->TablesOpen);
    EXPECT_NE(ReadBytes(data.File("t.trc")).find(" Failure in TPhoneBookStore::OpenTables: "), std::string::npos);
    EXPECT_TRUE(s->TableRepre.Active()); // what opened before the error stays open
    EXPECT_FALSE(s->TableNum.Active());
    EXPECT_EQ(s->NextRepreId, 0);
    s->ScanNextIds();
    EXPECT_EQ(s->NextRepreId, 0);
}

TEST_F(Store, NextIdsSeeEveryLiveRowWhateverFilterAndOrder)
{
    {
        auto s = Make();
        s->OpenTables();
        AddFirm(*s, 3, "C");
        AddFirm(*s, 41, "A");
        AddFirm(*s, -5, "B");
        AddFirm(*s, 99, "Gone");
        s->TableFirm.Last();
        s->TableFirm.Delete();
        s->TableFirm.SetIndexName("NAME");
        s->TableFirm.SetFilter("ID=3");
        s->ScanNextIds();
        EXPECT_EQ(s->NextFirmId, 42);
        EXPECT_EQ(s->TableFirm.Filter(), "ID=3");
        EXPECT_EQ(s->TableFirm.IndexName(), "NAME");
        EXPECT_EQ(s->TableFirm.FieldByName("ID").AsInteger(), 3);
    }
    // The fixtures, named as on Windows: the deleted firm 41 does not count.
    TempDir book;
    CopyFixtures(book);
    for (const char *ext : {".dbf", ".cdx", ".fpt"})
        std::filesystem::rename(book.File(std::string("Firms") + ext), book.File(DbUpper(std::string("Firms") + ext)));
    auto s = Make(book.Path());
    s->OpenTables();
    ASSERT_TRUE(s->TablesOpen);
    EXPECT_EQ(s->NextFirmId, 8);
    EXPECT_EQ(s->NextRepreId, 3);
    EXPECT_FALSE(std::filesystem::exists(book.File("Firms.dbf")));
}

TEST_F(Store, DerivedFieldsFromTextsAndLookups)
{
    TempDir book;
    CopyFixtures(book);
    auto s = Make(book.Path());
    s->OpenTables();
    ASSERT_TRUE(s->TablesOpen);
    s->TableRepre.First();
    EXPECT_EQ(s->RepreSex(), "Man");
    EXPECT_EQ(s->RepreFirm(), "\xC8" "ern\xE1 Hora s.r.o.");
    s->TableRepre.Next();
    EXPECT_EQ(s->RepreSex(), "Woman");
    EXPECT_EQ(s->RepreFirm(), "Hradec Trade");
    // A renamed firm shows at once through the lookup.
    ASSERT_TRUE(s->TableFirm.Locate({{"ID", "7"}}));
    s->TableFirm.Edit();
    s->TableFirm.FieldByName("NAME").SetAsString("Hradec Trade II");
    s->TableFirm.Post();
    EXPECT_EQ(s->RepreFirm(), "Hradec Trade II");

    std::string typ;
    for (s->TableNum.First(); !s->TableNum.Eof(); s->TableNum.Next())
        typ += s->NumTyp() + "|" + s->NumFirm() + "|" + s->NumRepre() + ";";
    EXPECT_EQ(typ, "Fixed|\xC8" "ern\xE1 Hora s.r.o.|;Mobile|\xC8" "ern\xE1 Hora s.r.o.|Nov\xE1k;"
                   "Local|Hradec Trade II|Dvo\xF8\xE1kov\xE1;Fax|Hradec Trade II|;Fixed|Ivan\xE8ice Ml\xFDn|;");

    s->TableContact.First();
    EXPECT_EQ(s->ContactCheck() + s->ContactFirm() + "|" + s->ContactRepre(), "\xD6\xC8" "ern\xE1 Hora s.r.o.|Nov\xE1k");
    s->TableContact.Next();
    EXPECT_EQ(s->ContactCheck() + s->ContactFirm() + "|" + s->ContactRepre(), "Hradec Trade II|");
    s->TableNum.Append();
    s->TableNum.FieldByName("TYPE").SetAsString("X");
    EXPECT_EQ(s->NumTyp() + s->NumFirm(), "");
    s->TableNum.Cancel();
}

TEST_F(Store, SortKeysFollowTheLanguageAfterRebuild)
{
    auto s = Make();
    s->OpenTables();
    AddFirm(*s, 1, "Alfa");
    AddFirm(*s, 2, "Beta");
    s->TableContact.Append();
    s->TableContact.FieldByName("SUBJECT").SetAsString("visit");
    s->TableContact.Post();
    // Posting a contact fills its subject's sort key.
    EXPECT_EQ(s->TableContact.FieldByName("XSUBJECT").AsString(), "VISIT");
    s->TableFirm.SetIndexName("NAME");
    EXPECT_EQ(Walk(s->TableFirm), (std::vector<uint32_t>{1, 2}));

    // A language whose collation puts B before A.
    Language("[Sort]\r\nA=66\r\nB=65\r\n");
    s->TableContact.Edit();
    s->TableContact.FieldByName("XSUBJECT").SetAsString("");
    s->TableContact.FieldByName("SUBJECT").SetAsString("Again");
    s->TableContact.Post();
    s->RebuildKeys();
    EXPECT_EQ(Walk(s->TableFirm), (std::vector<uint32_t>{2, 1}));
    EXPECT_EQ(s->TableFirm.IndexName(), "NAME");
    s->TableContact.First();
    EXPECT_EQ(s->TableContact.FieldByName("XSUBJECT").AsString(), nls.MakeSortKey("Again"));
    EXPECT_EQ(CdxOrder(data.File("Dbf/Firms.cdx"), "NAME"), (std::vector<uint32_t>{2, 1}));
}

// Two programs opened one book, so both counted the next ID from the same
// scan: a new row still takes its ID from the table as it stands when it
// lands, the other program's (a process of its own) and the other store's
// rows included.
TEST_F(Store, TwoProgramsOnOneBookNeverGiveOutAnIdTwice)
{
    TempDir book;
    CopyFixtures(book);
    auto a = Make(book.Path()), b = Make(book.Path());
    a->OpenTables();
    b->OpenTables();
    ASSERT_TRUE(a->TablesOpen && b->TablesOpen);
    struct TCase {
        TDbCursor TPhoneBookStore::*Table;
        int Next;
    };
    for (TCase t : {TCase{&TPhoneBookStore::TableFirm, 8}, TCase{&TPhoneBookStore::TableRepre, 3}}) {
        auto add = [&](TPhoneBookStore &s) {
            TDbCursor &c = s.*t.Table;
            c.Append();
            c.FieldByName("NAME").SetAsString("New");
            s.Post(c);
            return static_cast<int>(c.FieldByName("ID").AsInteger());
        };
        pid_t child = fork();
        if (child == 0)
            try {
                _exit(add(*b)); // program B, counting from its own scan
            } catch (...) {
                _exit(255);
            }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), t.Next);
        EXPECT_EQ(add(*a), t.Next + 1);
        EXPECT_EQ(add(*b), t.Next + 2);
        EXPECT_EQ(add(*a), t.Next + 3);
    }
}
