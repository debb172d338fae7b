#include "Vcl.h"

#include <gtest/gtest.h>

TEST(Vocabulary, ControlsAndMenuItemsCarryTags)
{
    TForm form;
    auto *label = new TLabel(&form);
    label->Tag = 12;
    EXPECT_EQ(TagOf(label), 12);
    EXPECT_EQ(TagOf(static_cast<QObject *>(new QWidget(&form))), 0);
    QAction item;
    SetTag(&item, 51);
    EXPECT_EQ(TagOf(&item), 51);
}

TEST(Vocabulary, PlainTextLabelsTabCaptionsAndGridObjects)
{
    TLabel label;
    label.SetCaption("<img src=x>Nov\xE1k");
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    EXPECT_EQ(label.Caption(), "<img src=x>Nov\xE1k");
    TPageControl pages;
    pages.AddPage("One")->SetCaption("Jedna");
    EXPECT_EQ(pages.tabText(0), QStringLiteral("Jedna"));
    TStringGrid grid;
    grid.SetColCount(3);
    grid.SetCell(1, 0, "Title");
    grid.SetCell(1, 2, "cell");
    grid.SetObject(1, 0, 4711);
    EXPECT_EQ(grid.Cell(1, 2), "cell");
    EXPECT_EQ(grid.Object(1, 0), 4711);
    EXPECT_EQ(grid.Object(2, 0), 0);
}
