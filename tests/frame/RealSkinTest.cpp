// The engine on the program's own skin folders: every control it looks up by name is there,
// and a read from the virtual unit reaches the form.
#include <gtest/gtest.h>

#include <string>

#include "sim/VirtualUnitHost.h"
#include "tests/frame/EngineTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using enginetest::RecordingFrame;
using enginetest::WaitUntil;

// The names the connection, the command state, the dispatch and the network-mode answer use.
// clang-format off
constexpr const char* kEngineControls[] = {
    "closebtn", "maxbtn", "restorebtn", "minbtn", "richedit", "SerialPort", "BaudRate1",
    "Checkcode", "Open", "Clear", "Load", "Save", "RestoreFactory", "Login", "SaveToFile",
    "LoadFromFile", "SetTime", "READFILELOG", "CPIN", "CSQ", "GetVer", "quit", "TabLeft",
    "TabRight", "DeviceState", "helpGroupBox", "switch", "FINDNETMODE", "Language",
    "Server's Ip", "Secondary Server's Ip", "Server2's Ip", "Server3's Ip", "Server4's Ip",
    "Server5's Ip", "COM2Zigbee", "Zigbee2COM", "COM2GPS", "GPS2COM", "Zigbee2GPRS",
    "GPRS2Zigbee", "COM2Lora", "Lora2COM", "Lora2GPRS", "GPRS2Lora", "GPS2GPRS", "GPRS2GPS",
    "GPRS2COM", "COM2GPRS", "Protocolmodel", "DeviceModel", "RegistrationAndHeart",
    "Transferprotocol", "ActivateMethod", "Debug Level", "ThePPPauthentication", "LCP ECHO",
    "EXFUN", "dtu is connect to dtu manage platform", "DIO1 workmode", "DIO2 workmode",
    "DIO3 workmode", "I/O selection", "I/O1 control", "I/O2 control", "I/O3 control",
    "IOactivationmethods", "DTU SMS configure fun", "1The DIO1 data format",
    "The DIO2 data format", "1The DIO3 data format", "LORA Mode", "I/O2 Mode", "I/O1 Mode",
};
// clang-format on

TEST(RealSkin, HasEveryControlTheEngineUses) {
    for (const char* folder : {"ConifgENRes", "ConifgRes"}) {
        SCOPED_TRACE(folder);
        RecordingFrame frame(testpaths::SourceDir() + "/skin/" + folder);
        ASSERT_TRUE(frame.Open());
        for (const char* name : kEngineControls) {
            EXPECT_NE(frame.Control(name), nullptr) << name;
        }
    }
}

TEST(RealSkin, ReadingTheUnitFillsTheForm) {
    enginetest::RecordingDialogs dialogs;
    ui::ScopedDialogs scopedDialogs(&dialogs);
    sim::UnitOptions options;
    options.start = sim::UnitStart::Working;
    sim::VirtualUnitHost host(options);
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    ASSERT_TRUE(host.SetStoredValue("AT+IPAD", "198.51.100.23"));

    RecordingFrame frame(testpaths::SourceDir() + "/skin/ConifgENRes");
    frame.runParse = true;
    frame.extraPorts = {host.DevicePath()};
    ASSERT_TRUE(frame.Open());
    ASSERT_TRUE(frame.StartWorker());
    ASSERT_TRUE(frame.Select("BaudRate1", "115200"));
    frame.Click("Open");
    ASSERT_TRUE(frame.serialPort.IsOpen()) << frame.log;
    frame.Click("Login");
    ASSERT_TRUE(WaitUntil([&] { return frame.loggedIn.load(); }, 3000)) << frame.log;
    frame.Click("Load");
    ASSERT_TRUE(WaitUntil([&] { return frame.parsed.size() == 1; }, 5000)) << frame.log;
    EXPECT_EQ(frame.Control("Server's Ip")->GetText(), "198.51.100.23");
    EXPECT_EQ(frame.parameterTable.FindParameter("Server's Ip")->value, "198.51.100.23");
    EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
