#include <gtest/gtest.h>

#include <memory>

#ifdef TALVO_TEST_GUI
#include <QApplication>
using App = QApplication;
#else
#include <QCoreApplication>
using App = QCoreApplication;
#endif

#if defined(__SANITIZE_ADDRESS__)
// The sound system's client library keeps its connection state to the end of
// the process, and the browser engine and its font library theirs; that is not ours to free.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libpulse.so\nleak:libQt6WebEngineCore.so\nleak:libfontconfig.so\n";
}
#endif

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Widgets without a display; the browser engine as root needs its sandbox off.
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    std::unique_ptr<App> app;
    // Listing the tests must not need a display.
    if (!GTEST_FLAG_GET(list_tests))
        app = std::make_unique<App>(argc, argv);
    return RUN_ALL_TESTS();
}
