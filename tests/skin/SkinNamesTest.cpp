// Skin and picture names as Windows settings hold them find their files
// whatever case the files have, Czech letters included.
#include "SkinFixture.h"

namespace {

TEST_F(SkinTest, SkinsAndTheirPicturesAreFoundWithoutRegardToCase)
{
    WriteSprite("SPRITE.PNG");
    WriteBackground("Zádní.png", 120, 90, qRgb(255, 0, 255));
    std::string text = kPhoneSkin;
    text.replace(text.find("back.png"), 8, "Z\xC1" "DN\xCD.PNG");
    // The user's own copy, and one shipped only.
    MakeDir("data/Skins");
    WriteBytes(dir.File("data/Skins/MODRA.SKN"), text);
    WriteBytes(dir.File("prog/Skins/MODRÁ.SKN"), text);
    for (const char *name : {"Modra.skn", "Modr\xE1.skn"}) {
        TSkin &s = Start(name);
        EXPECT_EQ(s.LoadError, "") << name;
        EXPECT_EQ(s.SkinName, name);
        EXPECT_EQ(panel->size(), QSize(120, 90)) << name;
        EXPECT_FALSE(panel->Image0->pixmap().isNull()) << name;
        EXPECT_NE(panel->findChild<TImage *>("ImageD1"), nullptr) << name;
    }
}

} // namespace
