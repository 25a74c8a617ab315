// The check made before the print dialog opens: that it asks the scheduler
// the settings name, and what it says for every way that scheduler can
// behave, never waiting past its limit.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/socket.h>
#include <unistd.h>

#include <netinet/in.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

#include "platform/PrintProbe.h"
#include "support/FakePrintServer.h"

using testing_support::FakePrintServer;
using testing_support::ScopedPrintSettings;
using tk::PrintServerState;
using Behaviour = FakePrintServer::Behaviour;

namespace tk {
void PrintTo(PrintServerState s, std::ostream* os) {
    *os << (s == PrintServerState::Answers ? "Answers" : s == PrintServerState::Silent ? "Silent" : "Absent");
}
}  // namespace tk

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kLimit{400};
// Room past the limit for a loaded machine or a sanitizer build.
constexpr std::chrono::milliseconds kSlack{1500};

// A port on the loopback that nothing listens on.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
                    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0;
    ::close(fd);
    return ok ? ntohs(addr.sin_port) : 0;
}

// One probe to its end: its answer, when the caller had it, and when the
// worker itself finished (or nullopt if it was still at work past the
// limit and the slack).
struct Probed {
    PrintServerState state;
    Clock::duration answeredAfter;
    std::optional<Clock::duration> workerEndedAfter;
};

Probed Probe(std::chrono::milliseconds limit = kLimit) {
    const auto t0 = Clock::now();
    const tk::PrintProbe probe(limit);
    std::optional<PrintServerState> state;
    while (!(state = probe.Result())) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    Probed p{*state, Clock::now() - t0, std::nullopt};
    while (!probe.WorkerDone() && Clock::now() - t0 < limit + kSlack)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (probe.WorkerDone()) p.workerEndedAfter = Clock::now() - t0;
    return p;
}

class PrintSettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedPrintSettings settings{dir.path().toStdString()};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(settings.Ok());
    }
    std::string SocketPath() const { return dir.filePath("cups.sock").toStdString(); }
};

// ---- every way a scheduler can behave ---------------------------------------------

struct BehaviourCase {
    const char* name;
    // Sets up the scheduler in the folder; gives what CUPS_SERVER is to
    // name, or "" when the setup failed.
    std::function<std::string(const std::string& socketPath, std::unique_ptr<FakePrintServer>&)> setUp;
    PrintServerState expected;
    bool waitsTheLimit = false;  // silence that shows only by waiting
};

void PrintTo(const BehaviourCase& c, std::ostream* os) { *os << c.name; }

std::function<std::string(const std::string&, std::unique_ptr<FakePrintServer>&)> LocalServer(Behaviour b) {
    return [b](const std::string& path, std::unique_ptr<FakePrintServer>& server) {
        server = std::make_unique<FakePrintServer>(path, b);
        return server->Ok() ? server->Name() : "";
    };
}

std::function<std::string(const std::string&, std::unique_ptr<FakePrintServer>&)> LoopbackServer(Behaviour b) {
    return [b](const std::string&, std::unique_ptr<FakePrintServer>& server) {
        server = std::make_unique<FakePrintServer>(b);
        return server->Ok() ? server->Name() : "";
    };
}

const BehaviourCase kBehaviourCases[] = {
    {"HungLocal", LocalServer(Behaviour::Hung), PrintServerState::Silent, true},
    {"MuteLocal", LocalServer(Behaviour::Mute), PrintServerState::Silent, true},
    {"RepliesLocal", LocalServer(Behaviour::Replies), PrintServerState::Answers},
    {"HangsUpLocal", LocalServer(Behaviour::HangsUp), PrintServerState::Absent},
    {"HungLoopback", LoopbackServer(Behaviour::Hung), PrintServerState::Silent, true},
    {"MuteLoopback", LoopbackServer(Behaviour::Mute), PrintServerState::Silent, true},
    {"RepliesLoopback", LoopbackServer(Behaviour::Replies), PrintServerState::Answers},
    {"HangsUpLoopback", LoopbackServer(Behaviour::HangsUp), PrintServerState::Absent},
    // A stopped scheduler that many programs asked already: the kernel
    // turns a local connection away at once rather than queue it.
    {"HungLocalQueueFull",
     [](const std::string& path, std::unique_ptr<FakePrintServer>& server) {
         server = std::make_unique<FakePrintServer>(path, Behaviour::Hung);
         return server->Ok() && server->FillQueue() ? server->Name() : "";
     },
     PrintServerState::Silent},
    {"NoSocketFile", [](const std::string& path, auto&) { return path; }, PrintServerState::Absent},
    {"DeadSocketFile",
     [](const std::string& path, auto&) { return testing_support::MakeDeadSocket(path) ? path : ""; },
     PrintServerState::Absent},
    {"ClosedLoopbackPort",
     [](const std::string&, auto&) {
         const int port = ClosedPort();
         return port ? "127.0.0.1:" + std::to_string(port) : "";
     },
     PrintServerState::Absent},
};

class SchedulerBehaviourTest : public PrintSettingsTest, public ::testing::WithParamInterface<BehaviourCase> {};

TEST_P(SchedulerBehaviourTest, AnswersWithinTheLimitAndTheWorkerEndsByItself) {
    std::unique_ptr<FakePrintServer> server;
    const std::string name = GetParam().setUp(SocketPath(), server);
    ASSERT_FALSE(name.empty()) << (server ? server->Error() : "setup failed");
    settings.Server(name);

    const Probed p = Probe();
    EXPECT_EQ(p.state, GetParam().expected);
    // Only silence waits for the limit; libcups's own waits give up at it,
    // so the worker does not stay behind on a scheduler that never replies.
    if (GetParam().waitsTheLimit)
        EXPECT_GE(p.answeredAfter, kLimit - std::chrono::milliseconds(5));
    else
        EXPECT_LT(p.answeredAfter, kLimit);
    ASSERT_TRUE(p.workerEndedAfter) << "the worker was still waiting well past the limit";
    EXPECT_LT(*p.workerEndedAfter, kLimit + kSlack);
}

INSTANTIATE_TEST_SUITE_P(EveryScheduler, SchedulerBehaviourTest, ::testing::ValuesIn(kBehaviourCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- which scheduler is asked -----------------------------------------------------

// The settings name a scheduler that takes the connection and never
// replies; the probe must ask that one and no other. The dialog's library
// reads the same settings the same way.
struct NamingCase {
    const char* name;
    // Points the settings at the mute server (its port, or its local socket
    // path); other servers named are closed ports.
    std::function<bool(ScopedPrintSettings&, const FakePrintServer& mute, const std::string& closed)> nameIt;
    bool asksTheMuteOne = true;
};

void PrintTo(const NamingCase& c, std::ostream* os) { *os << c.name; }

std::string Port(const FakePrintServer& s) { return std::to_string(s.Port()); }

const NamingCase kNamingCases[] = {
    {"EnvironmentHostAndPort",
     [](auto& s, const auto& mute, const auto&) {
         s.Server(mute.Name());
         return true;
     }},
    {"EnvironmentHostWithIppPort",
     [](auto& s, const auto& mute, const auto&) {
         s.Server("127.0.0.1");
         s.Port(Port(mute));
         return true;
     }},
    {"SystemClientConfWithATrailingComment",
     [](auto& s, const auto& mute, const auto&) {
         return s.SystemConf("# where the printers are\nServerName 127.0.0.1:" + Port(mute) +
                             "   # the office printer\n");
     }},
    {"UserClientConfWithATrailingComment",
     [](auto& s, const auto& mute, const auto&) {
         return s.UserConf("ServerName 127.0.0.1:" + Port(mute) + "\t# the office printer\n");
     }},
    {"ClientConfHostWithIppPort",
     [](auto& s, const auto& mute, const auto&) {
         s.Port(Port(mute));
         return s.UserConf("ServerName 127.0.0.1 # office\n");
     }},
    {"UserClientConfOverSystemOne",
     [](auto& s, const auto& mute, const auto& closed) {
         return s.SystemConf("ServerName " + closed + "\n") &&
                s.UserConf("ServerName 127.0.0.1:" + Port(mute) + "\n");
     }},
    {"EnvironmentOverClientConf",
     [](auto& s, const auto& mute, const auto& closed) {
         s.Server(mute.Name());
         return s.UserConf("ServerName " + closed + "\n");
     }},
    // Set but empty, CUPS_SERVER still sets client.conf aside: the local
    // default is asked, whatever this machine has there.
    {"EmptyEnvironmentSetsClientConfAside",
     [](auto& s, const auto& mute, const auto&) {
         s.Server("");
         return s.UserConf("ServerName 127.0.0.1:" + Port(mute) + "\n");
     },
     false},
};

class SchedulerNamingTest : public PrintSettingsTest, public ::testing::WithParamInterface<NamingCase> {};

TEST_P(SchedulerNamingTest, AsksTheSchedulerTheSettingsName) {
    FakePrintServer mute(Behaviour::Mute);
    ASSERT_TRUE(mute.Ok()) << mute.Error();
    const int closed = ClosedPort();
    ASSERT_NE(closed, 0);
    ASSERT_TRUE(GetParam().nameIt(settings, mute, "127.0.0.1:" + std::to_string(closed)));

    const Probed p = Probe();
    if (GetParam().asksTheMuteOne) {
        EXPECT_EQ(p.state, PrintServerState::Silent);
        EXPECT_EQ(mute.Accepted(), 1);
    } else {
        EXPECT_EQ(mute.Accepted(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(EverySetting, SchedulerNamingTest, ::testing::ValuesIn(kNamingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintSettingsTest, LocalSocketNamedInClientConf) {
    FakePrintServer server(SocketPath(), Behaviour::Mute);
    ASSERT_TRUE(server.Ok()) << server.Error();
    ASSERT_TRUE(settings.UserConf("ServerName " + server.Name() + "  # this machine's scheduler\n"));
    EXPECT_EQ(Probe().state, PrintServerState::Silent);
    EXPECT_EQ(server.Accepted(), 1);
}

// The settings are read by every probe, not once for the program: a
// teacher who fixes client.conf need not restart it.
TEST_F(PrintSettingsTest, EachProbeReadsTheSettingsAfresh) {
    FakePrintServer mute(Behaviour::Mute), replies(Behaviour::Replies);
    ASSERT_TRUE(mute.Ok() && replies.Ok()) << mute.Error() << replies.Error();
    ASSERT_TRUE(settings.UserConf("ServerName " + mute.Name() + "\n"));
    EXPECT_EQ(Probe().state, PrintServerState::Silent);
    ASSERT_TRUE(settings.UserConf("ServerName " + replies.Name() + "\n"));
    EXPECT_EQ(Probe().state, PrintServerState::Answers);
    settings.Server(mute.Name());
    EXPECT_EQ(Probe().state, PrintServerState::Silent);
    EXPECT_EQ(mute.Accepted(), 2);
    EXPECT_EQ(replies.Accepted(), 1);
}

// ---- the request ------------------------------------------------------------------

// The request must be whole: a real scheduler reads the body that
// Content-Length promises before it replies, and would wait for good on a
// short one.
TEST_F(PrintSettingsTest, AsksWithOneCompleteIppRequest) {
    FakePrintServer server(SocketPath(), Behaviour::Replies);
    ASSERT_TRUE(server.Ok()) << server.Error();
    settings.Server(server.Name());
    ASSERT_EQ(Probe().state, PrintServerState::Answers);
    const std::string req = server.LastRequest();
    ASSERT_EQ(req.rfind("POST / HTTP/1.1\r\n", 0), 0u) << req;
    const auto end = req.find("\r\n\r\n");
    ASSERT_NE(end, std::string::npos);
    const std::string headers = req.substr(0, end + 2);
    const std::string body = req.substr(end + 4);
    EXPECT_NE(headers.find("\r\nContent-Type: application/ipp\r\n"), std::string::npos);
    const auto cl = headers.find("\r\nContent-Length: ");
    ASSERT_NE(cl, std::string::npos) << headers;
    EXPECT_EQ(std::stoul(headers.substr(cl + 18)), body.size());
    // version 2.0, CUPS-Get-Default, then the attributes and their end tag.
    ASSERT_GE(body.size(), 9u);
    EXPECT_EQ(body.substr(0, 4), std::string("\x02\x00\x40\x01", 4));
    EXPECT_NE(body.find("attributes-charset"), std::string::npos);
    EXPECT_EQ(body.back(), '\x03');
    EXPECT_EQ(server.Accepted(), 1);
}

TEST_F(PrintSettingsTest, AsksOncePerProbe) {
    struct Case {
        Behaviour behaviour;
        PrintServerState expected;
    };
    for (const Case c : {Case{Behaviour::Replies, PrintServerState::Answers},
                         Case{Behaviour::HangsUp, PrintServerState::Absent}}) {
        FakePrintServer server(c.behaviour);
        ASSERT_TRUE(server.Ok()) << server.Error();
        settings.Server(server.Name());
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(Probe().state, c.expected);
            EXPECT_EQ(server.Accepted(), i) << "no retry, no second connection";
        }
    }
}

// ---- the worker -------------------------------------------------------------------

TEST_F(PrintSettingsTest, LettingGoOfAProbeUnderWayDoesNotWaitForIt) {
    FakePrintServer server(SocketPath(), Behaviour::Hung);
    ASSERT_TRUE(server.Ok()) << server.Error();
    settings.Server(server.Name());
    const auto t0 = Clock::now();
    {
        const tk::PrintProbe probe(std::chrono::seconds(30));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_FALSE(probe.Result());
        EXPECT_FALSE(probe.WorkerDone());
    }
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(2));
}

}  // namespace
