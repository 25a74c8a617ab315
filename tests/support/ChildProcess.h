// Child processes for the audio helpers: the servers and the recorder.
#pragma once

#include <csignal>
#include <cstddef>
#include <string>
#include <vector>

namespace testing_support {

// Starts args[0] (looked up on PATH) with exactly env, stdin from /dev/null
// and stdout/stderr to the given descriptors (/dev/null for -1). The child is
// killed when the thread that started it ends, so a test that dies leaves no
// daemon behind; start children from a thread that outlives them. The pid,
// or -1.
int Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, int outFd = -1,
          int errFd = -1);

// Sends sig, then SIGKILL if the child has not gone within a second; reaps
// it either way. A stopped child is woken to see the signal.
void EndChild(int pid, int sig = SIGTERM);

// The child's exit status once it has gone (128 + the signal when killed),
// reaping it; -1 while it runs.
int ExitStatus(int pid);

// Whether something listens on the Unix socket at path.
bool CanConnect(const std::string& path);

// The last lines of a text file, indented, for an error message.
std::string Tail(const std::string& path, std::size_t lines);

// PATH as this process has it, for a child's environment.
std::string PathVariable();

}  // namespace testing_support
