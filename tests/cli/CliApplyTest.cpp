// diff and apply as processes: a backup made from the unit, the unit changed behind it, then
// what would be written, what is written, and that a second apply writes nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "params/ConfigFileText.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;

std::vector<std::string> Sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(CliApply, WritesOnlyWhatTheUnitNoLongerHolds) {
    sim::VirtualUnitHost host(FastUnit(sim::UnitVariant::Lora));
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string listing = CaptureListing(host.DevicePath());
    ASSERT_FALSE(listing.empty());
    const std::string cfg = testpaths::TempDir() + "/backup.cfg";
    WriteFile(cfg, EncodeConfigText(listing));

    // The unit changes: a shown address and port, and the LoRa ID on the tab its type offers.
    const std::string ip = *host.StoredValue("AT+IPAD");
    const std::string port = *host.StoredValue("AT+PORT");
    const std::string loraId = *host.StoredValue("AT+LID");
    ASSERT_TRUE(host.SetStoredValue("AT+IPAD", "1.1.1.1"));
    ASSERT_TRUE(host.SetStoredValue("AT+PORT", "1"));
    ASSERT_TRUE(host.SetStoredValue("AT+LID", "77"));
    const std::string loraIdName = NameOfCommand("AT+LID");
    const std::vector<std::string> changes = Sorted({
        "Server's Ip\t1.1.1.1\t" + ip,
        "Server's Port\t1\t" + port,
        loraIdName + "\t77\t" + loraId,
    });

    struct Step {
        const char* what;
        QStringList args;
        std::vector<std::string> out;      // sorted stdout lines
        std::vector<std::string> written;  // sorted writes the unit received
    };
    const QStringList apply = QStringList{"apply", cfg.c_str()} + PortArgs(host);
    const QStringList diff = QStringList{"diff", cfg.c_str()} + PortArgs(host);
    std::vector<std::string> applied;
    for (const std::string& line : changes) applied.push_back(line + "\tOK");
    const std::vector<std::string> expectedWrites =
        Sorted({"AT+IPAD=" + ip, "AT+LID=" + loraId, "AT+PORT=" + port});
    const Step steps[] = {
        {"diff", diff, changes, {}},
        {"dry run", apply + QStringList{"--dry-run"}, changes, {}},
        {"apply", apply, applied, expectedWrites},
        {"apply again", apply, {}, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const std::size_t from = host.ReceivedCommands().size();
        const CliResult r = RunCli(step.args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Sorted(Lines(r.out)), step.out);
        EXPECT_EQ(Sorted(WritesSince(host, from)), step.written);
        // Every run read the unit once and left it.
        const std::vector<std::string> commands = host.ReceivedCommands();
        ASSERT_GT(commands.size(), from);
        // (after the AT that asks whether the unit is in its setting mode already)
        const std::size_t first = from + (commands[from] == "AT" ? 1 : 0);
        ASSERT_GT(commands.size(), first);
        EXPECT_EQ(commands[first], "AT+SHOW");
        EXPECT_EQ(commands.back(), "at+quit");
    }
    EXPECT_EQ(host.StoredValue("AT+IPAD"), ip);
    EXPECT_EQ(host.StoredValue("AT+PORT"), port);
    EXPECT_EQ(host.StoredValue("AT+LID"), loraId);
}

// The bits of the LoRa channel mask without a switch (2, 3, 6, 7) come from the file, not the unit.
TEST(CliApply, AFileRestoresTheChannelBitsWithoutSwitches) {
    sim::VirtualUnitHost host(FastUnit(sim::UnitVariant::Lora));
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    ASSERT_TRUE(host.SetStoredValue("AT+ZDATCHAN", "195"));  // 1, 2, 64, 128
    const std::string listing = CaptureListing(host.DevicePath());
    ASSERT_NE(listing.find("EL transmit channel:195"), std::string::npos);
    const std::string cfg = testpaths::TempDir() + "/mask.cfg";
    WriteFile(cfg, EncodeConfigText(listing));
    ASSERT_TRUE(host.SetStoredValue("AT+ZDATCHAN", "3"));

    const std::size_t from = host.ReceivedCommands().size();
    const CliResult r = RunCli(QStringList{"apply", cfg.c_str()} + PortArgs(host));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(WritesSince(host, from), std::vector<std::string>{"AT+ZDATCHAN=195"});
    EXPECT_EQ(host.StoredValue("AT+ZDATCHAN"), "195");
}

}  // namespace
