#include <gtest/gtest.h>

#include <cstring>
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
    // Listing the tests must not need a display.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    std::unique_ptr<App> app;
    if (!listing)
        app = std::make_unique<App>(argc, argv);
    return RUN_ALL_TESTS();
}
