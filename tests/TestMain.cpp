#include <gtest/gtest.h>

#include <memory>

#ifdef TALVO_TEST_GUI
#include <QApplication>
using App = QApplication;
#else
#include <QCoreApplication>
using App = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<App> app;
    // Listing the tests must not need a display.
    if (!GTEST_FLAG_GET(list_tests))
        app = std::make_unique<App>(argc, argv);
    return RUN_ALL_TESTS();
}
