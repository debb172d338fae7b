#pragma once
// A phone book with its export files in a data folder of its own, for the
// tests of export, import and the staging of their files.
#include "BookSwap.h"
#include "DbTestUtil.h"
#include "DbfExport.h"
#include "DbfImport.h"
#include "IniFile.h"
#include "PhoneBookStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

using TValues = std::initializer_list<std::pair<const char *, const char *>>;

void Add(TDbCursor &c, TValues values)
{
    c.Append();
    for (const auto &[field, value] : values)
        c.FieldByName(field).SetAsString(value);
    c.Post();
}

// A table's own file: its data, memos or index.
bool IsTableFile(const fs::directory_entry &e)
{
    const std::string ext = e.path().extension().string();
    return e.is_regular_file() && (ext == ".dbf" || ext == ".fpt" || ext == ".cdx");
}

class BookFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(data.File("Talvodem.ini"), "[Dbf]\r\nHome=Dbf\r\n");
        store = Open();
    }
    std::unique_ptr<TPhoneBookStore> Open()
    {
        auto s = std::make_unique<TPhoneBookStore>(TIniFile(data.File("Talvodem.ini")), data.Path());
        s->OpenTables();
        return s;
    }
    std::string Dir() const { return data.File("Dbf/"); }
    std::string File(const char *name) const { return ReadBytes(Dir() + name); }

    // Two firms with a namesake each, memos with line breaks, dates around
    // the turn of the century and a note of a firm alone.
    void Fill()
    {
        Add(store->TableFirm, {{"ID", "1"}, {"NAME", "Alfa"}, {"ADD_CITY", "Brno"}, {"DEALER", "T"},
                               {"SUPPLIER", "F"}, {"MEMO", "line 1\nline 2"}});
        Add(store->TableFirm, {{"ID", "2"}, {"NAME", "Beta"}, {"DEALER", "F"}, {"SUPPLIER", "T"}});
        Add(store->TableRepre, {{"ID", "1"}, {"IDF", "1"}, {"NAME", "Jan"}, {"SURNAME", "Nov\xE1k"}, {"MUZ", "T"},
                                {"MEMO", "ends in a break\n"}});
        Add(store->TableRepre, {{"ID", "2"}, {"IDF", "2"}, {"NAME", "Eva"}, {"SURNAME", "Nov\xE1k"}, {"MUZ", "F"}});
        Add(store->TableContact, {{"IDF", "1"}, {"IDR", "1"}, {"DATUM", "1999-12-31"}, {"SUBJECT", "Call"},
                                  {"CHECKED", "F"}, {"MEMO", "said yes"}});
        Add(store->TableContact,
            {{"IDF", "2"}, {"IDR", "2"}, {"DATUM", "1999-12-31"}, {"SUBJECT", "Call"}, {"CHECKED", "F"}});
        Add(store->TableContact, {{"IDF", "2"}, {"IDR", "0"}, {"SUBJECT", "Firm only"}, {"CHECKED", "T"}});
        Add(store->TableNum, {{"IDF", "1"}, {"IDR", "1"}, {"TYPE", "M"}, {"NUM", "601"}});
        Add(store->TableNum, {{"IDF", "2"}, {"IDR", "2"}, {"TYPE", "T"}, {"NUM", "602"}});
        Add(store->TableNum, {{"IDF", "2"}, {"IDR", "0"}, {"TYPE", "F"}, {"NUM", "603"}});
    }
    void Export(const std::string &failed = "")
    {
        TDbfExport exp(*store);
        while (exp.Step(2)) {
        }
        EXPECT_EQ(exp.Failed(), failed);
    }
    TDbfImport::TFailure Import(int cancelAfterSteps = -1)
    {
        TDbfImport imp(*store);
        for (int n = 0; imp.Step(2); ++n)
            if (n == cancelAfterSteps)
                imp.Cancel();
        cut = imp.Cut();
        failedAt = {imp.Detail(), imp.Line()};
        return imp.Failure();
    }
    std::string Book()
    {
        return Rows(store->TableFirm, {"ID", "NAME", "ADD_CITY", "DEALER", "SUPPLIER", "MEMO"})
               + Rows(store->TableRepre, {"ID", "IDF", "NAME", "SURNAME", "MUZ", "MEMO"})
               + Rows(store->TableContact, {"IDF", "IDR", "DATUM", "SUBJECT", "CHECKED", "MEMO"})
               + Rows(store->TableNum, {"IDF", "IDR", "TYPE", "NUM"});
    }

    // The tables' own files, kept aside and put back as they were.
    std::string KeepTables(const TempDir &to)
    {
        store.reset();
        for (const auto &e : fs::directory_iterator(Dir()))
            if (IsTableFile(e))
                fs::copy_file(e.path(), to.File(e.path().filename().string()), fs::copy_options::overwrite_existing);
        store = Open();
        return Book();
    }
    void PutBackTables(const TempDir &from)
    {
        store.reset();
        fs::copy(from.Path(), Dir(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        store = Open();
    }
    // The export files, a missing one as "-".
    std::map<std::string, std::string> Files()
    {
        std::map<std::string, std::string> files;
        for (const char *f : bookswap::kExportFiles)
            files[f] = fs::exists(Dir() + f) ? File(f) : "-";
        return files;
    }
    void PutFiles(const std::map<std::string, std::string> &files)
    {
        for (const auto &[name, bytes] : files)
            WriteBytes(Dir() + name, bytes);
    }

    TempDir data;
    std::unique_ptr<TPhoneBookStore> store;
    long cut = 0;
    std::pair<std::string, size_t> failedAt; // file and line of the last import's failure
};

} // namespace
