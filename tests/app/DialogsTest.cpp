#include "About.h"
#include "HotKey.h"
#include "PanelSettings.h"
#include "Paths.h"
#include "Set.h"
#include "ShortcutWord.h"
#include "Skin.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

// Every setting as the INI file would hold it.
std::string Saved(const TPanelSettings &s, const TempDir &dir)
{
    s.SaveIni(dir.File("s.ini"));
    return ReadBytes(dir.File("s.ini"));
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramDirForTesting(dir.Path());
        skin = std::make_unique<TSkin>(&owner, nullptr, nullptr);
        settings.TariffEnabled = true;
        settings.DblClick = true;
        settings.SoundRing = "Ring.wav";
        before = Saved(settings, dir);
    }
    // Changes every field the dialog offers.
    static void EditAll(TFSet &d)
    {
        for (QCheckBox *c : d.findChildren<QCheckBox *>())
            c->toggle();
        d.RadioButtonClick->setChecked(true);
        for (TEdit *e : d.findChildren<TEdit *>())
            e->setText(e->text() + "x");
        for (THotKey *h : d.findChildren<THotKey *>())
            h->SetHotKey(static_cast<std::uint16_t>(h->HotKey() + kAltBit));
    }

    TempDir dir;
    TForm owner;
    std::unique_ptr<TSkin> skin;
    TPanelSettings settings;
    std::string before;
    bool porter = true;
};

} // namespace

TEST_F(SettingsDialogTest, OkWithoutChangesKeepsEverything)
{
    TFSet d(nullptr, skin.get(), &settings, &porter);
    EXPECT_TRUE(d.RadioButtonDouble->isChecked());
    EXPECT_TRUE(d.CheckBoxTar->isChecked());
    EXPECT_EQ(d.HotKeySPK->text(), "F5");
    EXPECT_FALSE(d.EditSndRing->isVisibleTo(&d));
    d.BitBtnOk->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(Saved(settings, dir), before);
    EXPECT_TRUE(porter);
    EXPECT_FALSE(skin->Modify);
    EXPECT_TRUE(skin->ModifyFont && skin->ModifyFce);
}

TEST_F(SettingsDialogTest, OkWritesEveryFieldBackAndCancelWritesNothing)
{
    {
        TFSet d(nullptr, skin.get(), &settings, &porter);
        EditAll(d);
        d.BitBtnCanc->click();
        EXPECT_EQ(d.result(), QDialog::Rejected);
    }
    EXPECT_EQ(Saved(settings, dir), before);
    EXPECT_TRUE(porter);
    EXPECT_FALSE(skin->Modify);

    TFSet d(nullptr, skin.get(), &settings, &porter);
    EditAll(d);
    d.BitBtnOk->click();
    EXPECT_TRUE(settings.RelaxMinimize && settings.NoRelaxActivate && settings.ShowDest);
    EXPECT_FALSE(settings.TariffEnabled || settings.DblClick || porter);
    EXPECT_TRUE(skin->Modify);
    EXPECT_FALSE(skin->ModifyFont || skin->ModifyFce);
    EXPECT_EQ(settings.ToPSTN + "|" + settings.Currency + "|" + settings.Delimiter + "|" + settings.SoundOpen + "|" +
                  settings.SoundStart + "|" + settings.SoundRing,
              "0x|K\xE8x|,x|Connect.wavx|x|Ring.wavx");
    EXPECT_EQ(std::vector<int>({settings.KeySPK, settings.KeyVOLDOWN2, settings.KeyTRF2, settings.KeySPD}),
              std::vector<int>({116 + kAltBit, 109 + kAltBit, 84 + kAltBit, 121})) << "SPD has no control of its own";
}

TEST(HotKey, RecordsShortcutWordsAndNamesThem)
{
    THotKey h;
    const int shiftAltA = 65 + kShiftBit + kAltBit;
    const struct { Qt::Key key; Qt::KeyboardModifiers mods; int word; const char *text; } presses[] = {
        {Qt::Key_F5, Qt::ControlModifier, 16500, "Ctrl+F5"},
        {Qt::Key_Control, Qt::ControlModifier, 16500, "Ctrl+F5"}, // a modifier alone changes nothing
        {Qt::Key_Period, Qt::KeypadModifier, 110, "Num ."},
        {Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier, shiftAltA, nullptr},
        {Qt::Key_Escape, Qt::NoModifier, shiftAltA, nullptr}, // Escape and Return are left to the dialog
        {Qt::Key_Return, Qt::NoModifier, shiftAltA, nullptr},
        {Qt::Key_Return, Qt::ControlModifier, 13 + kCtrlBit, nullptr},
        {Qt::Key_Backspace, Qt::NoModifier, 0, ""},
    };
    for (const auto &p : presses) {
        QTest::keyClick(&h, p.key, p.mods);
        EXPECT_EQ(h.HotKey(), p.word) << p.key;
        EXPECT_TRUE(!p.text || h.text() == p.text) << p.key << " " << h.text().toStdString();
    }
    EXPECT_EQ(ShortcutText(107), "Num +");
    EXPECT_EQ(ShortcutText(189), "-");
    EXPECT_EQ(ShortcutText(kCtrlBit + 255), "Ctrl+#255");
}

TEST(About, VersionTextAndBuildStamp)
{
    const std::pair<const char *, const char *> versions[] = {
        {"1.4.5.0", "1.04 E"}, {"2.12.0.3", "2.12"}, {"3.10.1.0", "3.10 A"}, {"", "0.00"}, {"1.x.70000", "1.00"}};
    for (auto [version, text] : versions)
        EXPECT_EQ(VersionText(ParseVersion(version)), text) << version;

    TFAbout about;
    EXPECT_EQ(about.Version->Caption(), "1.00");
    EXPECT_EQ(about.LabelInfo->Caption(), "");
    QTest::mouseClick(about.Label4, Qt::LeftButton);
    const std::string stamp = about.LabelInfo->Caption();
    ASSERT_EQ(stamp.size(), 20u) << stamp; // "Mmm dd yyyy,hh:mm:ss"
    EXPECT_EQ(stamp[11], ',');
    EXPECT_EQ(stamp[14], ':');
}
