// Every test starts from the program's state as a fresh process has it.
//
// CTest runs each test in a process of its own, but a test program run
// directly (one binary, one test under a debugger, --gtest_shuffle,
// --gtest_repeat) runs them all in one, and the program's state is for the
// whole run: windows stay open until they close, quitting is for good, the
// application object, the menu bar and the bundle's pictures and sounds are
// made once, mGlobals holds the round. The test main installs the guard
// below, so no fixture has to clean up after itself.
#pragma once

#include <string>

#include <gtest/gtest.h>

namespace testing_support {

// Puts back what a test may have changed: the toolkit layer (windows let go
// without raising Close, closed ones waiting to go, not quitting, exit
// status 0, no application, the real services), calls queued to the
// application object that the test did not let run, the shell's application
// object, menu bar and cached pictures and sounds, and mGlobals as they were
// when the test program started.
void ResetProgramState();

// What differs from that state, one line each; "" when nothing does.
std::string ProgramStateLeftOver();

// Resets after every test, once the fixture is gone. A test whose state the
// reset cannot put back (a window that opens again as it goes, a top-level
// widget of its own left on screen, ...) fails, as does a test that finds
// the state already changed when it starts.
class ProgramStateGuard : public ::testing::EmptyTestEventListener {
public:
    ProgramStateGuard();
    void OnTestStart(const ::testing::TestInfo& test) override;
    void OnTestEnd(const ::testing::TestInfo& test) override;
};

}  // namespace testing_support
