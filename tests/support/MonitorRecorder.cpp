#include "support/MonitorRecorder.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "support/ChildProcess.h"

namespace testing_support {

using namespace std::chrono_literals;

MonitorRecorder::MonitorRecorder(const AudioServer& server)
    : env_(server.ClientEnvironment()), source_(server.Monitor()) {}

MonitorRecorder::~MonitorRecorder() {
    if (pid_ > 0 || reader_.joinable()) Stop();
}

bool MonitorRecorder::Start() {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return false;
    }
    pid_ = Spawn({"parec", "--raw", "--latency-msec=10", "--device=" + source_, "--format=s16le", "--channels=1",
                  "--rate=44100"},
                 env_, pipeFds[1]);
    close(pipeFds[1]);
    fd_ = pipeFds[0];
    if (pid_ < 0) {
        close(fd_);
        fd_ = -1;
        error_ = std::string("cannot fork: ") + std::strerror(errno);
        return false;
    }
    reader_ = std::thread([this] { ReadLoop(); });
    const auto deadline = Clock::now() + 5s;
    for (;;) {
        {
            std::lock_guard lock(mu_);
            if (bytes_.size() >= 2 * 441) return true;
        }
        if (const int status = ExitStatus(pid_); status >= 0) {
            pid_ = -1;
            error_ = status == 127 ? "cannot run parec (is the pulseaudio-utils package installed?)"
                                   : "parec exited with status " + std::to_string(status);
            return false;
        }
        if (Clock::now() > deadline) {
            error_ = "parec recorded nothing within 5 s";
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
}

void MonitorRecorder::ReadLoop() {
    std::uint8_t buf[4096];
    for (;;) {
        const ssize_t n = read(fd_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        const auto now = Clock::now();
        std::lock_guard lock(mu_);
        bytes_.insert(bytes_.end(), buf, buf + n);
        stamps_.emplace_back(bytes_.size(), now);
    }
}

std::size_t MonitorRecorder::Mark() const {
    std::lock_guard lock(mu_);
    return bytes_.size() / 2;
}

std::vector<std::int16_t> MonitorRecorder::Since(std::size_t mark) const {
    std::lock_guard lock(mu_);
    const std::size_t n = bytes_.size() / 2;
    std::vector<std::int16_t> out;
    for (std::size_t i = mark; i < n; ++i)
        out.push_back(static_cast<std::int16_t>(bytes_[2 * i] | (bytes_[2 * i + 1] << 8)));
    return out;
}

std::vector<std::int16_t> MonitorRecorder::Stop() {
    if (pid_ > 0) {
        EndChild(pid_, SIGKILL);
        pid_ = -1;
    }
    if (reader_.joinable()) reader_.join();
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    return Since(0);
}

MonitorRecorder::Clock::time_point MonitorRecorder::SampleZero() const {
    std::lock_guard lock(mu_);
    auto best = Clock::time_point::max();
    for (const auto& [bytes, when] : stamps_) {
        const auto recorded = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(static_cast<double>(bytes / 2) / kDeviceRate));
        best = std::min(best, when - recorded);
    }
    return best;
}

}  // namespace testing_support
