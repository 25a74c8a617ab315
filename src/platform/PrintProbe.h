// Whether the printing system answers, asked without waiting on it past a
// limit. A hung print scheduler still has its connections accepted (the
// kernel queues them) but never replies, and the print dialog, which asks
// it for its printers with no limit at all, would wait on it for good.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "platform/Types.h"

namespace tk {

// How long "Print" waits for the printing system before it gives up.
inline constexpr std::chrono::milliseconds kPrintProbeLimit{2000};

// Where the print scheduler is reached: a local socket, else host and port.
struct PrintServer {
    String socketPath;
    String host;
    int port = 631;
    friend bool operator==(const PrintServer&, const PrintServer&) = default;
};

// A server name as CUPS_SERVER and ServerName spell it: "/path/to/socket",
// "host", "host:port" or "[v6 address]:port", any "/version=..." after it
// dropped.
PrintServer ParsePrintServerName(const String& name);

// The last ServerName a client.conf gives, or "" where it gives none or
// cannot be read.
String ServerNameInClientConf(const String& path);

// What the lookup reads, in the order the client library does.
struct PrintServerPlaces {
    std::optional<String> envServer;  // CUPS_SERVER
    std::vector<String> clientConfs;  // the user's first
    std::vector<String> localSockets;
    // This process's environment and the system's files.
    static PrintServerPlaces System();
};

// The server named by the environment, else by a client.conf, else the
// first local socket that exists, else localhost:631.
PrintServer FindPrintServer(const PrintServerPlaces& places);

enum class PrintServerState {
    Answers,  // replied to a small request
    Silent,   // there, but no reply within the limit
    Absent,   // nothing to talk to: no socket, refused, or hung up at once
};

// Connects, sends a small request and waits for the first bytes of a reply,
// all within limit. Resolving a host name is not bounded; PrintProbe is.
PrintServerState ProbePrintServer(const PrintServer& server, std::chrono::milliseconds limit);

// FindPrintServer and ProbePrintServer on a thread of its own, so the
// caller can keep turning its event loop while it waits.
class PrintProbe {
public:
    PrintProbe(PrintServerPlaces places, std::chrono::milliseconds limit);
    // Does not wait for a worker still stuck past the limit (in a name
    // lookup): it is left to end by itself.
    ~PrintProbe();
    PrintProbe(const PrintProbe&) = delete;
    PrintProbe& operator=(const PrintProbe&) = delete;

    // The answer once there is one; Silent once the limit has passed.
    std::optional<PrintServerState> Result() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::chrono::steady_clock::time_point deadline_;
    std::thread worker_;
};

}  // namespace tk
