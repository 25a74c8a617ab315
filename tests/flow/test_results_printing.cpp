// "OK" on the results window with the real check of the printing system,
// against a print scheduler of the test's own: a hung one costs the print,
// never the window; one that answers, or none at all, leads to the dialog.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cards/mGlobals.h"
#include "flow/FlowSupport.h"
#include "flow/wResults.h"
#include "platform/Application.h"
#include "platform/PrintProbe.h"
#include "shell/BundleMedia.h"
#include "support/FakePrintServer.h"
#include "support/FakeServices.h"
#include "support/Helpers.h"

using flow_test::TimesPlayed;
using testing_support::Click;
using testing_support::FakePrintServer;
using testing_support::FakeServices;
using testing_support::RecordingGraphics;
using testing_support::ScopedPrintSettings;
using testing_support::Type;
using Behaviour = FakePrintServer::Behaviour;

namespace {

const char kNotAnswering[] = "The printing system is not answering.  Please try again in a moment.";
// The probe's limit plus room for a loaded machine or a sanitizer build.
constexpr qint64 kAlertBoundMs = 6000;

class ResultsPrintingSystemTest : public ::testing::Test {
protected:
    FakeServices fakes;
    QTemporaryDir dir;
    // No client.conf of the machine's: only what a test names.
    ScopedPrintSettings settings{dir.path().toStdString()};
    std::vector<std::shared_ptr<std::vector<RecordingGraphics::Call>>> pages;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(settings.Ok());
        fakes.realPrintProbe = true;  // the dialog alone is faked
        fakes.printAnswer = [this]() -> std::unique_ptr<tk::Graphics> {
            auto g = std::make_unique<RecordingGraphics>();
            pages.push_back(g->calls);
            return g;
        };
    }

    std::string SocketPath() const { return dir.filePath("cups.sock").toStdString(); }
    void UseServer(const std::string& name) { settings.Server(name); }

    // The results window with its name row open and a name typed.
    static wResults& Named(const std::string& name) {
        mGlobals::sPracticeMode = "Roman";
        mGlobals::iScore = 8;
        mGlobals::iTotalNumofQuestions = 10;
        wResults& w = wResults::Instance();
        Click(*w.BevelButton1);
        Type(w, name);
        return w;
    }

    void ExpectPrinted(wResults& w, const std::string& name) {
        EXPECT_EQ(fakes.printDialogs, 1);
        EXPECT_TRUE(fakes.alerts.empty());
        ASSERT_EQ(pages.size(), 1u);
        ASSERT_GE(pages[0]->size(), 5u);
        EXPECT_EQ((*pages[0])[4].text.rfind(name + "\r\r", 0), 0u);
        EXPECT_EQ(w.Height(), 187);
        EXPECT_TRUE(w.BevelButton1->Enabled());
        EXPECT_FALSE(w.EditField1->Enabled());
        EXPECT_FALSE(w.BevelButton4->Enabled());
    }
};

void ExpectNameRowOpen(wResults& w, const std::string& name) {
    EXPECT_EQ(w.Height(), 306);
    EXPECT_EQ(w.EditField1->Text(), name);
    EXPECT_TRUE(w.EditField1->Enabled());
    EXPECT_TRUE(w.BevelButton4->Enabled());
    EXPECT_FALSE(w.BevelButton1->Enabled());
}

// A scheduler that never replies, and how the settings name it.
struct HungCase {
    const char* name;
    std::function<std::unique_ptr<FakePrintServer>(ScopedPrintSettings&, const std::string& socketPath)> setUp;
};

void PrintTo(const HungCase& c, std::ostream* os) { *os << c.name; }

const HungCase kHungCases[] = {
    // Listens and never takes a connection, as a stopped daemon does.
    {"LocalSocketInTheEnvironment",
     [](ScopedPrintSettings& s, const std::string& path) {
         auto server = std::make_unique<FakePrintServer>(path, Behaviour::Hung);
         s.Server(server->Name());
         return server;
     }},
    // Takes the connection and the request, and never replies.
    {"UserClientConfWithAComment",
     [](ScopedPrintSettings& s, const std::string&) {
         auto server = std::make_unique<FakePrintServer>(Behaviour::Mute);
         if (!s.UserConf("ServerName 127.0.0.1:" + std::to_string(server->Port()) + "   # the office printer\n"))
             return std::unique_ptr<FakePrintServer>();
         return server;
     }},
    {"HostInTheEnvironmentPortInIppPort",
     [](ScopedPrintSettings& s, const std::string&) {
         auto server = std::make_unique<FakePrintServer>(Behaviour::Mute);
         s.Server("127.0.0.1");
         s.Port(std::to_string(server->Port()));
         return server;
     }},
};

class ResultsHungSchedulerTest : public ResultsPrintingSystemTest, public ::testing::WithParamInterface<HungCase> {};

TEST_P(ResultsHungSchedulerTest, GetsAnAlertInTimeWhileTheWindowTakesInput) {
    const std::unique_ptr<FakePrintServer> named = GetParam().setUp(settings, SocketPath());
    ASSERT_TRUE(named && named->Ok()) << (named ? named->Error() : "client.conf not written");
    FakePrintServer& server = *named;
    wResults& w = Named("Ada");

    QElapsedTimer clock;
    qint64 inputAt = -1, alertAt = -1;
    bool quittingDuringProbe = false;
    // Input while the probe waits: a key into the name is taken; every
    // button is pressed and ignored, "OK" above all (no second probe).
    QTimer::singleShot(300, qApp, [&] {
        QTest::keyClick(w.EditField1->Widget(), 'L');
        Click(*w.BevelButton4);
        Click(*w.BevelButton2);
        Click(*w.BevelButton3);
        quittingDuringProbe = tk::Quitting();
        inputAt = clock.elapsed();
    });
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(100);
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start();
    int ticksAtAlert = -1;
    fakes.onAlert = [&](const tk::String&) {
        alertAt = clock.elapsed();
        ticksAtAlert = ticks;
        EXPECT_EQ(fakes.printDialogs, 0);
        ExpectNameRowOpen(w, "AdaL");
    };

    clock.start();
    Click(*w.BevelButton4);
    const qint64 took = clock.elapsed();
    ticker.stop();
    std::printf("[ measured ] \"OK\" to the alert with a hung printing system: %lld ms (limit %lld ms)\n",
                static_cast<long long>(alertAt), static_cast<long long>(tk::kPrintProbeLimit.count()));
    RecordProperty("alert_ms", static_cast<int>(alertAt));

    EXPECT_EQ(fakes.alerts, std::vector<tk::String>{kNotAnswering});
    EXPECT_GE(alertAt, tk::kPrintProbeLimit.count() - 5);
    EXPECT_LT(took, kAlertBoundMs);
    EXPECT_GE(inputAt, 0) << "the key and the presses were not taken during the probe";
    EXPECT_LT(inputAt, alertAt);
    EXPECT_GE(ticksAtAlert, 5) << "the event loop stood still while the probe waited";
    EXPECT_FALSE(quittingDuringProbe);
    EXPECT_EQ(fakes.printProbes, 1);
    EXPECT_EQ(fakes.printDialogs, 0);
    EXPECT_EQ(TimesPlayed(fakes, myBeep()), 2);  // "Print" and the first "OK" only
    EXPECT_EQ(wResults::IfOpen(), &w);
    EXPECT_FALSE(tk::Quitting());
    ExpectNameRowOpen(w, "AdaL");

    // Once it answers again, "OK" prints under the name kept.
    server.Set(Behaviour::Replies);
    fakes.alerts.clear();
    fakes.onAlert = nullptr;
    Click(*w.BevelButton4);
    ExpectPrinted(w, "AdaL");
}

INSTANTIATE_TEST_SUITE_P(EveryNaming, ResultsHungSchedulerTest, ::testing::ValuesIn(kHungCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Closing the window while the probe waits ends the program there and
// then: nothing waits for the rest of the limit.
TEST_F(ResultsPrintingSystemTest, CloseBoxDuringTheProbeQuitsAtOnce) {
    FakePrintServer server(SocketPath(), Behaviour::Hung);
    ASSERT_TRUE(server.Ok()) << server.Error();
    UseServer(server.Name());
    wResults& w = Named("Ada");
    QTimer::singleShot(200, qApp, [&] { w.Widget()->close(); });
    QElapsedTimer clock;
    clock.start();
    Click(*w.BevelButton4);
    EXPECT_LT(clock.elapsed(), tk::kPrintProbeLimit.count() - 500);
    EXPECT_TRUE(tk::Quitting());
    EXPECT_EQ(tk::ExitStatus(), 0);
    EXPECT_EQ(wResults::IfOpen(), nullptr);
    EXPECT_TRUE(fakes.alerts.empty());
    EXPECT_EQ(fakes.printDialogs, 0);
}

struct DialogCase {
    const char* name;
    // Sets up the scheduler; gives what CUPS_SERVER names, "" on failure.
    std::function<std::string(const std::string& socketPath, std::unique_ptr<FakePrintServer>&)> setUp;
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.name; }

std::string Serve(std::unique_ptr<FakePrintServer>& server, std::unique_ptr<FakePrintServer> made) {
    server = std::move(made);
    return server->Ok() ? server->Name() : "";
}

const DialogCase kDialogCases[] = {
    {"AnswersLocal",
     [](const std::string& path, auto& server) {
         return Serve(server, std::make_unique<FakePrintServer>(path, Behaviour::Replies));
     }},
    {"AnswersLoopback",
     [](const std::string&, auto& server) {
         return Serve(server, std::make_unique<FakePrintServer>(Behaviour::Replies));
     }},
    {"HangsUp",
     [](const std::string& path, auto& server) {
         return Serve(server, std::make_unique<FakePrintServer>(path, Behaviour::HangsUp));
     }},
    // No printing system: the dialog still offers printing to a file.
    {"NothingListens", [](const std::string& path, auto&) { return path; }},
    {"DeadSocket",
     [](const std::string& path, auto&) { return testing_support::MakeDeadSocket(path) ? path : ""; }},
};

class ResultsDialogPathTest : public ResultsPrintingSystemTest,
                              public ::testing::WithParamInterface<DialogCase> {};

TEST_P(ResultsDialogPathTest, OpensTheDialogWithoutWaitingForTheLimit) {
    std::unique_ptr<FakePrintServer> server;
    const std::string name = GetParam().setUp(SocketPath(), server);
    ASSERT_FALSE(name.empty()) << (server ? server->Error() : "setup failed");
    UseServer(name);
    wResults& w = Named("Grace");
    QElapsedTimer clock;
    clock.start();
    Click(*w.BevelButton4);
    EXPECT_LT(clock.elapsed(), tk::kPrintProbeLimit.count());
    EXPECT_EQ(fakes.printProbes, 1);
    ExpectPrinted(w, "Grace");
}

INSTANTIATE_TEST_SUITE_P(EveryScheduler, ResultsDialogPathTest, ::testing::ValuesIn(kDialogCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
