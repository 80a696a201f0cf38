// The whole command engine against the virtual unit: a real frame, its worker, the serial
// driver and the unit on a pseudo-terminal, driven by clicking.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "engine/AnswerMatch.h"
#include "engine/FrameTimers.h"
#include "sim/VirtualUnitHost.h"
#include "tests/frame/EngineTestSupport.h"

namespace {

using namespace std::chrono_literals;
using enginetest::Message;
using enginetest::Occurrences;
using enginetest::RecordingFrame;
using enginetest::WaitUntil;

std::string Sent(const std::string& command) {
    return enginetest::kSendLabel + (":" + command);
}

// A unit on a pseudo-terminal and a frame connected to it at 115200 baud.
class Session {
  public:
    explicit Session(sim::UnitOptions options) : host(options) {
        if (!host.Start(&error)) return;
        frame.extraPorts = {host.DevicePath()};
        if (!frame.Open() || !frame.StartWorker()) return;
        frame.Select("BaudRate1", "115200");
        frame.Click("Open");
        ready = frame.serialPort.IsOpen();
    }
    // Logs in with "+++"; true once the unit greeted.
    bool LogIn() {
        frame.Click("Login");
        return WaitUntil([&] { return frame.loggedIn.load(); }, 3000);
    }
    // True once the queue is empty and no answer is awaited.
    bool Idle() { return frame.jobQueue.Size() == 0 && frame.pendingJobType == JobType::None; }
    bool AddFault(const char* fault) { return host.AddFault(fault, &error); }

    enginetest::RecordingDialogs dialogs;
    ui::ScopedDialogs scopedDialogs{&dialogs};
    sim::VirtualUnitHost host;
    RecordingFrame frame;
    std::string error;
    bool ready = false;
};

sim::UnitOptions Starting(sim::UnitStart start) {
    sim::UnitOptions options;
    options.start = start;
    return options;
}

TEST(EndToEnd, AnswersThePromptUntilTheCommandList) {
    sim::UnitOptions options;
    options.promptPeriod = 200ms;  // prompts come faster than the answers once it has prompted
    options.promptWindow = 3s;
    Session s(options);
    ASSERT_TRUE(s.ready) << s.error;
    EXPECT_EQ(s.frame.TimerInterval(kPromptTimer), 300);
    ASSERT_TRUE(WaitUntil([&] { return s.frame.loggedIn.load(); }, 3000)) << s.frame.log;
    // The first prompt slowed the answers to 500 ms; the command list stopped them.
    const std::vector<int>& periods = s.frame.promptTimerAfterReceive;
    ASSERT_FALSE(periods.empty());
    EXPECT_NE(std::find(periods.begin(), periods.end(), 500), periods.end());
    EXPECT_EQ(periods.back(), -1);
    EXPECT_EQ(s.host.Mode(), sim::UnitMode::Configuration);
    EXPECT_EQ(s.frame.Control("DeviceState")->GetText(), enginetest::kLoginOnLabel);
    EXPECT_FALSE(s.frame.Control("Login")->IsEnabled());
    EXPECT_TRUE(s.frame.Control("Load")->IsEnabled());
    EXPECT_NE(s.frame.log.find("'s' key"), std::string::npos);
}

struct LoginCase {
    const char* what;
    const char* fault;
    bool loggedIn;
};

TEST(EndToEnd, LoginWithPlusSigns) {
    const LoginCase cases[] = {
        {"greeted", nullptr, true},
        {"refused", "error@+++", false},
    };
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.what);
        Session s(Starting(sim::UnitStart::Working));
        ASSERT_TRUE(s.ready) << s.error;
        if (c.fault) {
            ASSERT_TRUE(s.AddFault(c.fault)) << s.error;
        }
        s.frame.Click("Login");
        ASSERT_TRUE(WaitUntil([&] { return s.frame.pendingJobType == JobType::None; }, 3000));
        QCoreApplication::processEvents();
        EXPECT_EQ(s.frame.loggedIn, c.loggedIn);
        EXPECT_NE(s.frame.log.find(Sent("+++\r\n")), std::string::npos);
        EXPECT_NE(s.frame.log.find(c.loggedIn ? "enter setting!" : "ERROR"), std::string::npos);
        EXPECT_EQ(s.frame.TimerInterval(kPromptTimer), -1);
    }
}

TEST(EndToEnd, SettingTimeoutLogsOut) {
    sim::UnitOptions options = Starting(sim::UnitStart::Working);
    options.inactivityTimeout = 800ms;
    Session s(options);
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.LogIn());
    ASSERT_TRUE(WaitUntil([&] { return !s.frame.loggedIn; }, 3000));
    EXPECT_EQ(s.frame.Control("DeviceState")->GetText(), enginetest::kLoginOffLabel);
    EXPECT_TRUE(s.frame.Control("Login")->IsEnabled());
    EXPECT_FALSE(s.frame.Control("Load")->IsEnabled());
}

TEST(EndToEnd, EveryButtonWritesItsCommandOneAtATime) {
    Session s(Starting(sim::UnitStart::Configuration));
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.LogIn());
    // Logged in and idle: the buttons were enabled once already.
    ASSERT_TRUE(WaitUntil([&] { return s.frame.Count({kMsgCommandState, 1, 2}) == 1; }, 2000));
    const std::size_t blocksBefore = s.frame.loadEnabledOnReceive.size();
    s.frame.messages.clear();
    for (const char* button :
         {"GetVer", "CPIN", "CSQ", "READFILELOG", "SetTime", "AT+CGMR", "Load", "RestoreFactory"}) {
        s.frame.Click(button);
    }
    // The factory restore's OK adds a read of the restored values.
    const std::vector<std::string> written = {
        "At+VER\r\n",  "\r\nAt+CPIN?\r\n", "At+CSQ\r\n",         "at+READFILELOG\r\n", "AT+EXCCLK=",
        "AT+CGMR\r\n", "\r\nAT+SHOW\r\n",  "\r\nAT+FACTORY\r\n", "\r\nAT+SHOW\r\n"};
    ASSERT_TRUE(WaitUntil(
        [&] {
            return s.host.ReceivedCommands().size() >= written.size() && s.Idle() &&
                   s.frame.Count({kMsgCommandState, 1, 2}) == 1;
        },
        15000))
        << s.frame.log;
    enginetest::RunEventsFor(300);

    const std::vector<std::string> received = s.host.ReceivedCommands();
    ASSERT_EQ(received.size(), written.size());
    const std::string& log = s.frame.log;
    std::size_t previous = 0;
    std::uint64_t bytesWritten = 3;  // "+++"

    for (std::size_t i = 0; i < written.size(); ++i) {
        SCOPED_TRACE(written[i]);
        std::string command = written[i];
        if (command == "AT+EXCCLK=") {
            EXPECT_TRUE(std::regex_match(received[i],
                                         std::regex("AT\\+EXCCLK=\"[0-9/]{10},[0-9:]{8}\",5")));
            command = received[i] + "\r\n";
        } else {
            std::string line = command;
            std::erase(line, '\r');
            std::erase(line, '\n');
            EXPECT_EQ(received[i], line);
        }
        // Each command goes out only after the answer to the one before it was complete.
        const std::size_t at = log.find(Sent(command), previous);
        ASSERT_NE(at, std::string::npos) << log;
        if (i > 0) {
            const std::string between = log.substr(previous, at - previous);
            EXPECT_TRUE(HasOkLine(between) || HasErrorLine(between)) << between;
        }
        previous = at + 1;
        bytesWritten += command.size();
    }
    // Exactly the commands' bytes went out: no terminators, no "s", nothing twice.
    EXPECT_EQ(s.host.Counters().bytesIn, bytesWritten);
    for (const char* answer : {"+VER:", "+CPIN: READY", "+CSQ: 23,99", "[File log]"}) {
        EXPECT_NE(log.find(answer), std::string::npos) << answer;
    }
    EXPECT_EQ(Occurrences(log, enginetest::kFactorySuccessLabel), 1);
    EXPECT_EQ(s.frame.parsed.size(), 2u);
    EXPECT_TRUE(s.frame.Control("Load")->IsEnabled());

    // Busy for every job, and enabled again once when the queue ran dry.
    std::vector<Message> states = s.frame.Of(kMsgCommandState);
    ASSERT_EQ(states.size(), written.size() + 1);
    for (std::size_t i = 0; i < written.size(); ++i)
        EXPECT_EQ(states[i], (Message{kMsgCommandState, 0, 2}));
    EXPECT_EQ(states.back(), (Message{kMsgCommandState, 1, 2}));
    for (std::size_t i = blocksBefore; i < s.frame.loadEnabledOnReceive.size(); ++i) {
        EXPECT_FALSE(s.frame.loadEnabledOnReceive[i]) << "block " << i;
    }

    s.frame.Click("quit");
    ASSERT_TRUE(
        WaitUntil([&] { return s.host.Mode() == sim::UnitMode::Working && s.Idle(); }, 3000));
    enginetest::RunEventsFor(300);
    EXPECT_EQ(s.host.ReceivedCommands().back(), "at+quit");
    EXPECT_FALSE(s.frame.loggedIn);
    EXPECT_FALSE(s.frame.Control("Load")->IsEnabled());
    EXPECT_EQ(s.frame.Count({kMsgCommandState, 1, 2}), 1);
}

struct WriteCase {
    const char* command;
    const char* key;
    const char* value;
    const char* label;
    const char* storedAfter;
};

TEST(EndToEnd, WriteStoresOnlyConfirmedValues) {
    const WriteCase cases[] = {
        {"AT+DNSSVR=10.0.0.53\r\n", "Dns Server's Ip", "10.0.0.53", enginetest::kSaveSuccessLabel,
         "10.0.0.53"},
        {"AT+DNSSVR=999.1.1.1\r\n", "Dns Server's Ip", "999.1.1.1", enginetest::kSaveErrorLabel,
         "10.0.0.53"},
    };
    Session s(Starting(sim::UnitStart::Configuration));
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.LogIn());
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.command);
        s.frame.log.clear();
        s.frame.jobQueue.PushJob({JobType::WriteParameter, c.command, c.key, c.value});
        ASSERT_TRUE(
            WaitUntil([&] { return Occurrences(s.frame.log, c.label) == 1 && s.Idle(); }, 3000))
            << s.frame.log;
        EXPECT_EQ(s.frame.parameterTable.FindParameter(c.key)->value, c.storedAfter);
        EXPECT_EQ(s.host.StoredValue("AT+DNSSVR"), std::optional<std::string>(c.storedAfter));
    }
}

TEST(EndToEnd, ValueHoldingOkDoesNotEndTheListing) {
    Session s(Starting(sim::UnitStart::Configuration));
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.host.SetStoredValue("AT+APN", "BOOK"));
    ASSERT_TRUE(s.LogIn());
    s.frame.Click("Load");
    ASSERT_TRUE(WaitUntil([&] { return s.frame.parsed.size() == 1; }, 5000)) << s.frame.log;
    const std::string& listing = s.frame.parsed[0];
    EXPECT_NE(listing.find("Access Point Name:BOOK"), std::string::npos);
    ASSERT_GE(listing.size(), 6u);
    EXPECT_EQ(listing.substr(listing.size() - 6), "\r\nOK\r\n");
    EXPECT_EQ(Occurrences(listing, "\r\nOK\r\n"), 1);
}

// The late OK completes its own write (stored, marked late), never the next one.
TEST(EndToEnd, LateAnswerDoesNotCompleteTheNextWrite) {
    Session s(Starting(sim::UnitStart::Configuration));
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.LogIn());
    // Later than the write's 5 s time-out, within the grace the next command waits.
    ASSERT_TRUE(s.AddFault("delay=5600@AT+IPAD/1")) << s.error;
    ParameterTable& table = s.frame.parameterTable;
    const int idleBefore = s.frame.Count({kMsgCommandState, 1, 2});
    s.frame.jobQueue.PushJob(
        {JobType::WriteParameter, "AT+IPAD=10.0.0.7\r\n", "Server's Ip", "10.0.0.7"});
    // The unit refuses this one: the late OK must not pass for its answer.
    s.frame.jobQueue.PushJob(
        {JobType::WriteParameter, "AT+DNSSVR=999.1.1.1\r\n", "Dns Server's Ip", "999.1.1.1"});
    ASSERT_TRUE(WaitUntil(
        [&] { return Occurrences(s.frame.log, enginetest::kSaveErrorLabel) == 1 && s.Idle(); },
        10000))
        << s.frame.log;
    // The read-back queued behind the refused write is done when the worker finds the queue
    // empty: the listing answered is not yet the listing taken in.
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::vector<std::string> received = s.host.ReceivedCommands();
            return !received.empty() && received.back() == "AT+SHOW" && s.Idle() &&
                   s.frame.Count({kMsgCommandState, 1, 2}) > idleBefore;
        },
        5000))
        << s.frame.log;
    const std::string& log = s.frame.log;
    EXPECT_EQ(Occurrences(log, enginetest::kOutTimeLabel), 1);
    EXPECT_EQ(Occurrences(log, std::string(enginetest::kLateLabel) +
                                   " Server's Ip: " + enginetest::kSaveSuccessLabel),
              1);
    EXPECT_EQ(table.FindParameter("Server's Ip")->value, "10.0.0.7");
    // The refused value is never stored; the read-back behind the confirmed write shows what
    // the unit holds.
    EXPECT_EQ(std::optional<std::string>(table.FindParameter("Dns Server's Ip")->value),
              s.host.StoredValue("AT+DNSSVR"));
    EXPECT_NE(table.FindParameter("Dns Server's Ip")->value, "999.1.1.1");
    // The late OK came, and was logged, before the second command was written.
    const std::size_t second = log.find(Sent("AT+DNSSVR=999.1.1.1\r\n"));
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(Occurrences(log.substr(0, second), "\r\nOK\r\n"), 1);
    EXPECT_EQ(s.host.StoredValue("AT+IPAD"), std::optional<std::string>("10.0.0.7"));
}

TEST(EndToEnd, NetworkModeIsShownOnFocus) {
    Session s(Starting(sim::UnitStart::Configuration));
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.LogIn());
    s.frame.Notify("FINDNETMODE", "setfocus");
    ASSERT_TRUE(
        WaitUntil([&] { return s.frame.Control("FINDNETMODE")->GetText() == " LTE"; }, 3000))
        << s.frame.log;
    EXPECT_NE(s.frame.log.find(Sent("AT+FINDNETMODE\r\n")), std::string::npos);
}

}  // namespace
