// Writing a unit that speaks differently from the form, end to end over a pseudo-terminal: values
// its lists lack, a number past a list, GBK texts. Only what the engineer changed goes out, and
// nothing at all before the unit was read.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "form/ChangedWrites.h"
#include "form/ConfigFiles.h"
#include "form/DeviceWrite.h"
#include "form/TabStrip.h"
#include "form/WriteReview.h"
#include "params/ValueCheck.h"
#include "settings/Labels.h"
#include "tests/form/UnitSession.h"

namespace {

using namespace formtest;

sim::UnitOptions HardUnit() {
    sim::UnitOptions options = Session::Options(sim::UnitVariant::None);
    options.hardValues = true;
    return options;
}

constexpr int kUnitItem = -1;

// Selects the list's item at `index`, or its unit's own item (kUnitItem), as a user picks it.
void Pick(FormWindow& frame, const char* list, int index) {
    CComboUI* combo = Combo(frame, list);
    ASSERT_NE(combo, nullptr) << list;
    if (index == kUnitItem) index = combo->GetCount() - 1;
    ASSERT_TRUE(combo->SelectItem(index)) << list << " " << index;
}

TEST(SafeWrite, AHardUnitShowsItsOwnValuesAndSaveWritesOnlyWhatWasChanged) {
    for (const char* skin : {"ConifgENRes", "ConifgRes"}) {
        SCOPED_TRACE(skin);
        Session s(HardUnit(), skin);
        ASSERT_TRUE(s.ready) << s.error;

        // The lists that cannot place the unit's value show it as the unit's, selected.
        const std::pair<const char*, const char*> ownValues[] = {
            {"DIO1 interface", "RS232"}, {"Dtumanagetransferprotocol", "1"}, {"Debug Level", "7"}};
        for (const auto& [list, value] : ownValues) {
            CComboUI* combo = Combo(s.frame, list);
            ASSERT_NE(combo, nullptr) << list;
            const CListLabelElementUI* item = combo->GetItemAt(combo->GetCurSel());
            ASSERT_TRUE(item && item->IsUnitValue()) << list;
            EXPECT_EQ(item->UnitValue(), value) << list;
            EXPECT_EQ(item->GetText().str(),
                      std::string(value) + " " + LabelText("Notify", "UnitValueItem").str());
        }
        ASSERT_TRUE(IsOnScreen(s.frame, "Debug Level"));
        ASSERT_TRUE(IsOnScreen(s.frame, "Server's Ip"));

        std::map<std::string, std::string> expected = s.UnitValues();
        struct Step {
            const char* what;
            std::function<void()> edit;
            std::vector<std::string> written;
        };
        const Step steps[] = {
            {"no edit", [] {}, {}},
            {"a list picked away and back",
             [&] { Pick(s.frame, "Debug Level", 0), Pick(s.frame, "Debug Level", kUnitItem); },
             {}},
            {"one field",
             [&] { Control(s.frame, "Server's Ip")->SetText("10.9.8.7"); },
             {"AT+IPAD=10.9.8.7"}},
            {"a list picked", [&] { Pick(s.frame, "Debug Level", 1); }, {"AT+DEBUG=1"}},
            {"nothing more", [] {}, {}},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            step.edit();
            EXPECT_EQ(s.Save(), step.written) << s.frame.logView->GetText().str();
        }
        expected["Server's Ip:"] = "10.9.8.7";
        expected["Debug Level :"] = "1";
        EXPECT_EQ(s.UnitValues(), expected);
    }
}

TEST(SafeWrite, SaveBeforeAReadWritesNothingAndSaysWhy) {
    Session s(Session::Options(sim::UnitVariant::None), "ConifgENRes", false);
    ASSERT_TRUE(s.ready) << s.error;
    Control(s.frame, "Server's Ip")->SetText("10.9.8.7");
    EXPECT_EQ(s.Save(), std::vector<std::string>{});
    EXPECT_TRUE(WaitUntil(
        [&] {
            return s.frame.logView->GetText().Find(LabelText("Notify", "NoReadNotice").str()) != -1;
        },
        5000))
        << s.frame.logView->GetText().str();

    ASSERT_TRUE(s.Read());
    Control(s.frame, "Server's Ip")->SetText("10.9.8.7");
    EXPECT_EQ(s.Save(), std::vector<std::string>{"AT+IPAD=10.9.8.7"});
}

// dtuconfig FILE.cfg: the file is shown with nothing written; the first Save applies it as
// LoadFromFile would, writing only where the unit differs from the file.
TEST(SafeWrite, AFileOpenedAtStartIsWrittenOnlyWhenTheEngineerSaves) {
    const std::string file = testpaths::TempDir() + "/unit.cfg";
    std::string ip;
    {
        Session backup(Session::Options(sim::UnitVariant::None));
        ASSERT_TRUE(backup.ready) << backup.error;
        backup.dialogs.pathToGive = file;
        ASSERT_TRUE(backup.Settle([&] { SaveToFile(backup.frame); }));
        ip = *backup.host.StoredValue("AT+IPAD");
    }
    Session s(Session::Options(sim::UnitVariant::None), "ConifgENRes", false);
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_NE(ip, "10.9.8.7");
    ASSERT_TRUE(s.host.SetStoredValue("AT+IPAD", "10.9.8.7"));
    const std::size_t before = s.host.ReceivedCommands().size();
    ASSERT_TRUE(OpenConfigFileAtStart(s.frame, file));
    EXPECT_EQ(Control(s.frame, "Server's Ip")->GetText().str(), ip);
    // The log says which file the form shows.
    EXPECT_TRUE(WaitUntil([&] { return s.frame.logView->GetText().Find(file) != -1; }, 3000));
    EXPECT_EQ(s.frame.jobQueue.Size(), 0u);
    EXPECT_EQ(s.WritesSince(before), std::vector<std::string>{});

    EXPECT_EQ(s.Save(), std::vector<std::string>{"AT+IPAD=" + ip});
    EXPECT_EQ(*s.host.StoredValue("AT+IPAD"), ip);
    EXPECT_EQ(s.Save(), std::vector<std::string>{}) << "applied once";
}

// A unit that answers OK and keeps its old port: the read-back after the save finds it out, says
// so in the log and in a box, and the form shows the port the unit really holds.
TEST(SafeWrite, AWriteTheUnitDidNotKeepIsReportedAndTheFormShowsTheUnit) {
    sim::UnitOptions options = Session::Options(sim::UnitVariant::None);
    options.keepOld = {"AT+PORT"};
    Session s(options);
    ASSERT_TRUE(s.ready) << s.error;
    const std::string port = *s.host.StoredValue("AT+PORT");
    ASSERT_NE(port, "6001");

    Control(s.frame, "Server's Port")->SetText("6001");
    Control(s.frame, "Server's Ip")->SetText("10.9.8.7");
    EXPECT_EQ(s.Save(), (std::vector<std::string>{"AT+IPAD=10.9.8.7", "AT+PORT=6001"}));
    const std::map<std::string, std::pair<std::string, std::string>> notKept = {
        {"Server's Port", {"6001", port}}};
    EXPECT_EQ(s.frame.notKept, notKept);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return s.frame.logView->GetText().Find(LabelText("Notify", "NotKept").str() +
                                                   FormLabelOf(s.frame, "Server's Port")) != -1;
        },
        5000))
        << s.frame.logView->GetText().str();
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_NE(
        s.dialogs.boxes[0].text.find(FormLabelOf(s.frame, "Server's Port") + ": 6001 -> " + port),
        std::string::npos)
        << s.dialogs.boxes[0].text;
    EXPECT_EQ(Control(s.frame, "Server's Port")->GetText().str(), port);
    EXPECT_EQ(Control(s.frame, "Server's Ip")->GetText().str(), "10.9.8.7");
    // What the form now shows is the unit's: a second save has nothing to write.
    EXPECT_EQ(s.Save(), std::vector<std::string>{});
}

// The hard unit lists GBK texts, so typed Chinese goes to it as GBK; a character GBK lacks is
// refused by name and the other writes go ahead.
TEST(SafeWrite, TypedTextReachesAGbkUnitInGbkAndWhatGbkLacksIsRefused) {
    Session s(HardUnit());
    ASSERT_TRUE(s.ready) << s.error;
    const std::string notice =
        LabelText("Notify", "EncodingNotice").str() + FormLabelOf(s.frame, "Access Point Name");
    struct Step {
        const char* what;
        const char* apn;  // typed (UTF-8)
        const char* port;
        std::vector<std::string> written;
        bool refused;
    };
    const Step steps[] = {
        {"an emoji has no GBK code", "\xF0\x9F\x98\x80", "6001", {"AT+PORT=6001"}, true},
        {"Chinese goes as GBK",
         "\xE4\xB8\xAD\xE6\x96\x87",
         "6001",  // "中文"
         {"AT+APN=\xD6\xD0\xCE\xC4"},
         false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        Control(s.frame, "Access Point Name")->SetText(step.apn);
        Control(s.frame, "Server's Port")->SetText(step.port);
        EXPECT_EQ(s.Save(), step.written);
        PumpFor(50);
        EXPECT_EQ(s.frame.logView->GetText().Find(notice) != -1, step.refused)
            << s.frame.logView->GetText().str();
        s.frame.logView->SetText("");
    }
    EXPECT_EQ(s.host.StoredValue("AT+APN"), "\xD6\xD0\xCE\xC4");
}

// The lists that shape the form, sampled: in each state every field gets a new text, and the
// fields Save would write are exactly those the screen shows (visible on their page, every box
// above them visible, their tab enabled).
TEST(SafeWrite, SaveWritesExactlyTheFieldsOnScreenInEveryLayout) {
    Session s(Session::Options(sim::UnitVariant::None));
    ASSERT_TRUE(s.ready) << s.error;
    struct State {
        int protocol, model, method, servers, dio1;
    };
    // clang-format off
    const State states[] = {
        // Protocolmodel DeviceModel ActivateMethod ThePPPauthentication DIO1 workmode
        {0, 0, 0, 1, 0}, {1, 0, 1, 2, 1}, {2, 0, 2, 3, 2}, {2, 1, 3, 5, 3},
        {3, 0, 4, 1, 4}, {4, 1, 5, 2, 0}, {5, 0, 0, 4, 1}, {6, 0, 1, 1, 2},
        {6, 1, 2, 5, 3}, {6, 0, 5, 2, 4}, {1, 1, 4, 0, 2}, {2, 0, 3, 1, 0},
    };
    // clang-format on
    int round = 0;
    for (const State& state : states) {
        SCOPED_TRACE(::testing::PrintToString(std::vector<int>{
            state.protocol, state.model, state.method, state.servers, state.dio1}));
        const std::pair<const char*, int> picks[] = {{"Protocolmodel", state.protocol},
                                                     {"DeviceModel", state.model},
                                                     {"ActivateMethod", state.method},
                                                     {"ThePPPauthentication", state.servers},
                                                     {"DIO1 workmode", state.dio1}};
        for (const auto& [list, item] : picks) {
            ASSERT_TRUE(Combo(s.frame, list) && Combo(s.frame, list)->SelectItem(item)) << list;
            PumpFor(20);
        }
        PumpFor(100);
        std::set<std::string> onScreen, written;
        ++round;
        for (const auto& [name, entry] : s.frame.parameterTable) {
            CControlUI* field = s.frame.paintManager.FindControl(name);
            if (entry.kind != ControlKind::Edit || entry.atCommand.empty() || !field) continue;
            // A text each field takes: a number, an address or a word.
            const ValueKind kind = ValueKindOf(name);
            const std::string text = kind == ValueKind::Any ? "w" + std::to_string(round)
                                     : kind == ValueKind::Number || kind == ValueKind::Port
                                         ? std::to_string(40000 + round)
                                         : "10.0.0." + std::to_string(round);
            field->SetText(text);
            if (field->IsVisible() && IsTabEnabled(s.frame.tabTable, entry.tab)) {
                onScreen.insert(name);
            }
        }
        s.frame.jobQueue.Hold(true);
        ASSERT_TRUE(CollectChangedWrites(s.frame));
        for (const CommandJob& job : s.frame.jobQueue.TakeAll()) {
            const ParameterEntry* entry = s.frame.parameterTable.FindParameter(job.key);
            if (entry && entry->kind == ControlKind::Edit) written.insert(job.key);
        }
        s.frame.jobQueue.Hold(false);
        EXPECT_FALSE(onScreen.empty());
        EXPECT_EQ(written, onScreen);
    }
}

// A K3V61 may have no server. Its backup loaded before any read keeps its zero: the rule that
// asks for one server reads the device type the form shows, the file's, and the apply writes
// nothing to a unit that holds the file already.
TEST(SafeWrite, AServerlessBackupLoadedBeforeAnyReadKeepsItsZeroServers) {
    Session s(Session::Options(sim::UnitVariant::None), "ConifgENRes", false);
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.host.SetStoredValue("Device Type:", "DTU-K3V61"));
    ASSERT_TRUE(s.host.SetStoredValue("AT+SVRCNT", "0"));
    s.dialogs.pathToGive = testpaths::TempDir() + "/k3v61.cfg";
    ASSERT_TRUE(s.Settle([&] { SaveToFile(s.frame); }));

    const std::size_t from = s.host.ReceivedCommands().size();
    ASSERT_TRUE(s.Settle([&] { LoadFromFile(s.frame); }));
    EXPECT_EQ(Combo(s.frame, "ThePPPauthentication")->GetText().str(), "0");
    EXPECT_TRUE(s.dialogs.boxes.empty()) << s.dialogs.boxes.front().text;
    EXPECT_EQ(s.WritesSince(from), std::vector<std::string>{});
    EXPECT_EQ(s.host.StoredValue("AT+SVRCNT"), "0");
}

}  // namespace
