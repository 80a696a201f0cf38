// The faults of the sim command line.
#include "sim/FaultRule.h"

#include <gtest/gtest.h>

namespace {

using sim::FaultKind;

TEST(FaultRuleTest, TextsReadAsRules) {
    struct Row {
        std::string_view text;
        bool ok;
        FaultKind kind;
        long long amount;
        std::string_view target;
        int count;
        std::string_view value;
    };
    const Row rows[] = {
        {"noise", true, FaultKind::Noise, 4, "", -1, ""},
        {"noise=12", true, FaultKind::Noise, 12, "", -1, ""},
        {"zeros=0.5", true, FaultKind::Zeros, 5000, "", -1, ""},
        {"drop=2@AT+SHOW", true, FaultKind::Drop, 20000, "AT+SHOW", -1, ""},
        {"split@At+VER/1", true, FaultKind::Split, 2, "At+VER", 1, ""},
        {"delay=1500@AT+SHOW", true, FaultKind::Delay, 1500, "AT+SHOW", -1, ""},
        {"mute@At+CPIN?", true, FaultKind::Mute, 0, "At+CPIN?", -1, ""},
        {"error@At+CSQ/2", true, FaultKind::Error, 0, "At+CSQ", 2, ""},
        {"reboot=250", true, FaultKind::Reboot, 250, "", -1, ""},
        {"reboot@AT+FACTORY", true, FaultKind::Reboot, -1, "AT+FACTORY", -1, ""},
        {"unplug=0", true, FaultKind::Unplug, 0, "", -1, ""},
        {"unplug=300", true, FaultKind::Unplug, 300, "", -1, ""},
        {"cut@AT+APN", true, FaultKind::Cut, 0, "AT+APN", -1, ""},
        {"stall=600@AT+SHOW/1", true, FaultKind::Stall, 600, "AT+SHOW", 1, ""},
        {"value:AT+APN=BOOK", true, FaultKind::Value, 0, "AT+APN", -1, "BOOK"},
        {"value:AT+CONNRGST=a=b @/", true, FaultKind::Value, 0, "AT+CONNRGST", -1, "a=b @/"},
        {"value:AT+APN=", true, FaultKind::Value, 0, "AT+APN", -1, ""},
        {"bogus", false, FaultKind::Noise, 0, "", -1, ""},
        {"delay", false, FaultKind::Delay, 0, "", -1, ""},
        {"delay=abc", false, FaultKind::Delay, 0, "", -1, ""},
        {"delay=1.5", false, FaultKind::Delay, 0, "", -1, ""},
        {"drop=101", false, FaultKind::Drop, 0, "", -1, ""},
        {"drop=0", false, FaultKind::Drop, 0, "", -1, ""},
        {"mute=3", false, FaultKind::Mute, 0, "", -1, ""},
        {"error@", false, FaultKind::Error, 0, "", -1, ""},
        {"error@AT+CSQ/0", false, FaultKind::Error, 0, "", -1, ""},
        {"reboot", false, FaultKind::Reboot, 0, "", -1, ""},
        {"reboot=10@AT+SHOW", false, FaultKind::Reboot, 0, "", -1, ""},
        {"unplug", false, FaultKind::Unplug, 0, "", -1, ""},
        {"unplug=5@AT+SHOW", false, FaultKind::Unplug, 0, "", -1, ""},
        {"cut=3@AT+APN", false, FaultKind::Cut, 0, "", -1, ""},
        {"value:=x", false, FaultKind::Value, 0, "", -1, ""},
        {"value:AT+APN", false, FaultKind::Value, 0, "", -1, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        sim::FaultRule rule;
        std::string error;
        ASSERT_EQ(sim::ParseFaultRule(row.text, &rule, &error), row.ok) << error;
        if (!row.ok) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(rule.kind, row.kind);
        EXPECT_EQ(rule.amount, row.amount);
        EXPECT_EQ(rule.target, row.target);
        EXPECT_EQ(rule.count, row.count);
        EXPECT_EQ(rule.value, row.value);
    }
}

TEST(FaultRuleTest, TargetsNameCommandsWhateverTheirCase) {
    struct Row {
        std::string_view target;
        std::string_view command;
        bool matches;
    };
    const Row rows[] = {
        {"At+CSQ", "AT+CSQ", true},     {"at+cpin", "At+CPIN?", true},
        {"AT+CPIN?", "At+CPIN?", true}, {"AT+IPAD", "AT+IPAD1", false},
        {"+++", "+++", true},           {"s", "s", true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(sim::TargetMatches(row.target, row.command), row.matches)
            << row.target << " " << row.command;
    }
}

}  // namespace
