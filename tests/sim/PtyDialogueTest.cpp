// The unit's dialogue through its pseudo-terminal, with plain byte writes and reads as a
// program's serial code would make them.
#include <gtest/gtest.h>

#include "tests/sim/SimTestSupport.h"

namespace {

using namespace std::chrono_literals;
using simtest::FastOptions;
using simtest::kError;
using simtest::kOk;
using simtest::UnitOnLine;

TEST(PtyDialogueTest, PromptAndSGiveTheGreeting) {
    sim::UnitOptions options = FastOptions();
    options.start = sim::UnitStart::PowerOn;
    options.promptWindow = 800ms;
    options.promptPeriod = 100ms;
    UnitOnLine line(options);
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    ASSERT_TRUE(line.client.ReadUntil("'s' key", 5000ms)) << line.client.Received();
    EXPECT_EQ(line.host.Mode(), sim::UnitMode::Prompting);
    line.client.Take();
    // A program keeps sending "s" until the greeting comes.
    line.client.Write("s");
    line.client.Write("s");
    ASSERT_TRUE(line.client.ReadUntil("AT+LIST", 5000ms)) << line.client.Received();
    line.client.ReadFor(300ms);
    const std::string text = line.client.Take();
    EXPECT_EQ(text.find("'s' key", text.find("[Setting mode]")), std::string::npos) << text;
    EXPECT_EQ(line.host.Mode(), sim::UnitMode::Configuration);
    // The stray "s" before a command is dropped.
    EXPECT_NE(line.Command("s\r\nsAt+VER\r\n").find("+VER:"), std::string::npos);
}

TEST(PtyDialogueTest, WithoutSTheUnitWorksAndPlusesOpenSettingMode) {
    sim::UnitOptions options = FastOptions();
    options.start = sim::UnitStart::PowerOn;
    options.promptWindow = 300ms;
    options.promptPeriod = 100ms;
    UnitOnLine line(options);
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    ASSERT_TRUE(line.client.ReadUntil("Start working", 5000ms)) << line.client.Received();
    EXPECT_EQ(line.host.Mode(), sim::UnitMode::Working);
    line.client.Take();
    // Commands are data here.
    line.client.Write("AT+SHOW\r\n");
    line.client.ReadFor(100ms);
    EXPECT_EQ(line.client.Take(), "");
    line.client.Write("+++");
    ASSERT_TRUE(line.client.ReadUntil("enter setting!\r\n", 5000ms));
    EXPECT_EQ(line.client.Take(), "\r\nenter setting!\r\n");
    EXPECT_EQ(line.host.Mode(), sim::UnitMode::Configuration);
}

TEST(PtyDialogueTest, QueriesAnswerThenOk) {
    struct Row {
        std::string_view command;
        std::string_view expected;
    };
    const Row rows[] = {
        {"At+VER\r\n", "\r\n+VER: DTU-K3 V"},
        {"\r\nAt+CPIN?\r\n", "\r\n+CPIN: READY\r\n"},
        {"At+CSQ\r\n", "\r\n+CSQ: 23,99\r\n"},
        {"AT+FINDNETMODE\r\n", "\r\n+FINDNETMODE: LTE\r\n"},
        {"at+READFILELOG\r\n", "power on"},
        {"AT+LIST\r\n", "AT+SHOW"},
        {"AT+EXCCLK=\"2024/03/05,14:07:09\",5\r\n", ""},
        {"\r\nAT+FACTORY\r\n", ""},
        {"AT+WHAT\r\n", ""},
    };
    UnitOnLine line(FastOptions());
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const std::string answer = line.Command(row.command);
        const bool refused = row.command == "AT+WHAT\r\n";
        ASSERT_GE(answer.size(), kOk.size());
        EXPECT_EQ(answer.substr(answer.size() - (refused ? kError : kOk).size()),
                  refused ? kError : kOk);
        EXPECT_NE(answer.find(row.expected), std::string::npos) << answer;
        // Only the final result code may hold the letters of a result.
        EXPECT_EQ(answer.find("OK"), refused ? std::string::npos : answer.size() - 4) << answer;
        EXPECT_LT(answer.size(), row.command == "AT+FINDNETMODE\r\n" ? 100u : 2000u);
    }
    EXPECT_EQ(line.host.ClockText().substr(0, 16), "2024/03/05,14:07");
    EXPECT_EQ(line.host.ReceivedCommands().size(), std::size(rows));
}

TEST(PtyDialogueTest, QuitLeavesSettingMode) {
    UnitOnLine line(FastOptions());
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    EXPECT_EQ(line.Command("\r\nat+quit\r\n"), kOk);
    EXPECT_EQ(line.host.Mode(), sim::UnitMode::Working);
    line.client.Write("AT+SHOW\r\n");
    line.client.ReadFor(100ms);
    EXPECT_EQ(line.client.Take(), "");
}

TEST(PtyDialogueTest, QuietSettingModeTimesOut) {
    sim::UnitOptions options = FastOptions();
    options.inactivityTimeout = 300ms;
    UnitOnLine line(options);
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    const auto start = simtest::Clock::now();
    EXPECT_EQ(line.Command("At+CSQ\r\n").find("+CSQ"), 2u);
    ASSERT_TRUE(line.client.ReadUntil("Seting Timeout and quit", 2000ms));
    EXPECT_GE(simtest::Clock::now() - start, 290ms);
    EXPECT_EQ(line.client.Take(), "\r\nSeting Timeout and quit\r\n");
    EXPECT_EQ(line.host.Mode(), sim::UnitMode::Working);
}

TEST(PtyDialogueTest, ReopenedPortKeepsTalking) {
    UnitOnLine line(FastOptions());
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    EXPECT_EQ(line.Command("AT\r\n"), kOk);
    line.client.Close();
    ASSERT_TRUE(line.client.Open(line.host.DevicePath(), &error)) << error;
    EXPECT_EQ(line.Command("AT\r\n"), kOk);
    EXPECT_FALSE(line.host.LineCut());
}

TEST(PtyDialogueTest, EchoSendsReceivedBytesBack) {
    sim::UnitOptions options = FastOptions();
    options.echo = true;
    UnitOnLine line(options);
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    std::string answer = line.Command("At+CSQ\r\n");
    line.client.ReadFor(50ms);
    answer += line.client.Take();
    // Byte by byte: the CR ends the line and the answer follows before the LF is echoed.
    EXPECT_EQ(answer, "At+CSQ\r\r\n+CSQ: 23,99\r\n\r\nOK\r\n\n");
}

TEST(PtyDialogueTest, RebootPrintsBannerAndPromptsAgain) {
    sim::UnitOptions options = FastOptions();
    options.promptWindow = 500ms;
    options.promptPeriod = 100ms;
    UnitOnLine line(options);
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    EXPECT_EQ(line.Command("AT+APN=internet\r\n"), kOk);
    line.host.Reboot();
    ASSERT_TRUE(line.client.ReadUntil("'s' key", 5000ms));
    EXPECT_NE(line.client.Received().find("DTU-K3 data terminal unit"), std::string::npos);
    EXPECT_EQ(line.host.Mode(), sim::UnitMode::Prompting);
    line.client.Write("s");
    ASSERT_TRUE(line.client.ReadUntil("AT+LIST", 5000ms));
    EXPECT_EQ(line.host.StoredValue("AT+APN"), "internet");
    EXPECT_EQ(line.host.Counters().reboots, 1u);
}

}  // namespace
