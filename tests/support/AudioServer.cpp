#include "support/AudioServer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testing_support {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Argv {
    std::vector<std::string> items;
    std::vector<char*> Ptrs() {
        std::vector<char*> p;
        for (auto& s : items) p.push_back(s.data());
        p.push_back(nullptr);
        return p;
    }
};

// Starts program (looked up on PATH) with stdout to outFd, or to /dev/null
// when -1. The child is ended with this process, so a test that dies leaves
// no daemon behind.
int Spawn(Argv args, Argv env, int outFd) {
    auto argv = args.Ptrs();
    auto envp = env.Ptrs();
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) return pid;  // the parent, or -1
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(outFd >= 0 ? outFd : null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
}

// Ends a child: SIGTERM, then SIGKILL if it has not gone within a second.
void EndChild(int pid, int sig = SIGTERM) {
    if (pid <= 0) return;
    kill(pid, sig);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(10ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// The child's exit status once it has gone; -1 while it runs.
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

Argv BaseEnv(const std::string& dir) {
    Argv env;
    const char* path = std::getenv("PATH");
    env.items = {"PATH=" + std::string(path ? path : "/usr/bin:/bin"), "HOME=" + dir,
                 "XDG_RUNTIME_DIR=" + dir, "XDG_CONFIG_HOME=" + dir, "LANG=C"};
    return env;
}

double Rms(const std::vector<std::int16_t>& v, long from, long n) {
    double sum = 0;
    for (long i = from; i < from + n; ++i) {
        const double x = (i >= 0 && i < static_cast<long>(v.size())) ? v[static_cast<std::size_t>(i)] : 0.0;
        sum += x * x;
    }
    return n > 0 ? std::sqrt(sum / static_cast<double>(n)) : 0.0;
}

constexpr long kEnvelopeBin = 44;   // about 1 ms
constexpr long kWindow = 882;       // 20 ms

std::vector<double> Envelope(const std::vector<std::int16_t>& v) {
    std::vector<double> e(v.size() / kEnvelopeBin);
    for (std::size_t b = 0; b < e.size(); ++b) {
        double s = 0;
        for (long i = 0; i < kEnvelopeBin; ++i) s += std::abs(v[b * kEnvelopeBin + static_cast<std::size_t>(i)]);
        e[b] = s / kEnvelopeBin;
    }
    return e;
}

}  // namespace

PulseNullSink::PulseNullSink() {
    char tmpl[] = "/tmp/tickmoor-pulse-XXXXXX";
    if (!mkdtemp(tmpl)) {
        error_ = std::string("cannot make a runtime folder: ") + std::strerror(errno);
        return;
    }
    dir_ = tmpl;
    const std::string socket = dir_ + "/native";
    const std::string log = dir_ + "/log";
    Argv args;
    args.items = {"pulseaudio", "-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1",
                  "--disallow-exit=yes", "--use-pid-file=no", "--realtime=no",
                  "--high-priority=no", "--log-level=info", "--log-target=file:" + log,
                  "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                  "-L", "module-null-sink sink_name=tickmoor_null rate=44100 channels=1 format=s16le norewinds=1"};
    pid_ = Spawn(args, BaseEnv(dir_), -1);
    if (pid_ < 0) {
        error_ = std::string("cannot fork: ") + std::strerror(errno);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!CanConnect(socket)) {
        if (const int status = ExitStatus(pid_); status >= 0) {
            pid_ = -1;
            error_ = status == 127 ? "cannot run pulseaudio (is the pulseaudio package installed?)"
                                   : "pulseaudio exited at start; its log ends:\n" + Tail(log, 15);
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            error_ = "pulseaudio took over 10 s to open its socket; its log ends:\n" + Tail(log, 15);
            return;
        }
        std::this_thread::sleep_for(10ms);
    }
}

PulseNullSink::~PulseNullSink() {
    EndChild(pid_);
    if (!dir_.empty()) {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
}

void PulseNullSink::UseInThisProcess() const {
    setenv("PULSE_SERVER", Server().c_str(), 1);
    // No cookie and no autospawn of a daemon of the user's own.
    setenv("PULSE_CLIENTCONFIG", "/dev/null", 1);
}

std::unique_ptr<PulseNullSink> UsePrivateAudioServer() {
    auto server = std::make_unique<PulseNullSink>();
    if (!server->Ok()) {
        std::fprintf(stderr, "no audio server: %s\n", server->Error().c_str());
        return nullptr;
    }
    server->UseInThisProcess();
    return server;
}

MonitorRecorder::MonitorRecorder(const PulseNullSink& server)
    : server_(server.Server()), source_(server.Monitor()) {}

MonitorRecorder::~MonitorRecorder() {
    if (pid_ > 0) Stop();
}

bool MonitorRecorder::Start() {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        error_ = "pipe failed";
        return false;
    }
    Argv args;
    args.items = {"parec", "--raw", "--latency-msec=10", "--server=" + server_, "--device=" + source_,
                  "--format=s16le", "--channels=1", "--rate=44100"};
    Argv env;
    const char* path = std::getenv("PATH");
    env.items = {"PATH=" + std::string(path ? path : "/usr/bin:/bin"), "PULSE_CLIENTCONFIG=/dev/null",
                 "HOME=/tmp"};
    pid_ = Spawn(args, env, pipeFds[1]);
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

std::vector<std::int16_t> MonoSamples(const tk::WavData& wav) {
    std::vector<std::int16_t> out;
    const int ch = std::max(wav.channels, 1);
    const std::size_t bytesPerSample = wav.bitsPerSample == 8 ? 1 : 2;
    const std::size_t frames = wav.samples.size() / (bytesPerSample * static_cast<std::size_t>(ch));
    out.reserve(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        int sum = 0;
        for (int c = 0; c < ch; ++c) {
            const std::size_t i = (f * static_cast<std::size_t>(ch) + static_cast<std::size_t>(c)) * bytesPerSample;
            sum += bytesPerSample == 1 ? (wav.samples[i] - 128) * 256
                                       : static_cast<std::int16_t>(wav.samples[i] | (wav.samples[i + 1] << 8));
        }
        out.push_back(static_cast<std::int16_t>(sum / ch));
    }
    return out;
}

long AlignInRecording(const std::vector<std::int16_t>& file, const std::vector<std::int16_t>& rec) {
    const auto loudest = std::max_element(rec.begin(), rec.end(), [](int a, int b) { return std::abs(a) < std::abs(b); });
    if (rec.empty() || std::abs(*loudest) < 16) return -1;
    const std::vector<double> ef = Envelope(file), er = Envelope(rec);
    long bestBin = 0;
    double best = -1;
    for (std::size_t off = 0; off < er.size(); ++off) {
        double s = 0;
        for (std::size_t i = 0; i < ef.size() && off + i < er.size(); ++i) s += ef[i] * er[off + i];
        if (s > best) {
            best = s;
            bestBin = static_cast<long>(off);
        }
    }
    // To the sample, on the waveform itself.
    long bestOff = bestBin * kEnvelopeBin;
    double bestCorr = -1e300;
    for (long off = std::max(0L, bestOff - kEnvelopeBin); off <= bestOff + kEnvelopeBin; ++off) {
        double s = 0;
        for (std::size_t i = 0; i < file.size() && off + static_cast<long>(i) < static_cast<long>(rec.size()); ++i)
            s += static_cast<double>(file[i]) * rec[static_cast<std::size_t>(off) + i];
        if (s > bestCorr) {
            bestCorr = s;
            bestOff = off;
        }
    }
    return bestOff;
}

std::string MissingFromRecording(const std::vector<std::int16_t>& file,
                                 const std::vector<std::int16_t>& rec, long offset) {
    if (offset < 0) return "nothing was heard: the recording is silent";
    const long windows = static_cast<long>((file.size() + kWindow - 1) / kWindow);
    std::vector<double> lf(static_cast<std::size_t>(windows)), lr(lf.size());
    for (long w = 0; w < windows; ++w) {
        const long n = std::min(kWindow, static_cast<long>(file.size()) - w * kWindow);
        lf[static_cast<std::size_t>(w)] = Rms(file, w * kWindow, n);
        lr[static_cast<std::size_t>(w)] = Rms(rec, offset + w * kWindow, n);
    }
    const auto peak = static_cast<std::size_t>(std::max_element(lf.begin(), lf.end()) - lf.begin());
    const double scale = lf[peak] > 0 ? lr[peak] / lf[peak] : 0.0;
    std::ostringstream out;
    if (scale < 0.25) {
        out << "heard at " << std::lround(scale * 100) << "% of the file's level at its loudest";
        return out.str();
    }
    long lastLoud = -1, firstShort = -1, shortCount = 0;
    for (long w = 0; w < windows; ++w) {
        const auto i = static_cast<std::size_t>(w);
        if (lf[i] <= 0.1 * lf[peak]) continue;
        lastLoud = w;
        if (lr[i] < 0.5 * scale * lf[i]) {
            if (firstShort < 0) firstShort = w;
            ++shortCount;
        }
    }
    if (shortCount == 0) return "";
    out << shortCount << " of the file's 20 ms windows above 10% of its peak fall under half its level, from "
        << firstShort * 20 << " ms on (the last such window is at " << lastLoud * 20 << " ms of "
        << file.size() * 1000 / kDeviceRate << " ms)";
    return out.str();
}

}  // namespace testing_support
