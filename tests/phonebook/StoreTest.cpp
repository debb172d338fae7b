// The phone-book store: folders, tables created when missing, ID counters,
// sort keys and derived fields.
#include "DbTestUtil.h"
#include "DbfFormat.h"
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
    // Two programs' stores, open on one copy of the fixture book.
    std::pair<std::unique_ptr<TPhoneBookStore>, std::unique_ptr<TPhoneBookStore>> TwoOn(const TempDir &book)
    {
        CopyFixtures(book);
        auto a = Make(book.Path()), b = Make(book.Path());
        a->OpenTables();
        b->OpenTables();
        EXPECT_TRUE(a->TablesOpen && b->TablesOpen);
        return {std::move(a), std::move(b)};
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

// Programs opening a new book at the same moment each make no table the
// other made: both open the book, and what each then stores is there.
TEST_F(Store, ProgramsOpeningANewBookTogetherBothOpenItAndKeepTheirRows)
{
    for (int round = 0; round < 20; ++round) {
        TempDir book;
        Make(book.Path()); // the settings, written before both start
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        pid_t programs[2];
        for (int id : {1, 2}) {
            programs[id - 1] = fork();
            if (programs[id - 1] == 0) {
                ::close(go[1]);
                char c;
                _exit(::read(go[0], &c, 1) == 0 ? [&] {
                    auto s = Make();
                    s->OpenTables();
                    if (!s->TablesOpen)
                        return 1;
                    AddFirm(*s, id, "Firm " + std::to_string(id));
                    return 0;
                }() : 2);
            }
        }
        ::close(go[0]);
        ::close(go[1]); // both start now
        for (pid_t p : programs) {
            int status = 0;
            waitpid(p, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        auto s = Make(book.Path());
        s->OpenTables();
        ASSERT_TRUE(s->TablesOpen);
        EXPECT_EQ(s->TableFirm.RecordCount(), 2) << "round " << round;
    }
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
    auto [a, b] = TwoOn(book);
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

namespace {

// Adds a row through the store's post path; the record count it left.
uint32_t AddRow(TPhoneBookStore &s, TDbCursor &c, std::initializer_list<std::pair<const char *, const char *>> fields)
{
    c.Append();
    for (const auto &[f, v] : fields)
        c.FieldByName(f).SetAsString(v);
    try {
        s.Post(c);
    } catch (...) {
        c.Cancel();
        throw;
    }
    return c.FileRecordCount();
}

std::vector<int64_t> Ids(TDbCursor &c)
{
    std::vector<int64_t> ids;
    c.ScanRecords([&](uint32_t r, const char *) {
        c.GotoBookmark(r);
        ids.push_back(c.FieldByName("ID").AsInteger());
    });
    return ids;
}

} // namespace

// Program A deleted Hradec Trade (7) and Novak (1) while B still showed them:
// what B adds under them is refused, and nothing is stored. Rows left behind
// by a program that deleted without its details keep their IDs from being
// given again.
TEST_F(Store, RowsLandOnlyUnderAFirmAndRepresentativeThatStand)
{
    TempDir book;
    auto [a, b] = TwoOn(book);
    for (auto [table, id] : {std::pair{&TPhoneBookStore::TableFirm, "7"}, {&TPhoneBookStore::TableRepre, "1"}}) {
        ASSERT_TRUE(((*a).*table).Locate({{"ID", id}}));
        a->Delete((*a).*table);
    }
    struct TCase {
        TDbCursor TPhoneBookStore::*Table;
        std::initializer_list<std::pair<const char *, const char *>> Fields;
    } refused[] = {
        {&TPhoneBookStore::TableNum, {{"IDF", "7"}, {"IDR", "0"}, {"NUM", "555666777"}}},
        {&TPhoneBookStore::TableRepre, {{"IDF", "7"}, {"SURNAME", "Late"}}},
        {&TPhoneBookStore::TableContact, {{"IDF", "7"}, {"IDR", "0"}, {"SUBJECT", "Late"}}},
        {&TPhoneBookStore::TableNum, {{"IDF", "1"}, {"IDR", "1"}, {"NUM", "555666778"}}},
        {&TPhoneBookStore::TableContact, {{"IDF", "1"}, {"IDR", "1"}, {"SUBJECT", "Late"}}},
    };
    for (const TCase &c : refused) {
        TDbCursor &table = (*b).*c.Table;
        const uint32_t before = table.FileRecordCount();
        EXPECT_THROW(AddRow(*b, table, c.Fields), EDbOwnerGone) << table.TableName;
        EXPECT_EQ(table.FileRecordCount(), before) << table.TableName;
    }
    EXPECT_EQ(b->NextRepreId, 3) << "a refused representative takes no ID";
    EXPECT_EQ(AddRow(*b, b->TableNum, {{"IDF", "1"}, {"IDR", "0"}, {"NUM", "555666779"}}), 6u) << "the firm stands";

    // A program opened now counts from the firms and representatives still
    // there, yet firm 7 and representatives 1 and 2 still have numbers.
    ASSERT_TRUE(a->TableRepre.Locate({{"ID", "2"}}));
    a->Delete(a->TableRepre);
    auto c = Make(book.Path());
    c->OpenTables();
    for (int i = 0; i < 5; ++i)
        AddRow(*c, c->TableFirm, {{"NAME", "New"}});
    EXPECT_EQ(Ids(c->TableFirm), (std::vector<int64_t>{1, 3, 8, 9, 10, 11, 12}));
    AddRow(*c, c->TableRepre, {{"IDF", "1"}, {"SURNAME", "New"}});
    EXPECT_EQ(Ids(c->TableRepre), (std::vector<int64_t>{3}));
}

// A added firms 1 and 2 and, under firm 1, representatives 1 and 2, then
// deleted the second of each while B still showed them. C, started since,
// adds a firm and a representative; another engine appends a row with ID 4
// and one without, C adds one, and the engine writes ID 7 into its row in
// place, which the headers do not show. C never takes a deleted row's ID
// nor 7, and what B saves under the deleted rows is refused, not filed
// under C's.
TEST_F(Store, IdsOfDeletedRowsOrWrittenInPlaceAreNeverGivenAgain)
{
    TempDir book;
    auto a = Make(book.Path()), b = Make(book.Path()), c = Make(book.Path());
    a->OpenTables();
    b->OpenTables();
    auto add = [](TPhoneBookStore &s, TDbCursor &t, const char *id, const char *name) {
        t.Append();
        t.FieldByName("ID").SetAsString(id);
        t.FieldByName("NAME").SetAsString(name);
        if (t.HasField("IDF"))
            t.FieldByName("IDF").SetAsInteger(1);
        s.Post(t);
        return t.FieldByName("ID").AsInteger();
    };
    for (TDbCursor *t : {&a->TableFirm, &a->TableRepre}) {
        add(*a, *t, "", "First");
        add(*a, *t, "", "Second");
        ASSERT_TRUE(t->Locate({{"ID", "2"}}));
        a->Delete(*t);
    }
    c->OpenTables();
    for (TDbCursor *mine : {&c->TableFirm, &c->TableRepre}) {
        TDbCursor other;
        other.OpenLike(*mine);
        std::vector<int64_t> taken{add(*c, *mine, "", "New")};
        add(*c, other, "4", "Other");
        add(*c, other, "", "Filled");
        taken.push_back(add(*c, *mine, "", "New"));
        std::string bytes = ReadBytes(mine->FileName());
        const TDbFieldDef &id = mine->FieldDef("ID");
        bytes.replace(bytes.find("Filled") - mine->FieldDef("NAME").Offset + id.Offset, 20, DbfFormatNumber(7, id));
        WriteBytes(mine->FileName(), bytes);
        for (int i = 0; i < 3; ++i)
            taken.push_back(add(*c, *mine, "", "New"));
        EXPECT_EQ(taken, (std::vector<int64_t>{3, 5, 8, 9, 10})) << mine->TableName;
    }
    EXPECT_THROW(AddRow(*b, b->TableNum, {{"IDF", "2"}, {"IDR", "0"}}), EDbOwnerGone);
    EXPECT_THROW(AddRow(*b, b->TableNum, {{"IDF", "1"}, {"IDR", "2"}}), EDbOwnerGone);
}

namespace {

// Another program, in a process of its own, adds a row to like's table and
// deletes the row where gone.first holds gone.second.
void AnotherProgram(const TDbCursor &like, const std::vector<std::pair<std::string, std::string>> &added,
                    const std::pair<std::string, std::string> &gone)
{
    pid_t child = fork();
    if (child == 0) {
        try {
            TDbCursor t;
            t.OpenLike(like);
            t.Append();
            for (const auto &[f, v] : added)
                t.FieldByName(f).SetAsString(v);
            t.Post();
            if (!t.Locate({gone}))
                _exit(2);
            t.Delete();
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace

// Another program adds a firm and deletes one, or adds a number and deletes
// one, just before we add, edit or delete a row of the same table in the same
// turn: our save takes its change in as it writes, yet the store's lookups
// must not count it as seen. A number under its new firm is stored, one
// under the firm it deleted is refused, and callers are named by its numbers.
TEST_F(Store, OurSaveNeverHidesWhatAnotherProgramWroteJustBefore)
{
    TempDir book;
    auto a = Make(book.Path());
    a->OpenTables();
    AddRow(*a, a->TableFirm, {{"ID", "1"}, {"NAME", "Alfa"}});
    for (const char *id : {"30", "31", "32"})
        AddRow(*a, a->TableFirm, {{"ID", id}, {"NAME", "Doomed"}});
    for (const char *num : {"55500000", "55500001", "55500002"})
        AddRow(*a, a->TableNum, {{"IDF", "1"}, {"IDR", "0"}, {"NUM", num}});
    struct TCase {
        TDbCursor TPhoneBookStore::*Table;
        const char *Field;
    };
    for (int kind = 0; kind < 3; ++kind) // add, edit, delete
        for (TCase t : {TCase{&TPhoneBookStore::TableFirm, "NAME"}, TCase{&TPhoneBookStore::TableNum, "NUM"}}) {
            TDbCursor &mine = (*a).*t.Table;
            const std::string k = std::to_string(kind), what = mine.TableName + " " + k;
            if (kind == 0)
                mine.Append();
            else
                ASSERT_TRUE(mine.Locate({{t.Field, kind == 1 ? "Ours" : "Edited"}})) << what;
            if (kind == 1)
                mine.Edit();
            if (kind < 2)
                mine.FieldByName(t.Field).SetAsString(kind == 0 ? "Ours" : "Edited");
            a->FirmRow(1); // the lookups current before the other program writes
            a->NumberRow("55500000");
            const bool firms = t.Table == &TPhoneBookStore::TableFirm;
            if (firms)
                AnotherProgram(mine, {{"ID", "2" + k}, {"NAME", "Theirs"}}, {"ID", "3" + k});
            else
                AnotherProgram(mine, {{"IDF", "1"}, {"IDR", "0"}, {"NUM", "6660000" + k}}, {"NUM", "5550000" + k});
            if (kind < 2)
                a->Post(mine);
            else
                a->Delete(mine);
            if (firms) {
                const std::string theirs = "2" + k, gone = "3" + k;
                EXPECT_NO_THROW(AddRow(*a, a->TableNum, {{"IDF", theirs.c_str()}, {"IDR", "0"}})) << what;
                EXPECT_THROW(AddRow(*a, a->TableNum, {{"IDF", gone.c_str()}, {"IDR", "0"}}), EDbOwnerGone) << what;
            } else {
                EXPECT_EQ(a->NameByNumber("6660000" + k, "?", '(', {}), "Alfa") << what;
                EXPECT_EQ(a->NameByNumber("5550000" + k, "?", '(', {}), "?") << what;
            }
        }
}

// A changes only the letter case (or only the city) of Hradec Trade while B
// renames it: the sort keys are those of the row as it lands, so the name
// index orders it by the name it has.
TEST_F(Store, SortKeysComeFromTheRowAsItLands)
{
    TempDir book;
    auto [a, b] = TwoOn(book);
    auto edit = [](TPhoneBookStore &s, const char *field, const char *value) {
        ASSERT_TRUE(s.TableFirm.Locate({{"ID", "7"}}));
        s.TableFirm.Edit();
        s.TableFirm.FieldByName(field).SetAsString(value);
    };
    struct TCase {
        const char *Field, *Value, *Name, *City;
    } cases[] = {{"NAME", "HRADEC TRADE", "HRADEC TRADE", "Hradec Kr\xE1lov\xE9"},
                 {"ADD_CITY", "Brno", "Zlin Trade", "Brno"}};
    for (const TCase &t : cases) {
        edit(*a, t.Field, t.Value);
        edit(*b, "NAME", "Zlin Trade");
        b->Post(b->TableFirm);
        a->Post(a->TableFirm);
        TDbCursor &f = b->TableFirm;
        ASSERT_TRUE(f.Locate({{"ID", "7"}}));
        EXPECT_EQ(f.FieldByName("NAME").AsString(), t.Name);
        EXPECT_EQ(f.FieldByName("XNAME").AsString(), nls.MakeSortKey(t.Name));
        EXPECT_EQ(f.FieldByName("ADD_CITY").AsString(), t.City);
        EXPECT_EQ(f.FieldByName("XADD_CITY").AsString(), nls.MakeSortKey(t.City));
        // By the keys' bytes: Hradec, Ivancice, Zlin, then Cerna Hora (0xC8).
        const std::vector<uint32_t> order = t.Name[0] == 'Z' ? std::vector<uint32_t>{3, 2, 1} : std::vector<uint32_t>{2, 3, 1};
        f.SetIndexName("NAME");
        EXPECT_EQ(Walk(f), order) << t.Name;
        f.SetIndexName("");
        edit(*b, "NAME", "Hradec Trade");
        b->Post(b->TableFirm);
    }
}

// Books brought from elsewhere hold IDs up to what a float field keeps: a new
// firm or representative never takes an ID some row has, and when the range
// has none left the row is refused and nothing stored.
TEST_F(Store, IdsAtTheTopOfTheRangeAreNeverGivenTwice)
{
    auto s = Make();
    s->OpenTables();
    AddFirm(*s, 2147483646, "Migrated");
    AddFirm(*s, 2, "Two");
    TDbCursor other; // rows another program left without their firm
    other.OpenLike(s->TableNum);
    other.Append();
    other.FieldByName("IDF").SetAsString("1");
    other.Post();
    s->ScanNextIds();
    for (int i = 0; i < 3; ++i)
        AddRow(*s, s->TableFirm, {{"NAME", "New"}});
    AddFirm(*s, 0, "Huge");
    s->TableFirm.Edit();
    s->TableFirm.FieldByName("ID").SetAsString("5000000000");
    s->Post(s->TableFirm);
    AddRow(*s, s->TableFirm, {{"NAME", "New"}});
    EXPECT_EQ(Ids(s->TableFirm), (std::vector<int64_t>{2147483646, 2, 2147483647, 3, 4, 5000000000, 5}));

    s->MaxId = 5;
    const uint32_t before = s->TableFirm.FileRecordCount();
    EXPECT_THROW(AddRow(*s, s->TableFirm, {{"NAME", "Full"}}), EDbNoFreeId);
    EXPECT_EQ(s->TableFirm.FileRecordCount(), before);
    EXPECT_EQ(LowestFreeId({3, 1, 1, 2, 7}, 10), 4);
    EXPECT_EQ(LowestFreeId({}, 10), 1);
}
