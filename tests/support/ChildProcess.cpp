#include "support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace testing_support {

using namespace std::chrono_literals;

namespace {

std::vector<char*> Pointers(std::vector<std::string>& items) {
    std::vector<char*> p;
    for (auto& s : items) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

}  // namespace

int Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, int outFd, int errFd) {
    // Everything the child needs is made before fork: after it, in a
    // threaded parent, only async-signal-safe calls are allowed.
    std::vector<std::string> argItems = args, envItems = env;
    const std::vector<char*> argv = Pointers(argItems);
    const std::vector<char*> envp = Pointers(envItems);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) return pid;  // the parent, or -1
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(outFd >= 0 ? outFd : null, STDOUT_FILENO);
    dup2(errFd >= 0 ? errFd : null, STDERR_FILENO);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
}

void EndChild(int pid, int sig) {
    if (pid <= 0) return;
    kill(pid, sig);
    kill(pid, SIGCONT);  // a stopped child would not see the signal
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(10ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int ExitStatus(int pid) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool CanConnect(const std::string& path) {
    const int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(s);
    return ok;
}

std::string Tail(const std::string& path, std::size_t lines) {
    std::ifstream in(path);
    std::vector<std::string> all;
    for (std::string l; std::getline(in, l);) all.push_back(l);
    std::string out;
    for (std::size_t i = all.size() > lines ? all.size() - lines : 0; i < all.size(); ++i)
        out += "    " + all[i] + "\n";
    return out;
}

std::string PathVariable() {
    const char* path = std::getenv("PATH");
    return path ? path : "/usr/bin:/bin";
}

}  // namespace testing_support
