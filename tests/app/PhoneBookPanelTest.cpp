// The panel names callers from the phone book and dials from it, through the
// fake exchange.
#include "Dbf.h"
#include "DbView.h"
#include "IniFile.h"
#include "PanelRig.h"
#include "PhoneBookStore.h"
#include "Skin.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string Ring(const std::string &cid)
{
    return "<ans Type=\"RING\" Handle=\"5\" Act=\"ACT\">\r\n<ans Port=\"CO1\" Cid=\"" + cid +
           "\" PBXName=\"Ext\" Pos=\"0\" Act=\"ACT\"/>\r\n</ans>\r\n";
}

// Firm Alfa with its representative Ing. Jan Novak, CSc. and two numbers, one
// grouped as people type it.
void FillBook(PanelRig &rig)
{
    TIniFile ini(rig.home.Path() + "Talvocti/none.ini");
    TPhoneBookStore s(ini, rig.home.Path() + "Talvocti/");
    s.OpenTables();
    auto add = [&](TDbCursor &c, std::initializer_list<std::pair<const char *, const char *>> fields) {
        c.Append();
        for (auto &[f, v] : fields)
            c.FieldByName(f).SetAsString(v);
        s.Post(c);
    };
    add(s.TableFirm, {{"ID", "1"}, {"NAME", "Alfa"}});
    add(s.TableRepre, {{"ID", "1"}, {"IDF", "1"}, {"TITLE", "Ing"}, {"SURNAME", "Novak"}, {"NAME", "Jan"},
                       {"TITUL", "CSc."}});
    add(s.TableNum, {{"IDF", "1"}, {"IDR", "1"}, {"TYPE", "M"}, {"NUM", "+420 601-234/56.7"}});
    add(s.TableNum, {{"IDF", "1"}, {"IDR", "0"}, {"TYPE", "L"}, {"NUM", "21"}});
}

TEST(PhoneBookPanel, RingsNameTheCallerAsTheSkinAsks)
{
    PanelRig rig;
    FillBook(rig);
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    rig.dbf->show();
    struct Case {
        const char *cid;
        bool title, first, after;
        std::string shown;
    } cases[] = {
        {"601234567", true, true, true, "Ing.Novak Jan,CSc.\nAlfa"},
        {"0601234567", false, false, false, "Novak\nAlfa"},
        {"121", false, false, false, "Ext"}, // an internal number that only ends the same
        {"21", false, false, false, "Alfa"},
    };
    for (const Case &c : cases) {
        Skin->Title = c.title;
        Skin->FirstName = c.first;
        Skin->TitleAfter = c.after;
        rig.Answer(Ans("STATE", "State=\"RNG\" Hfree=\"0\" Mic=\"0\""));
        rig.Answer(Ring(c.cid));
        EXPECT_EQ(rig.LabelText("LabelDISP"), c.shown) << c.cid;
        EXPECT_FALSE(rig.dbf->SpeedButtonDialNum->isEnabled()) << "no dialling while it rings";
        EXPECT_TRUE(rig.dbf->SpeedButtonHangNum->isEnabled());
        rig.Answer(Ans("RING", "Act=\"END\""));
    }
}

TEST(PhoneBookPanel, DialsTheBooksNumberWithTheSpeakerFirst)
{
    PanelRig rig("[Prefixes]\r\n+420=_\r\n+=00\r\n");
    FillBook(rig);
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    rig.Answer(Ans("STATE", "State=\"REL\" Hfree=\"0\" Mic=\"0\""));
    rig.Sent();
    TFDbf &book = *rig.dbf;
    book.ShowNumber("+420 601-234/56.7", false);
    ASSERT_TRUE(book.ViewNum().HasRow());
    book.SpeedButtonDialNum->click();
    EXPECT_EQ(rig.Sent(), "<req Type=\"COMM\" Handle=\"5\" Act=\"SPK\" State=\"1\" />"
                          "<req Type=\"COMM\" Handle=\"5\" Act=\"DIAL\" Num=\"0601234567\" />");
}

// A ring right after log-in, from a book another engine wrote: the log-in
// message's countdown must not wipe the caller's name.
TEST(PhoneBookPanel, NamesARingRightAfterLogInFromAForeignBook)
{
    PanelRig rig;
    const std::string book = rig.home.Path() + "Talvocti/Dbf/";
    std::filesystem::create_directories(book);
    for (const auto &e : std::filesystem::directory_iterator(TALVO_FIXTURES_DIR "/xbase/"))
        if (e.path().extension() != ".md")
            std::filesystem::copy_file(e.path(), book + e.path().filename().string());
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    Skin->Title = Skin->FirstName = Skin->TitleAfter = false;
    rig.Answer(Ans("STATE", "State=\"RNG\" Hfree=\"0\" Mic=\"0\""));
    rig.Answer(Ring("602123456"));
    for (int tick = 0; tick < 4; ++tick)
        rig.main->TimerClockTimer();
    EXPECT_EQ(rig.LabelText("LabelDISP"), "Nov\xE1k\n\xC8" "ern\xE1 Hora s.r.o.");
}

} // namespace
