// The form against the virtual unit on a pseudo-terminal, with the real English skin, the
// worker and the serial driver: reading every variant into the form, writing it back, .cfg
// backups and their restore, and a value that would smuggle in a second command.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "form/ConfigFiles.h"
#include "form/DeviceWrite.h"
#include "form/WriteReview.h"
#include "params/ComboReadRules.h"
#include "params/ConfigFileText.h"
#include "params/ValueText.h"
#include "tests/form/UnitSession.h"
#include "ui/Container.h"

namespace {

using namespace formtest;

struct VariantCase {
    sim::UnitVariant variant;
    const char* name;
    int moduleTab;  // the one module tab offered, -1 for none
    const char* skin;
};

constexpr VariantCase kVariants[] = {
    {sim::UnitVariant::None, "plain", -1, "ConifgENRes"},
    {sim::UnitVariant::Lora, "LoRa", 7, "ConifgENRes"},
    {sim::UnitVariant::Zigbee, "ZigBee", 8, "ConifgENRes"},
    {sim::UnitVariant::Gps, "GPS", 9, "ConifgENRes"},
    {sim::UnitVariant::Lora, "LoRa, Chinese skin", 7, "ConifgRes"},
};

constexpr const char* kChannelSwitches[][2] = {
    {"EL transmit channel", "Lora2COM"},      {"EL transmit channel", "COM2Lora"},
    {"EL transmit channel", "Lora2GPRS"},     {"EL transmit channel", "GPRS2Lora"},
    {"EL transmit channel_Z", "Zigbee2COM"},  {"EL transmit channel_Z", "COM2Zigbee"},
    {"EL transmit channel_Z", "Zigbee2GPRS"}, {"EL transmit channel_Z", "GPRS2Zigbee"},
    {"EL transmit channel_G", "GPS2COM"},     {"EL transmit channel_G", "COM2GPS"},
    {"EL transmit channel_G", "GPS2GPRS"},    {"EL transmit channel_G", "GPRS2GPS"},
    {"EL transmit channel_G", "GPRS2COM"},    {"EL transmit channel_G", "COM2GPRS"},
};
constexpr int kChannelBits[] = {1, 2, 16, 32, 1, 2, 16, 32, 1, 2, 16, 32, 4, 8};

TEST(UnitEndToEnd, LoadShowsEveryVariantAsTheUnitHoldsIt) {
    for (const VariantCase& v : kVariants) {
        SCOPED_TRACE(v.name);
        Session s(v.variant, v.skin);
        ASSERT_TRUE(s.ready) << s.error;
        int edits = 0, lists = 0;
        for (const auto& [name, entry] : s.frame.parameterTable) {
            if (entry.responseLabel.empty()) continue;
            const auto stored = s.host.StoredValueByLabel(UnitLabel(entry.responseLabel));
            if (!stored) continue;  // not listed by this variant
            EXPECT_EQ(entry.value, *stored) << name;
            CControlUI* control = s.frame.paintManager.FindControl(name);
            if (entry.kind == ControlKind::Edit) {
                ASSERT_NE(control, nullptr) << name << " is missing from the skin";
                EXPECT_EQ(control->GetText().str(), *stored) << name;
                ++edits;
            } else if (auto* list = dynamic_cast<CComboUI*>(control)) {
                // The skin's items must be what the rule expects: the value's item is there.
                CComboUI probe;
                for (int i = 0; i < list->GetCount(); ++i) {
                    probe.Add(new CListLabelElementUI(list->GetItemAt(i)->GetText()));
                }
                const ItemChoice choice = ChooseItem(name, *stored, probe, s.frame.parameterTable);
                if (choice.change) {
                    EXPECT_EQ(list->GetCurSel(), choice.item) << name << "=" << *stored;
                    EXPECT_LT(choice.item, list->GetCount()) << name << "=" << *stored;
                }
                ++lists;
            }
        }
        EXPECT_GT(edits, 50);
        EXPECT_GT(lists, 40);
        const int mask = LeadingNumber(*s.host.StoredValue("AT+ZDATCHAN"));
        for (std::size_t i = 0; i < std::size(kChannelSwitches); ++i) {
            EXPECT_EQ(SwitchShownOn(s.frame, kChannelSwitches[i][1]), (mask & kChannelBits[i]) != 0)
                << kChannelSwitches[i][1] << " of mask " << mask;
        }
        for (int tab : {7, 8, 9}) {
            EXPECT_EQ(IsTabEnabled(s.frame.tabTable, tab), tab == v.moduleTab) << tab;
        }

        // Save right after the read: no field differs from what the unit sent.
        for (const CommandJob& job : CollectAndTake(s.frame)) {
            EXPECT_NE(s.frame.parameterTable.FindParameter(job.key)->kind, ControlKind::Edit)
                << job.command;
            ADD_FAILURE() << "written right after a read: " << job.command;
        }
    }
}

TEST(UnitEndToEnd, AnEditedAddressIsWrittenOnceAndThenHeld) {
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    Control(s.frame, "Server's Ip")->SetText("10.20.30.40");
    const auto jobs = CollectAndTake(s.frame);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].type, JobType::WriteParameter);
    EXPECT_EQ(jobs[0].command, "AT+IPAD=10.20.30.40\r\n");
    EXPECT_EQ(jobs[0].key, "Server's Ip");
    ASSERT_TRUE(s.Settle([&] { s.frame.jobQueue.PushJob(jobs[0]); }));
    EXPECT_EQ(s.host.StoredValue("AT+IPAD"), "10.20.30.40");
    EXPECT_EQ(s.frame.parameterTable.FindParameter("Server's Ip")->value, "10.20.30.40");
    EXPECT_EQ(CollectAndTake(s.frame).size(), 0u);
}

TEST(UnitEndToEnd, PagesNeverShownAreFilledRuledAndSavedWithoutWidgets) {
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    auto* pages = dynamic_cast<CTabLayoutUI*>(Control(s.frame, "switch"));
    ASSERT_NE(pages, nullptr);
    auto pagesRealized = [&] {
        int realized = 0;
        for (int i = 0; i < pages->GetCount(); ++i)
            realized += pages->GetItemAt(i)->GetWidget() != nullptr;
        return realized;
    };
    EXPECT_EQ(Control(s.frame, "Server's Ip")->GetText().str(), *s.host.StoredValue("AT+IPAD"));
    // SMSCLI hides the serial page's binding centre and PROT shows it: the rule works on the
    // controls alone.
    CControlUI* binding = Control(s.frame, "bindingCenterGroupBox");
    for (const int mode : {4, 0}) {
        Combo(s.frame, "Protocolmodel")->SelectItem(mode);
        EXPECT_TRUE(WaitUntil([&] { return binding->IsVisible() == (mode == 0); }, 2000)) << mode;
    }
    Control(s.frame, "Server's Ip")->SetText("10.20.30.40");
    const auto writes = s.Save();
    EXPECT_NE(std::find(writes.begin(), writes.end(), "AT+IPAD=10.20.30.40"), writes.end());
    EXPECT_EQ(s.host.StoredValue("AT+IPAD"), "10.20.30.40");
    EXPECT_EQ(pagesRealized(), 1) << "only the first page was ever shown";
}

TEST(UnitEndToEnd, ABackupRestoresOnlyWhatTheUnitNoLongerHolds) {
    Session s(sim::UnitVariant::Lora);
    ASSERT_TRUE(s.ready) << s.error;
    const std::string path = testpaths::TempDir() + "/unit.cfg";
    s.dialogs.pathToGive = path;
    ASSERT_TRUE(s.Settle([&] { SaveToFile(s.frame); }));
    const std::string file = ReadFile(path);
    const std::string listing = DecodeConfigText(file, 1 << 20);
    EXPECT_EQ(EncodeConfigText(listing), file);
    EXPECT_NE(listing.find("Access Point Name:CMNET\r\n"), std::string::npos);
    EXPECT_NE(listing.find("\r\nOK\r\n"), std::string::npos);

    // Unchanged unit: the apply reads it and writes nothing.
    std::size_t from = s.host.ReceivedCommands().size();
    ASSERT_TRUE(s.Settle([&] { LoadFromFile(s.frame); }));
    EXPECT_EQ(s.WritesSince(from), std::vector<std::string>{});

    // The unit changed: a shown address, a shown port, and the LoRa ID on the offered tab.
    const std::string ip = *s.host.StoredValue("AT+IPAD");
    const std::string port = *s.host.StoredValue("AT+PORT");
    const std::string loraId = *s.host.StoredValue("AT+LID");
    ASSERT_TRUE(s.host.SetStoredValue("AT+IPAD", "1.1.1.1"));
    ASSERT_TRUE(s.host.SetStoredValue("AT+PORT", "1"));
    ASSERT_TRUE(s.host.SetStoredValue("AT+LID", "77"));
    from = s.host.ReceivedCommands().size();
    ASSERT_TRUE(s.Settle([&] { LoadFromFile(s.frame); }));
    auto writes = s.WritesSince(from);
    std::sort(writes.begin(), writes.end());
    EXPECT_EQ(writes,
              (std::vector<std::string>{"AT+IPAD=" + ip, "AT+LID=" + loraId, "AT+PORT=" + port}))
        << s.frame.logView->GetText().str();
    EXPECT_EQ(s.host.StoredValue("AT+IPAD"), ip);
    EXPECT_EQ(s.host.StoredValue("AT+PORT"), port);
}

TEST(UnitEndToEnd, AValueCarryingASecondCommandIsRefusedAndTheUnitKeepsItsSettings) {
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    const std::string ip = *s.host.StoredValue("AT+IPAD");
    const auto reboots = s.host.Counters().reboots;
    const std::size_t from = s.host.ReceivedCommands().size();
    Control(s.frame, "Server's Ip")->SetText("1.2.3.4\r\nAT+FACTORY");
    Control(s.frame, "Server's Port")->SetText("6001");
    ASSERT_TRUE(s.Settle([&] { Click(s.frame, "Save"); }));
    EXPECT_EQ(s.WritesSince(from), std::vector<std::string>{"AT+PORT=6001"});
    for (const std::string& c : s.host.ReceivedCommands()) EXPECT_EQ(c.find("FACTORY"), c.npos);
    EXPECT_EQ(s.host.StoredValue("AT+IPAD"), ip);
    EXPECT_EQ(s.host.Counters().reboots, reboots);
    EXPECT_NE(s.frame.logView->GetText().Find(LabelText("Notify", "ValueNotice").str() +
                                              FormLabelOf(s.frame, "Server's Ip")),
              -1)
        << s.frame.logView->GetText().str();
}

}  // namespace
