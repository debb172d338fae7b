#include "Grphbtn.h"
#include "Grphspeedbtn.h"
#include "Smcheckbox.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

// A strip of n pictures of the given width, each a frame of the key colour
// (white) around a solid colour of its own.
QImage Strip(int n, int width, int height)
{
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan};
    QImage img(n * width + 1, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int i = 0; i < n; ++i)
        p.fillRect(i * width + 2, 2, width - 4, height - 4, colours[i % 5]);
    return img;
}

QColor At(QWidget *w, int x, int y) { return w->grab().toImage().pixelColor(x, y); }

struct Scene {
    Scene()
    {
        parent.resize(200, 100);
        QPalette pal;
        pal.setColor(QPalette::Window, QColor(10, 20, 30));
        parent.setPalette(pal);
        QPixmap pic(60, 60);
        pic.fill(QColor(200, 100, 50));
        image = new TImage(&parent);
        image->setGeometry(0, 0, 60, 60);
        image->setPixmap(pic);
    }
    QWidget parent;
    TImage *image;
};

} // namespace

TEST(GrphBtn, BothButtonsPickTheStripPictureForTheirState)
{
    Scene s;
    TGrphBtn b(&s.parent);
    b.setGeometry(100, 0, 30, 30);
    b.SetGlyph(Strip(5, 20, 20));
    EXPECT_EQ(At(&b, 10, 10), QColor(Qt::red));
    EXPECT_EQ(At(&b, 0, 0), QColor(10, 20, 30)); // key colour shows the parent
    EXPECT_EQ(At(&b, 25, 25), QColor(10, 20, 30));
    b.SetButtonStyle(true);
    EXPECT_EQ(At(&b, 10, 10), QColor(Qt::cyan));
    b.setDown(true);
    EXPECT_EQ(At(&b, 10, 10), QColor(Qt::blue));
    b.setEnabled(false);
    EXPECT_EQ(At(&b, 10, 10), QColor(Qt::green));
    b.setEnabled(true);
    b.SetGlyph(Strip(3, 20, 20));
    b.SetNumGlyphs(3); // no picture for the default state: picture 0
    EXPECT_EQ(At(&b, 10, 10), QColor(Qt::red));

    b.SetNumGlyphs(0);
    EXPECT_EQ(b.NumGlyphs(), 1);
    b.SetNumGlyphs(9);
    EXPECT_EQ(b.NumGlyphs(), 5);

    // The speed button paints alike, with the speed button's states.
    TGrphSpeedBtn sb(&s.parent);
    sb.setGeometry(10, 10, 20, 20);
    sb.setCheckable(true);
    sb.Glyph = Strip(4, 20, 20);
    sb.SetNumGlyphs(9);
    EXPECT_EQ(sb.NumGlyphs(), 4);
    EXPECT_EQ(At(&sb, 10, 10), QColor(Qt::red));
    EXPECT_EQ(At(&sb, 0, 0), QColor(200, 100, 50));
    sb.setChecked(true);
    EXPECT_EQ(At(&sb, 10, 10), QColor(Qt::yellow));
    sb.setEnabled(false);
    EXPECT_EQ(At(&sb, 10, 10), QColor(Qt::green));
}

TEST(GrphBtn, FaceCopiesTheOverlappedPictureAndStripWidthRoundsDown)
{
    Scene s;
    TGrphBtn b(&s.parent);
    b.setGeometry(50, 50, 40, 40);
    QImage glyph(100, 10, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    glyph.setPixelColor(32, 1, Qt::black);   // last column of picture 0
    glyph.setPixelColor(33, 1, Qt::magenta); // first column of picture 1
    b.SetGlyph(glyph);
    b.SetNumGlyphs(3);
    const QImage face = b.grab().toImage();
    EXPECT_EQ(face.pixelColor(5, 5), QColor(200, 100, 50));  // over the picture
    EXPECT_EQ(face.pixelColor(15, 15), QColor(10, 20, 30)); // beside it
    EXPECT_EQ(face.pixelColor(32, 1), QColor(Qt::black)); // picture 0 is 33 wide
    EXPECT_EQ(face.pixelColor(33, 1), QColor(10, 20, 30));
}

TEST(SmCheckBox, CaptionColourFollowsTheState)
{
    TSmCheckBox c;
    c.setText("WWWW");
    c.resize(80, 24);
    auto has = [&](const QColor &colour) {
        const QImage img = c.grab().toImage();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(has(Qt::red));
    c.setChecked(true);
    EXPECT_TRUE(has(Qt::blue));
    EXPECT_FALSE(has(Qt::red));
    c.setTristate(true);
    c.setCheckState(Qt::PartiallyChecked);
    EXPECT_TRUE(has(Qt::red));
    c.setEnabled(false);
    EXPECT_TRUE(has(QColor(128, 128, 128)));
    EXPECT_FALSE(has(Qt::red) || has(Qt::blue));
    c.setEnabled(true);
    c.setChecked(false);
    c.click();
    EXPECT_TRUE(c.isChecked());
}
