// The command buttons by state message, the device-state label, and the network-mode answer.
#include "app/CommandState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/frame/EngineTestSupport.h"
#include "ui/Control.h"

namespace {

using enginetest::RecordingFrame;

// The controls whose state the cases check, in this order.
const char* const kChecked[] = {"Load",  "Save",       "GetVer",    "quit",
                                "Login", "SerialPort", "BaudRate1", "Checkcode"};

struct StateCase {
    const char* what;
    WPARAM wParam;
    LPARAM lParam;
    // Expected enabled state of each kChecked control, '1' or '0', starting from all enabled
    // (or all disabled when startEnabled is false).
    bool startEnabled;
    const char* enabledAfter;
    const char* deviceState;  // null: left as it was
    bool helpVisible;
};

TEST(CommandState, EachGroupSetsItsControls) {
    const StateCase cases[] = {
        {"port closed", 0, 1, true, "00000111", enginetest::kLoginOffLabel, true},
        {"port opened: only Login and the settings", 1, 3, false, "00001000", nullptr, true},
        {"logged in", 1, 0, false, "11110000", enginetest::kLoginOnLabel, false},
        {"logged out", 0, 0, true, "00001111", enginetest::kLoginOffLabel, true},
        {"busy leaves Login and the settings", 0, 2, true, "00001111", nullptr, true},
        {"idle notice while logged out: ignored", 1, 2, false, "00000000", nullptr, true},
        {"any other wParam disables", 7, 0, true, "00001111", enginetest::kLoginOffLabel, true},
        {"unknown group does nothing", 1, 4, false, "00000000", nullptr, true},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingFrame frame;
        ASSERT_TRUE(frame.Open());
        for (const char* name : kChecked) frame.Control(name)->SetEnabled(c.startEnabled);
        frame.Control("DeviceState")->SetText("unchanged");
        ShowCommandState(frame, c.wParam, c.lParam);
        std::string enabled;
        for (const char* name : kChecked) enabled += frame.Control(name)->IsEnabled() ? '1' : '0';
        EXPECT_EQ(enabled, c.enabledAfter);
        EXPECT_EQ(frame.Control("DeviceState")->GetText(),
                  c.deviceState ? c.deviceState : "unchanged");
        EXPECT_EQ(frame.Control("helpGroupBox")->IsOwnVisible(), c.helpVisible);
        if (c.deviceState) {
            EXPECT_EQ(frame.loggedIn, std::strcmp(c.deviceState, enginetest::kLoginOnLabel) == 0);
        }
    }
}

TEST(CommandState, HelpStaysHiddenOnceLoggedIn) {
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    ShowCommandState(frame, 1, 0);
    ShowCommandState(frame, 0, 0);
    ShowCommandState(frame, 0, 1);
    EXPECT_FALSE(frame.Control("helpGroupBox")->IsOwnVisible());
    EXPECT_FALSE(frame.loggedIn);
}

// The help the first login hid comes back with the caption's button and is the engineer's to
// show or hide from then on.
TEST(CommandState, TheHelpButtonShowsAndHidesTheHelpAfterTheFirstLogin) {
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    struct Step {
        const char* what;
        std::function<void()> act;
        bool visible;
    };
    const Step steps[] = {
        {"first login", [&] { ShowCommandState(frame, 1, 0); }, false},
        {"the button", [&] { frame.Click("helpbtn"); }, true},
        {"logged out", [&] { ShowCommandState(frame, 0, 0); }, true},
        {"logged in again", [&] { ShowCommandState(frame, 1, 0); }, true},
        {"the button again", [&] { frame.Click("helpbtn"); }, false},
        {"and again", [&] { frame.Click("helpbtn"); }, true},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(frame.Control("helpGroupBox")->IsOwnVisible(), step.visible) << step.what;
    }
}

struct NetModeCase {
    const char* what;
    std::string received;
    std::string shown;
};

TEST(CommandState, ShowsTheNetworkModeFromItsAnswer) {
    const std::string longValue(45, 'M');
    const NetModeCase cases[] = {
        {"mode with its leading space", "\r\n+FINDNETMODE: LTE\r\n\r\nOK\r\n", " LTE"},
        {"empty mode", "\r\n+FINDNETMODE:\r\n\r\nOK\r\n", ""},
        {"no tag: unchanged", "\r\n+CSQ: 23,99\r\n\r\nOK\r\n", "before"},
        {"no line end after the tag: unchanged", "\r\n+FINDNETMODE: LTE", "before"},
        {"answer over 100 characters: unchanged",
         "\r\n+FINDNETMODE: LTE\r\n" + std::string(90, ' ') + "\r\nOK\r\n", "before"},
        {"value of 45 characters cut to 39", "\r\n+FINDNETMODE:" + longValue + "\r\nOK\r\n",
         longValue.substr(0, 39)},
    };
    RecordingFrame frame;
    ASSERT_TRUE(frame.Open());
    for (const NetModeCase& c : cases) {
        SCOPED_TRACE(c.what);
        frame.Control("FINDNETMODE")->SetText("before");
        std::memcpy(frame.rxBuffer, c.received.data(), c.received.size());
        frame.rxLength = static_cast<int>(c.received.size());
        frame.rxBuffer[frame.rxLength] = '\0';
        ShowNetMode(frame);
        EXPECT_EQ(frame.Control("FINDNETMODE")->GetText().str(), c.shown);
    }
}

}  // namespace
