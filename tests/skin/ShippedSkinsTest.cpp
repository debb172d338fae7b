// The skins shipped with the program carry everything the panel addresses.
#include "SkinFixture.h"

#include "Fce.h"

#include <set>

namespace {

class ShippedSkins : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        CopyDirFiles(dir.File("prog/Skins"), TALVO_SOURCE_DIR "/data/Skins", "*");
    }
    std::set<int> Codes() const
    {
        std::set<int> codes;
        for (TImage *image : panel->findChildren<TImage *>())
            codes.insert(image->Tag);
        return codes;
    }
};

TEST_F(ShippedSkins, DeskPhoneHasTheDisplayKeysAndLamps)
{
    TSkin &s = Start("RizUzezi.skn");
    for (const char *label : {"LabelDISP", "LabelDEST", "LabelKEYS", "LabelSTAT", "LabelTAR", "LabelCLOCK"})
        EXPECT_NE(panel->findChild<TLabel *>(label), nullptr) << label;
    for (const char *image : {"ImageSTAT", "ImageHAND", "ImageLEDSPK", "ImageLEDMUTE", "ImageLEDHOLD", "ImageFRONT"})
        EXPECT_NE(panel->findChild<TImage *>(image), nullptr) << image;
    const std::set<int> codes = Codes();
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 100, 102, 103, 150, 200, 201, 202, 300, 301, 302, 303, 305,
                     306, 500, 501, 502, 503, 504, 600, 605, 900, 902})
        EXPECT_TRUE(codes.count(code)) << code;
    // Speed-dial images each have their label.
    for (int i = 1; i <= 8; ++i)
        EXPECT_GE(s.FindLinkedItem("ImageD" + std::to_string(i)), 0) << i;
    // The outline: cut corners, solid body.
    EXPECT_FALSE(panel->mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(panel->mask().contains(QPoint(599, 399)));
    EXPECT_TRUE(panel->mask().contains(QPoint(300, 200)));
}

TEST_F(ShippedSkins, EveryKeyLooksDifferentWhenPressedAndSavingChangesNothing)
{
    for (const char *name : {"RizUzezi.skn", "Mini.skn"}) {
        TSkin &s = Start(name);
        int keys = 0;
        for (TImage *image : panel->findChildren<TImage *>()) {
            const std::string n = FromQ(image->objectName());
            if (s.FindItem(n) < 0 || image->Tag >= 900)
                continue;
            const QImage up = image->Picture().toImage();
            s.SetImageState(n, 1);
            EXPECT_NE(image->Picture().toImage(), up) << name << " " << n;
            ++keys;
        }
        EXPECT_GT(keys, 5) << name;
        s.Modify = s.ModifyFont = true;
        s.SaveSkin(true);
        EXPECT_EQ(ReadBytes(dir.File(std::string("data/Skins/") + name)),
                  ReadBytes(std::string(TALVO_SOURCE_DIR "/data/Skins/") + name))
            << name;
    }
}

// A pixel kept beside a cut one must not carry the key colour blended in.
int FringePixels(const QImage &back)
{
    const QImage img = back.convertToFormat(QImage::Format_RGB32);
    const QRgb key = qRgb(255, 0, 255);
    int fringe = 0;
    for (int y = 1; y + 1 < img.height(); ++y)
        for (int x = 1; x + 1 < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (c == key)
                continue;
            const bool edge = img.pixel(x - 1, y) == key || img.pixel(x + 1, y) == key || img.pixel(x, y - 1) == key ||
                              img.pixel(x, y + 1) == key;
            const int tint = std::min(qRed(c), qBlue(c)) - qGreen(c);
            fringe += edge && tint > 24 ? 1 : 0;
        }
    return fringe;
}

TEST_F(ShippedSkins, OutlinesHaveNoKeyColourFringe)
{
    for (const char *picture : {"RizUzezi.png", "Mini.png"})
        EXPECT_EQ(FringePixels(QImage(QString::fromLatin1(TALVO_SOURCE_DIR "/data/Skins/") + picture)), 0) << picture;
}

} // namespace
