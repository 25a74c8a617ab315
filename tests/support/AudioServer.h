// A real audio server for the tests and benchmarks that meet one: a private
// PulseAudio daemon, or a private PipeWire with its PulseAudio service and
// WirePlumber to link streams, either with a null sink (44100 Hz mono) whose
// monitor can be recorded, so what the program sent to the device can be read
// back. Everything it runs lives in a private folder under /tmp: a user's
// own sound server is never touched.
//
// PulseAudio is preferred where both are installed;
// TICKMOOR_TEST_AUDIO_SERVER=pipewire (or =pulseaudio) picks one.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

inline constexpr int kDeviceRate = 44100;

// The server lives as long as the object; its folder is removed after it.
// Its processes die with the thread that started them (or restarted them):
// use it from the main thread.
class AudioServer {
public:
    AudioServer();
    ~AudioServer();
    AudioServer(const AudioServer&) = delete;
    AudioServer& operator=(const AudioServer&) = delete;

    bool Ok() const { return error_.empty(); }
    // Why the server is not there, with the end of its log.
    const std::string& Error() const { return error_; }
    // "pulseaudio" or "pipewire"; empty when neither is installed.
    std::string Name() const;
    // For PULSE_SERVER or --server.
    std::string Server() const { return "unix:" + dir_ + "/native"; }
    // The null sink's monitor source.
    std::string Monitor() const { return "tickmoor_null.monitor"; }
    // Points this process's audio clients at the server. Call it before the
    // program first looks for an audio device.
    void UseInThisProcess() const;
    // The environment for an audio client run as a child (parec, pactl):
    // the server, and a home in the private folder for what they write.
    std::vector<std::string> ClientEnvironment() const;

    // As a hung server: every process of it stopped (SIGSTOP), then going
    // on (SIGCONT).
    void Stall();
    void Resume();
    // As a crash: every process of it killed (SIGKILL) and reaped.
    void Kill();
    // After Kill: the server again, on the same socket, with its null sink.
    // False, with Error(), if it does not come up.
    bool Restart();

private:
    enum class Kind { kNone, kPulseAudio, kPipeWire };

    bool Start();
    bool StartPulseAudio();
    bool StartPipeWire();
    bool WritePipeWireConfig();
    // Starts a process of the server with its stderr appended to log; false,
    // with error_, if it cannot be started.
    bool Launch(const std::vector<std::string>& args, const std::string& log);
    // Waits for a socket of the server to answer; false, with error_ and the
    // log's end, if the process dies or time runs out.
    bool WaitForSocket(const std::string& socket, int pid, const std::string& program, const std::string& log);
    // Waits until a recording of the monitor gets samples: the session
    // manager is up and links streams to the sink.
    bool WaitUntilRecordable();
    void Signal(int sig) const;
    std::vector<std::string> ServerEnvironment() const;

    Kind kind_ = Kind::kNone;
    std::string dir_;
    std::vector<int> pids_;
    std::string error_;
};

// A server that this process's audio clients use from now on; nothing, and
// the reason on stderr, when it cannot start. For programs that run with a
// device of their own (the benchmarks).
std::unique_ptr<AudioServer> UsePrivateAudioServer();

// The server of this test process, started on first use and used by its
// audio clients from then on: the program's audio client keeps the server
// it first found for the run, so every suite of a process shares one. A
// test that kills it restarts it (on the same socket); each test finds it
// answering.
AudioServer& ProcessAudioServer();

}  // namespace testing_support
