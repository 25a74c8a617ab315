// A real audio server for the tests and benchmarks that meet one: a private
// PulseAudio daemon with a null sink, and a recorder of the sink's monitor,
// so what the program sent to the device can be read back.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Wav.h"

namespace testing_support {

inline constexpr int kDeviceRate = 44100;

// The daemon lives as long as the object; its runtime folder is removed
// after it.
class PulseNullSink {
public:
    PulseNullSink();
    ~PulseNullSink();
    PulseNullSink(const PulseNullSink&) = delete;
    PulseNullSink& operator=(const PulseNullSink&) = delete;

    bool Ok() const { return error_.empty(); }
    // Why the daemon is not there, with the end of its log.
    const std::string& Error() const { return error_; }
    std::string Server() const { return "unix:" + dir_ + "/native"; }
    std::string Monitor() const { return "tickmoor_null.monitor"; }
    // Points this process's audio clients at the daemon. Call it before the
    // program first looks for an audio device.
    void UseInThisProcess() const;

private:
    std::string dir_;
    int pid_ = -1;
    std::string error_;
};

// A daemon that this process's audio clients use from now on; nothing, and
// the reason on stderr, when it cannot start. For programs that run with a
// device of their own (the benchmarks).
std::unique_ptr<PulseNullSink> UsePrivateAudioServer();

// parec on the monitor, mono 16-bit at kDeviceRate, 10 ms latency (with the
// default latency sounds under 100 ms go missing from the recording). Every
// read is stamped, so a sample's time at the device can be told.
class MonitorRecorder {
public:
    using Clock = std::chrono::steady_clock;

    explicit MonitorRecorder(const PulseNullSink& server);
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // Waits until samples flow; false, with Error(), if they do not.
    bool Start();
    // Samples recorded so far, and those recorded since such a count: one
    // recorder can serve several recordings, as its first samples can take
    // up to two seconds to come (the null sink's block while it is idle).
    std::size_t Mark() const;
    std::vector<std::int16_t> Since(std::size_t mark) const;
    // Stops parec and returns everything recorded.
    std::vector<std::int16_t> Stop();
    const std::string& Error() const { return error_; }
    // When sample 0 was at the device: the earliest that every read allows.
    Clock::time_point SampleZero() const;

private:
    void ReadLoop();

    std::string server_, source_;
    int pid_ = -1;
    int fd_ = -1;
    std::thread reader_;
    mutable std::mutex mu_;
    std::vector<std::uint8_t> bytes_;
    std::vector<std::pair<std::size_t, Clock::time_point>> stamps_;  // bytes so far, when
    std::string error_;
};

// The sound's samples as mono 16-bit (channels averaged).
std::vector<std::int16_t> MonoSamples(const tk::WavData& wav);

// Where the file's samples best match in the recording (by the cross-
// correlation of their 1 ms envelopes); -1 when the recording is silent.
long AlignInRecording(const std::vector<std::int16_t>& file, const std::vector<std::int16_t>& rec);

// Whether the recording holds the file whole from offset on: in 20 ms
// windows, every window where the file is above 10% of its peak level must
// carry at least half the file's level, scaled by the recording's level at
// the file's peak window. Empty when whole; otherwise what is missing.
std::string MissingFromRecording(const std::vector<std::int16_t>& file,
                                 const std::vector<std::int16_t>& rec, long offset);

}  // namespace testing_support
