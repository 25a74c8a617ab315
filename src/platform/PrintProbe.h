// Whether the printing system answers, asked without waiting on it past a
// limit. A hung print scheduler still has its connections accepted (the
// kernel queues them) but never replies, and the print dialog, which asks
// it for its printers with no limit at all, would wait on it for good.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace tk {

// How long "Print" waits for the printing system before it gives up.
inline constexpr std::chrono::milliseconds kPrintProbeLimit{2000};

enum class PrintServerState {
    Answers,  // replied to a request, whatever it said
    Silent,   // there, but no reply within the limit
    Absent,   // nothing to talk to: no such host or socket, refused, or hung up at once
};

// Asks the scheduler that the print dialog will ask, found the way the
// dialog's library finds it (libcups: CUPS_SERVER, IPP_PORT, the client.conf
// files, the local socket), with one request, on a thread of its own so
// that the caller can keep turning its event loop while it waits. The
// settings are read afresh by every probe.
class PrintProbe {
public:
    explicit PrintProbe(std::chrono::milliseconds limit);
    // Does not wait for a worker still held past the limit (in a name
    // lookup): it is left to end by itself.
    ~PrintProbe();
    PrintProbe(const PrintProbe&) = delete;
    PrintProbe& operator=(const PrintProbe&) = delete;

    // The answer once there is one; Silent once the limit has passed.
    std::optional<PrintServerState> Result() const;
    // Whether the worker has ended. It gives up on its own soon after the
    // limit; only a name lookup or a TLS handshake (libcups keeps a minimum
    // of its own there) can hold it longer.
    bool WorkerDone() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::chrono::steady_clock::time_point deadline_;
    std::thread worker_;
};

}  // namespace tk
