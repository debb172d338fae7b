#include "Fce.h"
#include "IniFile.h"
#include "Main.h"
#include "TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

void Spin(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class Panel : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("HOME", QByteArray::fromStdString(home.Path()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.Path() + ".config"));
    }
    TempDir home;
};

TEST_F(Panel, FirstRunCreatesThePrivateDataFolderAndClosingSavesEverything)
{
    auto *panel = new TFMain;
    EXPECT_EQ(DataDir, home.Path() + "Talvocti/");
    struct stat st {};
    ASSERT_EQ(::stat(DataDir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    Spin(50); // the deferred start: desktop, skin, language
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->LanguageSel->actions().size(), 2) << "cz and eng beside the program";
    panel->close();
    delete panel;
    const std::string data = home.Path() + "Talvocti/";
    TIniFile ini(ProgramIniPath());
    EXPECT_EQ(ini.ReadString("Main", "Lang", ""), "cz");
    EXPECT_EQ(ini.ReadString("Prefixes", "+", ""), "00");
    EXPECT_EQ(::stat((data + "Desktops/Default.dst").c_str(), &st), 0);
}

TEST_F(Panel, LanguageSwitchIsWrittenAtExit)
{
    auto *panel = new TFMain;
    Spin(50);
    panel->ApplyLanguage("eng", false);
    EXPECT_TRUE(panel->LanguageSel->actions().at(1)->isChecked());
    panel->close();
    delete panel;
    TIniFile ini(ProgramIniPath());
    EXPECT_EQ(ini.ReadString("Main", "Lang", ""), "eng");
}

} // namespace
