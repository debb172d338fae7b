// Under a real X server with a window manager: a window comes back where and
// as large as it was, frame included, however often it is saved and loaded.
#include "IniFile.h"
#include "Placement.h"
#include "TempDir.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

class PlacementScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QStandardPaths::findExecutable("openbox").isEmpty())
            return;
        wm = new QProcess;
        wm->start("openbox", {});
        wm->waitForStarted();
        QTest::qWait(800);
    }
    static void TearDownTestSuite()
    {
        if (wm) {
            wm->terminate();
            wm->waitForFinished(2000);
        }
        delete wm;
        wm = nullptr;
    }
    void SetUp() override
    {
        if (!wm)
            GTEST_SKIP() << "no window manager";
    }
    // Settles until the window manager has framed the window.
    static void Settle(QWidget &w)
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        QTest::qWaitFor([&] { return w.frameGeometry() != w.geometry(); }, 2000);
        QTest::qWait(300);
    }
    static QProcess *wm;
    TempDir dir;
};

QProcess *PlacementScreen::wm = nullptr;

struct Saved {
    int left, top, width, height;
    bool visible;
};

Saved Read(const TIniFile &ini)
{
    return {ini.ReadInteger("W", "Left", -1), ini.ReadInteger("W", "Top", -1), ini.ReadInteger("W", "Width", -1),
            ini.ReadInteger("W", "Height", -1), ini.ReadBool("W", "Visible", false)};
}

TEST_F(PlacementScreen, SavedPlacesComeBackUnchangedShownOrHidden)
{
    for (bool visible : {true, false}) {
        TIniFile ini(dir.File(visible ? "shown.dst" : "hidden.dst"));
        ini.WriteBool("W", "Visible", visible);
        ini.WriteInteger("W", "Left", 100);
        ini.WriteInteger("W", "Top", 120);
        ini.WriteInteger("W", "Width", 400);
        ini.WriteInteger("W", "Height", 300);
        for (int start = 0; start < 3; ++start) {
            QWidget w;
            w.resize(250, 150);
            LoadPlacement(ini, "W", &w, PlacementKeys::VisibleLeftTopWidthHeight);
            if (visible)
                Settle(w);
            QTest::qWait(100);
            SavePlacement(ini, "W", &w, PlacementKeys::VisibleLeftTopWidthHeight);
            const Saved s = Read(ini);
            EXPECT_EQ(s.left, 100) << visible << start;
            EXPECT_EQ(s.top, 120) << visible << start;
            EXPECT_EQ(s.width, 400) << visible << start;
            EXPECT_EQ(s.height, 300) << visible << start;
            EXPECT_EQ(s.visible, visible);
        }
    }
}

} // namespace
