// Opening and closing the port from the form, against the virtual unit's pseudo-terminal.
#include "app/Connect.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <regex>
#include <string>
#include <vector>

#include "engine/FrameTimers.h"
#include "sim/VirtualUnitHost.h"
#include "tests/frame/EngineTestSupport.h"
#include "tests/support/TestPaths.h"
#include "ui/Controls.h"

namespace {

using enginetest::Message;
using enginetest::RecordingFrame;

// A virtual unit that is already working: it says nothing unless spoken to.
class QuietUnit {
  public:
    QuietUnit() : host(Options()) { started = host.Start(&error); }
    static sim::UnitOptions Options() {
        sim::UnitOptions options;
        options.start = sim::UnitStart::Working;
        return options;
    }
    sim::VirtualUnitHost host;
    std::string error;
    bool started = false;
};

class ConnectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(unit.started) << unit.error;
        frame.extraPorts = {unit.host.DevicePath()};
        ASSERT_TRUE(frame.Open());
        QCoreApplication::processEvents();
        frame.messages.clear();
        frame.log.clear();
    }
    std::string OpenButtonText() { return frame.Control("Open")->GetText().str(); }

    enginetest::RecordingDialogs dialogs;
    ui::ScopedDialogs scopedDialogs{&dialogs};
    QuietUnit unit;
    RecordingFrame frame;
};

TEST_F(ConnectTest, OpensThenClosesWithEveryStep) {
    EXPECT_EQ(frame.Control("SerialPort")->GetText().str(), unit.host.DevicePath());
    frame.Click("Open");
    ASSERT_TRUE(frame.serialPort.IsOpen()) << frame.log;
    EXPECT_EQ(OpenButtonText(), enginetest::kCloseLabel);
    EXPECT_EQ(frame.TimerInterval(kPromptTimer), 300);
    EXPECT_EQ(frame.pendingJobType, JobType::AwaitPrompt);
    EXPECT_EQ(frame.timeoutFactor, 1);

    for (int i = 0; i < 3; ++i) frame.jobQueue.PushJob({JobType::GetVersion, "At+VER\r\n", {}, {}});
    frame.loggedIn = true;
    frame.Click("Open");
    EXPECT_FALSE(frame.serialPort.IsOpen());
    EXPECT_EQ(OpenButtonText(), enginetest::kOpenLabel);
    EXPECT_EQ(frame.TimerInterval(kPromptTimer), -1);
    EXPECT_EQ(frame.jobQueue.Size(), 0u);
    EXPECT_FALSE(frame.loggedIn);

    QCoreApplication::processEvents();
    const std::vector<Message> expected = {{kMsgCommandState, 1, 3}, {kMsgCommandState, 0, 1}};
    EXPECT_EQ(frame.Of(kMsgCommandState), expected);
    EXPECT_EQ(frame.log, std::string(enginetest::kOpenNoticeLabel) + "\r\n" +
                             enginetest::kCloseNoticeLabel + "\r\n");
}

TEST_F(ConnectTest, TimeoutsStretchForSlowLines) {
    const struct {
        const char* baud;
        int factor;
    } cases[] = {{"9600", 1}, {"4800", 2}, {"2400", 4}, {"2400", 4}, {"1200", 8}, {"115200", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baud);
        ASSERT_TRUE(frame.Select("BaudRate1", c.baud));
        frame.timeoutFactor = 99;
        frame.Click("Open");
        ASSERT_TRUE(frame.serialPort.IsOpen());
        EXPECT_EQ(frame.timeoutFactor, c.factor);
        frame.Click("Open");
        ASSERT_FALSE(frame.serialPort.IsOpen());
    }
}

struct RefusalCase {
    const char* what;
    const char* baud;
    const char* format;
    bool portChosen;
    const char* reason;
};

TEST_F(ConnectTest, RefusesSettingsThatDescribeNoLine) {
    const RefusalCase cases[] = {
        {"baud rate not a number", "fast", "8N1", true, "\"fast\""},
        {"baud rate 0", "0", "8N1", true, "\"0\""},
        {"format too short", "9600", "8N", true, "\"8N\""},
        {"format without its digits", "9600", "N81", true, "\"N81\""},
        {"no port chosen", "9600", "8N1", false, "No serial port"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(frame.Select("BaudRate1", c.baud));
        ASSERT_TRUE(frame.Select("Checkcode", c.format));
        auto* ports = dynamic_cast<CComboUI*>(frame.Control("SerialPort"));
        ports->SelectItem(c.portChosen ? 0 : -1);
        frame.timeoutFactor = 99;
        frame.log.clear();
        frame.Click("Open");
        QCoreApplication::processEvents();
        EXPECT_FALSE(frame.serialPort.IsOpen());
        EXPECT_EQ(frame.timeoutFactor, 99);
        EXPECT_EQ(OpenButtonText(), "Open");
        EXPECT_EQ(frame.log.rfind(std::string(enginetest::kOpenErrorLabel) + "\r\n", 0), 0u)
            << frame.log;
        EXPECT_NE(frame.log.find(c.reason), std::string::npos) << frame.log;
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ConnectTest, SaysWhyAPortCannotBeOpened) {
    CSerialPort holder;
    ASSERT_TRUE(holder.OpenPort(nullptr, unit.host.DevicePath(), 9600, 'N', 8, 1, 0, 64));
    const struct {
        const char* what;
        std::string device;
        const char* reason;
    } cases[] = {
        {"missing device", "/dev/dtuconfig-no-such-port", "not found"},
        {"held by another program", unit.host.DevicePath(), "in use by another program"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto* ports = dynamic_cast<CComboUI*>(frame.Control("SerialPort"));
        ports->RemoveAll();
        ports->Add(new CListLabelElementUI(c.device));
        ports->SelectItem(0);
        frame.log.clear();
        frame.Click("Open");
        QCoreApplication::processEvents();
        EXPECT_FALSE(frame.serialPort.IsOpen());
        EXPECT_EQ(frame.log.rfind(std::string(enginetest::kOpenErrorLabel) + "\r\n", 0), 0u);
        EXPECT_NE(frame.log.find(c.reason), std::string::npos) << frame.log;
        EXPECT_EQ(frame.TimerInterval(kPromptTimer), -1);
    }
}

TEST_F(ConnectTest, LostDeviceClosesThePortOnce) {
    frame.Click("Open");
    ASSERT_TRUE(frame.serialPort.IsOpen());
    frame.loggedIn = true;
    unit.host.Unplug();
    ASSERT_TRUE(enginetest::WaitUntil([&] { return !frame.serialPort.IsOpen(); }, 3000));
    const double cpuBefore = enginetest::ProcessCpuMs();
    enginetest::RunEventsFor(500);
    // A port that spun on its hang-up would burn the whole half second.
    EXPECT_LT(enginetest::ProcessCpuMs() - cpuBefore, 250.0);
    EXPECT_EQ(enginetest::Occurrences(frame.log, enginetest::kLostNoticeLabel), 1) << frame.log;
    EXPECT_EQ(enginetest::Occurrences(frame.log, enginetest::kCloseNoticeLabel), 0);
    EXPECT_EQ(frame.Count({kMsgCommandState, 0, 1}), 1);
    EXPECT_EQ(OpenButtonText(), enginetest::kOpenLabel);
    EXPECT_EQ(frame.TimerInterval(kPromptTimer), -1);
    EXPECT_FALSE(frame.loggedIn);
}

// Every failure to connect, logged on the Chinese skin: the words come from its Language.ini,
// so what is left once the device path and the error's symbolic name are taken out holds no
// English sentence.
TEST(ConnectFailures, AreLoggedInTheSkinsLanguage) {
    enginetest::RecordingDialogs dialogs;
    ui::ScopedDialogs scopedDialogs(&dialogs);
    QuietUnit unit;
    ASSERT_TRUE(unit.started) << unit.error;
    RecordingFrame frame(testpaths::SourceDir() + "/skin/ConifgRes");
    frame.extraPorts = {unit.host.DevicePath()};
    ASSERT_TRUE(frame.Open());
    auto* ports = dynamic_cast<CComboUI*>(frame.Control("SerialPort"));
    auto* formats = dynamic_cast<CComboUI*>(frame.Control("Checkcode"));
    auto* bauds = dynamic_cast<CComboUI*>(frame.Control("BaudRate1"));
    ASSERT_TRUE(ports && formats && bauds);
    formats->Add(new CListLabelElementUI("5N2"));  // a frame the line refuses
    bauds->Add(new CListLabelElementUI("0"));
    CSerialPort holder;
    const struct {
        const char* what;
        std::string device;  // "" for no port chosen
        const char* baud;
        const char* format;
        bool held;
    } cases[] = {
        {"no port chosen", "", "9600", "8N1", false},
        {"baud rate 0", unit.host.DevicePath(), "0", "8N1", false},
        {"missing device", "/dev/dtuconfig-no-such-port", "9600", "8N1", false},
        {"held by another port", unit.host.DevicePath(), "9600", "8N1", true},
        {"refused frame", unit.host.DevicePath(), "9600", "5N2", false},
    };
    const std::regex englishWords("[A-Za-z]{2,}[ ,.;:]+[A-Za-z]{2,}");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.held) {
            ASSERT_TRUE(holder.OpenPort(nullptr, c.device, 9600, 'N', 8, 1, 0, 64));
        }
        ports->RemoveAll();
        if (!c.device.empty()) ports->Add(new CListLabelElementUI(c.device));
        ports->SelectItem(c.device.empty() ? -1 : 0);
        ASSERT_TRUE(frame.Select("BaudRate1", c.baud));
        ASSERT_TRUE(frame.Select("Checkcode", c.format));
        frame.log.clear();
        frame.Click("Open");
        QCoreApplication::processEvents();
        EXPECT_FALSE(frame.serialPort.IsOpen());
        std::string log = frame.log;
        if (!c.device.empty()) {
            for (size_t at; (at = log.find(c.device)) != std::string::npos;)
                log.erase(at, c.device.size());
        }
        log = std::regex_replace(log, std::regex(R"(\[E[A-Z0-9]+\])"), "");
        EXPECT_GT(log.size(), 20u) << "no reason given: " << frame.log;
        EXPECT_FALSE(std::regex_search(log, englishWords)) << frame.log;
        holder.Close();
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(PortList, ListsTheExtraPortsFirstAndOnce) {
    RecordingFrame frame;
    frame.extraPorts = {"/dev/pts/dtu-a", "/dev/pts/dtu-b", "/dev/pts/dtu-a"};
    ASSERT_TRUE(frame.Open());
    auto* ports = dynamic_cast<CComboUI*>(frame.Control("SerialPort"));
    ASSERT_GE(ports->GetCount(), 2);
    EXPECT_EQ(ports->GetItemAt(0)->GetText(), "/dev/pts/dtu-a");
    EXPECT_EQ(ports->GetItemAt(1)->GetText(), "/dev/pts/dtu-b");
    int copies = 0;
    for (int i = 0; i < ports->GetCount(); ++i)
        copies += ports->GetItemAt(i)->GetText() == "/dev/pts/dtu-a";
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(ports->GetCurSel(), 0);
    EXPECT_EQ(FillFramePortList(frame), 1);
}

}  // namespace
