// Files as other tools and other units leave them, applied: other line ends read to the same
// values, a file is checked whole before anything is written, a file of another type of unit
// is refused unless asked for, and the longest listing a unit sends is read and restored whole.
#include <gtest/gtest.h>

#include <algorithm>

#include "params/ConfigFileText.h"
#include "params/SecretValues.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The file bytes with every line end made `end`; `edited` lines (holding the text) with `other`.
std::string WithLineEnds(const std::string& listing, const std::string& end,
                         const std::string& edited = {}, const std::string& other = {}) {
    std::string bytes;
    std::size_t start = 0;
    while (start < listing.size()) {
        std::size_t stop = listing.find("\r\n", start);
        if (stop == std::string::npos) stop = listing.size();
        const std::string line = listing.substr(start, stop - start);
        bytes += line;
        if (stop < listing.size()) {
            bytes += !edited.empty() && line.find(edited) != std::string::npos ? other : end;
        }
        start = stop + 2;
    }
    return bytes;
}

TEST(CliFileChecks, FilesOfEveryLineEndApplyTheirValuesAndAFaultyOneWritesNothing) {
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string listing = CaptureListing(host.DevicePath());
    const std::string ip = *host.StoredValue("AT+IPAD");
    const std::string port = *host.StoredValue("AT+PORT");
    ASSERT_FALSE(listing.empty());
    // Two lines edited in a file: the address and the port the file sets.
    std::string edited = Replaced(listing, "Server's Ip:" + ip, "Server's Ip:10.7.7.7");
    edited = Replaced(edited, "Server's Port:" + port, "Server's Port:7007");
    const std::vector<std::string> writes = {"AT+IPAD=10.7.7.7", "AT+PORT=7007"};
    struct Case {
        const char* what;
        std::string bytes;
        int exitCode;
        std::vector<std::string> written;
    };
    const Case cases[] = {
        {"edited lines in CR LF, the rest as written",
         WithLineEnds(edited, "\r\r\n", "Server", "\r\n"), 0, writes},
        {"all CR LF (a Windows editor)", WithLineEnds(edited, "\r\n"), 0, writes},
        {"all LF (a Linux editor)", WithLineEnds(edited, "\n"), 0, writes},
        {"a port the unit must refuse: nothing of the file is written",
         EncodeConfigText(Replaced(edited, "Server's Port:7007", "Server's Port:7007x")),
         2,
         {}},
        {"a label twice: refused",
         EncodeConfigText(Replaced(edited, "PPP Authentication User Id:",
                                   "Server's Port:1\r\nPPP Authentication User Id:")),
         4,
         {}},
    };
    const std::string cfg = testpaths::TempDir() + "/edited.cfg";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(host.SetStoredValue("AT+IPAD", ip));
        ASSERT_TRUE(host.SetStoredValue("AT+PORT", port));
        WriteFile(cfg, c.bytes);
        const std::size_t from = host.ReceivedCommands().size();
        const CliResult r = RunCli(QStringList{"apply", cfg.c_str()} + PortArgs(host));
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_EQ(WritesSince(host, from), c.written) << r.err;
    }
}

// A GPS unit's file on a LoRa unit: refused (exit 4) unless --any-device, and then the GPS
// module's parameters and the channel mask are left alone.
TEST(CliFileChecks, AFileOfAnotherTypeOfUnitIsWrittenOnlyWhenAskedForAndNeverItsModule) {
    sim::VirtualUnitHost gps(FastUnit(sim::UnitVariant::Gps));
    sim::VirtualUnitHost lora(FastUnit(sim::UnitVariant::Lora));
    std::string error;
    ASSERT_TRUE(gps.Start(&error)) << error;
    ASSERT_TRUE(lora.Start(&error)) << error;
    ASSERT_TRUE(gps.SetStoredValue("AT+GPSPORT", "6100"));
    ASSERT_TRUE(gps.SetStoredValue("AT+PORT", "6200"));
    const std::string cfg = testpaths::TempDir() + "/gps.cfg";
    WriteFile(cfg, EncodeConfigText(CaptureListing(gps.DevicePath())));
    const QStringList apply = QStringList{"apply", cfg.c_str()} + PortArgs(lora);

    CliResult r = RunCli(apply);
    EXPECT_EQ(r.exitCode, 4) << r.err;
    EXPECT_NE(r.err.find("DTU-K3V61"), std::string::npos) << r.err;
    EXPECT_EQ(WritesSince(lora, 0), std::vector<std::string>{});

    r = RunCli(apply + QStringList{"--any-device"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> written = WritesSince(lora, 0);
    EXPECT_NE(std::find(written.begin(), written.end(), "AT+PORT=6200"), written.end());
    for (const std::string& w : written) {
        EXPECT_EQ(w.find("GPS"), std::string::npos) << w;
        EXPECT_EQ(w.find("ZDATCHAN"), std::string::npos) << w;
    }
}

// Every text, address and phone number at 99 characters: the text after the anchor passes
// 8 KB. read gives every value, and its file restores a value listed late.
TEST(CliFileChecks, TheLongestListingIsReadAndRestoredWhole) {
    sim::UnitOptions options = FastUnit();
    options.longValues = 99;
    sim::VirtualUnitHost host(options);
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string listing = CaptureListing(host.DevicePath());
    ASSERT_GT(listing.size() - listing.find("Access Point Name:"), 8192u);

    const std::string cfg = testpaths::TempDir() + "/long.cfg";
    CliResult r = RunCli(QStringList{"read", "--json", "--output", cfg.c_str()} + PortArgs(host));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::map<std::string, std::string> read;
    ASSERT_TRUE(ParseJsonObject(r.out, &read)) << r.out;
    for (const auto& [name, value] : UnitValuesByName(host)) {
        if (IsSecretParameter(name)) continue;  // printed masked
        const auto it = read.find(name);
        ASSERT_NE(it, read.end()) << name;
        EXPECT_EQ(it->second, value) << name;
    }

    const std::string late = *host.StoredValue("AT+POLLTIME");
    ASSERT_TRUE(host.SetStoredValue("AT+POLLTIME", late + "1"));
    const std::size_t from = host.ReceivedCommands().size();
    r = RunCli(QStringList{"apply", cfg.c_str()} + PortArgs(host));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(WritesSince(host, from), std::vector<std::string>{"AT+POLLTIME=" + late});
}

}  // namespace
