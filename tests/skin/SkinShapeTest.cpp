// The panel's outline after a skin load: colour-key mask, opacity, rectangle.
#include "Layeredform.h"
#include "SkinFixture.h"

#include <QPainter>
#include <QTest>

namespace {

std::string ShapedSkin(int type)
{
    return "[Set]\r\nWidth=120\r\nHeight=90\r\nBackground=back.png\r\nType=" + std::to_string(type) +
           "\r\nAlpha=128\r\nColorKey=16711935\r\n";
}

TEST_F(SkinTest, ColourKeySkinCutsTheKeyPixelsOutOfTheWindow)
{
    WriteBackground("back.png", 120, 90, qRgb(255, 0, 255));
    const char *names[] = {"Zero.skn", "One.skn", "Two.skn"};
    for (int type : {0, 1, 2})
        WriteBytes(dir.File(std::string("prog/Skins/") + names[type]), ShapedSkin(type));
    TSkin &s = Start("Two.skn");
    EXPECT_TRUE(panel->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(panel->isVisible());
    const QRegion mask = panel->mask();
    EXPECT_EQ(mask, s.Region);
    const std::pair<QPoint, bool> kept[] = {{{0, 0}, false},   {{7, 7}, false},    {{8, 8}, true},
                                            {{60, 45}, true}, {{119, 89}, false}, {{119, 0}, true}};
    for (auto [point, in] : kept)
        EXPECT_EQ(mask.contains(point), in) << point.x() << "," << point.y();
    EXPECT_DOUBLE_EQ(panel->windowOpacity(), 1.0);

    // Alpha: no cut, the window's opacity instead; none: a plain rectangle.
    s.SelectSkin("One.skn");
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.SkinName == "One.skn"; }));
    EXPECT_TRUE(panel->mask().isEmpty());
    EXPECT_NEAR(panel->windowOpacity(), 128 / 255.0, 0.01);
    auto reload = [&](const char *name) { s.SaveSkin(true), s.SkinName = name, s.LoadSkin(); };
    reload("Zero.skn");
    EXPECT_TRUE(panel->mask().isEmpty());
    EXPECT_DOUBLE_EQ(panel->windowOpacity(), 1.0);
    reload("Two.skn");
    EXPECT_FALSE(panel->mask().contains(QPoint(0, 0)));
}

TEST(SkinShape, KeyColourRegionFollowsTheKeyPixelsOnly)
{
    QImage picture(20, 4, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int x = 0; x < 10; ++x)
        picture.setPixel(x, 0, qRgb(255, 255, 255));
    QRegion r = TLayeredForm::KeyColorRegion(picture, clWhite, QSize(20, 4));
    for (int x = 0; x < 10; ++x)
        EXPECT_FALSE(r.contains(QPoint(x, 0))) << x;
    EXPECT_TRUE(r.contains(QPoint(10, 0)));
    EXPECT_TRUE(r.contains(QPoint(0, 1)));

    // No key pixel: the whole window; a window larger than its picture shows beyond it.
    r = TLayeredForm::KeyColorRegion(picture, MakeColor(1, 2, 3), QSize(30, 6));
    EXPECT_EQ(r, QRegion(0, 0, 30, 6));

    // A system colour as the key is resolved first.
    picture.fill(QColor(212, 208, 200));
    r = TLayeredForm::KeyColorRegion(picture, clBtnFace, QSize(20, 4));
    EXPECT_TRUE(r.isEmpty());
}

} // namespace
