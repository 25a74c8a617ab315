// The check made before the print dialog opens: where the print scheduler
// is found, and what a probe of it says for every way it can behave, never
// waiting past its limit.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <netinet/in.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/PrintProbe.h"
#include "support/FakePrintServer.h"

using testing_support::FakePrintServer;
using testing_support::ScopedEnv;
using tk::PrintServer;
using tk::PrintServerState;
using Behaviour = FakePrintServer::Behaviour;

namespace tk {
void PrintTo(PrintServerState s, std::ostream* os) {
    *os << (s == PrintServerState::Answers ? "Answers" : s == PrintServerState::Silent ? "Silent" : "Absent");
}
void PrintTo(const PrintServer& s, std::ostream* os) {
    *os << "{socket \"" << s.socketPath << "\", host \"" << s.host << "\", port " << s.port << "}";
}
}  // namespace tk

namespace {

using Clock = std::chrono::steady_clock;

PrintServer Local(const std::string& path) { return PrintServer{path, "", 631}; }
PrintServer Host(const std::string& host, int port = 631) { return PrintServer{"", host, port}; }

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// ---- where the scheduler is -------------------------------------------------------

TEST(PrintServerName, SpelledAsTheEnvironmentAndClientConfSpellIt) {
    struct Case {
        const char* name;
        PrintServer expected;
    };
    const Case cases[] = {
        {"/run/cups/cups.sock", Local("/run/cups/cups.sock")},
        {"/tmp/a:631/version=1.1", Local("/tmp/a:631/version=1.1")},  // a path is taken whole
        {"printhost", Host("printhost")},
        {"printhost:8631", Host("printhost", 8631)},
        {"printhost:8631/version=1.1", Host("printhost", 8631)},
        {"printhost/version=1.1", Host("printhost")},
        {"127.0.0.1:6310", Host("127.0.0.1", 6310)},
        {"[::1]:6310", Host("::1", 6310)},
        {"[::1]", Host("::1")},
        {"::1", Host("::1")},  // more than one colon: an address without a port
        {"fe80::1", Host("fe80::1")},
        {"printhost:", Host("printhost")},
        {"printhost:ipp", Host("printhost")},
        {"printhost:0", Host("printhost")},
        {"printhost:70000", Host("printhost")},
        {"printhost:123456789012", Host("printhost")},
        {":6310", Host("localhost", 6310)},
        {"", Host("localhost")},
    };
    for (const Case& c : cases) EXPECT_EQ(tk::ParsePrintServerName(c.name), c.expected) << c.name;
}

TEST(PrintServerName, LastServerNameOfAClientConf) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"ServerName printhost:8631\n", "printhost:8631"},
        {"# ServerName commented\n  servername   /tmp/cups.sock  \r\n", "/tmp/cups.sock"},
        {"ServerName first\nEncryption Never\nSERVERNAME second\n", "second"},
        {"ServerNameX other\nServerName\n", ""},
        {"Encryption IfRequested\n", ""},
        {"\tServerName\tprinthost\n", "printhost"},
        {"", ""},
    };
    int i = 0;
    for (const Case& c : cases) {
        const std::string path = dir.filePath(QString::number(i++)).toStdString();
        WriteFile(path, c.text);
        EXPECT_EQ(tk::ServerNameInClientConf(path), c.expected) << c.text;
    }
    EXPECT_EQ(tk::ServerNameInClientConf(dir.filePath("missing").toStdString()), "");
}

TEST(FindPrintServer, EnvironmentThenClientConfsThenLocalSocketThenLocalhost) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string user = dir.filePath("user.conf").toStdString();
    const std::string system = dir.filePath("system.conf").toStdString();
    const std::string empty = dir.filePath("empty.conf").toStdString();
    const std::string missing = dir.filePath("missing.conf").toStdString();
    const std::string sock = dir.filePath("cups.sock").toStdString();
    const std::string noSock = dir.filePath("none.sock").toStdString();
    WriteFile(user, "ServerName userhost\n");
    WriteFile(system, "ServerName systemhost:8631\n");
    WriteFile(empty, "# nothing\n");
    ASSERT_TRUE(testing_support::MakeDeadSocket(sock));  // there is a file: that is enough

    struct Case {
        const char* what;
        std::optional<std::string> env;
        std::vector<std::string> confs, sockets;
        PrintServer expected;
    };
    const Case cases[] = {
        {"environment first", "envhost:1234", {user, system}, {sock}, Host("envhost", 1234)},
        {"environment socket", sock, {user}, {}, Local(sock)},
        {"empty environment is unset", "", {user}, {}, Host("userhost")},
        {"user conf before system", std::nullopt, {user, system}, {sock}, Host("userhost")},
        {"a conf without ServerName is passed", std::nullopt, {missing, empty, system}, {sock},
         Host("systemhost", 8631)},
        {"first local socket that exists", std::nullopt, {empty}, {noSock, sock}, Local(sock)},
        {"nothing at all", std::nullopt, {missing}, {noSock}, Host("localhost")},
    };
    for (const Case& c : cases) {
        const tk::PrintServerPlaces places{c.env, c.confs, c.sockets};
        EXPECT_EQ(tk::FindPrintServer(places), c.expected) << c.what;
    }
}

TEST(FindPrintServer, SystemPlacesFollowTheEnvironment) {
    {
        const ScopedEnv server("CUPS_SERVER", "/tmp/x.sock");
        const ScopedEnv home("HOME", "/home/teacher");
        const ScopedEnv root("CUPS_SERVERROOT", "/opt/cups");
        const tk::PrintServerPlaces p = tk::PrintServerPlaces::System();
        EXPECT_EQ(p.envServer, "/tmp/x.sock");
        EXPECT_EQ(p.clientConfs,
                  (std::vector<std::string>{"/home/teacher/.cups/client.conf", "/opt/cups/client.conf"}));
    }
    const ScopedEnv server("CUPS_SERVER", std::nullopt);
    const ScopedEnv home("HOME", std::nullopt);
    const ScopedEnv root("CUPS_SERVERROOT", std::nullopt);
    const tk::PrintServerPlaces p = tk::PrintServerPlaces::System();
    EXPECT_FALSE(p.envServer);
    EXPECT_EQ(p.clientConfs, std::vector<std::string>{"/etc/cups/client.conf"});
    EXPECT_EQ(p.localSockets, (std::vector<std::string>{"/run/cups/cups.sock", "/var/run/cups/cups.sock"}));
}

// ---- asking it --------------------------------------------------------------------

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

struct ProbeCase {
    const char* name;
    // Sets up the scheduler in the folder; gives the server name to ask, or
    // "" when the setup failed.
    std::function<std::string(const QTemporaryDir&, std::unique_ptr<FakePrintServer>&)> setUp;
    PrintServerState expected;
    bool waitsTheLimit = false;  // silence that shows only by waiting
};

void PrintTo(const ProbeCase& c, std::ostream* os) { *os << c.name; }

std::string Path(const QTemporaryDir& dir) { return dir.filePath("cups.sock").toStdString(); }

std::function<std::string(const QTemporaryDir&, std::unique_ptr<FakePrintServer>&)> LocalServer(Behaviour b) {
    return [b](const QTemporaryDir& dir, std::unique_ptr<FakePrintServer>& server) {
        server = std::make_unique<FakePrintServer>(Path(dir), b);
        return server->Ok() ? server->Name() : "";
    };
}

std::function<std::string(const QTemporaryDir&, std::unique_ptr<FakePrintServer>&)> LoopbackServer(Behaviour b) {
    return [b](const QTemporaryDir&, std::unique_ptr<FakePrintServer>& server) {
        server = std::make_unique<FakePrintServer>(b);
        return server->Ok() ? server->Name() : "";
    };
}

const ProbeCase kProbeCases[] = {
    {"HungLocal", LocalServer(Behaviour::Hung), PrintServerState::Silent, true},
    {"MuteLocal", LocalServer(Behaviour::Mute), PrintServerState::Silent, true},
    {"RepliesLocal", LocalServer(Behaviour::Replies), PrintServerState::Answers},
    {"HangsUpLocal", LocalServer(Behaviour::HangsUp), PrintServerState::Absent},
    {"HungLoopback", LoopbackServer(Behaviour::Hung), PrintServerState::Silent, true},
    {"MuteLoopback", LoopbackServer(Behaviour::Mute), PrintServerState::Silent, true},
    {"RepliesLoopback", LoopbackServer(Behaviour::Replies), PrintServerState::Answers},
    // A stopped scheduler that many programs asked already: the kernel
    // turns a local connection away at once rather than queue it.
    {"HungLocalQueueFull",
     [](const QTemporaryDir& dir, std::unique_ptr<FakePrintServer>& server) {
         server = std::make_unique<FakePrintServer>(Path(dir), Behaviour::Hung);
         return server->Ok() && server->FillQueue() ? server->Name() : "";
     },
     PrintServerState::Silent},
    {"NoSocketFile", [](const QTemporaryDir& dir, auto&) { return Path(dir); }, PrintServerState::Absent},
    {"DeadSocketFile",
     [](const QTemporaryDir& dir, auto&) { return testing_support::MakeDeadSocket(Path(dir)) ? Path(dir) : ""; },
     PrintServerState::Absent},
    {"ClosedLoopbackPort",
     [](const QTemporaryDir&, auto&) {
         const int port = ClosedPort();
         return port ? "127.0.0.1:" + std::to_string(port) : "";
     },
     PrintServerState::Absent},
};

class PrintProbeTest : public ::testing::TestWithParam<ProbeCase> {
protected:
    QTemporaryDir dir;
    std::unique_ptr<FakePrintServer> server;

    PrintServer SetUpServer() {
        const std::string name = GetParam().setUp(dir, server);
        EXPECT_FALSE(name.empty()) << (server ? server->Error() : "setup failed");
        return tk::ParsePrintServerName(name);
    }
};

TEST_P(PrintProbeTest, AnswersWithinTheLimit) {
    ASSERT_TRUE(dir.isValid());
    const PrintServer where = SetUpServer();
    ASSERT_FALSE(HasFailure());
    const auto t0 = Clock::now();
    const PrintServerState state = tk::ProbePrintServer(where, kLimit);
    const auto took = Clock::now() - t0;
    EXPECT_EQ(state, GetParam().expected);
    // Only silence waits for the limit, and never much past it.
    if (GetParam().waitsTheLimit)
        EXPECT_GE(took, kLimit - std::chrono::milliseconds(5));
    else
        EXPECT_LT(took, kLimit);
    EXPECT_LT(took, kLimit + kSlack);
}

TEST_P(PrintProbeTest, OnItsOwnThreadGivesTheSameAnswerInTime) {
    ASSERT_TRUE(dir.isValid());
    const std::string name = GetParam().setUp(dir, server);
    ASSERT_FALSE(name.empty()) << (server ? server->Error() : "setup failed");
    const auto t0 = Clock::now();
    const tk::PrintProbe probe(tk::PrintServerPlaces{name, {}, {}}, kLimit);
    std::optional<PrintServerState> state;
    while (!(state = probe.Result())) {
        ASSERT_LT(Clock::now() - t0, kLimit + kSlack) << "no answer past the limit";
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(*state, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(EveryScheduler, PrintProbeTest, ::testing::ValuesIn(kProbeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The request must be whole: a real scheduler reads the body that
// Content-Length promises before it replies, and would wait for good on a
// short one.
TEST(PrintProbeRequest, IsACompleteIppRequestOverHttp) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakePrintServer server(Path(dir), Behaviour::Replies);
    ASSERT_TRUE(server.Ok()) << server.Error();
    ASSERT_EQ(tk::ProbePrintServer(Local(server.Name()), kLimit), PrintServerState::Answers);
    const std::string req = server.LastRequest();
    ASSERT_EQ(req.rfind("POST / HTTP/1.1\r\n", 0), 0u) << req;
    const auto end = req.find("\r\n\r\n");
    ASSERT_NE(end, std::string::npos);
    const std::string headers = req.substr(0, end + 2);
    const std::string body = req.substr(end + 4);
    EXPECT_NE(headers.find("\r\nHost: "), std::string::npos);
    EXPECT_NE(headers.find("\r\nContent-Type: application/ipp\r\n"), std::string::npos);
    const auto cl = headers.find("\r\nContent-Length: ");
    ASSERT_NE(cl, std::string::npos);
    EXPECT_EQ(std::stoul(headers.substr(cl + 18)), body.size());
    // version 2.0, CUPS-Get-Default, request 1, operation attributes ...
    // charset and language first, as IPP requires, then the end tag.
    ASSERT_GE(body.size(), 9u);
    EXPECT_EQ(body.substr(0, 9), std::string("\x02\x00\x40\x01\x00\x00\x00\x01\x01", 9));
    EXPECT_EQ(body.substr(9, 21), std::string("\x47\x00\x12", 3) + "attributes-charset");
    EXPECT_NE(body.find(std::string("\x48\x00\x1b", 3) + "attributes-natural-language"), std::string::npos);
    EXPECT_EQ(body.back(), '\x03');
}

TEST(PrintProbeRequest, AskedOncePerProbeOfAnAnsweringScheduler) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakePrintServer server(Path(dir), Behaviour::Replies);
    ASSERT_TRUE(server.Ok()) << server.Error();
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(tk::ProbePrintServer(Local(server.Name()), kLimit), PrintServerState::Answers);
        EXPECT_EQ(server.Accepted(), i);
    }
}

TEST(PrintProbeThread, LettingGoOfAProbeUnderWayDoesNotWaitForIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakePrintServer server(Path(dir), Behaviour::Hung);
    ASSERT_TRUE(server.Ok()) << server.Error();
    const auto t0 = Clock::now();
    {
        const tk::PrintProbe probe(tk::PrintServerPlaces{server.Name(), {}, {}}, std::chrono::seconds(30));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_FALSE(probe.Result());
    }
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(2));
}

}  // namespace
