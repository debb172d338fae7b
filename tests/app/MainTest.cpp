#include "Fce.h"
#include "IniFile.h"
#include "PanelRig.h"
#include "SessionWindows.h"
#include "SharedOpenGL.h"

#include <QCoreApplication>
#include <QMenu>
#include <QOpenGLContext>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(PanelLife, FirstRunCreatesThePrivateDataFolderAndClosingLogsOutAndSavesEverything)
{
    PanelRig rig;
    rig.Start();
    const std::string data = DataDir;
    const std::string ini = ProgramIniPath();
    EXPECT_EQ(data, rig.home.Path() + "Talvocti/");
    struct stat st {};
    EXPECT_EQ(::stat(data.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(rig.main->isVisible()) << "the skin shapes and shows the panel";
    EXPECT_EQ(rig.Logins, 1) << "the log-in dialog opens at every start";
    EXPECT_EQ(rig.main->LanguageSel->actions().size(), 2) << "cz and eng beside the program";
    rig.main->ApplyLanguage("eng", false);
    EXPECT_TRUE(rig.main->LanguageSel->actions().at(1)->isChecked());
    // Closing while logged in sends CLOSE first.
    ASSERT_TRUE(rig.LogIn());
    rig.Sent();
    rig.main->close();
    EXPECT_EQ(rig.Sent(), "<req Type=\"CLOSE\" Handle=\"5\" />");
    EXPECT_EQ(FHist, nullptr);
    rig.Stop();

    TIniFile settings(ini);
    EXPECT_EQ(settings.ReadString("Main", "Lang", ""), "eng");
    EXPECT_EQ(settings.ReadString("USR", "User", ""), "novak");
    TIniFile desktop(data + "Desktops/Default.dst");
    EXPECT_EQ(desktop.ReadString("Set", "SkinName", ""), "RizUzezi.skn");
    EXPECT_TRUE(desktop.SectionExists("XML"));
    EXPECT_EQ(::stat((data + "Skins/RizUzezi.skn").c_str(), &st), 0) << "the skin copy in the data folder";
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
