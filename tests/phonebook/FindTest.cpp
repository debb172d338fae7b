// Finding firms by a piece of text, from the top and from the next row.
#include "DbTestUtil.h"
#include "DbfFind.h"
#include "PhoneBookStore.h"

#include <gtest/gtest.h>

TEST(Find, FirstAndNextHitWithAndWithoutCase)
{
    TempDir dir;
    TDbCursor firms;
    firms.DatabaseName = dir.Path();
    firms.TableName = "Firms.dbf";
    firms.FieldDefs = TPhoneBookStore::FirmsDef().Fields;
    firms.CreateTable();
    firms.Open();
    for (auto [name, zip, dealer] : {std::tuple{"NOVAK", "11000", "F"}, {"Other", "12345", "T"},
                                     {"Kanovka", "", "F"}, {"\xC8\x45SKA", "", "F"}}) {
        firms.Append();
        firms.FieldByName("NAME").SetAsString(name);
        firms.FieldByName("ADD_ZIP").SetAsString(zip);
        firms.FieldByName("DEALER").SetAsString(dealer);
        firms.Post();
    }
    int scrolls = 0;
    firms.AfterScroll = [&](TDbCursor &) { ++scrolls; };
    std::vector<TColumnText> nameOnly{FieldText(firms, "NAME")};
    std::vector<TColumnText> grid{FieldText(firms, "NAME"), FieldText(firms, "ADD_ZIP"), FieldText(firms, "DEALER"),
                                  FieldText(firms, "MEMO")};
    struct {
        const char *find;
        bool caseSensitive, fromStart, inGrid;
        const char *found; // nullptr: no hit, the cursor stays
    } cases[] = {
        {"nov", false, true, false, "NOVAK"},  {"nov", false, false, false, "Kanovka"},
        {"nov", false, false, false, nullptr}, {"nov", true, true, false, "Kanovka"},
        {"123", false, true, false, nullptr},  {"123", false, true, true, "Other"},
        {"True", true, true, true, "Other"},   {"", false, true, true, nullptr},
        {"\xE8\x65s", false, true, false, "\xC8\x45SKA"},
    };
    for (const auto &c : cases) {
        std::string before = firms.FieldByName("NAME").AsString();
        scrolls = 0;
        bool hit = FindRow(firms, c.inGrid ? grid : nameOnly, c.find, c.caseSensitive, c.fromStart);
        EXPECT_EQ(hit, c.found != nullptr) << c.find;
        EXPECT_EQ(firms.FieldByName("NAME").AsString(), c.found ? c.found : before) << c.find;
        EXPECT_EQ(scrolls, hit ? 1 : 0) << c.find;
    }
}
