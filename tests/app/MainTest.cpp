#include "Fce.h"
#include "FileSizeLimit.h"
#include "Help.h"
#include "IniFile.h"
#include "InstanceId.h"
#include "Nlsfunc.h"
#include "PanelRig.h"
#include "Paths.h"
#include "SessionWindows.h"
#include "SharedOpenGL.h"
#include "Skin.h"
#include "SoundModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QOpenGLContext>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The program's files as they stand beside the program, in another folder.
std::string ProgramFolderIn(const TempDir &dir, const std::string &folder)
{
    const QString real = QPath(ProgramDir());
    const QString moved = QString::fromStdString(dir.Path() + folder);
    QDir().mkpath(moved);
    for (const QString &entry : QDir(real).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        QFile::link(real + entry, moved + entry);
    return PathOfQ(moved);
}

TEST(PanelLife, FirstRunCreatesThePrivateDataFolderAndClosingLogsOutAndSavesEverything)
{
    // Folders as the file system names them (UTF-8); the INI file names its
    // folders in code page 1250, as it holds all text.
    const struct {
        const char *home, *program, *ini, *desktops, *skins, *book;
    } cases[] = {
        {"", "", "", "Desktops/", "Skins/", "Dbf/"},
        {"Ji\u0159\u00ed Nov\u00e1\u010dek/", "Sta\u017een\u00e9/talvo/", "", "Desktops/", "Skins/", "Dbf/"},
        {"a=b \u017d/", "Sta\u017een\u00e9=1/talvo/",
         "[Desktop]\r\nHome=Plochy \xE8\r\n[Skin]\r\nHome=Sk\xEDny\r\n[Dbf]\r\nHome=Kniha \x9A\r\n",
         "Plochy \u010d/", "Sk\u00edny/", "Kniha \u0161/"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.program);
        TempDir programs;
        if (*c.program)
            SetProgramDirForTesting(ProgramFolderIn(programs, c.program));
        PanelRig rig(c.ini, c.home);
        rig.Start();
        const std::string data = DataDir;
        const std::string ini = ProgramIniPath();
        EXPECT_EQ(data, rig.HomeDir + "Talvocti/");
        EXPECT_EQ(QDir(QPath(rig.home.Path())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1)
            << "no folder beside the home folder or the data folder";
        EXPECT_EQ(GetInstanceId(ProgramDir()), rig.main->InstanceId) << "the next start finds its data again";
        struct stat st {};
        EXPECT_EQ(::stat(data.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_TRUE(rig.main->isVisible()) << "the skin shapes and shows the panel";
        EXPECT_EQ(rig.Logins, 1) << "the log-in dialog opens at every start";
        ASSERT_EQ(rig.main->LanguageSel->actions().size(), 2) << "cz and eng beside the program";
        EXPECT_EQ(rig.main->HelpFile, ProgramDir() + "Talvdcz.html");
        rig.main->Content1Click();
        EXPECT_TRUE(HelpWindow()->Find(QStringLiteral("a"), false)) << "the page is shown";
        EXPECT_NE(LoadSoundPlayer(), nullptr);
        rig.main->ApplyLanguage("eng", false);
        EXPECT_TRUE(rig.main->LanguageSel->actions().at(1)->isChecked());
        // Closing while logged in sends CLOSE first.
        ASSERT_TRUE(rig.LogIn());
        rig.Sent();
        rig.main->close();
        EXPECT_EQ(rig.Sent(), "<req Type=\"CLOSE\" Handle=\"5\" />");
        EXPECT_EQ(FHist, nullptr);
        rig.Stop();
        SetProgramDirForTesting("");

        TIniFile settings(ini);
        EXPECT_EQ(settings.ReadString("Main", "Lang", ""), "eng");
        EXPECT_EQ(settings.ReadString("USR", "User", ""), "novak");
        TIniFile desktop(data + c.desktops + "Default.dst");
        EXPECT_EQ(desktop.ReadString("Set", "SkinName", ""), "RizUzezi.skn");
        EXPECT_TRUE(desktop.SectionExists("XML"));
        EXPECT_EQ(::stat((data + c.skins).c_str(), &st), 0) << "the skin folder in the data folder";
        // Shipped skins are copied from the program's folder of the same name; a
        // skin that never showed is not written.
        if (!*c.ini) {
            EXPECT_EQ(::stat((data + c.skins + "RizUzezi.skn").c_str(), &st), 0) << "the skin copy in the data folder";
        }
        EXPECT_EQ(::stat((data + c.book + "Firms.dbf").c_str(), &st), 0) << "the phone book";
    }
}

// A first start on a disk too full for the skins says so and leaves no half
// folder for later starts to take as done; a desktop's skin outside the data
// folder is refused, and that file is neither worn nor written.
TEST(PanelLife, AFullDiskAtFirstStartAndADesktopSkinOutsideAreToldAndNothingOutsideIsWritten)
{
    PanelRig rig;
    const std::string data = rig.home.Path() + "Talvocti/", outside = rig.home.Path() + "other/victim.skn";
    std::string victim = ReadBytes(ProgramDir() + "Skins/RizUzezi.skn");
    victim.replace(victim.find("Alpha=255"), 9, "Alpha=300");
    QDir().mkpath(QPath(data + "Desktops"));
    QDir().mkpath(QPath(rig.home.Path() + "other"));
    WriteBytes(outside, victim);
    WriteBytes(data + "Desktops/Default.dst", "[Set]\r\nSkinName=../../other/victim.skn\r\n");
    // Neither shipped skin fits.
    std::optional<FileSizeLimit> full(std::in_place, 1000);
    rig.MainBuilt = [&full] { full.reset(); };
    rig.Start();
    ASSERT_EQ(rig.Boxes.size(), 2u);
    EXPECT_NE(rig.Boxes[0].find(Nls->GetText(515) + "\n" + NameFromFs(data + "Skins/")), std::string::npos)
        << rig.Boxes[0];
    EXPECT_NE(rig.Boxes[1].find("../../other/victim.skn"), std::string::npos) << rig.Boxes[1];
    EXPECT_EQ(Skin->SkinName, "RizUzezi.skn");
    EXPECT_EQ(QDir(QPath(data)).entryList({"Skins*"}, QDir::AllEntries | QDir::Hidden), QStringList());
    // With room again, the exit makes the folder whole before it saves into it.
    rig.Stop();
    for (const char *name : {"RizUzezi.skn", "Mini.skn"})
        EXPECT_EQ(ReadBytes(data + "Skins/" + name), ReadBytes(ProgramDir() + "Skins/" + name)) << name;
    EXPECT_EQ(ReadBytes(outside), victim);
}

// What a start cut short or a hand-edited setting left is put right at the
// next start: the half skin copy goes, and a default desktop outside its
// folder is told of and never read or written, through log-in and exit.
TEST(PanelLife, AHalfSkinCopyGoesAndADefaultDesktopOutsideIsToldAndLeftAlone)
{
    PanelRig rig("[Desktop]\r\nDefault=../../outside/escape.dst\r\n");
    const std::string data = rig.HomeDir + "Talvocti/";
    const std::string shipped = ReadBytes(ProgramDir() + "Skins/RizUzezi.skn");
    QDir().mkpath(QPath(data + "Skins.Ab12Cd"));
    WriteBytes(data + "Skins.Ab12Cd/RizUzezi.skn", shipped.substr(0, shipped.size() / 2));
    rig.Start();
    ASSERT_EQ(rig.Boxes.size(), 1u);
    EXPECT_NE(rig.Boxes[0].find(Nls->GetText(9254) + "\n../../outside/escape.dst"), std::string::npos) << rig.Boxes[0];
    ASSERT_TRUE(rig.LogIn());
    rig.Stop();
    EXPECT_FALSE(QFileInfo::exists(QPath(rig.HomeDir + "outside")));
    EXPECT_EQ(QDir(QPath(data)).entryList({"Skins*"}, QDir::AllEntries | QDir::Hidden), QStringList{"Skins"});
    EXPECT_EQ(ReadBytes(data + "Skins/Mini.skn"), ReadBytes(ProgramDir() + "Skins/Mini.skn"));
    TIniFile desktop(data + "Desktops/Default.dst");
    EXPECT_EQ(desktop.ReadString("Set", "SkinName", ""), "RizUzezi.skn");
    EXPECT_TRUE(desktop.SectionExists("Hist")) << "the log-in windows' places";
}

// Only a folder is a skin folder: a file, a link to a share not mounted or a
// link to a file under that name is told as skins not copied, and stays as
// it was through the start and the exit, with no copy left beside it.
TEST(PanelLife, ASkinFolderNameTakenByAFileOrALinkIsToldAndLeftAlone)
{
    for (const std::string kind : {"file", "link to nothing", "link to a file"}) {
        SCOPED_TRACE(kind);
        PanelRig rig;
        const std::string data = rig.HomeDir + "Talvocti/", skins = data + "Skins";
        QDir().mkpath(QPath(data));
        WriteBytes(rig.HomeDir + "notes.txt", "mine");
        if (kind == "file")
            WriteBytes(skins, "mine");
        else {
            const std::string target = rig.HomeDir + (kind == "link to a file" ? "notes.txt" : "share/Skins");
            ASSERT_EQ(::symlink(target.c_str(), skins.c_str()), 0);
        }
        const auto skinsAsFound = [&] {
            return QFileInfo(QPath(skins)).symLinkTarget().toStdString() + "|" + ReadBytes(skins);
        };
        const std::string before = skinsAsFound();
        rig.Start();
        ASSERT_EQ(rig.Boxes.size(), 1u);
        EXPECT_NE(rig.Boxes[0].find(Nls->GetText(515) + "\n" + NameFromFs(skins + "/")), std::string::npos)
            << rig.Boxes[0];
        EXPECT_EQ(Skin->SkinName, "RizUzezi.skn") << "the program's own skins serve";
        rig.Stop();
        EXPECT_EQ(skinsAsFound(), before);
        EXPECT_EQ(ReadBytes(rig.HomeDir + "notes.txt"), "mine");
        EXPECT_EQ(QDir(QPath(data)).entryList({"Skins*"}, QDir::AllEntries | QDir::Hidden | QDir::System),
                  QStringList{"Skins"});
    }
}

TEST(PanelLife, TheSharedOpenGLContextIsMadeOnlyWhenAskedAndOnce)
{
    // Offscreen there is no OpenGL: the context is still there, unmade, as the engine needs.
    const bool made = PrepareSharedOpenGL();
    QOpenGLContext *shared = QOpenGLContext::globalShareContext();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->isValid(), made);
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
    EXPECT_EQ(PrepareSharedOpenGL(), made);
    EXPECT_EQ(QOpenGLContext::globalShareContext(), shared);
}

} // namespace
