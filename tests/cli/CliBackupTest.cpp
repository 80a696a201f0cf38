// The backups on the command line, as processes against one unit: a write takes a backup,
// history lists it (with how far the unit has moved from it), diff and apply take its id, and
// two files are compared without a unit.
#include <gtest/gtest.h>

#include "params/BackupStore.h"
#include "params/ConfigFileText.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(CliBackup, HistoryListsTheBackupsAndApplyingOneRestoresTheUnit) {
    testpaths::FreshDataHome();
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string listing = CaptureListing(host.DevicePath());
    ASSERT_FALSE(listing.empty());
    const std::string ip = *host.StoredValue("AT+IPAD");
    ASSERT_NE(ip, "9.9.9.9");
    const std::string original = testpaths::TempDir() + "/original.cfg";
    const std::string changed = testpaths::TempDir() + "/changed.cfg";
    WriteFile(original, EncodeConfigText(listing));
    WriteFile(changed,
              EncodeConfigText(Replaced(listing, "Server's Ip:" + ip, "Server's Ip:9.9.9.9")));

    // The first write of a session backs the unit up: the only backup so far.
    CliResult r = RunCli(QStringList{"set"} + PortArgs(host) + QStringList{"Server's Ip=9.9.9.9"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(BackedUpUnits().size(), 1u);
    const std::string unit = BackedUpUnits()[0];
    EXPECT_EQ(unit, "DTU-K3_12345678");  // the unit's type and ID number
    std::vector<BackupFile> backups = ListBackups(unit);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_NE(r.err.find(backups[0].path), std::string::npos) << r.err;
    const QString id = QString::fromStdString(backups[0].Id());
    const std::string head = backups[0].Id() + "\t" + BackupTimeText(backups[0]) + "\t";

    struct Step {
        const char* what;
        QStringList args;
        std::vector<std::string> out;
        std::vector<std::string> written;
    };
    const Step steps[] = {
        {"every unit's", {"history"}, {head + backups[0].path}, {}},
        {"this unit's", {"history", "--unit", unit.c_str()}, {head + backups[0].path}, {}},
        {"another unit's", {"history", "--unit", "DTU_0"}, {}, {}},
        {"the unit now", QStringList{"history"} + PortArgs(host), {head + "1"}, {}},
        {"the backup against the file it was", {"diff", id, original.c_str()}, {}, {}},
        {"two files",
         {"diff", original.c_str(), changed.c_str()},
         {"Server's Ip\t" + ip + "\t9.9.9.9"},
         {}},
        {"the backup against the unit",
         QStringList{"diff", id} + PortArgs(host),
         {"Server's Ip\t9.9.9.9\t" + ip},
         {}},
        {"the backup applied",
         QStringList{"apply", id} + PortArgs(host),
         {"Server's Ip\t9.9.9.9\t" + ip + "\tOK"},
         {"AT+IPAD=" + ip}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const std::size_t from = host.ReceivedCommands().size();
        r = RunCli(step.args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Lines(r.out), step.out);
        EXPECT_EQ(WritesSince(host, from), step.written);
    }
    // The apply took a backup of its own before its write; the first one now differs by none.
    EXPECT_EQ(host.StoredValue("AT+IPAD"), ip);
    backups = ListBackups(unit);
    ASSERT_EQ(backups.size(), 2u);
    r = RunCli(QStringList{"history"} + PortArgs(host));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out),
              (std::vector<std::string>{
                  head + "0", backups[1].Id() + "\t" + BackupTimeText(backups[1]) + "\t1"}));
}

}  // namespace
