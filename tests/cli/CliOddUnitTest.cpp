// A unit set up by another tool, holding in every list a value the form has no item for, driven
// through every command that writes: only what was asked for reaches it.
#include <gtest/gtest.h>

#include "params/BackupStore.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;

TEST(CliOddUnit, EveryCommandWritesOnlyWhatWasAskedForOverValuesTheListsLack) {
    testpaths::FreshDataHome();
    sim::UnitOptions options = FastUnit();
    options.oddValues = true;
    sim::VirtualUnitHost host(options);
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string ip = *host.StoredValue("AT+IPAD");
    ASSERT_NE(ip, "10.9.8.7");
    const std::string same = testpaths::TempDir() + "/same.cfg";
    const std::string units = testpaths::TempDir() + "/units.csv";
    WriteFile(units, "port\n" + host.DevicePath() + "\n");

    CliResult r = RunCli(QStringList{"read", "--output", same.c_str()} + PortArgs(host));
    ASSERT_EQ(r.exitCode, 0) << r.err;

    struct Step {
        const char* what;
        QStringList args;
        std::vector<std::string> written;
    };
    const Step steps[] = {
        {"its own listing applied", QStringList{"apply", same.c_str()} + PortArgs(host), {}},
        {"one value set",
         QStringList{"set"} + PortArgs(host) + QStringList{"Server's Ip=10.9.8.7"},
         {"AT+IPAD=10.9.8.7"}},
        {"its listing as provision's template",
         QStringList{"provision", same.c_str(), "--units", units.c_str()} + PortArgs(host),
         {"AT+IPAD=" + ip}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const std::size_t from = host.ReceivedCommands().size();
        r = RunCli(step.args);
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(WritesSince(host, from), step.written) << r.out << r.err;
    }

    // The backup the set took (the unit as it was) applied by its id: the address goes back.
    ASSERT_EQ(BackedUpUnits().size(), 1u);
    const std::vector<BackupFile> backups = ListBackups(BackedUpUnits()[0]);
    ASSERT_FALSE(backups.empty());
    ASSERT_TRUE(host.SetStoredValue("AT+IPAD", "10.9.8.7"));
    const std::size_t from = host.ReceivedCommands().size();
    r = RunCli(QStringList{"apply", backups.front().Id().c_str()} + PortArgs(host));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(WritesSince(host, from), std::vector<std::string>{"AT+IPAD=" + ip}) << r.err;
}

}  // namespace
