// Each fault through the pseudo-terminal, as a program's serial code meets it.
#include <gtest/gtest.h>

#include <functional>

#include "tests/sim/SimTestSupport.h"

namespace {

using namespace std::chrono_literals;
using simtest::Clock;
using simtest::kError;
using simtest::kOk;
using simtest::UnitOnLine;

const std::string kVersion = "\r\n+VER: DTU-K3 V3.2.7 build 2017-11-20\r\n\r\nOK\r\n";

// True when `part` can be made from `whole` by leaving bytes out.
bool IsSubsequence(std::string_view part, std::string_view whole) {
    std::size_t at = 0;
    for (char c : whole) {
        if (at < part.size() && part[at] == c) ++at;
    }
    return at == part.size();
}

std::string WithoutZeros(std::string text) {
    std::erase(text, '\0');
    return text;
}

struct FaultRow {
    std::string_view name;
    std::vector<std::string_view> faults;
    std::function<void(UnitOnLine&)> check;
};

const FaultRow kFaults[] = {
    {"noise before answers",
     {"noise=6"},
     [](UnitOnLine& line) {
         const std::string answer = line.Command("At+VER\r\n");
         ASSERT_EQ(answer.size(), kVersion.size() + 6);
         for (char c : answer.substr(0, 6)) {
             EXPECT_GE(static_cast<unsigned char>(c), 0x80);
         }
         EXPECT_EQ(answer.substr(6), kVersion);
     }},
    {"zero bytes inside an answer",
     {"zeros=30@At+VER"},
     [](UnitOnLine& line) {
         line.client.Write("At+VER\r\n");
         line.client.ReadUntilMatch(
             [](const std::string& text) { return WithoutZeros(text) == kVersion; }, 5000ms);
         const std::string answer = line.client.Take();
         EXPECT_NE(answer.find('\0'), std::string::npos);
         EXPECT_EQ(WithoutZeros(answer), kVersion);
         EXPECT_EQ(line.Command("At+CSQ\r\n").find('\0'), std::string::npos);
     }},
    {"dropped bytes",
     {"drop=40@At+VER/1"},
     [](UnitOnLine& line) {
         line.client.Write("At+VER\r\n");
         line.client.ReadFor(200ms);
         const std::string answer = line.client.Take();
         EXPECT_LT(answer.size(), kVersion.size());
         EXPECT_TRUE(IsSubsequence(answer, kVersion)) << answer;
         EXPECT_GT(line.host.Counters().bytesLost, 0u);
         EXPECT_EQ(line.Command("At+VER\r\n"), kVersion);
     }},
    {"answer split into single bytes",
     {"split=4@At+CSQ"},
     [](UnitOnLine& line) {
         const auto start = Clock::now();
         line.client.Write("At+CSQ\r\n");
         // Each byte comes in a write of its own, so most reads see a single byte.
         int reads = 0;
         std::string answer;
         while (answer.find(kOk) == std::string::npos && Clock::now() - start < 2s) {
             const std::size_t before = line.client.Received().size();
             line.client.ReadUntilMatch(
                 [before](const std::string& text) { return text.size() > before; }, 500ms);
             answer = line.client.Received();
             ++reads;
         }
         EXPECT_EQ(line.client.Take(), "\r\n+CSQ: 23,99\r\n\r\nOK\r\n");
         EXPECT_GE(reads, static_cast<int>(answer.size() / 2));
         EXPECT_GE(line.client.LastByteAt() - start, 4ms * (answer.size() - 1));
     }},
    {"delayed answer",
     {"delay=300@At+VER"},
     [](UnitOnLine& line) {
         const auto start = Clock::now();
         EXPECT_EQ(line.Command("At+VER\r\n"), kVersion);
         EXPECT_GE(line.client.LastByteAt() - start, 300ms);
     }},
    {"missing answer",
     {"mute@At+VER/1"},
     [](UnitOnLine& line) {
         line.client.Write("At+VER\r\n");
         line.client.ReadFor(200ms);
         EXPECT_EQ(line.client.Take(), "");
         EXPECT_EQ(line.Command("At+VER\r\n"), kVersion);
     }},
    {"lost OK of a write that was stored",
     {"mute@AT+APN"},
     [](UnitOnLine& line) {
         line.client.Write("AT+APN=internet\r\n");
         line.client.ReadFor(200ms);
         EXPECT_EQ(line.client.Take(), "");
         EXPECT_EQ(line.host.StoredValue("AT+APN"), "internet");
     }},
    {"ERROR to the first two At+CSQ",
     {"error@At+CSQ/2"},
     [](UnitOnLine& line) {
         EXPECT_EQ(line.Command("At+CSQ\r\n"), kError);
         EXPECT_EQ(line.Command("At+CSQ\r\n"), kError);
         EXPECT_EQ(line.Command("At+CSQ\r\n"), "\r\n+CSQ: 23,99\r\n\r\nOK\r\n");
     }},
    {"refused write leaves the value",
     {"error@AT+IPAD"},
     [](UnitOnLine& line) {
         EXPECT_EQ(line.Command("AT+IPAD=192.0.2.9\r\n"), kError);
         EXPECT_EQ(line.host.StoredValue("AT+IPAD"), "203.0.113.10");
     }},
    {"a value with the letters OK",
     {"value:AT+APN=BOOK"},
     [](UnitOnLine& line) {
         const std::string answer = line.Command("\r\nAT+SHOW\r\n");
         EXPECT_NE(answer.find("Access Point Name:BOOK\r\n"), std::string::npos);
         EXPECT_TRUE(line.host.SetStoredValue("\r\nServer's Ip:", "OK"));
         EXPECT_NE(line.Command("\r\nAT+SHOW\r\n").find("\r\nServer's Ip:OK\r\n"),
                   std::string::npos);
     }},
    {"reboot instead of a command",
     {"reboot@AT+FACTORY"},
     [](UnitOnLine& line) {
         line.client.Write("AT+FACTORY\r\n");
         EXPECT_TRUE(line.client.ReadUntil("'s' key", 5000ms));
         EXPECT_EQ(line.client.Received().find("OK"), std::string::npos);
         EXPECT_EQ(line.host.Mode(), sim::UnitMode::Prompting);
     }},
    {"reboot after a time",
     {"reboot=200"},
     [](UnitOnLine& line) {
         const auto start = Clock::now();
         EXPECT_TRUE(line.client.ReadUntil("'s' key", 5000ms));
         EXPECT_GE(Clock::now() - start, 150ms);
     }},
    {"unplug after N bytes",
     {"unplug=120"},
     [](UnitOnLine& line) {
         line.client.Write("\r\nAT+SHOW\r\n");
         EXPECT_TRUE(line.client.WaitHangup(2000ms));
         EXPECT_LE(line.client.Received().size(), 120u);
         EXPECT_EQ(line.client.Received().find("Access Point"), 26u);
         EXPECT_EQ(line.host.Counters().bytesOut, 120u);
         EXPECT_EQ(line.host.Mode(), sim::UnitMode::Unplugged);
         EXPECT_TRUE(line.host.LineCut());
         std::string error;
         EXPECT_FALSE(line.client.Open(line.host.DevicePath(), &error));
     }},
};

TEST(PtyFaultTest, EachFaultShowsOnTheLine) {
    for (const FaultRow& row : kFaults) {
        SCOPED_TRACE(row.name);
        UnitOnLine line(simtest::FastOptions());
        for (std::string_view text : row.faults) {
            std::string error;
            ASSERT_TRUE(line.host.AddFault(text, &error)) << error;
        }
        std::string error;
        ASSERT_TRUE(line.Ready(&error)) << error;
        row.check(line);
    }
}

TEST(PtyFaultTest, UnplugOnRequestHangsUpTheReader) {
    UnitOnLine line(simtest::FastOptions());
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    EXPECT_EQ(line.Command("AT\r\n"), kOk);
    line.host.Unplug();
    EXPECT_TRUE(line.client.WaitHangup(5000ms));
    EXPECT_TRUE(line.host.LineCut());
}

TEST(PtyFaultTest, BadFaultsAreRefused) {
    UnitOnLine line(simtest::FastOptions());
    std::string error;
    EXPECT_FALSE(line.host.AddFault("value:AT+NOSUCH=1", &error));
    EXPECT_NE(error.find("AT+NOSUCH"), std::string::npos);
    EXPECT_FALSE(line.host.AddFault("drop=abc", &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
