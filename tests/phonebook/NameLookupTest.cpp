// Callers named from the book: the rule's cases, and the index answering
// exactly what the plain scan answers while the book changes.
#include "BookUtil.h"
#include "PlainNameScan.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TNameParts Parts(bool title, bool first, bool after) { return {title, first, after}; }

TEST(NameLookup, TheRuleCaseByCase)
{
    TestBook b;
    b.Firm(1, "Alfa");
    b.Firm(2, "Beta");
    b.Repre(10, 1, "Ing", "Novak", "Jan", "CSc.");
    b.Repre(11, 2, "Dr.", "Kral", "Eva", "");
    b.Num(1, 10, "M", "0601234567");
    b.Num(2, 0, "T", "0465112233");
    b.Num(2, 11, "L", "25");
    b.Num(1, 0, "T", "+420495000111");
    b.Num(9, 0, "T", "0777000111");
    b.DropFirm(9); // its number stays
    b.Num(2, 0, "T", "0777000111");
    b.Num(2, 0, "T", "4567");
    const TNameParts all = Parts(true, true, true), none = Parts(false, false, false);
    struct Case {
        std::string number;
        char separator;
        TNameParts parts;
        std::string name;
    } cases[] = {
        {"", '(', all, ""},
        {"0601234567", '(', all, "Ing.Novak Jan,CSc.(Alfa)"},
        {"0601234567", '\n', all, "Ing.Novak Jan,CSc.\nAlfa"},
        {"0601234567", '(', none, "Novak(Alfa)"},
        {"01234567", '(', none, "Novak(Alfa)"},      // the last eight digits of a stored ten
        {"4567", '(', none, "Novak(Alfa)"},          // four characters match by the end, first row wins
        {"567", '(', none, "default"},               // three only match an internal line
        {"25", '\n', Parts(true, false, false), "Dr.Kral\nBeta"}, // no second dot
        {"125", '(', none, "default"},               // an internal line never matches by its end
        {"0465112233", '(', all, "Beta"},            // the firm's own number: no separator
        {"84567", '(', none, "default"},             // the stored 4567 is shorter: no match
        {"0495000111", '(', none, "Alfa"},           // stored in international form
        {"0777000111", '(', none, "default"},        // first match has no firm: no second try
        {"06O1234567", '(', none, "default"},        // letters
        {std::string(200, '7'), '(', none, "default"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(b.store->NameByNumber(c.number, "default", c.separator, c.parts), c.name) << c.number;
    // Names already given follow edits of the number's row and of its firm.
    for (TDbCursor *c : {&b.store->TableNum, &b.store->TableFirm}) {
        c->First();
        c->Edit();
        c->FieldByName(c == &b.store->TableNum ? "IDR" : "NAME").SetAsString(c == &b.store->TableNum ? "11" : "Gama");
        b.store->Post(*c);
    }
    EXPECT_EQ(b.store->NameByNumber("0601234567", "default", '(', none), "Kral(Gama)");
    b.store->CloseTables();
    EXPECT_EQ(b.store->NameByNumber("0601234567", "default", '(', all), "default") << "tables not open";
}

TEST(NameLookup, IndexAnswersAsTheScanWhileTheBookChanges)
{
    TestBook b;
    std::mt19937 rnd(7);
    auto number = [&] { return "06" + std::to_string(10000 + rnd() % 150); };
    for (int i = 0; i < 120; ++i)
        b.Num(1 + static_cast<int>(rnd() % 5), 0, rnd() % 4 ? "T" : "L", number());
    TDbCursor scan;
    scan.DatabaseName = b.store->DatabaseDir;
    scan.TableName = "Nums.dbf";
    scan.Open();
    TDbCursor &nums = b.store->TableNum;
    for (int round = 0; round < 120; ++round) {
        switch (rnd() % 4) {
        case 0: b.Num(1, 0, rnd() % 3 ? "T" : "L", number()); break;
        case 1: // an edit through the store
            nums.First();
            for (unsigned k = rnd() % 50; k && !nums.Eof(); --k)
                nums.Next();
            nums.Edit();
            nums.FieldByName("NUM").SetAsString(number());
            b.store->Post(nums);
            break;
        case 2:
            nums.Last();
            b.store->Delete(nums);
            break;
        case 3: // a write the store did not see: the index reads the table again
            scan.Append();
            scan.FieldByName("TYPE").SetAsString("T");
            scan.FieldByName("NUM").SetAsString(number());
            scan.Post();
            break;
        }
        std::string probe = number().substr(rnd() % 4);
        ASSERT_EQ(b.store->NumberRow(probe), PlainNameScan(scan, probe)) << "round " << round << " probe " << probe;
    }
}

} // namespace
