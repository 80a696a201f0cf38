// A port on a network serial server added through the port list's own entry: checked as typed,
// listed after the machine's ports and chosen, remembered in config.ini for the next start, and
// taken off the list again.
#include "app/NetworkPortEntry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "settings/NetworkPorts.h"
#include "tests/frame/EngineTestSupport.h"
#include "tests/support/FakeSysfs.h"
#include "tests/support/TestPaths.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"

namespace {

namespace fs = std::filesystem;
using enginetest::RecordingFrame;
using Ports = std::vector<std::string>;

constexpr const char* kAdd = "Add network port…";
constexpr const char* kRemove = "Remove network port…";

class NetworkPortEntry : public ::testing::Test {
  protected:
    void SetUp() override {
        sys.AddPort("ttyUSB0", "usb1/1-1/1-1:1.0/ttyUSB0", "ftdi_sio");
        testpaths::WriteFile(local, "");
        chmod(local.c_str(), 0666);
        roots.sysRoot = sys.Tty().string();
        roots.devRoot = dev;
        roots.ownership = {dev, dev};
        CPaintManagerUI::SetInstancePath(instance);
        testpaths::WriteFile(config, "[Folders]\nLoadCfg=/home/张三/配置\n");
        Start();
    }
    void TearDown() override { CPaintManagerUI::SetInstancePath(savedInstance); }

    // A new start of the program: a new frame, given what config.ini remembers.
    void Start() {
        frame.reset();
        frame = std::make_unique<RecordingFrame>(testpaths::SourceDir() + "/skin/ConifgENRes");
        frame->portRoots = roots;
        LoadRememberedNetworkPorts(*frame, config);
        ASSERT_TRUE(frame->Open());
        enginetest::RunEventsFor(20);
    }
    CComboUI& List() { return *dynamic_cast<CComboUI*>(frame->Control("SerialPort")); }
    Ports Items() {
        Ports items;
        for (int i = 0; i < List().GetCount(); ++i)
            items.push_back(List().GetItemAt(i)->GetText().str());
        return items;
    }
    void Pick(const std::string& entry) {
        for (int i = 0; i < List().GetCount(); ++i) {
            if (List().GetItemAt(i)->GetText().str() == entry) List().SelectItem(i);
        }
        enginetest::RunEventsFor(20);
    }

    const CStdString savedInstance = CPaintManagerUI::GetInstancePath();
    const std::string instance = testpaths::TempDir() + "/";
    const std::string config = instance + "config.ini";
    testsupport::FakeSysfs sys;
    const std::string dev = testpaths::TempDir();
    const std::string local = dev + "/ttyUSB0";
    PortRoots roots;
    enginetest::RecordingDialogs dialogs;
    ui::ScopedDialogs scopedDialogs{&dialogs};
    std::unique_ptr<RecordingFrame> frame;
};

TEST_F(NetworkPortEntry, IsAddedChosenRememberedAndRemoved) {
    ASSERT_EQ(Items(), (Ports{local, kAdd}));
    ASSERT_EQ(List().GetText().str(), local);
    const std::string box = "rfc2217://box-7:4001";
    const std::string raw = "tcp://10.0.0.5:4002";
    const struct {
        const char* what;
        const char* entry;  // null: the program starts again
        Ports typed;        // the answers to the address asked for; then it is cancelled
        int removed;        // the network port chosen for removal; -1: cancelled
        std::size_t boxes;  // the messages about a mistyped address
        Ports network;      // the network ports listed after the machine's own, and remembered
        std::string chosen;
    } steps[] = {
        {"mistyped, then corrected", kAdd, {"box:0", " Box-7:04001 "}, -1, 1, {box}, box},
        {"a raw TCP port", kAdd, {raw}, -1, 0, {raw, box}, raw},
        {"adding cancelled", kAdd, {}, -1, 0, {raw, box}, raw},
        {"added again: the newest", kAdd, {"BOX-7:4001"}, -1, 0, {box, raw}, box},
        {"a new start", nullptr, {}, -1, 0, {box, raw}, local},
        {"removal cancelled", kRemove, {}, -1, 0, {box, raw}, local},
        {"removed", kRemove, {}, 1, 0, {box}, local},
        {"another new start", nullptr, {}, -1, 0, {box}, local},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        dialogs.boxes.clear();
        dialogs.textsAsked.clear();
        dialogs.textsToType = step.typed;
        dialogs.chooseIndex = step.removed;
        if (step.entry) {
            Pick(step.entry);
        } else {
            Start();
        }
        Ports items{local};
        items.insert(items.end(), step.network.begin(), step.network.end());
        items.push_back(kAdd);
        items.push_back(kRemove);
        EXPECT_EQ(Items(), items);
        EXPECT_EQ(List().GetText().str(), step.chosen);
        EXPECT_EQ(ReadNetworkPorts(config), step.network);
        ASSERT_EQ(dialogs.boxes.size(), step.boxes);
        if (step.boxes) {
            EXPECT_NE(dialogs.boxes[0].text.find("\"box:0\""), std::string::npos);
            // A mistyped address comes back as typed, to be corrected.
            EXPECT_EQ(dialogs.textsAsked, (Ports{"", "box:0"}));
        }
    }
    dialogs.chooseIndex = 0;
    Pick(kRemove);
    EXPECT_EQ(Items(), (Ports{local, kAdd}));
    EXPECT_TRUE(ReadNetworkPorts(config).empty());
    EXPECT_NE(testpaths::ReadFile(config).find("LoadCfg=/home/张三/配置\n"), std::string::npos);
}

}  // namespace
