// The unit's state machine on a made-up clock: modes, line handling, time-outs, value
// domains, the clock and the faults' reproducibility, without a pseudo-terminal.
#include "sim/VirtualUnit.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sim/UnitTexts.h"

namespace {

using namespace std::chrono_literals;
using sim::TimePoint;
using sim::UnitMode;
using sim::UnitOptions;
using sim::VirtualUnit;

const TimePoint kStart = TimePoint{} + std::chrono::hours(1);

int Count(const std::string& text, std::string_view what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// Runs the unit's timers and line up to `until` and returns what it sent meanwhile.
std::string RunUntil(VirtualUnit& unit, TimePoint until) {
    std::string out;
    for (TimePoint next = unit.NextDeadline(); next <= until; next = unit.NextDeadline()) {
        unit.Advance(next);
        out += unit.TakeOutput();
    }
    unit.Advance(until);
    return out + unit.TakeOutput();
}

UnitOptions ConfigOptions() {
    UnitOptions options;
    options.baud = 115200;
    options.start = sim::UnitStart::Configuration;
    return options;
}

// Feeds `input` at `at` and returns the whole answer (everything sent in the next second).
std::string Ask(VirtualUnit& unit, std::string_view input, TimePoint at) {
    unit.Feed(input, at);
    return RunUntil(unit, at + 1s);
}

TEST(VirtualUnitTest, PromptsDuringTheWindowThenWorks) {
    struct Row {
        std::chrono::milliseconds window;
        std::chrono::milliseconds period;
        int prompts;
    };
    const Row rows[] = {
        {3000ms, 500ms, 6},
        {1000ms, 500ms, 2},
        {1200ms, 300ms, 4},
        {0ms, 500ms, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.window.count());
        UnitOptions options;
        options.promptWindow = row.window;
        options.promptPeriod = row.period;
        VirtualUnit unit(options, kStart);
        EXPECT_EQ(unit.Mode() == UnitMode::Prompting, row.prompts > 0);
        const std::string out = RunUntil(unit, kStart + row.window + 1s);
        EXPECT_EQ(Count(out, "'s' key"), row.prompts);
        EXPECT_NE(out.find("DTU-K3"), std::string::npos) << "banner";
        EXPECT_EQ(unit.Mode(), UnitMode::Working);
        EXPECT_EQ(RunUntil(unit, kStart + row.window + 5s), "");
    }
}

TEST(VirtualUnitTest, AnSInTheWindowOpensSettingMode) {
    struct Row {
        std::chrono::milliseconds at;
        char key;
        bool opens;
    };
    const Row rows[] = {
        {100ms, 's', true},  {2900ms, 's', true}, {3100ms, 's', false},
        {100ms, 'S', false}, {100ms, 'x', false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.at.count() << " " << row.key);
        VirtualUnit unit(UnitOptions{}, kStart);
        RunUntil(unit, kStart + row.at);
        const std::string answer = Ask(unit, std::string(1, row.key), kStart + row.at);
        const std::size_t greeting = answer.find("AT+LIST");
        EXPECT_EQ(greeting != std::string::npos, row.opens);
        EXPECT_EQ(unit.Mode() == UnitMode::Configuration, row.opens);
        if (row.opens) {
            // A prompt already on the wire may finish first; none may follow the greeting.
            EXPECT_EQ(answer.find("'s' key", greeting), std::string::npos);
            EXPECT_EQ(answer.find("OK"), std::string::npos);
            EXPECT_EQ(RunUntil(unit, kStart + 10s).find("'s' key"), std::string::npos);
        }
    }
}

TEST(VirtualUnitTest, ThreePlusesInWorkingModeOpenSettingMode) {
    struct Row {
        std::string_view input;
        bool opens;
    };
    const Row rows[] = {
        {"+++", true},   {"s+++", true},   {"data+++", true},
        {"++x+", false}, {"+ + +", false}, {"++", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.input);
        UnitOptions options;
        options.start = sim::UnitStart::Working;
        VirtualUnit unit(options, kStart);
        const std::string answer = Ask(unit, row.input, kStart);
        EXPECT_EQ(answer == sim::kEnterSettingText, row.opens) << answer;
        EXPECT_EQ(unit.Mode() == UnitMode::Configuration, row.opens);
    }
}

TEST(VirtualUnitTest, SettingModeTakesLinesFromTheirFirstAt) {
    struct Row {
        std::string input;
        std::string_view expected;  // empty: no answer at all
        std::string_view command;   // the command recorded, empty: none
    };
    const Row rows[] = {
        {"ssssAT+VER\r\n", "+VER: DTU-K3 ", "AT+VER"},
        {"At+VER\r", "+VER:", "At+VER"},
        {"\r\n\r\n", "", ""},
        {"hello\r\n", "", ""},
        {"AT\r\n", "\r\nOK\r\n", "AT"},
        {"at+show\r", "Access Point Name:", "at+show"},
        {"AT+SHOW \r\n", "Access Point Name:", "AT+SHOW "},
        {"AT+NOPE\r\n", "\r\nERROR\r\n", "AT+NOPE"},
        {"AT+SHOW=1\r\n", "\r\nERROR\r\n", "AT+SHOW=1"},
        {"AT+APN\r\n", "\r\nERROR\r\n", "AT+APN"},
        {"AT+LVER=v9\r\n", "\r\nERROR\r\n", "AT+LVER=v9"},
        {"AT+APN=" + std::string(600, 'x') + "\r\n", "\r\nERROR\r\n", ""},
        {std::string(600, 's') + "AT+VER\r\n", "+VER:", "AT+VER"},
        {std::string(600, 's') + "+++", "enter setting!", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.input.substr(0, 20));
        VirtualUnit unit(ConfigOptions(), kStart);
        const std::string answer = Ask(unit, row.input, kStart);
        if (row.expected.empty()) {
            EXPECT_EQ(answer, "");
        } else {
            EXPECT_NE(answer.find(row.expected), std::string::npos) << answer;
        }
        const auto commands = unit.ReceivedCommands();
        if (row.command.empty() && row.input.size() < 100) {
            EXPECT_TRUE(commands.empty());
        } else if (!row.command.empty()) {
            ASSERT_EQ(commands.size(), 1u);
            EXPECT_EQ(commands[0], row.command);
        }
        EXPECT_EQ(unit.Mode(), UnitMode::Configuration);
    }
}

TEST(VirtualUnitTest, SettingModeEndsAfterTheQuietPeriod) {
    UnitOptions options = ConfigOptions();
    options.inactivityTimeout = 300s;
    VirtualUnit unit(options, kStart);
    EXPECT_EQ(RunUntil(unit, kStart + 200s), "");
    EXPECT_NE(Ask(unit, "\r\nAt+CSQ\r\n", kStart + 200s).find("+CSQ: 23,99"), std::string::npos);
    // Stray bytes are no command and do not keep the mode alive.
    unit.Feed("sss\r\n", kStart + 450s);
    EXPECT_EQ(RunUntil(unit, kStart + 499s), "");
    EXPECT_EQ(unit.Mode(), UnitMode::Configuration);
    EXPECT_EQ(RunUntil(unit, kStart + 501s), sim::kTimeoutText);
    EXPECT_EQ(unit.Mode(), UnitMode::Working);
    EXPECT_EQ(unit.Counters().inactivityQuits, 1u);
}

TEST(VirtualUnitTest, AnswersGoOutAtTheLineSpeed) {
    for (int baud : {9600, 115200}) {
        SCOPED_TRACE(baud);
        UnitOptions options = ConfigOptions();
        options.baud = baud;
        VirtualUnit unit(options, kStart);
        unit.Feed("At+VER\r\n", kStart);
        const std::string answer = sim::VersionText("DTU-K3") + std::string(sim::kOkText);
        const auto wire = std::chrono::nanoseconds(10'000'000'000LL / baud) *
                          static_cast<long long>(answer.size());
        EXPECT_EQ(RunUntil(unit, kStart + wire - 1ns), answer.substr(0, answer.size() - 1));
        EXPECT_EQ(RunUntil(unit, kStart + wire), answer.substr(answer.size() - 1));
    }
}

TEST(VirtualUnitTest, ClockTakesOnlyValidTimes) {
    struct Row {
        std::string_view argument;
        bool accepted;
    };
    const Row rows[] = {
        {"\"2024/03/05,14:07:09\",5", true},  {"\"2024/02/29,23:59:59\",5", true},
        {"\"2023/02/29,12:00:00\",5", false}, {"\"2024/13/01,12:00:00\",5", false},
        {"\"2024/03/05,24:00:00\",5", false}, {"\"2024/03/05 14:07:09\",5", false},
        {"2024/03/05,14:07:09,5", false},     {"\"2024/03/05,14:07:09\"", false},
        {"\"2024/03/05,14:07:09\",x", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.argument);
        VirtualUnit unit(ConfigOptions(), kStart);
        const std::string answer =
            Ask(unit, "AT+EXCCLK=" + std::string(row.argument) + "\r\n", kStart);
        EXPECT_EQ(answer, row.accepted ? sim::kOkText : sim::kErrorText);
        EXPECT_EQ(unit.ClockText(kStart).empty(), !row.accepted);
    }
    VirtualUnit unit(ConfigOptions(), kStart);
    Ask(unit, "AT+EXCCLK=\"2024/02/28,23:59:30\",5\r\n", kStart);
    EXPECT_EQ(unit.ClockText(kStart + 40s), "2024/02/29,00:00:10");
}

TEST(VirtualUnitTest, FaultsRepeatWithTheSameSeed) {
    const auto run = [](std::uint32_t seed) {
        UnitOptions options = ConfigOptions();
        options.seed = seed;
        VirtualUnit unit(options, kStart);
        for (std::string_view text : {"noise=5", "drop=5", "zeros=5"}) {
            sim::FaultRule rule;
            std::string error;
            EXPECT_TRUE(sim::ParseFaultRule(text, &rule, &error)) << error;
            unit.AddFault(rule, kStart);
        }
        return Ask(unit, "AT+SHOW\r\n", kStart);
    };
    const std::string first = run(7);
    EXPECT_EQ(first, run(7));
    EXPECT_NE(first, run(8));
    EXPECT_NE(first.find('\0'), std::string::npos);
}

}  // namespace
