// Filling the form from the parameters' values: every list rule, the switches, the fields.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <algorithm>
#include <map>

#include "form/DeviceForm.h"
#include "tests/form/FormFixture.h"

namespace {

using namespace formtest;

void ClearValues(FormFrame& frame) {
    for (auto& [name, entry] : frame.parameterTable) entry.value.clear();
}

// A value the rule cannot place: an extra item, the unit's own, is selected.
constexpr int kUnitItem = -2;

struct ReadCase {
    const char* what;
    std::map<std::string, std::string> values;
    const char* list;
    int before;    // the list's selection before the form is filled
    int expected;  // its selection afterwards
};

TEST(ShowValues, EachListPicksTheItemItsRuleGives) {
    SkinFolder skin;
    auto frame = MakeFrame();
    const ReadCase cases[] = {
        {"protocol by code", {{"Protocolmodel", "TRNS"}}, "Protocolmodel", 0, 3},
        {"protocol custom code", {{"Protocolmodel", "CUST"}}, "Protocolmodel", 0, 6},
        // The custom protocol's item writes CUST: a unit listing its name keeps its own item.
        {"protocol by item text is the unit's",
         {{"Protocolmodel", kCustomProtocol}},
         "Protocolmodel",
         0,
         kUnitItem},
        // No selection writes an empty protocol, not -1.
        {"protocol -1 is the unit's", {{"Protocolmodel", "-1"}}, "Protocolmodel", 2, kUnitItem},
        {"protocol unknown: by text finds none",
         {{"Protocolmodel", "XYZ"}},
         "Protocolmodel",
         2,
         kUnitItem},
        {"EXFUN 3 is item 1", {{"EXFUN", "3"}}, "EXFUN", 0, 1},
        {"EXFUN 0 is item 0", {{"EXFUN", "0"}}, "EXFUN", 2, 0},
        {"EXFUN 2 is the unit's", {{"EXFUN", "2"}}, "EXFUN", 2, kUnitItem},
        {"net mode 0", {{"net mode", "0"}}, "net mode", 2, 0},
        {"net mode 5 is item 2", {{"net mode", "5"}}, "net mode", 0, 2},
        {"net mode 2 is the unit's", {{"net mode", "2"}}, "net mode", 3, kUnitItem},
        {"net mode -4 is the unit's", {{"net mode", "-4"}}, "net mode", 3, kUnitItem},
        {"device model SVR", {{"DeviceModel", "SVR"}}, "DeviceModel", 0, 1},
        {"device model -1", {{"DeviceModel", "-1"}}, "DeviceModel", 1, -1},
        {"device model other is the unit's", {{"DeviceModel", "cli"}}, "DeviceModel", 1, kUnitItem},
        {"baud rate by text", {{"Serial Baudrate", "115200"}}, "Serial Baudrate", 0, 2},
        {"baud rate unknown text", {{"Serial Baudrate", "4800"}}, "Serial Baudrate", 1, kUnitItem},
        {"LORA typ empty is the unit's", {{"LORA typ", ""}}, "LORA typ", 2, kUnitItem},
        {"LORA typ 2 is item 1", {{"LORA typ", "2"}}, "LORA typ", 0, 1},
        {"activate DIO", {{"ActivateMethod", "DIO"}}, "ActivateMethod", 0, 5},
        {"activate -1 is the unit's", {{"ActivateMethod", "-1"}}, "ActivateMethod", 3, kUnitItem},
        {"activate other is the unit's",
         {{"ActivateMethod", "SMS"}},
         "ActivateMethod",
         3,
         kUnitItem},
        {"binding centre 16 is item 5",
         {{"A serial port binding center", "16"}},
         "A serial port binding center",
         0,
         5},
        {"binding centre 255 is item 6",
         {{"A serial port binding center", "255"}},
         "A serial port binding center",
         0,
         6},
        {"binding centre 4 is item 3",
         {{"A serial port binding center", "4"}},
         "A serial port binding center",
         0,
         3},
        {"binding centre 3 is the unit's",
         {{"A serial port binding center", "3"}},
         "A serial port binding center",
         2,
         kUnitItem},
        {"DIO3 6 is item 1", {{"DIO3 workmode", "6"}}, "DIO3 workmode", 0, 1},
        // Items that would write another mode ("Off" is 0) do not stand for 4, 5 or 2.
        {"DIO3 5 is the unit's", {{"DIO3 workmode", "5"}}, "DIO3 workmode", 1, kUnitItem},
        {"DIO3 other is the unit's", {{"DIO3 workmode", "2"}}, "DIO3 workmode", 1, kUnitItem},
        {"DIO1 6 is item 4", {{"DIO1 workmode", "6"}}, "DIO1 workmode", 0, 4},
        {"DIO1 4 is the unit's", {{"DIO1 workmode", "4"}}, "DIO1 workmode", 3, kUnitItem},
        {"DIO1 3 is item 3", {{"DIO1 workmode", "3"}}, "DIO1 workmode", 0, 3},
        {"ZigBee channel 11 is item 0", {{"ZigBee_RFchannel", "11"}}, "ZigBee_RFchannel", 2, 0},
        {"ZigBee channel 13 is item 2", {{"ZigBee_RFchannel", "13"}}, "ZigBee_RFchannel", 0, 2},
        {"debug port 2 is item 1", {{"Debugging  port", "2"}}, "Debugging  port", 0, 1},
        {"LORA Rate 1 is item 0", {{"LORA Rate", "1"}}, "LORA Rate", 2, 0},
        {"LORA Rate empty clears", {{"LORA Rate", ""}}, "LORA Rate", 2, -1},
        {"I/O selection from DIO2",
         {{"DIO1 workmode", "3"}, {"DIO2 workmode", "4"}},
         "I/O selection",
         0,
         1},
        {"I/O selection first 4 wins",
         {{"DIO1 workmode", "4"}, {"DIO2 workmode", "4"}, {"DIO3 workmode", "4"}},
         "I/O selection",
         2,
         0},
        {"I/O selection needs exactly 4", {{"DIO3 workmode", " 4"}}, "I/O selection", 1, 1},
        {"I/O1 Mode 5 is item 2", {{"I/O1 Mode", "5"}}, "I/O1 Mode", 0, 2},
        {"I/O1 Mode other is item 0", {{"I/O1 Mode", "6"}}, "I/O1 Mode", 2, 0},
        {"plain list by position", {{"LCP ECHO", "1"}}, "LCP ECHO", 0, 1},
        // Item 1 would write "1": only the value itself stands for it.
        {"plain list, blanks and sign are the unit's",
         {{"LCP ECHO", "  +1x"}},
         "LCP ECHO",
         0,
         kUnitItem},
        {"plain list empty is the unit's", {{"LCP ECHO", ""}}, "LCP ECHO", 1, kUnitItem},
        {"plain list past its end is the unit's", {{"LCP ECHO", "9"}}, "LCP ECHO", 1, kUnitItem},
    };
    for (const ReadCase& c : cases) {
        ClearValues(*frame);
        for (const auto& [name, value] : c.values) frame->parameterTable.SetValue(name, value);
        CComboUI* list = Combo(*frame, c.list);
        ASSERT_NE(list, nullptr) << c.list;
        list->SelectItem(c.before);
        ShowValues(*frame);
        if (c.expected != kUnitItem) {
            EXPECT_EQ(list->GetCurSel(), c.expected) << c.what;
            continue;
        }
        const CListLabelElementUI* item = list->GetItemAt(list->GetCurSel());
        ASSERT_TRUE(item && item->IsUnitValue()) << c.what;
        EXPECT_EQ(item->UnitValue(), c.values.at(c.list)) << c.what;
        EXPECT_EQ(item->GetText().str(), c.values.at(c.list) + " (unit)") << c.what;
    }
}

struct SwitchCase {
    const char* entry;
    const char* value;
    std::vector<std::pair<const char*, bool>> switches;
};

TEST(ShowValues, ChannelMasksSetTheirSwitches) {
    SkinFolder skin;
    auto frame = MakeFrame();
    const SwitchCase cases[] = {
        {"EL transmit channel_G",
         "45",
         {{"GPS2COM", true},
          {"COM2GPS", false},
          {"GPS2GPRS", false},
          {"GPRS2GPS", true},
          {"GPRS2COM", true},
          {"COM2GPRS", true}}},
        {"EL transmit channel",
         "50",
         {{"Lora2COM", false}, {"COM2Lora", true}, {"Lora2GPRS", true}, {"GPRS2Lora", true}}},
        {"EL transmit channel_Z",
         "17",
         {{"Zigbee2COM", true},
          {"COM2Zigbee", false},
          {"Zigbee2GPRS", true},
          {"GPRS2Zigbee", false}}},
        {"EL transmit channel_G",
         "0",
         {{"GPS2COM", false}, {"GPRS2GPS", false}, {"GPRS2COM", false}, {"COM2GPRS", false}}},
    };
    for (const SwitchCase& c : cases) {
        // The three entries share one value on the unit; each sets the switches of its tab.
        ClearValues(*frame);
        frame->parameterTable.SetValue(c.entry, c.value);
        ShowValues(*frame);
        for (const auto& [name, on] : c.switches) {
            EXPECT_EQ(SwitchShownOn(*frame, name), on) << c.entry << "=" << c.value << " " << name;
        }
    }
}

TEST(ShowValues, FieldsTabsLoraVersionAndLayoutCodes) {
    SkinFolder skin;
    auto frame = MakeFrame();
    ParameterTable& table = frame->parameterTable;
    table.SetValue("Server's Ip", " 10.0.0.1 x");
    table.SetValue("Device Type", "M5Z30-L-Z");
    table.SetValue("LORA ver", "V2.1");
    PumpFor(20);
    frame->layoutCodes.clear();
    ShowValues(*frame);
    EXPECT_EQ(Control(*frame, "Server's Ip")->GetText().str(), " 10.0.0.1 x");
    EXPECT_EQ(frame->loraVersion, "V2.1");
    EXPECT_TRUE(IsTabEnabled(frame->tabTable, 7)) << "-L enables LoraTab";
    EXPECT_FALSE(IsTabEnabled(frame->tabTable, 8)) << "-L wins over -Z";
    EXPECT_FALSE(IsTabEnabled(frame->tabTable, 9));
    PumpFor(20);
    // The lists just filled post their own codes too; the form's pair comes as one.
    const std::vector<WPARAM> pair = {1, 17};
    EXPECT_NE(
        std::search(frame->layoutCodes.begin(), frame->layoutCodes.end(), pair.begin(), pair.end()),
        frame->layoutCodes.end())
        << ::testing::PrintToString(frame->layoutCodes);
}

TEST(ShowValues, UnitBytesThatAreNotUtf8AreShownReadablyAndReadBackUnchanged) {
    SkinFolder skin;
    auto frame = MakeFrame();
    const std::string gbk = "\xC4\xE3\xBA\xC3 APN";  // "你好 APN" in the unit's code page
    frame->parameterTable.SetValue("Access Point Name", gbk);
    ShowValues(*frame);
    CControlUI* edit = Control(*frame, "Access Point Name");
    auto* line = dynamic_cast<QLineEdit*>(edit->GetWidget());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QString::fromUtf8("你好 APN"));
    EXPECT_EQ(edit->GetText().str(), gbk);
}

}  // namespace
