#include "platform/PrintProbe.h"

#include <cups/cups.h>
#include <cups/http.h>
#include <cups/ipp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace tk {
namespace {

using Clock = std::chrono::steady_clock;

// How long each of libcups's waits lasts before it asks WithinDeadline
// whether to go on: the most a wait can overrun the deadline.
constexpr double kWaitSliceSeconds = 0.025;

int WithinDeadline(http_t*, void* deadline) {
    return Clock::now() < *static_cast<const Clock::time_point*>(deadline) ? 1 : 0;
}

// A failure before the deadline is the server's doing (refused, hung up,
// not HTTP): the dialog will not wait on it. After it, the waits gave up.
PrintServerState Failed(Clock::time_point deadline) {
    return Clock::now() < deadline ? PrintServerState::Absent : PrintServerState::Silent;
}

// libcups takes a local socket whose queue is full for one that refuses,
// but it is a scheduler that has stopped taking its connections.
bool QueueFull(const char* path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::size_t len = std::strlen(path);
    if (len >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path, len + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool full = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 && errno == EAGAIN;
    ::close(fd);
    return full;
}

// Runs on a thread that has not used libcups before, so the settings it
// reads once per thread are today's.
PrintServerState Ask(Clock::time_point deadline) {
    const char* server = cupsServer();
    // Made without connecting (a time of 0), so that the connect, and a TLS
    // upgrade where the settings require one, already wait under the
    // deadline. The name lookup here is the one wait nothing bounds.
    const std::unique_ptr<http_t, decltype(&httpClose)> http(
        httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 0, nullptr), &httpClose);
    if (!http) return PrintServerState::Absent;
    httpSetTimeout(http.get(), kWaitSliceSeconds, WithinDeadline, &deadline);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return PrintServerState::Silent;  // and 0 would mean no limit
    if (httpReconnect2(http.get(), static_cast<int>(left), nullptr) != 0) {
        if (server[0] == '/' && QueueFull(server)) return PrintServerState::Silent;
        return Failed(deadline);
    }

    // CUPS-Get-Default, the first thing the dialog asks. cupsSendRequest is
    // not used: after some replies it reconnects with 30 s of its own and
    // asks for a password, and any reply at all is all this needs.
    const std::unique_ptr<ipp_t, decltype(&ippDelete)> request(ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), &ippDelete);
    if (!request) return PrintServerState::Silent;
    httpClearFields(http.get());
    httpSetField(http.get(), HTTP_FIELD_CONTENT_TYPE, "application/ipp");
    httpSetLength(http.get(), ippLength(request.get()));
    if (httpPost(http.get(), "/") != 0) return Failed(deadline);
    for (ipp_state_t s; (s = ippWrite(http.get(), request.get())) != IPP_STATE_DATA;)
        if (s == IPP_STATE_ERROR) return Failed(deadline);
    http_status_t status;
    do {
        status = httpUpdate(http.get());
    } while (status == HTTP_STATUS_CONTINUE && Clock::now() < deadline);
    if (status == HTTP_STATUS_CONTINUE) return PrintServerState::Silent;
    // Whatever it says, it is alive, and the dialog will not wait on it.
    return status == HTTP_STATUS_ERROR ? Failed(deadline) : PrintServerState::Answers;
}

}  // namespace

struct PrintProbe::Shared {
    std::atomic<bool> done = false;
    PrintServerState state = PrintServerState::Silent;  // the answer, read once done
};

PrintProbe::PrintProbe(std::chrono::milliseconds limit)
    : shared_(std::make_shared<Shared>()), deadline_(Clock::now() + limit) {
    // The worker owns all it touches: it may outlive this object.
    try {
        worker_ = std::thread([shared = shared_, deadline = deadline_] {
            shared->state = Ask(deadline);
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

bool PrintProbe::WorkerDone() const { return shared_->done.load(std::memory_order_acquire); }

}  // namespace tk
