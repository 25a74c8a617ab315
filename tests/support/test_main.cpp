// Test main: the tests run on real Qt widgets on the offscreen platform.
#include <QApplication>

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "support/ProgramState.h"

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
    // Each test starts from a fresh process's state, and leaves it so, even
    // when all of them run in this one process.
    ::testing::UnitTest::GetInstance()->listeners().Append(new testing_support::ProgramStateGuard);
    const int status = RUN_ALL_TESTS();
    // What is still held goes while the toolkit is still there.
    testing_support::ResetProgramState();
    return status;
}
