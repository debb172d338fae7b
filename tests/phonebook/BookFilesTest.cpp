// Export and import of the phone book through its text files, and the safe
// replacement of the tables.
#include "BookFiles.h"
#include "DbfText.h"
#include "FailingDisk.h"

#include <gtest/gtest.h>

#include <set>

TEST(BookText, FieldsAndDates)
{
    struct {
        const char *line;
        std::vector<std::string> fields;
    } lines[] = {
        {"a;;b;", {"a", "", "b", ""}},
        {"a;tail", {"a", "", ""}},
        {"no separator", {"", ""}},
    };
    for (const auto &l : lines) {
        size_t cursor = 0;
        for (const std::string &want : l.fields)
            EXPECT_EQ(dbftext::NextField(l.line, cursor), want) << l.line;
    }
    struct {
        const char *text;
        QDate date;
    } dates[] = {
        {"99/12/31", QDate(1999, 12, 31)}, {"05/01/02", QDate(2005, 1, 2)}, {"49/06/30", QDate(2049, 6, 30)},
        {"50/06/30", QDate(1950, 6, 30)},  {"99/12/30", QDate()},           {"99/13/01", QDate()},
        {"xx/01/01", QDate()},             {"", QDate()},
    };
    for (const auto &d : dates)
        EXPECT_EQ(dbftext::TextToDate(d.text), d.date) << d.text;
    EXPECT_EQ(dbftext::DateToText(QDate()), "99/12/30");
    EXPECT_EQ(dbftext::DateToText(QDate(2007, 3, 4)), "07/03/04");
}

TEST_F(BookFiles, ExportWritesTheLinesByteForByte)
{
    Fill();
    TDbCursor other; // a number another program left without its firm
    other.OpenLike(store->TableNum);
    Add(other, {{"IDF", "9"}, {"TYPE", "L"}, {"NUM", "100"}});
    Export();
    const std::string dashes(74, '-');
    EXPECT_EQ(File("Firms.txt"), "Alfa;;Brno;;;;;;;T;F;\r\nBeta;;;;;;;;;F;T;\r\n");
    EXPECT_EQ(File("Firms.txm"), "Alfa;\r\nline 1\nline 2\r\n" + dashes + "\r\n");
    EXPECT_EQ(File("Repres.txt"), "Alfa;;Jan;Nov\xE1k;;T;;;\r\nBeta;;Eva;Nov\xE1k;;F;;;\r\n");
    EXPECT_EQ(File("Repres.txm"), "Alfa;;Jan;Nov\xE1k;;\r\nends in a break\n\r\n" + dashes + "\r\n");
    // The firm's own note is written with an empty representative; no date is 99/12/30.
    EXPECT_EQ(File("Contacts.txt"),
              "Alfa;Nov\xE1k;99/12/31;Call;F;\r\nBeta;Nov\xE1k;99/12/31;Call;F;\r\nBeta;;99/12/30;Firm only;T;\r\n");
    EXPECT_EQ(File("Contacts.txm"), "Alfa;Nov\xE1k;99/12/31;Call;\r\nsaid yes\r\n" + dashes + "\r\n");
    EXPECT_EQ(File("Nums.txt"), "Alfa;Nov\xE1k;M;601;\r\nBeta;Nov\xE1k;T;602;\r\nBeta;;F;603;\r\n;;L;100;\r\n");
    // A file that cannot be written is named, and the earlier set stays whole.
    const std::string firms = File("Firms.txt");
    Add(store->TableFirm, {{"ID", "3"}, {"NAME", "Gamma"}});
    fs::remove(Dir() + "Repres.txt");
    fs::create_directory(Dir() + "Repres.txt");
    fs::remove(Dir() + "Nums.txt");
    Export(Dir() + "Repres.txt");
    EXPECT_FALSE(fs::exists(Dir() + "Nums.txt"));
    EXPECT_EQ(File("Firms.txt"), firms);
    EXPECT_FALSE(fs::exists(bookswap::StagingDir(Dir(), bookswap::kExport)));
}

// A row whose written fields hold ";" or a line break, or whose memo holds a
// line that ends a memo entry, would not read back: it is named and no file
// is replaced, so the last export that can be restored stays.
TEST_F(BookFiles, ExportNamesRowsThatWouldNotReadBackAndKeepsTheLastFiles)
{
    Fill();
    Export();
    const std::string firms = File("Firms.txt"), dashes = "a\n" + std::string(50, '-') + " cut";
    struct Case { TDbCursor *table; TValues values; int kind; std::string name, firm; } cases[] = {
        {&store->TableFirm, {{"ID", "3"}, {"NAME", "Alfa; Beta, s.r.o."}}, 0, "Alfa; Beta, s.r.o.", ""},
        {&store->TableNum, {{"IDF", "2"}, {"IDR", "0"}, {"TYPE", "T"}, {"NUM", "123;456"}}, 3, "123;456", "Beta"},
        {&store->TableRepre, {{"ID", "3"}, {"IDF", "1"}, {"SURNAME", "Dvo\xF8\xE1k"}, {"EMAIL", "a;b"}}, 1,
         "Dvo\xF8\xE1k", "Alfa"},
        {&store->TableContact, {{"IDF", "1"}, {"IDR", "1"}, {"SUBJECT", "Call\r\nback"}}, 2, "Call\r\nback", "Alfa"},
        {&store->TableFirm, {{"ID", "4"}, {"NAME", "Gama"}, {"MEMO", dashes.c_str()}}, 0, "Gama",
         ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Add(*c.table, c.values);
        TDbfExport exp(*store);
        while (exp.Step(2)) {
        }
        ASSERT_EQ(exp.Unreadable().size(), 1u);
        EXPECT_EQ(exp.Unreadable()[0].Table, c.kind);
        EXPECT_EQ(exp.Unreadable()[0].Name, c.name);
        EXPECT_EQ(exp.Unreadable()[0].Firm, c.firm);
        EXPECT_EQ(File("Firms.txt"), firms);
        store->Delete(*c.table);
    }
    Export(); // what reads back is written again
}

TEST_F(BookFiles, RoundTripKeepsTheBookAndTheFiles)
{
    Fill();
    // A namesake of Alfa in another town and one of Jan Novák in his firm,
    // each with a memo and a number of their own.
    Add(store->TableFirm, {{"ID", "3"}, {"NAME", "Alfa"}, {"ADD_CITY", "Praha"}, {"DEALER", "F"},
                           {"SUPPLIER", "F"}, {"MEMO", "other"}});
    Add(store->TableNum, {{"IDF", "3"}, {"IDR", "0"}, {"TYPE", "T"}, {"NUM", "604"}});
    Add(store->TableRepre, {{"ID", "3"}, {"IDF", "1"}, {"NAME", "Jan"}, {"SURNAME", "Nov\xE1k"}, {"MUZ", "T"},
                            {"MEMO", "twin"}});
    Add(store->TableNum, {{"IDF", "1"}, {"IDR", "3"}, {"TYPE", "M"}, {"NUM", "605"}});
    std::string before = Book();
    Export();
    const std::string second = "Alfa" + std::string(36, ' ') + "2;";
    EXPECT_NE(File("Nums.txt").find("\r\n" + second + ";T;604;\r\n"), std::string::npos) << File("Nums.txt");
    EXPECT_NE(File("Firms.txm").find("\r\n" + second + "\r\nother\r\n"), std::string::npos);
    const std::string twin = "Nov\xE1k" + std::string(35, ' ') + "2;";
    EXPECT_NE(File("Nums.txt").find("\r\nAlfa;" + twin + "M;605;\r\n"), std::string::npos);
    EXPECT_NE(File("Repres.txm").find("\r\nAlfa;;Jan;" + twin + ";\r\ntwin\r\n"), std::string::npos);
    std::map<std::string, std::string> files;
    for (const char *f : bookswap::kExportFiles)
        files[f] = File(f);
    ASSERT_EQ(Import(), TDbfImport::kNone);
    // Namesakes keep their own numbers and notes, memos gain no line end,
    // 1999 stays 1999 and no date stays none.
    EXPECT_EQ(Book(), before);
    EXPECT_EQ(store->NextFirmId, 4);
    Export();
    for (const char *f : bookswap::kExportFiles)
        EXPECT_EQ(File(f), files[f]) << f;
    EXPECT_FALSE(fs::exists(bookswap::StagingDir(store->DatabaseDir)));

    // Without its memo files a set reads with empty memos; a complete last
    // line needs no line end.
    for (const char *memos : {"Firms.txm", "Repres.txm", "Contacts.txm"})
        fs::remove(Dir() + memos);
    std::string nums = File("Nums.txt");
    WriteBytes(Dir() + "Nums.txt", nums.substr(0, nums.size() - 2));
    ASSERT_EQ(Import(), TDbfImport::kNone);
    EXPECT_EQ(Rows(store->TableNum, {"IDF", "NUM"}), "1|601;2|602;2|603;3|604;1|605;");
    EXPECT_EQ(Rows(store->TableFirm, {"MEMO"}) + Rows(store->TableRepre, {"MEMO"}), ";;;;;;");
}

TEST_F(BookFiles, ImportKeepsEveryFirmAndSkipsDuplicatesAndLinesWithoutTheirFirm)
{
    for (const char *f : bookswap::kExportFiles)
        WriteBytes(Dir() + f, "");
    // A value longer than its column is cut and counted.
    WriteBytes(Dir() + "Firms.txt", "Alfa;a;\r\nAlfa;b;\r\nBeta;\r\n" + std::string(10 << 20, 'G') + ";;" +
                                        std::string(41, 'w') + ";\r\n");
    WriteBytes(Dir() + "Repres.txt", "Alfa;;Jan;Nov\xE1k;\r\nAlfa;;Jan;Nov\xE1k;\r\nGone;;Ota;Kos;\r\n");
    WriteBytes(Dir() + "Nums.txt", "Alfa;;T;1;\r\nBeta;;T;1;\r\nBeta;Kos;T;2;\r\nAlfa;Nov\xE1k;M;3;\r\nAlfa" +
                                       std::string(36, ' ') + "2;;T;4;\r\n");
    WriteBytes(Dir() + "Contacts.txt", "Beta;;01/02/03;X;\r\nBeta;;01/02/03;X;\r\nAlfa;;01/02/03;X;\r\n");
    ASSERT_EQ(Import(), TDbfImport::kNone);
    EXPECT_EQ(Rows(store->TableFirm, {"ID", "NAME", "ADD_STREET", "XNAME"}),
              "1|Alfa|a|Alfa;2|Alfa|b|Alfa;3|Beta||Beta;4|" + std::string(40, 'G') + "||" + std::string(40, 'G') + ";");
    EXPECT_EQ(cut, 2);
    EXPECT_EQ(Rows(store->TableRepre, {"ID", "IDF", "SURNAME"}), "1|1|Nov\xE1k;2|1|Nov\xE1k;");
    EXPECT_EQ(Rows(store->TableNum, {"IDF", "IDR", "NUM"}), "1|0|1;1|1|3;2|0|4;");
    EXPECT_EQ(Rows(store->TableContact, {"IDF", "DATUM"}), "3|2001-02-03;1|2001-02-03;");
}

TEST_F(BookFiles, BadSetOrCancelKeepsTheOldBook)
{
    Fill();
    Export();
    std::string before = Book();
    const std::string firms = File("Firms.txt"), dashes(74, '-');
    struct {
        const char *file;
        std::string bytes; // null: the file is removed
        TDbfImport::TFailure failure;
        size_t line;
    } cases[] = {
        {"Firms.txt", std::string(), TDbfImport::kMissing, 0},
        {"Nums.txt", std::string(), TDbfImport::kMissing, 0},
        {"Repres.txt", std::string(), TDbfImport::kMissing, 0},
        {"Nums.txt", "Alfa;Nov\xE1k;M;601;\r\nBeta;Nov", TDbfImport::kDamaged, 2},
        {"Firms.txt", std::string("Alfa;\0;\r\n", 9), TDbfImport::kDamaged, 0},
        {"Repres.txm", "Alfa;;Jan;Nov\xE1k;;\r\nends in", TDbfImport::kDamaged, 2},
        {"Firms.txt", firms + "A;B;C;D;E;F;G;H;I;J;K;L;M;N;O;\r\n", TDbfImport::kOverfull, 3},
        {"Nums.txt", "Alfa;Nov\xE1k;M;601;tail", TDbfImport::kOverfull, 1},
        {"Firms.txm", "Alfa;x;\r\nmemo\r\n" + dashes + "\r\n", TDbfImport::kOverfull, 1},
    };
    for (const auto &c : cases) {
        Export();
        if (c.bytes.empty())
            fs::remove(Dir() + c.file);
        else
            WriteBytes(Dir() + c.file, c.bytes);
        EXPECT_EQ(Import(), c.failure) << c.file;
        EXPECT_EQ(failedAt, std::pair(Dir() + c.file, c.line)) << c.file;
        EXPECT_EQ(Book(), before) << c.file;
    }
    Export();
    for (int steps : {0, 3, 8}) {
        EXPECT_EQ(Import(steps), TDbfImport::kCancelled);
        EXPECT_EQ(Book(), before);
        EXPECT_FALSE(fs::exists(bookswap::StagingDir(store->DatabaseDir)));
    }
}

// A crash while the new tables are moved in: opening finishes the move when
// the build was marked complete and drops the build otherwise.
TEST_F(BookFiles, OpeningResolvesAnInterruptedSwap)
{
    TempDir oldTables, newTables;
    auto keep = [&](const TempDir &to) {
        store->CloseTables();
        for (const auto &e : fs::directory_iterator(Dir()))
            if (IsTableFile(e))
                fs::copy_file(e.path(), to.File(e.path().filename().string()), fs::copy_options::overwrite_existing);
        store->OpenTables();
        return Book();
    };
    Fill();
    std::string oldBook = keep(oldTables);
    Export();
    ASSERT_EQ(Import(), TDbfImport::kNone);
    Add(store->TableFirm, {{"ID", "3"}, {"NAME", "Gamma"}});
    std::string newBook = keep(newTables);
    const std::string staging = bookswap::StagingDir(Dir());
    for (bool marked : {false, true}) {
        store.reset();
        fs::copy(oldTables.Path(), Dir(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::create_directories(staging);
        fs::copy(newTables.Path(), staging);
        if (marked) {
            WriteBytes(staging + "Complete", "");
            fs::rename(staging + "Firms.dbf", Dir() + "Firms.dbf"); // moved before the crash
        }
        store = Open();
        EXPECT_EQ(Book(), marked ? newBook : oldBook) << marked;
        EXPECT_FALSE(fs::exists(staging));
    }
}

// The disk fails at each write, sync, rename, file or folder made and file
// removed of an import in turn, once or for good: the book is what the import
// reports, then and at the next start with the disk sound again.
TEST_F(BookFiles, AFailingDiskLeavesTheBookAsTheImportSays)
{
    Fill();
    Export();
    Add(store->TableFirm, {{"ID", "3"}, {"NAME", "Gamma"}}); // not in the files
    TempDir tables;
    const std::string oldBook = KeepTables(tables);
    ASSERT_EQ(Import(), TDbfImport::kNone);
    const std::string newBook = Book();
    ASSERT_NE(newBook, oldBook);
    std::set<TDbfImport::TFailure> seen;
    for (bool lasting : {false, true})
        for (int n = 1;; ++n) {
            PutBackTables(tables);
            TDbfImport::TFailure failure;
            {
                failingdisk::TArmed disk(Dir(), n, lasting);
                failure = Import();
                if (!failingdisk::Failed()) {
                    EXPECT_EQ(failure, TDbfImport::kNone);
                    break;
                }
            }
            seen.insert(failure);
            const bool kept = failure != TDbfImport::kNone && failure != TDbfImport::kPending
                              && failure != TDbfImport::kNotOpened;
            const std::string said = (kept ? "old, " : "new, ") + std::to_string(n) + (lasting ? " for good" : "");
            if (store->TablesOpen) {
                EXPECT_EQ(Book(), kept ? oldBook : newBook) << said;
            } else {
                EXPECT_NE(failure, TDbfImport::kNone) << said;
            }
            store.reset();
            store = Open();
            EXPECT_EQ(Book(), kept ? oldBook : newBook) << said << " at the next start";
            EXPECT_FALSE(fs::exists(bookswap::StagingDir(Dir()))) << said;
        }
    // Failures before, during and after the move were all met.
    EXPECT_TRUE(seen.count(TDbfImport::kUnwritten) && seen.count(TDbfImport::kPending)) << seen.size();
}

// The same for an export: the seven files are all old or all new, as the
// export says, and a set marked complete is in place at the next start, or
// before an import reads.
TEST_F(BookFiles, AFailingDiskLeavesTheExportFilesAllOldOrAllNew)
{
    Fill();
    Export();
    const auto oldFiles = Files();
    Add(store->TableFirm, {{"ID", "3"}, {"NAME", "Gamma"}, {"MEMO", "new"}});
    Export();
    const auto newFiles = Files();
    const std::string staging = bookswap::StagingDir(Dir(), bookswap::kExport);
    int pending = 0;
    for (bool lasting : {false, true})
        for (int n = 1;; ++n) {
            PutFiles(oldFiles);
            TDbfExport exp(*store);
            {
                failingdisk::TArmed disk(Dir(), n, lasting);
                while (exp.Step(100)) {
                }
                if (!failingdisk::Failed()) {
                    EXPECT_EQ(exp.Failed(), "");
                    EXPECT_EQ(Files(), newFiles);
                    break;
                }
            }
            const bool moved = exp.Failed().empty(), waits = exp.Outcome() == bookswap::TCommit::kPending;
            pending += waits;
            const std::string said = std::to_string(n) + (lasting ? " for good" : "") + ": " + exp.Failed();
            if (!waits) {
                EXPECT_EQ(Files(), moved ? newFiles : oldFiles) << said;
            }
            store.reset();
            store = Open();
            EXPECT_EQ(Files(), moved || waits ? newFiles : oldFiles) << said << " at the next start";
            EXPECT_FALSE(fs::exists(staging)) << said;
        }
    EXPECT_GT(pending, 0);

    PutFiles(oldFiles);
    fs::create_directories(staging);
    for (const auto &[name, bytes] : newFiles)
        WriteBytes(staging + name, bytes);
    WriteBytes(staging + "Complete", "");
    fs::rename(staging + "Nums.txt", Dir() + "Nums.txt"); // moved before a crash
    ASSERT_EQ(Import(), TDbfImport::kNone);
    EXPECT_EQ(Files(), newFiles);
    EXPECT_EQ(Rows(store->TableFirm, {"NAME", "MEMO"}), "Alfa|line 1\nline 2;Beta|;Gamma|new;");
}
