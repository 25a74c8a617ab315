// Test main: the tests run on real Qt widgets on the offscreen platform.
#include <QApplication>

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "platform/Window.h"

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0) listing = true;
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QApplication> app;
    if (!listing) {
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                         : qgetenv("QT_QPA_PLATFORM"));
        app = std::make_unique<QApplication>(argc, argv);
    }
    const int status = RUN_ALL_TESTS();
    // Windows a test left open go while the toolkit is still there.
    tk::Window::DiscardAll();
    return status;
}
