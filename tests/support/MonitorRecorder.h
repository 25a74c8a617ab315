// A recording of what an audio server's null sink plays: parec on its
// monitor, with every read stamped, so a sample's time at the device can be
// told.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/AudioServer.h"

namespace testing_support {

// parec on the monitor, mono 16-bit at kDeviceRate, 10 ms latency (with the
// default latency sounds under 100 ms go missing from the recording).
class MonitorRecorder {
public:
    using Clock = std::chrono::steady_clock;

    explicit MonitorRecorder(const AudioServer& server);
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // Waits until samples flow; false, with Error(), if they do not.
    bool Start();
    // Samples recorded so far, and those recorded since such a count: one
    // recorder can serve several recordings, as its first samples can take
    // up to two seconds to come (PulseAudio's null sink blocks while idle).
    std::size_t Mark() const;
    std::vector<std::int16_t> Since(std::size_t mark) const;
    // Stops parec and returns everything recorded.
    std::vector<std::int16_t> Stop();
    const std::string& Error() const { return error_; }
    // When sample 0 was at the device: the earliest that every read allows.
    Clock::time_point SampleZero() const;

private:
    void ReadLoop();

    std::vector<std::string> env_;
    std::string source_;
    int pid_ = -1;
    int fd_ = -1;
    std::thread reader_;
    mutable std::mutex mu_;
    std::vector<std::uint8_t> bytes_;
    std::vector<std::pair<std::size_t, Clock::time_point>> stamps_;  // bytes so far, when
    std::string error_;
};

}  // namespace testing_support
