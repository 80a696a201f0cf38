// The AT+SHOW listing through the pseudo-terminal, checked against the program's own list of
// labels and commands: every label it prints is one the program knows, every label the
// program reads is there with the value the unit stores, in bounds the program can read.
#include <gtest/gtest.h>

#include <set>

#include "tests/sim/ProgramParameters.h"
#include "tests/sim/SimTestSupport.h"

namespace {

using namespace std::chrono_literals;
using simtest::kOk;
using simtest::kProgramParameters;
using simtest::ProgramValue;
using simtest::UnitOnLine;

std::string_view LineLabel(std::string_view label) {
    return label.substr(0, 2) == "\r\n" ? label.substr(2) : label;
}

// Checks the listing's shape and returns its lines from the anchor to the final OK.
std::vector<std::string> ListingLines(const std::string& answer) {
    std::vector<std::string> lines;
    const std::size_t anchor = answer.find("Access Point Name:");
    EXPECT_NE(anchor, std::string::npos);
    if (anchor == std::string::npos) return lines;
    EXPECT_GT(answer.size() - anchor, 3000u);
    EXPECT_LT(answer.size() - anchor, 8192u);
    EXPECT_EQ(answer.substr(answer.size() - kOk.size()), kOk);
    // A value that holds the letters of a result code would end a reader's wait early.
    EXPECT_EQ(answer.find("OK"), answer.size() - 4);
    EXPECT_EQ(answer.find("ERROR"), std::string::npos);
    const std::string body = answer.substr(anchor, answer.size() - kOk.size() - anchor);
    for (std::size_t at = 0; at < body.size();) {
        const std::size_t end = body.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "unterminated line at " << at;
        if (end == std::string::npos) break;
        lines.push_back(body.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

TEST(ListingTest, EveryVariantListsWhatTheProgramReads) {
    struct Row {
        sim::UnitVariant variant;
        std::string loraVersion;
        std::string_view deviceTypeMark;
        std::string_view loraMark;
    };
    const Row rows[] = {
        {sim::UnitVariant::None, "", "DTU-K3", ""},
        {sim::UnitVariant::Lora, "", "-L", "v1"},
        {sim::UnitVariant::Lora, "T4R22B-N v2.0", "-L", "T4R22B-N"},
        {sim::UnitVariant::Zigbee, "", "-Z", ""},
        {sim::UnitVariant::Gps, "", "K3V61", ""},
    };
    std::set<std::string_view> known;
    for (const auto& parameter : kProgramParameters) {
        if (!parameter.label.empty()) known.insert(LineLabel(parameter.label));
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << sim::VariantName(row.variant) << " " << row.loraVersion);
        sim::UnitOptions options = simtest::FastOptions(row.variant);
        options.loraVersion = row.loraVersion;
        UnitOnLine line(options);
        std::string error;
        ASSERT_TRUE(line.Ready(&error)) << error;
        const std::string answer = line.Command("\r\nAT+SHOW\r\n");

        const auto lines = ListingLines(answer);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front().rfind("Access Point Name:", 0), 0u);
        std::set<std::string> seen;
        for (const std::string& text : lines) {
            const std::size_t colon = text.find(':');
            ASSERT_NE(colon, std::string::npos) << text;
            const std::string label = text.substr(0, colon + 1);
            EXPECT_TRUE(known.count(label)) << "label unknown to the program: " << label;
            EXPECT_TRUE(seen.insert(label).second) << "listed twice: " << label;
            EXPECT_LE(text.size() - label.size(), 99u) << text;
        }

        for (const auto& parameter : kProgramParameters) {
            if (parameter.label.empty()) continue;
            SCOPED_TRACE(parameter.name);
            std::string read;
            ASSERT_TRUE(ProgramValue(answer, parameter.label, &read));
            // The program stores what it reads under the entry whose command writes it.
            const auto stored = parameter.command.empty() || parameter.name == "LORA ver"
                                    ? line.host.StoredValueByLabel(parameter.label)
                                    : line.host.StoredValue(parameter.command);
            ASSERT_TRUE(stored.has_value());
            EXPECT_EQ(read, *stored);
            if (!parameter.command.empty() && parameter.name != "LORA ver") {
                EXPECT_EQ(line.host.StoredValueByLabel(parameter.label), stored);
            }
        }
        std::string deviceType, loraVersion;
        ProgramValue(answer, "\r\nDevice Type:", &deviceType);
        ProgramValue(answer, "\r\nLORA ver:", &loraVersion);
        EXPECT_NE(deviceType.find(row.deviceTypeMark), std::string::npos) << deviceType;
        if (!row.loraMark.empty()) {
            EXPECT_NE(loraVersion.find(row.loraMark), std::string::npos) << loraVersion;
        }
        const bool lora = row.variant == sim::UnitVariant::Lora;
        EXPECT_EQ(deviceType.find("-L") != std::string::npos, lora);
        EXPECT_EQ(deviceType.find("-Z") != std::string::npos,
                  row.variant == sim::UnitVariant::Zigbee);
        EXPECT_EQ(deviceType.find("K3V61") != std::string::npos,
                  row.variant == sim::UnitVariant::Gps);
    }
}

TEST(ListingTest, ALaterListingShowsWhatWritesStored) {
    struct Row {
        std::string_view command;
        std::string_view value;
        std::string_view label;
        bool accepted;
    };
    const Row rows[] = {
        {"AT+IPAD", "192.0.2.7", "\r\nServer's Ip:", true},
        {"AT+IPAD1", "192.0.2.8", "\r\nServer1's Ip:", true},
        {"AT+SVRCNT", "3", "\r\nTotal Servers:", true},
        {"At+PROMODE", "TRNS", "\r\nProtocol model:", true},
        {"At+ENHRT", "1", "\r\nRegistration and heart function:", true},
        {"AT+ZDATCHAN", "14", "\r\nEL transmit channel:", true},
        {"AT+DIOWORKMODE2", "4", "DIO2 workmode:", true},
        {"AT+DIOMAPC3", "2", "\r\nDIO3 and mapping center:", true},
        {"AT+LINKRGSTREP", "pong", "\r\nCustom Keep Online  reply Info:", true},
        {"AT+DEBUG", "2", "\r\nDebug Level :", true},
        {"AT+SMSC", "", "\r\nSms Center :", true},
        {"AT+PORT", "70000", "\r\nServer's Port:", false},
        {"AT+ACTI", "NONE", "\r\nActivate Method:", false},
        {"AT+CHA", "30", "\r\nZigBee_RFchannel :", false},
    };
    UnitOnLine line(simtest::FastOptions());
    std::string error;
    ASSERT_TRUE(line.Ready(&error)) << error;
    const std::string before = line.Command("\r\nAT+SHOW\r\n");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const std::string answer =
            line.Command(std::string(row.command) + "=" + std::string(row.value) + "\r\n");
        EXPECT_EQ(answer, row.accepted ? kOk : simtest::kError);
    }
    const std::string after = line.Command("\r\nAT+SHOW\r\n");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        std::string old, now;
        ASSERT_TRUE(ProgramValue(before, row.label, &old));
        ASSERT_TRUE(ProgramValue(after, row.label, &now));
        EXPECT_EQ(now, row.accepted ? std::string(row.value) : old);
    }
}

}  // namespace
