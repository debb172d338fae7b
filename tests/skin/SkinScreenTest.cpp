// Under a real X server: the colour-key panel lets the desktop show through
// its holes. Set TALVO_SKIN_SHOT to a file name to keep the screenshot.
#include "SkinFixture.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <utility>

namespace {

class SkinScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        desktop.setWindowFlag(Qt::FramelessWindowHint);
        desktop.setAutoFillBackground(true);
        QPalette pal = desktop.palette();
        pal.setColor(QPalette::Window, QColor(0, 200, 0));
        desktop.setPalette(pal);
        desktop.setGeometry(0, 0, 800, 600);
        desktop.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop));
    }

    QImage Screen()
    {
        // Settled once two grabs, each after the window system caught up, agree.
        QImage last, now;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            QGuiApplication::sync();
            last = std::exchange(now, QGuiApplication::primaryScreen()->grabWindow(0).toImage());
            return now == last;
        }));
        return now.convertToFormat(QImage::Format_RGB32);
    }

    QWidget desktop;
    TempDir dir;
};

QPixmap StatePicture()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x20, 0x60, 0x20));
    painter.drawEllipse(2, 2, 12, 12);
    return p;
}

TEST_F(SkinScreen, MaskedPanelShowsTheDesktopThroughItsHoles)
{
    TestPanel panel(dir);
    TSkin skin(&panel, panel.Image0, panel.Image1);
    skin.SkinName = "RizUzezi.skn";
    panel.move(100, 100);
    skin.LoadSkin();
    ASSERT_FALSE(panel.Image0->pixmap().isNull()) << "shipped skin not found beside the test";
    for (auto [name, text] : {std::pair{"LabelSTAT", "Connected"}, {"LabelCLOCK", "10:42"}, {"LabelDEST", "Sales"},
                              {"LabelDISP", "Jan Nov\xE1k\r\n+420 601 123 456"}, {"LabelTAR", "1,20 K\xE8"},
                              {"LabelKEYS", "601123456"}})
        skin.SetLabelText(name, text, 1001);
    skin.GetImagePicture("ImageSTAT", {StatePicture()}, 0);
    for (auto [name, state] : {std::pair{"ImageLEDSPK", 1}, {"ImageLEDHOLD", 2}, {"ImageHAND", 1}, {"ImageKey5", 1}})
        skin.SetImageState(name, state);
    for (const char *name : {"LabelD1", "LabelD2", "LabelD3"})
        skin.SetLabelText(name, std::string("Speed ") + name[6], 1001);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.raise();

    auto keep = [&](const QImage &shown, const QString &suffix) {
        if (const char *shot = std::getenv("TALVO_SKIN_SHOT"))
            shown.copy(QRect(panel.pos(), panel.size()).adjusted(-20, -20, 20, 20))
                .save(QString::fromLocal8Bit(shot) + suffix);
        return shown;
    };
    const QImage screen = keep(Screen(), {});
    const QRgb green = qRgb(0, 200, 0);
    // Rounded corners and the cord slot are holes; the body is not.
    EXPECT_EQ(screen.pixel(100, 100), green);
    EXPECT_EQ(screen.pixel(100 + 599, 100 + 399), green);
    EXPECT_EQ(screen.pixel(100 + 68, 100 + 26), green);
    EXPECT_NE(screen.pixel(100 + 300, 100 + 20), green);
    EXPECT_NE(screen.pixel(100 + 68, 100 + 40), green);
    EXPECT_EQ(panel.geometry(), QRect(100, 100, 600, 400));

    // The small skin takes over the same window, with its own outline.
    skin.SelectSkin("Mini.skn");
    ASSERT_TRUE(QTest::qWaitFor([&] { return skin.SkinName == "Mini.skn"; }, 5000));
    const QImage mini = keep(Screen(), QStringLiteral("-mini.png"));
    EXPECT_EQ(panel.size(), QSize(280, 160));
    EXPECT_EQ(mini.pixel(100, 100), green);
    EXPECT_NE(mini.pixel(100 + 140, 100 + 80), green);
    // Where the large skin was, the desktop shows again.
    EXPECT_EQ(mini.pixel(100 + 400, 100 + 300), green);
    EXPECT_EQ(skin.GetImageLabelText("ImageD1"), "Speed 1");
}

TEST_F(SkinScreen, WithoutAKeyTheCornerColourLetsThePanelThroughAndIsAHole)
{
    TestPanel panel(dir);
    // A form's own colour: the button face, which is also the default key.
    QPalette face = panel.palette();
    face.setColor(QPalette::Window, QColor(212, 208, 200));
    panel.setPalette(face);
    QDir().mkpath(QString::fromStdString(dir.Path() + "data/Skins"));
    WriteBytes(dir.Path() + "data/Skins/NoKey.skn",
               "[Set]\r\nWidth=600\r\nHeight=400\r\nBackground=RizUzezi.png\r\nType=2\r\n");
    TSkin skin(&panel, panel.Image0, panel.Image1);
    skin.SkinName = "NoKey.skn";
    panel.move(100, 100);
    skin.LoadSkin();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.raise();
    const QImage screen = Screen();
    const QRgb green = qRgb(0, 200, 0);
    for (QPoint hole : {QPoint(0, 0), QPoint(599, 399), QPoint(68, 26)})
        EXPECT_EQ(screen.pixel(QPoint(100, 100) + hole), green) << hole.x() << "," << hole.y();
    EXPECT_NE(screen.pixel(100 + 300, 100 + 20), green);
    EXPECT_NE(screen.pixel(100 + 68, 100 + 40), green);
}

} // namespace
