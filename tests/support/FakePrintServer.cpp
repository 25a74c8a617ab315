#include "support/FakePrintServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace testing_support {
namespace {

constexpr int kBacklog = 4;

std::string Errno(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool LocalAddress(const std::string& path, sockaddr_un& addr) {
    addr = {};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

FakePrintServer::FakePrintServer(const std::string& path, Behaviour behaviour)
    : path_(path), name_(path), behaviour_(behaviour) {
    sockaddr_un addr;
    if (!LocalAddress(path, addr)) {
        error_ = "socket path too long: " + path;
        return;
    }
    ::unlink(path.c_str());
    Listen(AF_UNIX, &addr, sizeof addr);
}

FakePrintServer::FakePrintServer(Behaviour behaviour) : behaviour_(behaviour) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    Listen(AF_INET, &addr, sizeof addr);
    if (!Ok()) return;
    socklen_t len = sizeof addr;
    if (::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        error_ = Errno("getsockname");
        return;
    }
    port_ = ntohs(addr.sin_port);
    name_ = "127.0.0.1:" + std::to_string(port_);
}

void FakePrintServer::Listen(int family, const void* addr, unsigned len) {
    listen_ = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listen_ < 0) {
        error_ = Errno("socket");
        return;
    }
    if (::bind(listen_, static_cast<const sockaddr*>(addr), len) != 0) {
        error_ = Errno("bind");
        return;
    }
    if (::listen(listen_, kBacklog) != 0) {
        error_ = Errno("listen");
        return;
    }
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        error_ = Errno("pipe");
        return;
    }
    thread_ = std::thread([this] { Serve(); });
}

FakePrintServer::~FakePrintServer() {
    stop_ = true;
    if (wake_[1] >= 0) (void)!::write(wake_[1], "x", 1);
    if (thread_.joinable()) thread_.join();
    for (int fd : held_) ::close(fd);
    for (int fd : {listen_, wake_[0], wake_[1]})
        if (fd >= 0) ::close(fd);
    if (!path_.empty()) ::unlink(path_.c_str());
}

void FakePrintServer::Set(Behaviour behaviour) {
    behaviour_ = behaviour;
    (void)!::write(wake_[1], "x", 1);
}

void FakePrintServer::Serve() {
    while (!stop_) {
        const Behaviour b = behaviour_;
        pollfd fds[2] = {{wake_[0], POLLIN, 0}, {listen_, POLLIN, 0}};
        // A hung scheduler takes nothing; its queue fills in the kernel.
        const int n = ::poll(fds, b == Behaviour::Hung ? 1 : 2, -1);
        if (n < 0 && errno != EINTR) return;
        if (fds[0].revents & POLLIN) {
            char drain[16];
            while (::read(wake_[0], drain, sizeof drain) > 0) {
            }
        }
        // Taken as the server is now: a Set() may have come with the
        // connection, while this poll was still under the old behaviour.
        if (fds[1].revents & POLLIN) {
            if (const Behaviour now = behaviour_; now != Behaviour::Hung) Take(now);
        }
    }
}

void FakePrintServer::Take(Behaviour behaviour) {
    const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    ++accepted_;
    if (behaviour == Behaviour::HangsUp) {
        ::close(fd);
        return;
    }
    // Read until the sender pauses: the request is small and comes at once.
    std::string request;
    for (pollfd p{fd, POLLIN, 0}; ::poll(&p, 1, request.empty() ? 1000 : 50) > 0;) {
        char buf[1024];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, static_cast<std::size_t>(n));
    }
    {
        const std::lock_guard lock(mu_);
        lastRequest_ = request;
        if (behaviour == Behaviour::Mute) {
            held_.push_back(fd);
            return;
        }
    }
    static const char reply[] =
        "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    (void)!::send(fd, reply, sizeof reply - 1, MSG_NOSIGNAL);
    ::close(fd);
}

std::string FakePrintServer::LastRequest() const {
    const std::lock_guard lock(mu_);
    return lastRequest_;
}

bool FakePrintServer::FillQueue() {
    sockaddr_un addr;
    if (path_.empty() || !LocalAddress(path_, addr)) return false;
    for (int i = 0; i < 16 * kBacklog; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
            const std::lock_guard lock(mu_);
            held_.push_back(fd);
            continue;
        }
        const bool full = errno == EAGAIN;
        ::close(fd);
        return full;
    }
    return false;
}

bool MakeDeadSocket(const std::string& path) {
    sockaddr_un addr;
    if (!LocalAddress(path, addr)) return false;
    ::unlink(path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);  // the file stays, with no one behind it
    return bound;
}

ScopedEnv::ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_.c_str(), old_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

namespace {

bool MakeFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return !ec;
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out.flush());
}

}  // namespace

ScopedPrintSettings::ScopedPrintSettings(const std::string& folder)
    : root_(folder + "/etc-cups"),
      home_(folder + "/home"),
      ok_(!folder.empty() && MakeFolder(root_) && MakeFolder(home_ + "/.cups")),
      rootEnv_("CUPS_SERVERROOT", root_),
      homeEnv_("HOME", home_),
      serverEnv_("CUPS_SERVER", std::nullopt),
      portEnv_("IPP_PORT", std::nullopt),
      encryptionEnv_("CUPS_ENCRYPTION", std::nullopt) {}

void ScopedPrintSettings::Server(const std::optional<std::string>& name) {
    // Set on top of serverEnv_, which puts back what was there before.
    if (name)
        ::setenv("CUPS_SERVER", name->c_str(), 1);
    else
        ::unsetenv("CUPS_SERVER");
}

void ScopedPrintSettings::Port(const std::optional<std::string>& port) {
    if (port)
        ::setenv("IPP_PORT", port->c_str(), 1);
    else
        ::unsetenv("IPP_PORT");
}

bool ScopedPrintSettings::SystemConf(const std::string& text) const {
    return WriteFile(root_ + "/client.conf", text);
}

bool ScopedPrintSettings::UserConf(const std::string& text) const {
    return WriteFile(home_ + "/.cups/client.conf", text);
}

}  // namespace testing_support
