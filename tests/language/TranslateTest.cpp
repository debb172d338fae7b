#include "Nlsfunc.h"
#include "Paths.h"
#include "TempDir.h"
#include "Vcl.h"

#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

const char *const kFile = "[Common]\r\n"
                          "0=Form zero\r\n100=Form\r\n101=Label\\nsecond\r\n102=Static\\n\r\n103=Radio\r\n104=Button\r\n"
                          "105=Check\\n\r\n106=Sheet\r\n107=Group\r\n6030=57\r\n5700=c0\r\n5701=c1\r\n5702=c2\r\n"
                          "30010=Choose\r\n30011=first\r\n30012=second\r\n200=m0\r\n201=m1\r\n300=t0\r\n301=t1\r\n"
                          "10041:NUM=Number\r\n4711=Title\r\n800=combo0\r\n"
                          "[CommonHint]\r\n"
                          "103=radio hint\r\n110=speed\\nhint\r\n10111=image hint\r\n300=tabs\r\n2000=n0\r\n2001=n1\r\n"
                          "[Menu]\r\n1=File\r\n2=Exit\r\n"
                          "[MenuHint]\r\n2=Leave\r\n";

class Translation : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramDirForTesting(dir.Path());
        WriteBytes(dir.File("Talvodel.tst"), kFile);
        nls.SetLanguage("tst");
        nls.CloseFile();
    }
    void TearDown() override { SetProgramDirForTesting(""); }

    template <typename T> T *Add(QWidget *parent, int tag)
    {
        auto *w = new T(parent);
        w->Tag = tag;
        return w;
    }

    TempDir dir;
    TNlsFunc nls;
    TForm form;
};

TEST_F(Translation, CaptionsAndHintsByClass)
{
    form.Tag = 100;
    auto *label = Add<TLabel>(&form, 101);
    auto *stat = Add<TStaticText>(&form, 102);
    auto *untagged = Add<TLabel>(&form, 0);
    untagged->SetCaption("design");
    auto *radio = Add<TRadioButton>(&form, 103);
    auto *button = Add<TButton>(&form, 104);
    auto *check = Add<TCheckBox>(&form, 105);
    auto *speed = Add<TSpeedButton>(&form, 110);
    auto *image = Add<TImage>(&form, 111);
    auto *edit = Add<TEdit>(&form, 999);
    edit->setToolTip("kept");
    nls.TranslateForm(&form, true);
    // A static text's caption is read plain, without its escapes resolved.
    EXPECT_EQ((Texts{form.Caption(), label->Caption(), stat->Caption(), untagged->Caption(), radio->Caption(),
                     button->Caption(), check->Caption()}),
              (Texts{"Form", "Label\r\nsecond", "Static\\n", "design", "Radio", "Button", "Check\r\n"}));
    EXPECT_EQ((Texts{HintOf(radio), HintOf(speed), HintOf(image), HintOf(edit)}),
              (Texts{"radio hint", "speed\r\nhint", "image hint", "kept"}));
    EXPECT_FALSE(nls.FileOpen());
}

TEST_F(Translation, FormWithTagZeroAndContainers)
{
    auto *pages = Add<TPageControl>(&form, 0);
    TTabSheet *sheet = pages->AddPage("design");
    auto *inSheet = Add<TLabel>(sheet, 101);
    auto *panel = Add<TPanel>(&form, 0);
    auto *inPanel = Add<TButton>(panel, 104);
    auto *group = Add<TGroupBox>(&form, 107);
    auto *inGroup = Add<TCheckBox>(group, 105);
    auto *scroll = Add<TScrollBox>(&form, 0);
    auto *inScroll = Add<TRadioButton>(scroll->Contents(), 103);
    nls.TranslateForm(&form, true);
    // A tab sheet with Tag 0 reads key 0 as the form does.
    EXPECT_EQ((Texts{form.Caption(), sheet->Caption(), inSheet->Caption(), inPanel->Caption(), group->Caption(),
                     inGroup->Caption(), inScroll->Caption()}),
              (Texts{"Form zero", "Form zero", "Label\r\nsecond", "Button", "Group", "Check\r\n", "Radio"}));
}

class TDBGridEx : public TDBGrid {
    Q_OBJECT
public:
    using TDBGrid::TDBGrid;
};

TEST_F(Translation, ComboRadioMemoTabsGridsAndNavigator)
{
    auto *shared = Add<TComboBox>(&form, 6030);
    for (auto s : {"a", "b", "c"})
        shared->AddItem(s);
    shared->SetItemIndex(1);
    auto *own = Add<TComboBox>(&form, 8);
    own->AddItem("x");
    own->AddItem("y");
    auto *huge = Add<TComboBox>(&form, 2000000000);
    huge->AddItem("stays");
    auto *group = Add<TRadioGroup>(&form, 30010);
    group->AddItem("one");
    group->AddItem("two");
    auto *memo = Add<TMemo>(&form, 200);
    memo->SetLines({"l0", "l1", "l2"});
    auto *tabs = Add<TTabControl>(&form, 300);
    tabs->AddTab("a");
    tabs->AddTab("b");
    tabs->SetTabIndex(1);
    SetHintOf(tabs, "Range: today");
    auto *plainTabs = Add<TTabControl>(&form, 300);
    SetHintOf(plainTabs, "no colon");
    auto *grid = Add<TDBGrid>(&form, 10041);
    grid->Columns = {{"NUM", "num"}, {"KIND", "kind"}};
    auto *sgrid = Add<TStringGrid>(&form, 1);
    sgrid->SetColCount(3);
    sgrid->SetObject(0, 0, 4711);
    sgrid->SetObject(1, 0, 4711);
    sgrid->SetCell(0, 0, "zero");
    auto *nav = Add<TDBNavigator>(&form, 2000);
    auto *derived = Add<TDBGridEx>(&form, 10041);
    derived->Columns = {{"NUM", "num"}};
    nls.TranslateForm(&form, true);

    // An id beyond the range counts as absent, a derived grid class matches no
    // rule and a string grid's column 0 is skipped.
    EXPECT_EQ((Texts{shared->Item(0), shared->Item(2), own->Item(0), own->Item(1), huge->Item(0), group->Caption(),
                     group->Item(0), group->Item(1), tabs->Tab(0), HintOf(tabs), HintOf(plainTabs),
                     grid->Columns[0].Title, grid->Columns[1].Title, derived->Columns[0].Title, sgrid->Cell(0, 0),
                     sgrid->Cell(1, 0)}),
              (Texts{"c0", "c2", "combo0", "y", "stays", "Choose", "first", "second", "t0", "tabs: today", "no colon",
                     "Number", "kind", "num", "zero", "Title"}));
    EXPECT_EQ(shared->ItemIndex(), 1);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(memo->Lines(), (Texts{"m0", "m1", "l2"}));
    EXPECT_EQ(nav->Hints(), (Texts{"n0", "n1", "", "", "", "", "", "", "", ""}));
}

TEST_F(Translation, HintWalkLeavesCaptions)
{
    auto *radio = Add<TRadioButton>(&form, 103);
    radio->SetCaption("design");
    auto *image = Add<TImage>(&form, 111);
    nls.TranslateHints(&form, true);
    EXPECT_EQ((Texts{radio->Caption(), HintOf(radio), HintOf(image)}), (Texts{"design", "radio hint", "image hint"}));
}

TEST_F(Translation, MenusWalkSubItemsOfUntaggedItems)
{
    QMenuBar bar;
    QMenu *file = bar.addMenu("design");
    SetTag(file->menuAction(), 0);
    QAction *exit = file->addAction("exit");
    SetTag(exit, 2);
    QMenu *tagged = bar.addMenu("file");
    SetTag(tagged->menuAction(), 1);
    nls.OpenFile();
    nls.TranslateMenu(&bar);
    nls.CloseFile();
    EXPECT_EQ((QStringList{file->title(), exit->text(), exit->statusTip(), tagged->title()}),
              (QStringList{"design", "Exit", "Leave", "File"}));
}

} // namespace

#include "TranslateTest.moc"
