// Under a real X server with a window manager: a window comes back where and
// as large as it was, frame included, however often it is saved and loaded.
#include "IniFile.h"
#include "Placement.h"
#include "TempDir.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(PlacementScreen, SavedPlacesComeBackUnchangedShownOrHidden)
{
    if (QStandardPaths::findExecutable("openbox").isEmpty())
        GTEST_SKIP() << "no window manager";
    QProcess wm;
    wm.start("openbox", {});
    ASSERT_TRUE(wm.waitForStarted());
    // Ready once a window shown from now on gets a frame.
    bool framed = false;
    for (int tries = 0; tries < 50 && !framed; ++tries) {
        QWidget probe;
        probe.show();
        framed = QTest::qWaitFor([&] { return probe.frameGeometry() != probe.geometry(); }, 100);
    }
    ASSERT_TRUE(framed) << "the window manager never framed a window";
    TempDir dir;
    for (bool visible : {true, false}) {
        TIniFile ini(dir.File(visible ? "shown.dst" : "hidden.dst"));
        ini.WriteBool("W", "Visible", visible);
        const std::pair<const char *, int> keys[] = {{"Left", 100}, {"Top", 120}, {"Width", 400}, {"Height", 300}};
        for (auto [key, value] : keys)
            ini.WriteInteger("W", key, value);
        for (int start = 0; start < 3; ++start) {
            QWidget w;
            w.resize(250, 150);
            LoadPlacement(ini, "W", &w, PlacementKeys::VisibleLeftTopWidthHeight);
            if (visible) {
                ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
                // The manager frames the window and then moves it into its place.
                EXPECT_TRUE(QTest::qWaitFor([&] { return w.frameGeometry() == QRect(100, 120, 400, 300); }, 2000))
                    << "start " << start;
            }
            SavePlacement(ini, "W", &w, PlacementKeys::VisibleLeftTopWidthHeight);
            for (auto [key, value] : keys)
                EXPECT_EQ(ini.ReadInteger("W", key, -1), value) << key << " visible " << visible << " start " << start;
            EXPECT_EQ(ini.ReadBool("W", "Visible", !visible), visible);
        }
    }
    // Without size keys a window keeps its own size, framed or not yet; one
    // never shown saves the frame it will have.
    TIniFile bare(dir.File("bare.dst"));
    for (bool show : {true, false}) {
        QWidget w;
        w.resize(220, 312);
        LoadPlacement(bare, "W", &w, PlacementKeys::LeftTopWidthHeight);
        if (show) {
            w.show();
            ASSERT_TRUE(QTest::qWaitFor([&] { return w.frameGeometry() != w.geometry(); }, 2000));
            EXPECT_FALSE(QTest::qWaitFor([&] { return w.size() != QSize(220, 312); }, 300)) << w.width() << "x" << w.height();
            continue;
        }
        SavePlacement(bare, "W", &w, PlacementKeys::LeftTopWidthHeight);
        QWidget again;
        LoadPlacement(bare, "W", &again, PlacementKeys::LeftTopWidthHeight);
        again.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return again.frameGeometry() != again.geometry() && again.size() == QSize(220, 312); }, 2000))
            << again.width() << "x" << again.height();
    }
    // However odd the desktop's numbers, the whole frame comes up on the screen.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect &odd : {QRect(0, 0, 100000, 100000), QRect(-2000, -1500, 400, 300), QRect(5000, 4000, 400, 300)}) {
        TIniFile ini(dir.File("odd.dst"));
        ini.WriteBool("W", "Visible", true);
        const std::pair<const char *, int> keys[] = {
            {"Left", odd.left()}, {"Top", odd.top()}, {"Width", odd.width()}, {"Height", odd.height()}};
        for (auto [key, value] : keys)
            ini.WriteInteger("W", key, value);
        QWidget w;
        LoadPlacement(ini, "W", &w, PlacementKeys::VisibleLeftTopWidthHeight);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.frameGeometry() != w.geometry() && area.contains(w.frameGeometry()); }, 2000))
            << odd.x() << "," << odd.y() << ": " << w.frameGeometry().x() << "," << w.frameGeometry().y() << " "
            << w.frameGeometry().width() << "x" << w.frameGeometry().height();
    }
    wm.terminate();
    wm.waitForFinished(2000);
}

} // namespace
