// A print scheduler of the test's own, on a local socket in a temporary
// folder or on a loopback port: one that hangs as a stopped daemon does,
// one that replies, one that hangs up. For the check "Print" makes before
// it opens the print dialog; and the settings that name it.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class FakePrintServer {
public:
    enum class Behaviour {
        Hung,     // listens and never accepts: the kernel still queues connections
        Mute,     // accepts and reads the request, never replies
        Replies,  // replies with an HTTP status line
        HangsUp,  // accepts and closes at once
    };

    // On a local socket at path.
    FakePrintServer(const std::string& path, Behaviour behaviour);
    // On 127.0.0.1, at a port the system picks.
    explicit FakePrintServer(Behaviour behaviour);
    ~FakePrintServer();
    FakePrintServer(const FakePrintServer&) = delete;
    FakePrintServer& operator=(const FakePrintServer&) = delete;

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    // The server as CUPS_SERVER names it.
    const std::string& Name() const { return name_; }
    // The loopback port; 0 on a local socket.
    int Port() const { return port_; }

    void Set(Behaviour behaviour);
    // Connections accepted so far (none while Hung).
    int Accepted() const { return accepted_; }
    // What the last accepted connection sent before the server replied or
    // went quiet.
    std::string LastRequest() const;
    // While Hung: connects until the local socket's queue is full, so that
    // the next connection is turned away with EAGAIN. False if it never
    // filled.
    bool FillQueue();

private:
    void Listen(int family, const void* addr, unsigned len);
    void Serve();
    void Take(Behaviour behaviour);

    std::string path_, name_, error_;
    int port_ = 0;
    int listen_ = -1;
    int wake_[2] = {-1, -1};
    std::atomic<Behaviour> behaviour_;
    std::atomic<bool> stop_ = false;
    std::atomic<int> accepted_ = 0;
    mutable std::mutex mu_;
    std::vector<int> held_;  // Mute's connections and FillQueue's, closed at the end
    std::string lastRequest_;
    std::thread thread_;
};

// A socket file that nothing listens on any more: connecting is refused.
bool MakeDeadSocket(const std::string& path);

// Sets (or, with nullopt, unsets) an environment variable for the object's
// lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// What libcups reads to find the print scheduler, pointed at a folder of
// the test's own for the object's lifetime: no client.conf but those the
// test writes, CUPS_SERVER and IPP_PORT unset until it sets them.
class ScopedPrintSettings {
public:
    explicit ScopedPrintSettings(const std::string& folder);
    ScopedPrintSettings(const ScopedPrintSettings&) = delete;
    ScopedPrintSettings& operator=(const ScopedPrintSettings&) = delete;

    bool Ok() const { return ok_; }
    // CUPS_SERVER and IPP_PORT; nullopt unsets.
    void Server(const std::optional<std::string>& name);
    void Port(const std::optional<std::string>& port);
    // The system's client.conf (under CUPS_SERVERROOT) and the user's
    // ($HOME/.cups/client.conf).
    bool SystemConf(const std::string& text) const;
    bool UserConf(const std::string& text) const;

private:
    std::string root_, home_;
    bool ok_;
    ScopedEnv rootEnv_, homeEnv_, serverEnv_, portEnv_, encryptionEnv_;
};

}  // namespace testing_support
