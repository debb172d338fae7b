// Skin and picture names as Windows settings hold them find their files
// whatever case the files have, Czech letters included.
#include "SkinFixture.h"

#include "Timer.h"

#include <QTest>

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

// A skin is a file of the skin folders: a name that reaches out of them, from
// a desktop, the settings file or a switch, is refused as a missing one.
TEST_F(SkinTest, NamesWithAFolderPartAreRefusedAndNothingOutsideIsReadOrWritten)
{
    const std::string victim = "[Set]\r\nBackground=back.png\r\nType=1\r\nAlpha=300\r\n";
    MakeDir("other");
    WriteBytes(dir.File("other/victim.skn"), victim);
    TSkin &s = StartPhone();
    MakeDir("data/Skins/sub");
    WriteBytes(dir.File("data/Skins/sub/Phone.skn"), victim);
    for (const std::string &name : {std::string("../../other/victim.skn"), dir.File("other/victim.skn"),
                                    std::string("..\\..\\other\\victim.skn"), std::string("sub/Phone.skn"),
                                    std::string("..")}) {
        s.SelectSkin(name);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !s.Timer->Enabled(); }));
        EXPECT_NE(s.LoadError.find(name), std::string::npos) << name << ": " << s.LoadError;
        EXPECT_EQ(std::make_pair(s.SkinName, s.Alpha), std::make_pair(std::string("Phone.skn"), 200)) << name;
    }
    // At start, and with the skin folder of the settings file pointing outside.
    WriteBytes(dir.File("data/Talvodem.ini"), "[Skin]\r\nHome=../other\r\n");
    for (const char *name : {"../../other/victim.skn", "victim.skn"}) {
        TSkin &first = Start(name);
        EXPECT_NE(first.LoadError.find(name), std::string::npos) << name << ": " << first.LoadError;
        first.SaveSkin(true);
    }
    EXPECT_EQ(ReadBytes(dir.File("other/victim.skn")), victim);
}

} // namespace
