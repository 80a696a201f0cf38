// Parameter writes on the state machine: each value domain takes what the program's reading
// and writing rules can produce and refuses what a unit would, leaving the value unchanged.
#include <gtest/gtest.h>

#include "sim/UnitTexts.h"
#include "sim/VirtualUnit.h"

namespace {

using namespace std::chrono_literals;

struct WriteRow {
    std::string_view command;
    std::string value;
    bool accepted;
};

const WriteRow kWrites[] = {
    // work modes by word, also the "unset" word the program reads as no selection
    {"At+PROMODE", "SMSSER", true},
    {"At+PROMODE", "-1", true},
    {"At+PROMODE", "cust", false},
    {"At+PROMODE", "", false},
    {"AT+DEVMODE", "SVR", true},
    {"AT+DEVMODE", "-1", true},
    {"AT+DEVMODE", "SRV", false},
    {"AT+ACTI", "MIXD", true},
    {"AT+ACTI", "", false},
    {"AT+ACTI", "DIO ", false},
    {"At+ENHRT", "1", true},
    {"At+ENHRT", "4", false},
    // binding centers are powers of two or 255
    {"AT+SERBINDCNT", "16", true},
    {"AT+SERBINDCNT2", "255", true},
    {"AT+SERBINDCNT", "3", false},
    {"AT+SERBINDCNT", "016", false},
    // EXFUN: the ICMP check is 3, and the list can write its index otherwise
    {"AT+EXFUN", "3", true},
    {"AT+EXFUN", "2", true},
    {"AT+EXFUN", "4", false},
    // net mode 0 or above 3
    {"AT+NETMODE", "0", true},
    {"AT+NETMODE", "4", true},
    {"AT+NETMODE", "2", false},
    // DIO work modes 0..6, mapping centers 0..6
    {"AT+DIOWORKMODE1", "6", true},
    {"AT+DIOWORKMODE3", "4", true},
    {"AT+DIOWORKMODE2", "7", false},
    {"AT+DIOMAPC1", "-1", false},
    // lists counted from 1 or from 11
    {"AT+RSPD", "1", true},
    {"AT+RSPD", "0", false},
    {"AT+LTYP", "0", false},
    {"AT+ACTSERLNO", "3", true},
    {"AT+CHA", "11", true},
    {"AT+CHA", "10", false},
    {"AT+CHA", "27", false},
    // baud rates and frames as texts
    {"AT+IPR", "9600", true},
    {"AT+RS485IPR", "9601", false},
    {"AT+SERMODE", "8E1", true},
    {"AT+SERMODE2", "8X1", false},
    // transfer channel mask, server count
    {"AT+ZDATCHAN", "255", true},
    {"AT+ZDATCHAN", "256", false},
    {"AT+SVRCNT", "5", true},
    {"AT+SVRCNT", "6", false},
    // addresses and ports
    {"AT+IPAD", "192.0.2.7", true},
    {"AT+IPAD1", "dtu.example.com", true},
    {"AT+IPAD", "1.2.3.999", false},
    {"AT+IPAD", "host name", false},
    {"AT+DNSSVR", "dns.example.com", false},
    {"AT+PORT", "65535", true},
    {"AT+PORT", "65536", false},
    {"AT+PORT", "-1", false},
    {"AT+PORT", "80a", false},
    {"AT+PORT", "080", false},
    // phone numbers, empty allowed
    {"AT+PHON", "+8613912345678", true},
    {"AT+PHONE1", "", true},
    {"AT+PHON", "139-1234", false},
    // free texts up to 99 bytes, no control bytes, other bytes kept as they are
    {"AT+APN", "", true},
    {"AT+APN", std::string(99, 'a'), true},
    {"AT+APN", std::string(100, 'a'), false},
    {"AT+CONNRGST", "id=7 & key=x", true},
    {"AT+CONNRGST", "\xc4\xe3\xba\xc3", true},
    {"AT+CONNRGST", "tab\there", false},
    // hex words
    {"AT+PID", "1A2b", true},
    {"AT+PID", "12345", false},
    // read-only and unknown words
    {"AT+LVER", "v1", false},
    {"AT+NOSUCH", "1", false},
};

TEST(ParameterWriteTest, WritesAreValidatedAndStoredOrRefused) {
    for (const WriteRow& row : kWrites) {
        SCOPED_TRACE(testing::Message() << row.command << "=" << row.value);
        sim::UnitOptions options;
        options.start = sim::UnitStart::Configuration;
        options.baud = 4000000;
        const sim::TimePoint start{};
        sim::VirtualUnit unit(options, start);
        const auto before = unit.StoredValue(row.command);
        unit.Feed(std::string(row.command) + "=" + row.value + "\r\n", start);
        unit.Advance(start + 10ms);
        EXPECT_EQ(unit.TakeOutput(), row.accepted ? sim::kOkText : sim::kErrorText);
        EXPECT_EQ(unit.StoredValue(row.command), row.accepted ? row.value : before);
    }
}

TEST(ParameterWriteTest, FactoryRestoresEveryVariantsValues) {
    struct Row {
        sim::UnitVariant variant;
        std::string_view deviceType;
        std::string_view channels;
    };
    const Row rows[] = {
        {sim::UnitVariant::None, "DTU-K3", "0"},
        {sim::UnitVariant::Lora, "DTU-K3-L", "3"},
        {sim::UnitVariant::Zigbee, "DTU-K3-Z", "3"},
        {sim::UnitVariant::Gps, "DTU-K3V61", "17"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.deviceType);
        sim::UnitOptions options;
        options.start = sim::UnitStart::Configuration;
        options.variant = row.variant;
        const sim::TimePoint start{};
        sim::VirtualUnit unit(options, start);
        unit.Feed("AT+ZDATCHAN=48\r\nAT+APN=x\r\n", start);
        EXPECT_EQ(unit.StoredValue("AT+ZDATCHAN"), "48");
        unit.Feed("AT+FACTORY\r\n", start + 1s);
        EXPECT_EQ(unit.StoredValue("AT+ZDATCHAN"), row.channels);
        EXPECT_EQ(unit.StoredValue("AT+APN"), "CMNET");
        EXPECT_EQ(unit.StoredValueByLabel("\r\nDevice Type:"), row.deviceType);
    }
}

}  // namespace
