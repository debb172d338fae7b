// Held, parked and waiting calls through the fake exchange: lists to rows,
// double clicks to requests, byte for byte.
#include "CallRig.h"
#include "SessionWindows.h"

#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

std::string El(int pos, const std::string &cid, const std::string &port, const std::string &more = "")
{
    return "Pos=\"" + std::to_string(pos) + "\" Cid=\"" + cid + "\" Port=\"" + port + "\" " + more;
}

const std::string kNovak = "PBXName=\"Nov&#225;k\"";

// n held calls in slots 1..n, and their rows.
std::vector<std::string> Held(int n)
{
    std::vector<std::string> items;
    for (int pos = 1; pos <= n; ++pos)
        items.push_back(El(pos, std::to_string(100 + pos), "P" + std::to_string(pos)));
    return items;
}

std::vector<std::string> HeldRows(int n)
{
    std::vector<std::string> rows;
    for (int pos = 1; pos <= n; ++pos)
        rows.push_back(std::to_string(100 + pos));
    return rows;
}

// The nine park lines, the given positions taken.
std::vector<std::string> Parked(const std::map<int, std::string> &taken)
{
    std::vector<std::string> lines;
    for (int pos = 1; pos <= 9; ++pos)
        lines.push_back(std::to_string(pos) + ":" + (taken.count(pos) ? " " + taken.at(pos) : ""));
    return lines;
}

TCallListWindow *Hold() { return FHold; }
TCallListWindow *Park() { return FPark; }
TCallListWindow *Front() { return FFront; }

struct ListCase {
    const char *what;
    TCallListWindow *(*window)();
    std::vector<std::string> answers;
    std::vector<std::string> rows;
    int row;             // double-clicked
    std::string request; // what that sends
};

TEST(CallLists, RowsAndDoubleClicks)
{
    const std::string setHold = Req("HOLD", "Act=\"SET\" ");
    const std::vector<ListCase> cases = {
        {"two held callers and the hold line, which holds the current call", Hold,
         {List("HOLD", {El(1, "602111222", "CO1", kNovak), El(2, "777888999", "CO2")})},
         {"Nov\xe1k", "777888999", ""}, 2, setHold},
        {"a held call is taken back by its port", Hold, {}, {"Nov\xe1k", "777888999", ""}, 1,
         Req("HOLD", "Act=\"GET\" Port=\"CO2\" ")},
        {"slots with gaps: a row takes its own slot's call", Hold,
         {List("HOLD", {El(3, "333", "CO3"), El(7, "777", "CO7")})}, {"333", "777", ""}, 1,
         Req("HOLD", "Act=\"GET\" Port=\"CO7\" ")},
        {"positions outside 1..24 are ignored", Hold,
         {List("HOLD", {El(0, "1", "X0"), El(25, "2", "X25"), El(-7, "3", "X7"), El(24, "2424", "CO24")})},
         {"2424", ""}, 0, Req("HOLD", "Act=\"GET\" Port=\"CO24\" ")},
        {"no number: the port's name, else the port", Hold, {List("HOLD", {El(1, "", "IL23"), El(2, "", "IL77")})},
         {"Reception", "IL77", ""}, 1, Req("HOLD", "Act=\"GET\" Port=\"IL77\" ")},
        {"24 held calls leave no hold line", Hold, {List("HOLD", Held(24))}, HeldRows(24), 23,
         Req("HOLD", "Act=\"GET\" Port=\"P24\" ")},
        {"nothing held", Hold, {Ans("HOLD", "Act=\"END\"")}, {""}, 0, setHold},

        {"a caller parked on 3; 5 is free", Park, {List("PARK", {El(3, "602111222", "CO1", kNovak)})},
         Parked({{3, "Nov\xe1k"}}), 4, Req("PARK", "Act=\"SET\" Pos=\"5\" ")},
        {"the parked caller is picked up", Park, {}, Parked({{3, "Nov\xe1k"}}), 2,
         Req("PARK", "Act=\"GET\" Pos=\"3\" ")},
        {"positions outside 1..9 are ignored", Park, {List("PARK", {El(0, "1", "X"), El(10, "2", "Y")})}, Parked({}),
         8, Req("PARK", "Act=\"SET\" Pos=\"9\" ")},
        {"nothing parked", Park, {List("PARK", {El(2, "22", "")}), Ans("PARK", "Act=\"END\"")}, Parked({}), 1,
         Req("PARK", "Act=\"SET\" Pos=\"2\" ")},

        {"the call on the line itself is not waiting", Front, {List("RING", {El(0, "21", "IL21")})}, {""}, 0, ""},
        {"waiting calls with gaps", Front,
         {List("RING", {El(0, "21", "IL21"), El(2, "602", "CO2", "PBXName=\"A\""), El(4, "604", "CO4")})},
         {"A", "604"}, 1, Req("RING", "Act=\"GET\" Port=\"CO4\" ")},
        {"positions outside 1..4 are ignored", Front, {List("RING", {El(5, "605", "CO5"), El(1, "601", "CO1")})},
         {"601"}, 0, Req("RING", "Act=\"GET\" Port=\"CO1\" ")},
        {"no call waiting", Front, {Ans("RING", "Act=\"END\"")}, {""}, 0, ""},
    };
    CallRig rig;
    rig.Answer("<ans Type=\"PBXINFO\" Handle=\"5\">\r\n<ans Port=\"IL23\" Type=\"IL\" Num=\"23\" Name=\"Reception\"/>\r\n"
               "</ans>\r\n");
    for (const ListCase &c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string &answer : c.answers)
            rig.Answer(answer);
        TCallListWindow *window = c.window();
        ASSERT_TRUE(window);
        EXPECT_EQ(window->Lines(), c.rows);
        window->ListBox->setCurrentRow(c.row);
        window->ListBoxDblClick();
        EXPECT_EQ(rig.Sent(), c.request);
    }
}

TEST(CallLists, HoldLineByMouse)
{
    CallRig rig;
    rig.Answer(List("HOLD", {El(1, "111", "CO1")}));
    FHold->show();
    QWidget *rows = FHold->ListBox->viewport();
    QTest::mouseDClick(rows, Qt::LeftButton, {}, FHold->ListBox->visualItemRect(FHold->ListBox->item(0)).center());
    EXPECT_EQ(rig.Sent(), Req("HOLD", "Act=\"GET\" Port=\"CO1\" ")) << "once, for the row clicked";

    // Two presses below the rows, the first after a click, act on the hold line.
    FHold->ListBoxClick();
    FHold->ListBoxMouseDown();
    EXPECT_EQ(FHold->ListBox->currentRow(), 0);
    FHold->ListBoxMouseDown();
    EXPECT_EQ(FHold->ListBox->currentRow(), 1);
    EXPECT_EQ(rig.Sent(), Req("HOLD", "Act=\"SET\" "));
    // Two presses with a click between them are no double click.
    FHold->ListBoxMouseDown();
    FHold->ListBoxClick();
    FHold->ListBoxMouseDown();
    EXPECT_EQ(rig.Sent(), "");
}

TEST(CallLists, SelectionKeptWhileInactive)
{
    CallRig rig;
    FPark->ListBox->setCurrentRow(4);
    FPark->FormDeactivate();
    EXPECT_EQ(FPark->ListBox->currentRow(), -1);
    FPark->FormActivate();
    EXPECT_EQ(FPark->ListBox->currentRow(), 4);
    FPark->FormDeactivate();
    FPark->ListBox->setCurrentRow(7); // pressed as the window came to the front
    FPark->FormActivate();
    EXPECT_EQ(FPark->ListBox->currentRow(), 7);
}

TEST(CallLists, NothingIsSentWithoutTheCommandRight)
{
    CallRig rig("STS-CTI");
    for (const char *type : {"HOLD", "PARK", "RING"})
        rig.Answer(List(type, {El(1, "111", "CO1")}));
    for (TCallListWindow *window : {Hold(), Park(), Front()}) {
        ASSERT_TRUE(window);
        EXPECT_NE(window->Lines()[0].find("111"), std::string::npos) << "listed all the same";
        for (int row : {0, 1}) {
            window->ListBox->setCurrentRow(row);
            window->ListBoxDblClick();
        }
    }
    EXPECT_EQ(rig.Sent(), "");
}

} // namespace
