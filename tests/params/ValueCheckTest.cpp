// The one check of a typed or given value against what its parameter takes.
#include "params/ValueCheck.h"

#include <gtest/gtest.h>

#include <string>

#include "params/ParameterTable.h"

namespace {

TEST(ValueCheck, RefusesWhatTheUnitMustRefuse) {
    struct Case {
        const char* name;
        std::string value;
        ValueFault fault;
    };
    const Case cases[] = {
        {"Server's Port", "5001", ValueFault::None},
        {"Server's Port", "0", ValueFault::None},
        {"Server's Port", "65535", ValueFault::None},
        {"Server's Port", "65536", ValueFault::NotPort},
        {"Server's Port", "70000", ValueFault::NotPort},
        {"Server's Port", "99999999999999999999", ValueFault::NotPort},
        {"Server's Port", "abc", ValueFault::NotPort},
        {"Server's Port", "", ValueFault::NotPort},
        {"Server's Port", "-1", ValueFault::NotPort},
        {"Server's Port", "50 01", ValueFault::NotPort},
        {"Server's Port", "05001", ValueFault::LeadingZero},
        {"Server's Ip", "203.0.113.10", ValueFault::None},
        {"Server's Ip", "dtu.example.com", ValueFault::None},
        {"Server's Ip", "", ValueFault::None},
        {"Server's Ip", "999.1.1.1", ValueFault::NotAddress},
        {"Server's Ip", "1.2.3", ValueFault::NotAddress},
        {"Server's Ip", "1.2.3.4 ", ValueFault::NotAddress},
        {"Server's Ip", "01.2.3.4", ValueFault::NotAddress},
        {"Server's Ip", "-bad.example", ValueFault::NotAddress},
        {"Server's Ip", "a..b", ValueFault::NotAddress},
        {"Dns Server's Ip", "8.8.8.8", ValueFault::None},
        {"Dns Server's Ip", "dns.example", ValueFault::NotIpAddress},
        {"Dns Server's Ip", "256.0.0.1", ValueFault::NotIpAddress},
        {"Max Tcp Frame Len", "1024", ValueFault::None},
        {"Max Tcp Frame Len", "10k", ValueFault::NotNumber},
        {"Max Tcp Frame Len", "+5", ValueFault::NotNumber},
        {"Max Tcp Frame Len", "12345678901", ValueFault::NumberTooLong},
        {"EL transmit channel", "abc", ValueFault::NotNumber},
        {"Access Point Name", "999.1.1.1", ValueFault::None},
        {"Debug Level", "abc", ValueFault::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.value);
        EXPECT_EQ(CheckValue(ValueKindOf(c.name), c.value), c.fault);
        const std::string refusal = ValueRefusal(c.name, c.value);
        if (c.fault == ValueFault::None) {
            EXPECT_EQ(refusal, "");
        } else {
            // The line names the parameter and says what it takes.
            EXPECT_EQ(refusal.rfind(std::string("\"") + c.name + "=" + c.value + "\": ", 0), 0u);
            EXPECT_NE(refusal.find(ValueFaultText(c.fault)), std::string::npos);
        }
    }
}

// A kind given to a name the table lacks would never be checked.
TEST(ValueCheck, EveryCheckedNameIsAParameter) {
    ParameterTable table;
    BuildParameterTable(table);
    int checked = 0;
    for (const auto& [name, entry] : table) {
        if (ValueKindOf(name) != ValueKind::Any) ++checked;
    }
    EXPECT_EQ(checked, 53);
}

}  // namespace
