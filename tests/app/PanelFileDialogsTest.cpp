// What the panel's skin and desktop dialogs leave behind once closed.
// Qt's own count of its pixmap cache is a test hook that must be asked for
// before its header is first read.
#define Q_TEST_QPIXMAPCACHE
#include <QPixmapCache>

#include "Desktop.h"
#include "PanelRig.h"
#include "Skin.h"
#include "Timer.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// What the pixmap cache holds, in kilobytes. Qt counts it in whole
// megabytes rounded up: the smallest filler that takes the count a step up
// tells the kilobytes below the step.
int CacheKb()
{
    const int mb = QPixmapCache::totalUsed();
    if (mb == 0)
        return 0;
    const QString key = QStringLiteral("talvo-test-filler");
    auto stepsUp = [&](int kb) {
        // 32-bit pixels, 256 to a kilobyte.
        QPixmapCache::insert(key, QPixmap::fromImage(QImage(256, kb, QImage::Format_ARGB32)));
        const bool up = QPixmapCache::totalUsed() > mb;
        QPixmapCache::remove(key);
        return up;
    };
    int low = 1, high = 1024;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (stepsUp(mid))
            high = mid;
        else
            low = mid + 1;
    }
    return 1024 * mb - low + 1;
}

// Each dialog draws its icons anew, under cache keys no later dialog asks
// for: what the cache holds must not grow with the number of dialogs, be
// they taken (a skin switch, during a call) or cancelled.
TEST(PanelFileDialogs, SkinAndDesktopDialogsLeaveNoDrawingsInThePixmapCache)
{
    PanelRig rig;
    rig.Start();
    ASSERT_TRUE(rig.LogIn());
    rig.Answer(Ans("STATE", "State=\"CAL\" Hfree=\"1\" Mic=\"1\""));
    ASSERT_EQ(Desktop->SaveDesktopAs("Jeden.dst"), TDesktop::TSaved::Saved);
    auto switchTo = [&](const char *name) {
        rig.OnModal = [name](QWidget *w) { AnswerFileDialog(w, QString::fromLatin1(name)); };
        rig.main->PopupSkinClick();
        return FakeExchange::WaitUntil([] { return !Skin->Timer->Enabled(); }, 5000) && Skin->SkinName == name;
    };
    auto cancelDesktop = [&] {
        bool answered = false;
        rig.OnModal = [&](QWidget *w) { answered = answered || AnswerFileDialog(w, QString()); };
        rig.main->PopupDesktopClick();
        return answered;
    };
    auto round = [&] { return switchTo("Mini.skn") && switchTo("RizUzezi.skn") && cancelDesktop(); };
    ASSERT_TRUE(round());
    const int first = CacheKb();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(round());
    EXPECT_LE(CacheKb(), first);
}

} // namespace
