#include "platform/PrintProbe.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

namespace tk {
namespace {

using Clock = std::chrono::steady_clock;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool AllDigits(const String& s) {
    if (s.empty() || s.size() > 5) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// The port after a host, where it is one; 0 where it is not.
int PortOf(const String& s) {
    if (!AllDigits(s)) return 0;
    const int port = std::atoi(s.c_str());
    return port >= 1 && port <= 65535 ? port : 0;
}

String Trim(const String& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == String::npos) return "";
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool SameWord(const String& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// CUPS-Get-Default, the first thing the dialog asks, over HTTP.
String Request(const String& host) {
    String ipp;
    auto add16 = [&](unsigned v) {
        ipp += static_cast<char>((v >> 8) & 0xFF);
        ipp += static_cast<char>(v & 0xFF);
    };
    auto attribute = [&](char tag, const String& name, const String& value) {
        ipp += tag;
        add16(static_cast<unsigned>(name.size()));
        ipp += name;
        add16(static_cast<unsigned>(value.size()));
        ipp += value;
    };
    add16(0x0200);  // version 2.0
    add16(0x4001);  // CUPS-Get-Default
    add16(0);
    add16(1);  // request-id
    ipp += '\x01';  // operation attributes
    attribute('\x47', "attributes-charset", "utf-8");
    attribute('\x48', "attributes-natural-language", "en");
    ipp += '\x03';  // end of attributes
    return "POST / HTTP/1.1\r\nHost: " + host +
           "\r\nContent-Type: application/ipp\r\nConnection: close\r\nContent-Length: " +
           std::to_string(ipp.size()) + "\r\n\r\n" + ipp;
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// False once the deadline passes without the socket being ready (an error
// or a hang-up counts as ready: the next call reports it).
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, MillisecondsLeft(deadline));
        if (n > 0) return true;
        if (n == 0) return false;
        if (errno != EINTR) return true;
    }
}

PrintServerState Exchange(int fd, const String& host, Clock::time_point deadline) {
    const String request = Request(host);
    std::size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd, POLLOUT, deadline)) return PrintServerState::Silent;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return PrintServerState::Absent;
        }
    }
    for (;;) {
        if (!WaitFor(fd, POLLIN, deadline)) return PrintServerState::Silent;
        char reply[64];
        const ssize_t n = ::recv(fd, reply, sizeof reply, 0);
        // Whatever it says, it is alive, and the dialog will not wait on it.
        if (n > 0) return PrintServerState::Answers;
        if (n == 0) return PrintServerState::Absent;
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return PrintServerState::Absent;
    }
}

PrintServerState ProbeAddress(int family, const sockaddr* addr, socklen_t len, const String& host,
                              Clock::time_point deadline) {
    const Fd fd(::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) return PrintServerState::Absent;
    if (::connect(fd.get(), addr, len) != 0) {
        // A local socket whose queue is full: a scheduler that has stopped
        // taking its connections.
        if (errno == EAGAIN) return PrintServerState::Silent;
        if (errno != EINPROGRESS && errno != EINTR) return PrintServerState::Absent;
        if (!WaitFor(fd.get(), POLLOUT, deadline)) return PrintServerState::Silent;
        int err = 0;
        socklen_t errLen = sizeof err;
        if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &err, &errLen) != 0 || err != 0)
            return PrintServerState::Absent;
    }
    return Exchange(fd.get(), host, deadline);
}

PrintServerState ProbeLocal(const String& path, Clock::time_point deadline) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return PrintServerState::Absent;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return ProbeAddress(AF_UNIX, reinterpret_cast<const sockaddr*>(&addr), sizeof addr, "localhost",
                        deadline);
}

PrintServerState ProbeHost(const String& host, int port, Clock::time_point deadline) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
        return PrintServerState::Absent;
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owned(found, &::freeaddrinfo);
    const String hostHeader =
        (host.find(':') != String::npos ? "[" + host + "]" : host) + ":" + std::to_string(port);
    // localhost is ::1 and 127.0.0.1; the scheduler may listen on one only.
    for (const addrinfo* a = found; a; a = a->ai_next) {
        const PrintServerState s = ProbeAddress(a->ai_family, a->ai_addr, a->ai_addrlen, hostHeader, deadline);
        if (s != PrintServerState::Absent) return s;
    }
    return PrintServerState::Absent;
}

}  // namespace

PrintServer ParsePrintServerName(const String& name) {
    PrintServer s;
    if (!name.empty() && name[0] == '/') {
        s.socketPath = name;
        return s;
    }
    String n = name.substr(0, name.find('/'));  // "/version=1.1" and the like
    if (!n.empty() && n[0] == '[') {
        const auto close = n.find(']');
        if (close != String::npos) {
            s.host = n.substr(1, close - 1);
            const String rest = n.substr(close + 1);
            if (rest.size() > 1 && rest[0] == ':' && PortOf(rest.substr(1))) s.port = PortOf(rest.substr(1));
            if (s.host.empty()) s.host = "localhost";
            return s;
        }
    }
    // One colon only: more are an IPv6 address without a port.
    const auto colon = n.rfind(':');
    if (colon != String::npos && n.find(':') == colon) {
        if (const int port = PortOf(n.substr(colon + 1))) s.port = port;
        n.erase(colon);
    }
    s.host = n.empty() ? "localhost" : n;
    return s;
}

String ServerNameInClientConf(const String& path) {
    std::ifstream in(path);
    String found, line;
    while (std::getline(in, line)) {
        const String t = Trim(line);
        if (t.empty() || t[0] == '#') continue;
        const auto gap = t.find_first_of(" \t");
        if (gap == String::npos || !SameWord(t.substr(0, gap), "ServerName")) continue;
        found = Trim(t.substr(gap));
    }
    return found;
}

PrintServerPlaces PrintServerPlaces::System() {
    PrintServerPlaces p;
    if (const char* env = std::getenv("CUPS_SERVER"); env && *env) p.envServer = env;
    if (const char* home = std::getenv("HOME"); home && *home)
        p.clientConfs.push_back(String(home) + "/.cups/client.conf");
    const char* root = std::getenv("CUPS_SERVERROOT");
    p.clientConfs.push_back(String(root && *root ? root : "/etc/cups") + "/client.conf");
    p.localSockets = {"/run/cups/cups.sock", "/var/run/cups/cups.sock"};
    return p;
}

PrintServer FindPrintServer(const PrintServerPlaces& places) {
    if (places.envServer && !places.envServer->empty()) return ParsePrintServerName(*places.envServer);
    for (const String& conf : places.clientConfs) {
        const String name = ServerNameInClientConf(conf);
        if (!name.empty()) return ParsePrintServerName(name);
    }
    for (const String& socket : places.localSockets)
        if (::access(socket.c_str(), R_OK) == 0) return PrintServer{socket, "", 631};
    return PrintServer{"", "localhost", 631};
}

PrintServerState ProbePrintServer(const PrintServer& server, std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    if (!server.socketPath.empty()) return ProbeLocal(server.socketPath, deadline);
    return ProbeHost(server.host, server.port, deadline);
}

struct PrintProbe::Shared {
    std::atomic<bool> done = false;
    PrintServerState state = PrintServerState::Silent;  // the answer, read once done
};

PrintProbe::PrintProbe(PrintServerPlaces places, std::chrono::milliseconds limit)
    : shared_(std::make_shared<Shared>()), deadline_(Clock::now() + limit) {
    // The worker holds the shared state too: it may outlive this object.
    try {
        worker_ = std::thread([shared = shared_, places = std::move(places), limit] {
            shared->state = ProbePrintServer(FindPrintServer(places), limit);
            shared->done.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        // No thread to ask from: the dialog is not risked; a later try may
        // find one.
        shared_->done.store(true, std::memory_order_release);
    }
}

PrintProbe::~PrintProbe() {
    if (!worker_.joinable()) return;
    if (shared_->done.load(std::memory_order_acquire))
        worker_.join();
    else
        worker_.detach();
}

std::optional<PrintServerState> PrintProbe::Result() const {
    if (shared_->done.load(std::memory_order_acquire)) return shared_->state;
    if (Clock::now() >= deadline_) return PrintServerState::Silent;
    return std::nullopt;
}

}  // namespace tk
