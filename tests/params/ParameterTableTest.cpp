#include "params/ParameterTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

ParameterTable BuiltTable() {
    ParameterTable table;
    BuildParameterTable(table);
    return table;
}

using K = ControlKind;

// Written out independently of the table's source, from the unit's listing and the skin.
struct ExpectedRow {
    const char* name;
    int tab;
    ControlKind kind;
    const char* label;
    const char* command;
};

// clang-format off
const ExpectedRow kExpectedRows[] = {
    {"LORA ver", 100, K::None, "\r\nLORA ver:", "AT+LVER"},
    {"LORA ID", 7, K::Edit, "\r\nLORA ID:", "AT+LID"},
    {"EL transmit channel", 7, K::Line, "\r\nEL transmit channel:", "AT+ZDATCHAN"},
    {"Device Type", 7, K::Line, "\r\nDevice Type:", ""},
    {"LORA ppt", 7, K::Combobox, "\r\nLORA ppt:", "AT+LPPT"},
    {"ZigBee_WorkMode", 8, K::Combobox, "\r\nZigBee_WorkMode :", "AT+ZTXTYPE"},
    {"ZigBee_TransAddr", 8, K::Edit, "\r\nZigBee_TransAddr :", "AT+TAD"},
    {"EL transmit channel_Z", 8, K::Line, "\r\nEL transmit channel:", "AT+ZDATCHAN"},
    {"EL transmit channel_G", 9, K::Line, "\r\nEL transmit channel:", "AT+ZDATCHAN"},
    {"GPS euipment ID", 9, K::Edit, "\r\nGPS euipment ID:", "AT+GPSID"},
    {"GPS GPGLL", 9, K::Combobox, "\r\nGPS GPGLL:", "AT+FGLL"},
    {"DIO1 workmode", 3, K::Combobox, "DIO1 workmode:", "AT+DIOWORKMODE1"},
    {"1The DIO1 data format", 3, K::Combobox, "The DIO1 data format:", "AT+DIODATAFMT1"},
    {"The DIO2 data format", 3, K::Combobox, "The DIO2 data format:", "AT+DIODATAFMT2"},
    {"1The DIO3 data format", 3, K::Combobox, "The DIO3 data format:", "AT+DIODATAFMT3"},
    {"DIO3 output control result", 3, K::Edit, "DIO3 output control result:", "AT+DIOOUTPUTRSP3"},
    {"Mobus address", 3, K::Edit, "Mobus address:", "AT+MBADDRESS"},
    {"dtu is connect to dtu manage platform", 6, K::Combobox,
     "\r\ndtu is connect to dtu manage platform:", "AT+CONNTOMANA"},
    {"Dtumanagetransferprotocol", 6, K::Combobox, "\r\nDtu manage transfer protocol:",
     "AT+MANAPRO"},
    {"Protocolmodel", 0, K::Combobox, "\r\nProtocol model:", "At+PROMODE"},
    {"PhoneNO.", 0, K::Edit, "\r\nModem's Phone Number:", "AT+PHON"},
    {"RegistrationAndHeart", 0, K::Combobox, "\r\nRegistration and heart function:", "At+ENHRT"},
    {"HeartbeatPacketReplyInfo", 0, K::Edit, "\r\nCustom Keep Online  reply Info:",
     "AT+LINKRGSTREP"},
    {"sms Phone4 No", 0, K::Edit, "\r\nsms Phone4 No.:", "AT+PHONE4"},
    {"I/O selection", 0, K::Combobox, "", ""},
    {"I/O2 Mode", 0, K::Combobox, "\r\nDIO2 workmode:", "AT+DIOWORKMODE2"},
    {"I/O3 control", 0, K::Combobox, "\r\nDIO3 and mapping center:", "AT+DIOMAPC3"},
    {"Debug Level", 0, K::Combobox, "\r\nDebug Level :", "AT+DEBUG"},
    {"Debugging  port", 0, K::Combobox, "\r\nDebugging information out port:", "AT+DEBUGPORT"},
    {"ThePPPauthentication", 1, K::Combobox, "\r\nTotal Servers:", "AT+SVRCNT"},
    {"Server's Ip", 1, K::Edit, "\r\nServer's Ip:", "AT+IPAD"},
    {"Server2's Ip", 1, K::Edit, "\r\nServer1's Ip:", "AT+IPAD1"},
    {"Server5's Port", 1, K::Edit, "\r\nServer4's Port:", "AT+PORT4"},
    {"A serial 2 port binding center", 2, K::Combobox, "\r\nA serial 2 port binding center:",
     "AT+SERBINDCNT2"},
    {"Serial 2 Baudrate", 2, K::Combobox, "\r\nSerial 2 Baudrate:", "AT+SETIPR2"},
    {"Access Point Name", 4, K::Edit, "Access Point Name:", "AT+APN"},
    {"User Id", 4, K::Edit, "\r\nPPP Authentication User Id:", "AT+USERNAME"},
    {"Second Dns Server's Ip", 4, K::Edit, "\r\nSecond Dns Server's Ip:", "AT+DNSSV2"},
    {"Sms Center", 5, K::Edit, "\r\nSms Center :", "AT+SMSC"},
    {"Resend wating", 5, K::Edit, "\r\nResend wating:", "AT+RESWAIT"},
    {"Heartbeat poll time seconds", 5, K::Edit, "\r\nHeartbeat poll time seconds:", "AT+POLLTIME"},
};
// clang-format on

TEST(ParameterTable, RowsCarryTheUnitsSpellings) {
    const ParameterTable table = BuiltTable();
    EXPECT_EQ(table.size(), 167u);
    for (const ExpectedRow& row : kExpectedRows) {
        SCOPED_TRACE(row.name);
        const ParameterEntry* entry = table.FindParameter(row.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->tab, row.tab);
        EXPECT_EQ(entry->kind, row.kind);
        EXPECT_EQ(entry->responseLabel, row.label);
        EXPECT_EQ(entry->atCommand, row.command);
        EXPECT_EQ(entry->value, "");
    }
}

TEST(ParameterTable, EntriesPerTab) {
    const std::map<int, int> expected = {{0, 36}, {1, 16}, {2, 9}, {3, 43}, {4, 10}, {5, 15},
                                         {6, 8},  {7, 11}, {8, 6}, {9, 12}, {100, 1}};
    std::map<int, int> counted;
    for (const auto& [name, entry] : BuiltTable()) ++counted[entry.tab];
    EXPECT_EQ(counted, expected);
}

TEST(ParameterTable, OnlyLoraVersionIsLeftOutOfWriting) {
    for (const auto& [name, entry] : BuiltTable()) {
        EXPECT_EQ(entry.shown, name != "LORA ver") << name;
    }
}

TEST(ParameterTable, TraversalIsByteWise) {
    struct Case {
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"A serial 2 port binding center", "A serial port binding center"},  // space before digit
        {"DIO1 workmode", "Debug Level"},                                    // capital first
        {"DIO1 workmode", "I/O1 Mode"},
        {"Server's Ip", "Server2's Ip"},  // apostrophe before digit
        {"Dtumanagetransferprotocol", "dtu is connect to dtu manage platform"},
        {"EL transmit channel", "EL transmit channel_G"},  // a prefix comes first
        {"LORA Mode", "LORA ver"},
    };
    std::vector<std::string> order;
    for (const auto& [name, entry] : BuiltTable()) order.push_back(name);
    const auto position = [&](const std::string& name) {
        return std::find(order.begin(), order.end(), name) - order.begin();
    };
    for (const Case& c : cases) {
        EXPECT_LT(position(c.second), std::ssize(order)) << c.second;
        EXPECT_LT(position(c.first), position(c.second)) << c.first << " / " << c.second;
    }
}

TEST(ParameterTable, FirstAdditionWins) {
    ParameterTable table = BuiltTable();
    ParameterEntry& entry = table.ParameterAt("Server's Ip");
    entry.shown = false;
    entry.value = "10.0.0.1";
    table.AddParameter(5, ControlKind::Combobox, "Server's Ip", "\r\nOther:", "AT+OTHER");
    EXPECT_EQ(table.size(), 167u);
    EXPECT_FALSE(entry.shown);
    EXPECT_EQ(entry.tab, 1);
    EXPECT_EQ(entry.kind, ControlKind::Edit);
    EXPECT_EQ(entry.responseLabel, "\r\nServer's Ip:");
    EXPECT_EQ(entry.atCommand, "AT+IPAD");
    EXPECT_EQ(entry.value, "10.0.0.1");
}

TEST(ParameterTable, SetValueAndParameterAt) {
    struct Case {
        const char* what;
        bool viaSetValue;
        const char* name;
        std::size_t sizeAfter;
        bool shown;
        int tab;
        ControlKind kind;
        const char* command;
    };
    const Case cases[] = {
        {"clock write, empty name", true, "", 168, false, kNoTab, K::None, ""},
        {"unknown name looked up", false, "No such control", 168, false, kNoTab, K::None, ""},
        {"known name keeps its fields", true, "Server's Ip", 167, true, 1, K::Edit, "AT+IPAD"},
        {"known name looked up", false, "Device Type", 167, true, 7, K::Line, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ParameterTable table = BuiltTable();
        if (c.viaSetValue) {
            table.SetValue(c.name, "20240101");
        } else {
            table.ParameterAt(c.name);
        }
        EXPECT_EQ(table.size(), c.sizeAfter);
        const ParameterEntry* entry = table.FindParameter(c.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->shown, c.shown);
        EXPECT_EQ(entry->tab, c.tab);
        EXPECT_EQ(entry->kind, c.kind);
        EXPECT_EQ(entry->atCommand, c.command);
        EXPECT_EQ(entry->value, c.viaSetValue ? "20240101" : "");
    }
    EXPECT_EQ(BuiltTable().FindParameter("No such control"), nullptr);
}

}  // namespace
