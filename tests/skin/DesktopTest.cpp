#include "Desktop.h"
#include "Fce.h"
#include "IniFile.h"
#include "Paths.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class FakeSkin : public TDesktopSkin {
public:
    std::string CurrentSkinName() const override { return name; }
    void SetSkinName(const std::string &n) override { name = n; }
    void LoadSkin() override { log += "load:" + name + ";"; }
    void SaveSkin(bool remove) override { log += std::string(remove ? "save+remove:" : "save:") + name + ";"; }
    std::string name, log;
};

class Desktops : public ::testing::Test {
protected:
    void SetUp() override
    {
        DataDir = dir.Path();
        desktop = std::make_unique<TDesktop>(&panel, &skin);
        desktop->MainWindows = {Placed(&book, "Dbf")};
        desktop->SessionWindows = {Placed(&hist, "Hist")};
    }

    static TPlacedWindow Placed(QWidget *w, const std::string &section)
    {
        return {[] { return true; },
                [w, section](const TIniFile &ini) { w->move(ini.ReadInteger(section, "Left", 0), 0); },
                [w, section](TIniFile &ini) { ini.WriteInteger(section, "Left", w->x()); }};
    }

    std::string Path(const std::string &name) { return dir.Path() + "Desktops/" + name; }

    TempDir dir;
    QWidget panel, book, hist;
    FakeSkin skin;
    std::unique_ptr<TDesktop> desktop;
};

TEST_F(Desktops, MissingDefaultGivesOriginAndDefaultSkinAndSaveAsBecomesCurrent)
{
    panel.move(50, 60);
    desktop->LoadAtStart();
    EXPECT_EQ(panel.pos(), QPoint(0, 0));
    EXPECT_EQ(skin.log, "load:RizUzezi.skn;");
    EXPECT_EQ(desktop->Current(), "Default.dst");

    // Save as writes every window and becomes current.
    book.move(5, 0);
    hist.move(6, 0);
    desktop->SaveDesktopAs("Mine.dst");
    EXPECT_EQ(desktop->Current(), "Mine.dst");
    TIniFile mine(Path("Mine.dst"));
    EXPECT_EQ(mine.ReadSections(), (std::vector<std::string>{"Hist", "Set", "Dbf"}));
    EXPECT_EQ(mine.ReadInteger("Hist", "Left", 0), 6);
}

TEST_F(Desktops, SwitchSavesOnlyTheSkinAndExitWritesTheDefault)
{
    WriteBytes(Path("Work.dst"), "[Set]\r\nLeft=10\r\nTop=20\r\nSkinName=Small.skn\r\n[Dbf]\r\nLeft=33\r\n[Hist]\r\nLeft=44\r\n");
    const std::string work = ReadBytes(Path("Work.dst"));
    desktop->LoadAtStart();
    skin.log.clear();
    desktop->SwitchDesktop("Work.dst");
    EXPECT_EQ(skin.log, "") << "the switch waits for the timer";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop->Timer().Active(); }));
    EXPECT_EQ(skin.log, "save+remove:RizUzezi.skn;load:Small.skn;");
    EXPECT_EQ(panel.pos(), QPoint(10, 20));
    EXPECT_EQ(book.x(), 33);
    EXPECT_EQ(hist.x(), 44);

    panel.move(70, 80);
    desktop->SaveWindowPositions("");
    desktop->SaveAtExit();
    EXPECT_EQ(ReadBytes(Path("Work.dst")), work) << "the switched-to desktop is left as it was";
    TIniFile def(Path("Default.dst"));
    EXPECT_EQ(def.ReadInteger("Set", "Left", 0), 70);
    EXPECT_EQ(def.ReadString("Set", "SkinName", ""), "Small.skn");
    EXPECT_EQ(def.ReadInteger("Dbf", "Left", 0), 33);
    EXPECT_EQ(def.ReadInteger("Hist", "Left", 0), 44);
}

TEST_F(Desktops, DesktopSettingsAreReadButNeverWritten)
{
    WriteBytes(ProgramIniPath(), "[Desktop]\r\nHome=Layouts\r\nDefault=Start.dst\r\n");
    TDesktop custom(&panel, &skin);
    custom.SaveAtExit();
    EXPECT_EQ(custom.Folder(), dir.Path() + "Layouts/");
    EXPECT_EQ(ReadBytes(dir.Path() + "Layouts/Start.dst").substr(0, 7), "[Set]\r\n");
    EXPECT_EQ(ReadBytes(ProgramIniPath()), "[Desktop]\r\nHome=Layouts\r\nDefault=Start.dst\r\n");
}

TEST_F(Desktops, DesktopsAreFoundWithoutRegardToCaseAndByTheirOwnNames)
{
    // Name the desktop is chosen by (file-system bytes), file it has, where the panel goes.
    const struct {
        const char *chosen, *file;
        int left;
    } cases[] = {
        {"Work.dst", "WORK.DST", 11},
        {"Práce.dst", "PRÁCE.DST", 12},
        {"Рабочий.dst", "Рабочий.dst", 13},
    };
    WriteBytes(Path("???????.dst"), "[Set]\r\nLeft=99\r\n");
    WriteBytes(Path("DEFAULT.DST"), "[Set]\r\nLeft=10\r\n");
    desktop->LoadAtStart();
    EXPECT_EQ(panel.x(), 10);
    for (const auto &c : cases) {
        WriteBytes(Path(c.file), "[Set]\r\nLeft=" + std::to_string(c.left) + "\r\n");
        desktop->SwitchDesktop(c.chosen);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop->Timer().Active(); }));
        EXPECT_EQ(panel.x(), c.left) << c.chosen;
    }
    // Saved back into the file it was loaded from.
    panel.move(40, 0);
    EXPECT_EQ(desktop->SaveDesktopAs("Рабочий.dst"), TDesktop::TSaved::Saved);
    EXPECT_EQ(TIniFile(Path("Рабочий.dst")).ReadInteger("Set", "Left", 0), 40);
    EXPECT_EQ(ReadBytes(Path("???????.dst")), "[Set]\r\nLeft=99\r\n");
    desktop->SaveAtExit();
    EXPECT_EQ(TIniFile(Path("DEFAULT.DST")).ReadInteger("Set", "Left", 0), 40);
    EXPECT_FALSE(QFile::exists(QPath(Path("Default.dst"))));
}

TEST_F(Desktops, ANameThatCannotBeKeptOrWrittenIsRefusedAndTheCurrentDesktopStays)
{
    const std::string longest = std::string(251, 'n') + ".dst";
    const std::pair<std::string, TDesktop::TSaved> cases[] = {
        {"Новый.dst", TDesktop::TSaved::NameNotKept},
        {"n" + longest, TDesktop::TSaved::NameTooLong},
        {"Missing/Mine.dst", TDesktop::TSaved::NotWritten},
        {longest, TDesktop::TSaved::Saved},
    };
    desktop->LoadAtStart();
    for (const auto &[name, outcome] : cases) {
        EXPECT_EQ(desktop->SaveDesktopAs(name), outcome) << name;
        EXPECT_EQ(desktop->Current(), outcome == TDesktop::TSaved::Saved ? longest : "Default.dst") << name;
        EXPECT_EQ(QFile::exists(QPath(Path(name))), outcome == TDesktop::TSaved::Saved) << name;
    }
    EXPECT_EQ(QDir(QPath(desktop->Folder())).entryList(QDir::Files), QStringList{QPath(longest)}) << "nothing else written";
}

// The settings' default desktop is a file of the desktop folder: a name that
// reaches out of it is not used, Default.dst stands in, and nothing outside
// is read or written, at start, log-in, log-out or exit.
TEST_F(Desktops, ADefaultOutsideTheDesktopFolderIsNotUsedAndNothingOutsideIsTouched)
{
    QDir().mkpath(QPath(dir.Path() + "outside"));
    const std::string outside = dir.Path() + "outside/keep.dst", mine = "[Set]\nLeft=77\n";
    WriteBytes(Path("Default.dst"), "[Set]\r\nLeft=5\r\n");
    for (const std::string &name : {std::string("../outside/keep.dst"), std::string("..\\outside\\keep.dst"), outside,
                                    std::string("sub/x.dst"), std::string("..")}) {
        WriteBytes(outside, mine);
        WriteBytes(ProgramIniPath(), "[Desktop]\r\nDefault=" + name + "\r\n");
        TDesktop custom(&panel, &skin);
        custom.SessionWindows = {Placed(&hist, "Hist")};
        EXPECT_EQ(custom.RefusedDefault(), name);
        custom.LoadAtStart();
        EXPECT_EQ(panel.x(), 5) << name;
        EXPECT_EQ(custom.Current(), "Default.dst") << name;
        custom.LoadWindowPositions();
        custom.SaveWindowPositions("");
        custom.SaveAtExit();
        EXPECT_EQ(ReadBytes(outside), mine) << name;
        EXPECT_EQ(QDir(QPath(dir.Path() + "outside")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{"keep.dst"});
        EXPECT_EQ(QDir(QPath(desktop->Folder())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{"Default.dst"});
    }
    EXPECT_EQ(desktop->RefusedDefault(), "") << "the usual default";
}

} // namespace
