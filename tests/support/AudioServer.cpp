#include "support/AudioServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/ChildProcess.h"

namespace testing_support {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool OnPath(const std::string& program) {
    const std::string path = PathVariable();
    std::size_t from = 0;
    while (from <= path.size()) {
        const std::size_t to = std::min(path.find(':', from), path.size());
        const std::string dir = path.substr(from, to - from);
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        from = to + 1;
    }
    return false;
}

// What the PipeWire setup runs, all of which it needs: WirePlumber links the
// streams, which PipeWire itself never does.
constexpr const char* kPipeWirePrograms[] = {"pipewire", "pipewire-pulse", "wireplumber"};

std::string MissingPipeWirePrograms() {
    std::string missing;
    for (const char* p : kPipeWirePrograms)
        if (!OnPath(p)) missing += std::string(missing.empty() ? "" : ", ") + p;
    return missing;
}

// The private configurations replace the system's whole (PIPEWIRE_CONFIG_DIR
// and WIREPLUMBER_CONFIG_DIR are the only places looked in), so no sound card,
// camera or Bluetooth device is opened and nothing needs a session D-Bus,
// real-time scheduling or locked memory, none of which a root shell without a
// desktop session has. modules are names of PipeWire's modules, or whole
// entries.
std::string Config(const std::string& properties, const std::vector<std::string>& modules,
                   const std::string& more = "") {
    std::string out = "context.properties = {\n" + properties +
                      "    support.dbus = false\n"
                      "    mem.allow-mlock = false\n"
                      "    mem.warn-mlock = false\n"
                      "    log.level = 2\n"
                      "}\n"
                      "context.spa-libs = {\n"
                      "    audio.convert.* = audioconvert/libspa-audioconvert\n"
                      "    support.* = support/libspa-support\n"
                      "}\n"
                      "context.modules = [\n";
    for (const auto& m : modules)
        out += m.find(' ') == std::string::npos ? "    { name = libpipewire-module-" + m + " }\n" : "    " + m + "\n";
    return out + "]\n" + more;
}

// The daemon. The null sink drives the graph from its own timer; its rate is
// the device rate, so nothing is resampled and the monitor gives back the
// samples sent.
std::string DaemonConfig() {
    return Config(
        "    core.daemon = true\n"
        "    core.name = pipewire-0\n"
        "    link.max-buffers = 16\n"
        "    default.clock.rate = 44100\n"
        "    default.clock.allowed-rates = [ 44100 ]\n",
        {"protocol-native", "metadata", "spa-node-factory", "client-node", "client-device", "access", "adapter",
         "link-factory", "session-manager"},
        R"(context.objects = [
    { factory = adapter
        args = {
            factory.name = support.null-audio-sink
            node.name = tickmoor_null
            node.description = "Tickmoor test sink"
            media.class = Audio/Sink
            audio.rate = 44100
            audio.channels = 1
            audio.position = [ MONO ]
            node.driver = true
            priority.driver = 30000
            priority.session = 3000
            object.linger = true
        }
    }
]
)");
}

// The PulseAudio service on the given socket, with no sink of its own (no
// module-always-sink): the null sink is the only one, so every stream's
// default.
std::string PulseConfig(const std::string& address) {
    return Config("", {"protocol-native", "client-node", "adapter", "metadata",
                       "{ name = libpipewire-module-protocol-pulse args = { server.address = [ \"" + address +
                           "\" ] } }"});
}

// The session manager: only the policy that links streams to the default
// sink and the default-node tracking it needs; no device monitors, no access
// portal, no state restored from earlier runs.
std::string SessionManagerConfig() {
    return Config("    wireplumber.script-engine = lua-scripting\n",
                  {"protocol-native", "client-node", "client-device", "adapter", "metadata", "session-manager"},
                  R"(wireplumber.components = [
    { name = libwireplumber-module-lua-scripting, type = module }
    { name = libwireplumber-module-metadata, type = module }
    { name = libwireplumber-module-default-nodes, type = module }
    { name = libwireplumber-module-default-nodes-api, type = module }
    { name = libwireplumber-module-si-node, type = module }
    { name = libwireplumber-module-si-audio-adapter, type = module }
    { name = libwireplumber-module-si-standard-link, type = module }
    { name = libwireplumber-module-si-audio-endpoint, type = module }
    { name = create-item.lua, type = script/lua }
    { name = policy-node.lua, type = script/lua }
]
)");
}

// Folders are named for the process that made them; one whose process is gone
// and whose server no longer answers was left by a test that ended without
// unwinding (a crash): its server died with it, the folder did not.
constexpr const char* kFolderPrefix = "tickmoor-audio-";

void RemoveLeftFolders() {
    std::error_code ec;
    for (auto it = fs::directory_iterator("/tmp", ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(kFolderPrefix, 0) != 0) continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + std::strlen(kFolderPrefix), &end, 10);
        if (pid <= 0 || *end != '-') continue;
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        if (CanConnect(it->path().string() + "/native")) continue;
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out);
}

}  // namespace

AudioServer::AudioServer() {
    const char* choice = std::getenv("TICKMOOR_TEST_AUDIO_SERVER");
    const std::string wanted = choice ? choice : "";
    const std::string missingPipeWire = MissingPipeWirePrograms();
    if (wanted == "pulseaudio") {
        kind_ = Kind::kPulseAudio;
        if (!OnPath("pulseaudio")) error_ = "TICKMOOR_TEST_AUDIO_SERVER=pulseaudio, but pulseaudio is not installed";
    } else if (wanted == "pipewire") {
        kind_ = Kind::kPipeWire;
        if (!missingPipeWire.empty())
            error_ = "TICKMOOR_TEST_AUDIO_SERVER=pipewire, but this is not installed: " + missingPipeWire;
    } else if (!wanted.empty()) {
        error_ = "TICKMOOR_TEST_AUDIO_SERVER=" + wanted + ": it takes pulseaudio or pipewire";
    } else if (OnPath("pulseaudio")) {
        kind_ = Kind::kPulseAudio;
    } else if (missingPipeWire.empty()) {
        kind_ = Kind::kPipeWire;
    } else {
        error_ = "no audio server to start: install pulseaudio, or pipewire, pipewire-pulse and wireplumber "
                 "(scripts/test.sh installs one where neither is)";
    }
    if (!error_.empty()) return;

    RemoveLeftFolders();
    std::string tmpl = "/tmp/" + std::string(kFolderPrefix) + std::to_string(getpid()) + "-XXXXXX";
    if (!mkdtemp(tmpl.data())) {
        error_ = std::string("cannot make a private folder: ") + std::strerror(errno);
        return;
    }
    dir_ = tmpl;
    if (kind_ == Kind::kPipeWire && !WritePipeWireConfig()) return;
    Start();
}

AudioServer::~AudioServer() {
    // The PulseAudio service and the session manager first, so the daemon
    // they hang on does not go from under them.
    for (auto it = pids_.rbegin(); it != pids_.rend(); ++it) EndChild(*it);
    if (!dir_.empty()) {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
}

std::string AudioServer::Name() const {
    switch (kind_) {
        case Kind::kPulseAudio: return "pulseaudio";
        case Kind::kPipeWire: return "pipewire";
        case Kind::kNone: break;
    }
    return "";
}

std::vector<std::string> AudioServer::ServerEnvironment() const {
    return {"PATH=" + PathVariable(),
            "HOME=" + dir_,
            "XDG_RUNTIME_DIR=" + dir_,
            "XDG_CONFIG_HOME=" + dir_ + "/config",
            "XDG_STATE_HOME=" + dir_ + "/state",
            "XDG_DATA_HOME=" + dir_ + "/data",
            "PIPEWIRE_RUNTIME_DIR=" + dir_,
            "PIPEWIRE_CONFIG_DIR=" + dir_ + "/pipewire",
            "WIREPLUMBER_CONFIG_DIR=" + dir_ + "/wireplumber",
            "PULSE_RUNTIME_PATH=" + dir_ + "/pulse",
            "DISABLE_RTKIT=1",
            "LANG=C"};
}

std::vector<std::string> AudioServer::ClientEnvironment() const {
    return {"PATH=" + PathVariable(), "HOME=" + dir_, "PULSE_SERVER=" + Server(),
            "PULSE_CLIENTCONFIG=/dev/null", "PULSE_COOKIE=" + dir_ + "/cookie", "LANG=C"};
}

void AudioServer::UseInThisProcess() const {
    setenv("PULSE_SERVER", Server().c_str(), 1);
    // No client.conf of the user's, so no autospawn of a server of theirs,
    // and the cookie libpulse insists on writing goes in the private folder.
    setenv("PULSE_CLIENTCONFIG", "/dev/null", 1);
    setenv("PULSE_COOKIE", (dir_ + "/cookie").c_str(), 1);
}

bool AudioServer::WritePipeWireConfig() {
    std::error_code ec;
    fs::create_directories(dir_ + "/pipewire", ec);
    fs::create_directories(dir_ + "/wireplumber", ec);
    if (!WriteFile(dir_ + "/pipewire/pipewire.conf", DaemonConfig()) ||
        !WriteFile(dir_ + "/pipewire/pipewire-pulse.conf", PulseConfig(Server())) ||
        !WriteFile(dir_ + "/wireplumber/wireplumber.conf", SessionManagerConfig())) {
        error_ = "cannot write the PipeWire configuration in " + dir_;
        return false;
    }
    return true;
}

bool AudioServer::Start() {
    error_.clear();
    // Sockets a killed server left behind; nothing else uses this folder.
    for (const char* stale : {"native", "pipewire-0", "pipewire-0.lock"}) {
        std::error_code ec;
        fs::remove(dir_ + "/" + stale, ec);
    }
    return kind_ == Kind::kPulseAudio ? StartPulseAudio() : StartPipeWire();
}

bool AudioServer::Launch(const std::vector<std::string>& args, const std::string& log) {
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const int pid = Spawn(args, ServerEnvironment(), -1, fd);
    if (fd >= 0) close(fd);
    if (pid < 0) {
        error_ = std::string("cannot fork: ") + std::strerror(errno);
        return false;
    }
    pids_.push_back(pid);
    return true;
}

bool AudioServer::WaitForSocket(const std::string& socket, int pid, const std::string& program,
                                const std::string& log) {
    const auto deadline = Clock::now() + 10s;
    while (!CanConnect(socket)) {
        if (const int status = ExitStatus(pid); status >= 0) {
            std::erase(pids_, pid);
            error_ = status == 127 ? "cannot run " + program
                                   : program + " exited at start (status " + std::to_string(status) +
                                         "); its log ends:\n" + Tail(log, 15);
            return false;
        }
        if (Clock::now() > deadline) {
            error_ = program + " took over 10 s to open its socket; its log ends:\n" + Tail(log, 15);
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

bool AudioServer::StartPulseAudio() {
    const std::string log = dir_ + "/pulseaudio.log";
    if (!Launch({"pulseaudio", "-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1",
                 "--disallow-exit=yes", "--use-pid-file=no", "--realtime=no", "--high-priority=no",
                 "--log-level=info", "--log-target=file:" + log, "-L",
                 "module-native-protocol-unix auth-anonymous=1 socket=" + dir_ + "/native", "-L",
                 "module-null-sink sink_name=tickmoor_null rate=44100 channels=1 format=s16le norewinds=1"},
                log))
        return false;
    return WaitForSocket(dir_ + "/native", pids_.back(), "pulseaudio", log);
}

bool AudioServer::StartPipeWire() {
    const std::string daemonLog = dir_ + "/pipewire.log";
    if (!Launch({"pipewire"}, daemonLog) || !WaitForSocket(dir_ + "/pipewire-0", pids_.back(), "pipewire", daemonLog))
        return false;
    const std::string managerLog = dir_ + "/wireplumber.log";
    if (!Launch({"wireplumber"}, managerLog)) return false;
    const int manager = pids_.back();
    const std::string pulseLog = dir_ + "/pipewire-pulse.log";
    if (!Launch({"pipewire-pulse"}, pulseLog) ||
        !WaitForSocket(dir_ + "/native", pids_.back(), "pipewire-pulse", pulseLog))
        return false;
    if (!WaitUntilRecordable()) {
        if (ExitStatus(manager) >= 0) std::erase(pids_, manager);
        error_ += "\n  wireplumber's log ends:\n" + Tail(managerLog, 10) + "  pipewire's log ends:\n" +
                  Tail(daemonLog, 10);
        return false;
    }
    return true;
}

bool AudioServer::WaitUntilRecordable() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        error_ = "pipe failed";
        return false;
    }
    const int pid = Spawn({"parec", "--raw", "--latency-msec=10", "--device=" + Monitor(), "--format=s16le",
                           "--channels=1", "--rate=44100"},
                          ClientEnvironment(), fds[1]);
    close(fds[1]);
    std::size_t got = 0;
    const auto deadline = Clock::now() + 10s;
    while (pid > 0 && got < 2 * 441 && Clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        char buf[4096];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n == 0) break;  // parec has gone
        if (n > 0) got += static_cast<std::size_t>(n);
    }
    close(fds[0]);
    if (pid > 0) EndChild(pid, SIGKILL);
    if (got >= 2 * 441) return true;
    error_ = pid < 0 ? "cannot fork parec"
                     : "the null sink's monitor gave no samples within 10 s (is pulseaudio-utils installed, "
                       "for parec? does wireplumber link streams?)";
    return false;
}

void AudioServer::Signal(int sig) const {
    for (const int pid : pids_) kill(pid, sig);
}

void AudioServer::Stall() { Signal(SIGSTOP); }

void AudioServer::Resume() { Signal(SIGCONT); }

void AudioServer::Kill() {
    Signal(SIGKILL);
    for (const int pid : pids_) waitpid(pid, nullptr, 0);
    pids_.clear();
}

bool AudioServer::Restart() {
    if (kind_ == Kind::kNone || dir_.empty()) return false;  // error_ says why
    Kill();
    return Start();
}

std::unique_ptr<AudioServer> UsePrivateAudioServer() {
    auto server = std::make_unique<AudioServer>();
    if (!server->Ok()) {
        std::fprintf(stderr, "no audio server: %s\n", server->Error().c_str());
        return nullptr;
    }
    server->UseInThisProcess();
    return server;
}

AudioServer& ProcessAudioServer() {
    static const std::unique_ptr<AudioServer> server = [] {
        auto s = std::make_unique<AudioServer>();
        if (s->Ok()) s->UseInThisProcess();
        return s;
    }();
    return *server;
}

}  // namespace testing_support
