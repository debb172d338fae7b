// The running skin: sprite states, label texts, function assignments and
// the order in which mouse input reaches the panel.
#include "SkinFixture.h"

#include <QTest>

namespace {

class SkinRuntime : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        StartPhone();
    }
    TImage *Image(const char *name) { return panel->findChild<TImage *>(name); }
    QRgb Pixel(const char *name, int x, int y) { return Image(name)->Picture().toImage().pixel(x, y); }
    // Through the window system, as a real double click arrives.
    void DoubleClick(QWidget *control)
    {
        QTest::mouseDClick(panel->windowHandle(), Qt::LeftButton, {}, control->mapTo(panel.get(), QPoint(2, 2)));
    }
};

TEST_F(SkinRuntime, LabelTextModes)
{
    TSkin &s = *skin;
    TLabel *label = panel->findChild<TLabel *>("LabelCLOCK");
    auto caption = [&] { return label->Caption(); };
    const struct { const char *text; int mode; const char *caption; } steps[] = {
        {"12", 1001, nullptr}, {"3456", 1000, "123456"}, {"ignored", 3, "456"}, {"", 1002, "45"},
        {"", 1002, nullptr},   {"", 1002, "4"},           {"x", 0, ""}};
    for (const auto &step : steps) {
        EXPECT_TRUE(s.SetLabelText("LabelCLOCK", step.text, step.mode)) << step.mode;
        EXPECT_TRUE(!step.caption || caption() == step.caption) << step.mode << " " << caption();
    }
    EXPECT_FALSE(s.SetLabelText("LabelNONE", "x", 1001));
    EXPECT_FALSE(s.SetLabelText("ImageD1", "x", 1001));
    // Names from the exchange are never markup.
    s.SetLabelText("LabelCLOCK", "<b>N\xE8</b>", 1001);
    EXPECT_EQ(caption(), "<b>N\xE8</b>");
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    // The widget gets the last caption of a burst at the end of the turn; one set at once wins.
    s.SetLabelText("LabelCLOCK", "a", 1001);
    s.SetLabelText("LabelCLOCK", "b", 1001);
    QCoreApplication::processEvents();
    EXPECT_EQ(label->text(), "b");
    s.SetLabelText("LabelCLOCK", "late", 1001);
    label->SetCaption("now");
    QCoreApplication::processEvents();
    EXPECT_EQ(label->text(), "now");
}

TEST_F(SkinRuntime, ImageStatesComeFromTheSpriteStrip)
{
    // State 0 is the red cell with its magenta corner see-through, state 1 the green one.
    EXPECT_EQ(Pixel("ImageD1", 5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(Pixel("ImageD1", 0, 9)), 0);
    skin->SetImageState("ImageD1", 1);
    EXPECT_EQ(Pixel("ImageD1", 5, 5), qRgb(0, 255, 0));
    skin->SetImageState("ImageD1", 3);
    EXPECT_EQ(Pixel("ImageD1", 5, 5), qRgb(255, 255, 0));
    // Past the sheet, or at absurd states: an empty picture, no fault.
    skin->SetImageState("ImageD1", 4);
    EXPECT_EQ(qAlpha(Pixel("ImageD1", 5, 5)), 0);
    skin->SetImageState("ImageD1", INT_MAX);
    const qint64 face = panel->Image0->Picture().cacheKey();
    skin->SetImageState("Image0", 1);
    skin->SetImageState("Missing", 1);
    EXPECT_EQ(panel->Image0->Picture().cacheKey(), face);

    std::vector<QPixmap> list;
    for (QColor c : {Qt::red, Qt::blue}) {
        QPixmap p(6, 4);
        p.fill(c);
        list.push_back(p);
    }
    skin->GetImagePicture("ImageD1", list, 1);
    EXPECT_EQ(Pixel("ImageD1", 1, 1), qRgb(0, 0, 255));
    skin->GetImagePicture("ImageD1", list, 7);
    EXPECT_EQ(Image("ImageD1")->Picture().size(), QSize(6, 4));
    // A burst reaches the widget once, at the end of the turn: the last picture.
    skin->GetImagePicture("ImageD1", list, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(Image("ImageD1")->pixmap().toImage().pixel(1, 1), qRgb(0, 0, 255));
}

TEST_F(SkinRuntime, AssigningFunctionsSetsLabelsAndRecordsSpeedDialImages)
{
    TSkin &s = *skin;
    s.AssignImageFunction(Image("ImageD2"), 11);
    EXPECT_EQ(Image("ImageD2")->Tag, 11);
    EXPECT_EQ(s.GetImageLabelText("ImageD2"), "*");
    s.AssignImageFunction(Image("ImageD1"), 20);
    EXPECT_EQ(s.GetImageLabelText("ImageD1"), "Twenty");
    // The hint follows the new code.
    s.AssignImageFunction(Image("ImageD1"), 5);
    EXPECT_EQ(HintOf(Image("ImageD1")), "Key five");
    ASSERT_EQ(s.SkinList.size(), 2u);
    EXPECT_EQ(s.SkinList[0], std::make_pair(std::string("ImageD2"), std::string("11,*,")));
    EXPECT_EQ(s.SkinList[1].second, "5,5,");

    // Not a speed-dial image: tag changes, nothing recorded.
    s.AssignImageFunction(Image("ImageHOOK"), 202);
    EXPECT_EQ(Image("ImageHOOK")->Tag, 202);
    EXPECT_EQ(s.SkinList.size(), 2u);

    s.SetImageDial(Image("ImageD1"), 150, "S(0)123", "Novak, J");
    EXPECT_EQ(s.GetItemValue("ImageD1"), "S(0)123");
    EXPECT_EQ(s.SkinList[1].second, "150,\"Novak, J\",S(0)123");
    s.SetImageLabelText("ImageD1", "Boss");
    EXPECT_EQ(s.SkinList[1].second, "150,Boss,S(0)123");
    s.AssignImageFunction(Image("ImageD1"), 150);
    EXPECT_EQ(s.SkinList[1].second, "150,Dial,S(0)123");
    EXPECT_EQ(s.GetItemValue("ImageD2"), "");
    EXPECT_EQ(s.GetImageLabelText("ImageHOOK"), "");
}

TEST_F(SkinRuntime, DoubleClickArrivesInTheClassLibraryOrder)
{
    TImage *d1 = Image("ImageD1");
    DoubleClick(d1);
    const std::vector<std::string> expected = {"down 5", "click 5 ImageD1", "up 5", "dbl 5", "down 5", "up 5"};
    EXPECT_EQ(panel->Log, expected);

    // Held down: the pressed picture; released: the normal one.
    panel->Log.clear();
    QTest::mousePress(d1, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(Pixel("ImageD1", 5, 5), qRgb(0, 255, 0));
    QTest::mouseRelease(d1, Qt::LeftButton, {}, QPoint(30, 3));
    EXPECT_EQ(Pixel("ImageD1", 5, 5), qRgb(255, 0, 0));
    // Released outside the image: no click.
    EXPECT_EQ(panel->Log, (std::vector<std::string>{"down 5", "up 5"}));

    // The right button draws the normal picture and reaches nothing on the way down.
    panel->Log.clear();
    skin->SetImageState("ImageD1", 1);
    QTest::mousePress(d1, Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_EQ(Pixel("ImageD1", 5, 5), qRgb(255, 0, 0));
    EXPECT_TRUE(panel->Log.empty());
    QTest::mouseRelease(d1, Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_EQ(panel->Log, (std::vector<std::string>{"up 5"}));
}

TEST_F(SkinRuntime, HighCodesAndLabelsReportOnlyClicks)
{
    DoubleClick(Image("ImageHOOK"));
    DoubleClick(panel->findChild<TLabel *>("LabelD1"));
    const std::vector<std::string> expected = {"click 900 ImageHOOK", "dbl 900", "lookup LabelD1", "show LabelD1"};
    EXPECT_EQ(panel->Log, expected);

    // The pop-up menus know the control they were opened on.
    emit panel->findChild<TLabel *>("LabelD1")->customContextMenuRequested(QPoint(1, 1));
    EXPECT_EQ(skin->PopupComponent(), panel->findChild<TLabel *>("LabelD1"));
    panel->menuLab.hide();
}

} // namespace
