// Reading a skin onto the panel, the save rules, and the deferred switch.
#include "SkinFixture.h"

#include "IniFile.h"
#include "Timer.h"

#include <QFileDialog>
#include <QTest>

namespace {

std::string SectionText(const std::string &bytes, const std::string &section)
{
    size_t b = bytes.find("[" + section + "]");
    if (b == std::string::npos)
        return {};
    size_t e = bytes.find("\r\n[", b);
    return bytes.substr(b, e == std::string::npos ? std::string::npos : e - b);
}

TEST_F(SkinTest, LoadCreatesImagesAndLabelsByName)
{
    TSkin &s = StartPhone();

    EXPECT_EQ(panel->size(), QSize(120, 90));
    EXPECT_EQ(std::make_tuple(s.Type, s.Alpha, s.ColorKey, s.Title, s.FirstName, s.ItemCount),
              std::make_tuple(2, 200, TColor(0xFF00FF), true, false, 6));
    auto *d1 = panel->findChild<TImage *>("ImageD1");
    ASSERT_NE(d1, nullptr);
    EXPECT_EQ(std::make_tuple(d1->Tag, d1->geometry(), d1->contextMenuPolicy()),
              std::make_tuple(5, QRect(10, 10, 10, 10), Qt::CustomContextMenu));
    // Code 900 and above: no image menu of its own.
    EXPECT_NE(panel->findChild<TImage *>("ImageHOOK")->contextMenuPolicy(), Qt::CustomContextMenu);
    auto *l1 = panel->findChild<TLabel *>("LabelD1");
    ASSERT_NE(l1, nullptr);
    EXPECT_EQ(std::make_tuple(l1->Tag, l1->autoFillBackground(), l1->textFormat()),
              std::make_tuple(900, false, Qt::PlainText));
    auto *l2 = panel->findChild<TLabel *>("LabelD2");
    EXPECT_TRUE(l2->autoFillBackground() && (l2->alignment() & Qt::AlignRight));
    EXPECT_EQ(s.LabelFont("LabelD1").Color, 0xFF);
    EXPECT_EQ(s.Items[1].Link + "|" + s.Items[5].Link, "ImageD1|");
    EXPECT_EQ(panel->findChild<QObject *>("Other"), nullptr);
    EXPECT_FALSE(panel->Image0->pixmap().isNull());
    // The shipped skins were copied into the user's skin folder.
    EXPECT_EQ(ReadBytes(dir.File("data/Skins/Phone.skn")), kPhoneSkin);
    EXPECT_EQ(std::make_pair(s.FindItem("LabelCLOCK"), s.FindItem("Nothing")), std::make_pair(5, -1));

    // Skins are chosen from the user's skin folder.
    QFileDialog dialog;
    s.ChooseSkinFile(&dialog);
    EXPECT_EQ(dialog.defaultSuffix(), "skn");
    EXPECT_EQ(dialog.directory().absolutePath().toStdString() + "/", dir.File("data/Skins/"));
    EXPECT_EQ(dialog.nameFilters(), QStringList({"Skins (*.skn)", "All (*.skn *.SKN)"}));
}

TEST_F(SkinTest, NameWithImageAndLabelIsAnImageAndTablesAreBounded)
{
    std::string text = "[Controls]\r\nImageLabel=0 0 5 5:0 0:1\r\nLabelImage=0 0 5 5:0 0:1\r\n";
    for (int i = 0; i < 450; ++i)
        text += "Label" + std::to_string(i) + "=0 0 1 1:TL:" + std::string(200, 'q') + "\r\n";
    WriteBytes(dir.File("prog/Skins/Many.skn"), text);
    TSkin &s = Start("Many.skn");
    EXPECT_TRUE(panel->findChild<TImage *>("ImageLabel") && panel->findChild<TImage *>("LabelImage"));
    EXPECT_EQ(s.ItemCount, kSkinTableSize);
    EXPECT_EQ(panel->findChildren<TLabel *>().size(), static_cast<qsizetype>(kSkinTableSize - 2));
    EXPECT_EQ(s.Items[2].Link.size(), kMaxLinkWord);
    s.SaveSkin(false);
    EXPECT_EQ(s.KeptCount, kSkinTableSize);
}

// A bitmap header that claims a picture of w x h pixels and holds none of them.
std::string BitmapHeader(int w, int h)
{
    std::string b = "BM";
    auto put = [&b](uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            b += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(54 + 3u * w * h, 4), put(0, 4), put(54, 4), put(40, 4), put(w, 4), put(h, 4), put(1, 2), put(24, 2);
    b.append(24, '\0');
    return b;
}

TEST_F(SkinTest, SkinsThatCannotShowAreRefusedAndTheLastOneStays)
{
    WriteBytes(dir.File("prog/Skins/garbage.png"), "not a picture");
    WriteBytes(dir.File("prog/Skins/huge.bmp"), BitmapHeader(9000, 9000));
    const struct {
        const char *name, *text;
    } cases[] = {
        {"Absent.skn", nullptr},
        {"Noise.skn", "\x01\x02\xFF garbage\r\n\r\n=\r\n"},
        {"Huge.skn", "[Set]\r\nWidth=100000\r\nHeight=100000\r\nBackground=back.png\r\n"},
        {"Zero.skn", "[Set]\r\nWidth=0\r\nBackground=back.png\r\n"},
        {"NoBack.skn", "[Set]\r\nBackground=missing.bmp\r\n[Controls]\r\nImageA=1 1 4 4:0 0:3\r\n"},
        {"BadSprite.skn", "[Set]\r\nBackground=back.png\r\nForeground=garbage.png\r\n"},
        {"HugeSprite.skn", "[Set]\r\nBackground=back.png\r\nForeground=huge.bmp\r\n"},
        {"BigControl.skn", "[Set]\r\nBackground=back.png\r\nForeground=sprite.png\r\n[Controls]\r\n"
                           "ImageD1=10 10 10 10:0 0:5\r\nImageBIG=0 0 20000000 20000000:0 0:1\r\n"},
        {"FarControl.skn", "[Set]\r\nBackground=back.png\r\n[Controls]\r\nLabelFAR=2147483647 0 9 9:TL\r\n"},
        {"ManyLarge.skn", "[Set]\r\nWidth=4096\r\nHeight=4096\r\nBackground=back.png\r\n[Controls]\r\n"
                          "ImageA=0 0 4096 4096\r\nImageB=0 0 4096 4096\r\nImageC=0 0 4096 4096\r\n"},
    };
    TSkin &s = StartPhone();
    for (const auto &c : cases)
        for (bool prefetched : {false, true}) {
            if (c.text)
                WriteBytes(dir.File(std::string("prog/Skins/") + c.name), c.text);
            // Pictures decoded ahead on another thread are judged alike.
            if (prefetched)
                s.Prefetch(c.name);
            s.SelectSkin(c.name);
            EXPECT_TRUE(QTest::qWaitFor([&] { return !s.Timer->Enabled(); })) << c.name;
            EXPECT_NE(s.LoadError.find(c.name), std::string::npos) << c.name << ": " << s.LoadError;
            EXPECT_EQ(s.SkinName, "Phone.skn") << c.name;
            EXPECT_EQ(panel->size(), QSize(120, 90)) << c.name;
            EXPECT_NE(panel->findChild<TImage *>("ImageD1"), nullptr) << c.name;
            EXPECT_FALSE(panel->Image0->pixmap().isNull()) << c.name;
            EXPECT_FALSE(panel->mask().isEmpty()) << c.name;
        }
    // The control that does not fit is named.
    EXPECT_NE(s.LoadError.find("ImageC"), std::string::npos) << s.LoadError;
    s.Prefetch("Phone.skn");
    s.SelectSkin("Phone.skn");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !s.Timer->Enabled(); }));
    EXPECT_EQ(s.LoadError, "");
    EXPECT_FALSE(panel->Image0->pixmap().isNull());

    // With nothing to go back to, the panel is still shaped and shown, and the word is said.
    TSkin &first = Start("NoBack.skn");
    EXPECT_NE(first.LoadError.find("NoBack.skn"), std::string::npos);
    EXPECT_NE(first.LoadError.find("missing.bmp"), std::string::npos);
    EXPECT_EQ(panel->size(), QSize(100, 80));
    EXPECT_EQ(first.ItemCount, 0);
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(SkinTest, ASkinThatNeverShowedIsNeverSaved)
{
    // The user's copy names a picture that is not there, and the program has no other skin.
    std::string broken = kPhoneSkin;
    broken.replace(broken.find("back.png"), 8, "gone.png");
    MakeDir("data/Skins");
    WriteBytes(dir.File("data/Skins/Phone.skn"), broken);
    TSkin &first = StartPhone();
    EXPECT_NE(first.LoadError.find("gone.png"), std::string::npos) << first.LoadError;
    first.SaveSkin(false);
    EXPECT_EQ(ReadBytes(dir.File("data/Skins/Phone.skn")), broken);

    // The user's copy of the shipped skin is broken: the program's own shows,
    // and the user's file stays as it is.
    WriteBytes(dir.File("prog/Skins/RizUzezi.skn"), kPhoneSkin);
    WriteBytes(dir.File("data/Skins/RizUzezi.skn"), broken);
    TSkin &shipped = Start("RizUzezi.skn");
    EXPECT_NE(shipped.LoadError.find("gone.png"), std::string::npos) << shipped.LoadError;
    EXPECT_EQ(std::make_pair(shipped.SkinName, shipped.ItemCount), std::make_pair(std::string("RizUzezi.skn"), 6));
    shipped.SaveSkin(true);
    EXPECT_EQ(ReadBytes(dir.File("data/Skins/RizUzezi.skn")), broken);

    // A switch where nothing shows: the file stays, and the captions of the
    // skin shown before reach the next one that shows.
    WriteBytes(dir.File("data/Skins/Phone.skn"), kPhoneSkin);
    TSkin &s = Start("Phone.skn");
    s.SetLabelText("LabelCLOCK", "12:34", 1001);
    ::unlink(dir.File("prog/Skins/back.png").c_str());
    auto switchTo = [&s](const char *name) {
        s.SelectSkin(name);
        return QTest::qWaitFor([&] { return !s.Timer->Enabled(); });
    };
    ASSERT_TRUE(switchTo("Phone.skn"));
    EXPECT_EQ(s.ItemCount, 0);
    const std::string saved = ReadBytes(dir.File("data/Skins/Phone.skn"));
    s.SaveSkin(true);
    EXPECT_EQ(ReadBytes(dir.File("data/Skins/Phone.skn")), saved);
    WriteBackground("back.png", 120, 90, qRgb(255, 0, 255));
    ASSERT_TRUE(switchTo("Phone.skn"));
    EXPECT_EQ(panel->findChild<TLabel *>("LabelCLOCK")->Caption(), "12:34");
}

TEST_F(SkinTest, SaveWithoutModifyLeavesControlsAndFontsByteForByte)
{
    TSkin &s = StartPhone();
    // Unchanged, a full save leaves the file as the first ([Set] and [Show] only) save wrote it.
    auto save = [&] { return s.SaveSkin(false), ReadBytes(dir.File("data/Skins/Phone.skn")); };
    const std::string first = save();
    s.Modify = s.ModifyFont = true;
    EXPECT_EQ(save(), first);

    s.Modify = s.ModifyFont = false;
    panel->findChild<TImage *>("ImageD1")->move(50, 50);
    panel->findChild<TImage *>("ImageD1")->Tag = 7;
    TFont red;
    red.Color = 0x0000FF;
    red.Style = fsBold;
    s.SetLabelFont("LabelD2", red);
    panel->resize(130, 95);
    const std::string after = save();
    EXPECT_EQ(SectionText(after, "Controls"), SectionText(kPhoneSkin, "Controls"));
    EXPECT_EQ(SectionText(after, "Fonts"), SectionText(kPhoneSkin, "Fonts"));
    TIniFile file(dir.File("data/Skins/Phone.skn"));
    EXPECT_EQ(file.ReadInteger("Set", "Width", 0), 130);

    // Fonts follow ModifyFont alone; Controls follow Modify alone.
    s.ModifyFont = true;
    const std::string fontsOnly = save();
    EXPECT_EQ(SectionText(fontsOnly, "Controls"), SectionText(kPhoneSkin, "Controls"));
    EXPECT_NE(fontsOnly.find("LabelD2-Style=B"), std::string::npos);
    s.ModifyFont = false;
    s.Modify = true;
    const std::string controls = save();
    EXPECT_EQ(SectionText(controls, "Fonts"), SectionText(fontsOnly, "Fonts"));
    EXPECT_NE(controls.find("ImageD1=50 50 10 10:0 0:7"), std::string::npos);
}

TEST_F(SkinTest, FirstSaveWritesEverythingAndKeepsLinksAndCodes)
{
    TSkin &s = StartPhone();
    ::unlink(dir.File("data/Skins/Phone.skn").c_str());
    s.Modify = s.ModifyFont = s.ModifyFce = false;
    panel->findChild<TImage *>("ImageD1")->Tag = 9;
    s.SaveSkin(false);
    TIniFile file(dir.File("data/Skins/Phone.skn"));
    EXPECT_EQ(file.ReadString("Controls", "ImageD1", ""), "10 10 10 10:0 0:5");
    EXPECT_EQ(file.ReadString("Controls", "LabelD1", ""), "25 10 40 12:TL:ImageD1");
    EXPECT_EQ(file.ReadString("Controls", "LabelD2", ""), "25 30 40 12:FR:ImageD2");
    EXPECT_EQ(file.ReadString("Controls", "LabelCLOCK", ""), "60 60 50 12:TC");
    EXPECT_EQ(file.ReadString("Fonts", "LabelD1-Color", ""), "000000FF");
    EXPECT_EQ(file.ReadString("Set", "ColorKey", ""), "16711935");

    s.ModifyFce = s.Modify = true;
    QPointer<TImage> back(panel->Image0);
    s.SaveSkin(true);
    EXPECT_EQ(file.ReadString("Controls", "ImageD1", ""), "10 10 10 10:0 0:5");
    TIniFile again(dir.File("data/Skins/Phone.skn"));
    EXPECT_EQ(again.ReadString("Controls", "ImageD1", ""), "10 10 10 10:0 0:9");
    EXPECT_EQ(panel->findChild<TImage *>("ImageD1"), nullptr);
    EXPECT_FALSE(back.isNull());
    // Reloaded, the labels still belong to their images.
    s.LoadSkin();
    EXPECT_EQ(s.Items[s.FindItem("LabelD1")].Link, "ImageD1");
}

TEST_F(SkinTest, DeferredSwitchKeepsLabelCaptions)
{
    WriteBytes(dir.File("prog/Skins/Small.skn"),
               "[Set]\r\nWidth=60\r\nHeight=40\r\n[Controls]\r\nLabelCLOCK=1 1 50 10:TL\r\nLabelNEW=1 20 50 10:TL\r\n");
    TSkin &s = StartPhone();
    s.SetLabelText("LabelCLOCK", "12:34", 1001);
    s.SelectSkin("Small.skn");
    // Not inside the caller.
    EXPECT_NE(panel->findChild<TImage *>("ImageD1"), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.SkinName == "Small.skn"; }));
    EXPECT_EQ(panel->findChild<TImage *>("ImageD1"), nullptr);
    EXPECT_EQ(panel->size(), QSize(60, 40));
    EXPECT_EQ(panel->findChild<TLabel *>("LabelCLOCK")->Caption(), "12:34");
    EXPECT_EQ(panel->findChild<TLabel *>("LabelNEW")->Caption(), "");
    EXPECT_FALSE(s.Timer->Enabled());

    // The same name again: saved, removed and created anew.
    TLabel *before = panel->findChild<TLabel *>("LabelNEW");
    s.SetLabelText("LabelNEW", "kept", 1001);
    s.SelectSkin("Small.skn");
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->findChild<TLabel *>("LabelNEW") != before; }));
    EXPECT_EQ(panel->findChild<TLabel *>("LabelNEW")->Caption(), "kept");
}

TEST_F(SkinTest, SettingsAndChangeListLiveInTheProgramIniFile)
{
    WriteBytes(dir.File("data/Talvodem.ini"), "[Skin]\r\nModify=1\r\nModifyFont=0\r\n[Skin-List]\r\n"
                                              "ImageD1=150,\"Novak, J\",123\r\nImageD9=5,5,\r\n[Other]\r\nA=1\r\n");
    TSkin &s = StartPhone();
    EXPECT_EQ(std::make_tuple(s.Modify, s.ModifyFont, s.ModifyFce), std::make_tuple(true, false, true));
    // Applied to the image of this skin, kept for the image it lacks.
    EXPECT_EQ(panel->findChild<TImage *>("ImageD1")->Tag, 150);
    EXPECT_EQ(s.GetItemValue("ImageD1") + "|" + s.GetImageLabelText("ImageD1"), "123|Novak, J");
    s.Modify = false;
    skin.reset();
    const std::string ini = ReadBytes(dir.File("data/Talvodem.ini"));
    EXPECT_NE(ini.find("[Skin-List]\r\nImageD1=150,\"Novak, J\",123\r\nImageD9=5,5,\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Modify=0"), std::string::npos);
    EXPECT_NE(ini.find("[Other]\r\nA=1"), std::string::npos);
}

} // namespace
