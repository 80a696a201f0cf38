// What the command line leaves on the disk: passwords masked in every log, report and printed
// line, those files and the backups its owner's alone, a backup for every write and never one
// over another, and no write without one unless --no-backup says so.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "params/BackupStore.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;
namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

std::vector<std::string> FilesUnder(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    return files;
}

TEST(CliSecretsAndBackups, PasswordsAreMaskedAndTheFilesAreTheirOwnersAlone) {
    testpaths::FreshDataHome();
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string dir = testpaths::TempDir();
    const std::string log = dir + "/set.log";
    const std::string secret = "S3cr3t!xyz";
    const std::string cfg = dir + "/template.cfg";
    WriteFile(cfg, CaptureListing(host.DevicePath()));
    CliResult r = RunCli(QStringList{"set", "--log", log.c_str()} + PortArgs(host) +
                         QStringList{QString::fromStdString("Password=" + secret)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(host.StoredValue("AT+PASSWORD"), secret) << "the unit gets the password itself";

    // provision: a row's password, its per-port log and its report.
    const std::string csv = dir + "/units.csv";
    WriteFile(csv, "port,Password\n" + host.DevicePath() + ",pw0pw0\n");
    const std::string reports = dir + "/reports";
    fs::create_directory(reports);
    const CliResult p =
        RunCli(QStringList{"provision", cfg.c_str(), "--units", csv.c_str(), "--report",
                           reports.c_str(), "--log", (dir + "/prov.log").c_str()} +
               PortArgs(host));
    ASSERT_EQ(p.exitCode, 0) << p.err;
    EXPECT_FALSE(fs::exists(dir + "/prov.log")) << "the logs are the units', FILE.port-n";

    std::vector<std::string> written = FilesUnder(reports);
    written.push_back(log);
    for (const std::string& file : FilesUnder(dir)) {
        if (file.find("prov.log.") != std::string::npos) written.push_back(file);
    }
    for (const std::string& file : FilesUnder(BackupRoot())) written.push_back(file);
    ASSERT_GE(written.size(), 5u);
    for (const std::string& file : written) {
        SCOPED_TRACE(file);
        EXPECT_EQ(ModeOf(file), 0600u);
        if (file.find(BackupRoot()) == 0) continue;  // backups keep the values: they restore them
        const std::string text = ReadFile(file);
        EXPECT_EQ(text.find(secret), std::string::npos);
        EXPECT_EQ(text.find("pw0pw0"), std::string::npos);
    }
    for (const std::string& printed : {r.out, r.err, p.out, p.err}) {
        EXPECT_EQ(printed.find(secret), std::string::npos) << printed;
        EXPECT_EQ(printed.find("pw0pw0"), std::string::npos) << printed;
    }
    EXPECT_NE(r.out.find("Password\t\t********\tOK"), std::string::npos) << r.out;
}

// Four units of one type and ID number set at once: four backups, none replaced.
TEST(CliSecretsAndBackups, FourWritersAtOnceLeaveFourBackups) {
    testpaths::FreshDataHome();
    std::vector<std::unique_ptr<sim::VirtualUnitHost>> units;
    std::vector<std::unique_ptr<CliRun>> runs;
    for (int i = 0; i < 4; ++i) {
        units.push_back(std::make_unique<sim::VirtualUnitHost>(FastUnit()));
        std::string error;
        ASSERT_TRUE(units.back()->Start(&error)) << error;
        // Each holds something else: a backup equal to the newest would not be taken again.
        ASSERT_TRUE(units.back()->SetStoredValue("AT+APN", "apn" + std::to_string(i)));
    }
    for (int i = 0; i < 4; ++i) {
        runs.push_back(
            std::make_unique<CliRun>(QStringList{"set"} + PortArgs(*units[i]) +
                                     QStringList{QString("Server's Port=%1").arg(6000 + i)}));
    }
    for (auto& run : runs) {
        const CliResult r = run->Finish();
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
    ASSERT_EQ(BackedUpUnits().size(), 1u);
    EXPECT_EQ(ListBackups(BackedUpUnits()[0]).size(), 4u);
}

// A backup that cannot be saved stops the writes (exit 4) unless --no-backup; applying the
// oldest of a full store keeps it.
TEST(CliSecretsAndBackups, NoWriteWithoutABackupAndTheAppliedOneIsNeverPruned) {
    const std::string home = testpaths::FreshDataHome();
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string listing = CaptureListing(host.DevicePath());
    const std::string port = *host.StoredValue("AT+PORT");
    ASSERT_NE(port, "6001");

    WriteFile(home + "/dtuconfig", "a file where the backups' folder would be");
    const QStringList set = QStringList{"set"} + PortArgs(host) + QStringList{"Server's Port=6001"};
    std::size_t from = host.ReceivedCommands().size();
    CliResult r = RunCli(set);
    EXPECT_EQ(r.exitCode, 4) << r.err;
    EXPECT_EQ(WritesSince(host, from), std::vector<std::string>{});
    EXPECT_NE(r.err.find("backed up"), std::string::npos) << r.err;
    from = host.ReceivedCommands().size();
    r = RunCli(set + QStringList{"--no-backup"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(WritesSince(host, from), std::vector<std::string>{"AT+PORT=6001"});

    fs::remove(home + "/dtuconfig");
    std::vector<BackupFile> stored(kBackupsKept);
    const auto start = std::chrono::system_clock::now() - std::chrono::hours(1);
    for (std::size_t i = 0; i < kBackupsKept; ++i) {
        ASSERT_TRUE(StoreBackup("DTU-K3_12345678", listing, start + std::chrono::seconds(i),
                                &stored[i], &error))
            << error;
    }
    from = host.ReceivedCommands().size();
    r = RunCli(QStringList{"apply", stored.front().Id().c_str()} + PortArgs(host));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(WritesSince(host, from), std::vector<std::string>{"AT+PORT=" + port}) << r.err;
    EXPECT_TRUE(fs::exists(stored.front().path)) << "the backup applied is kept";
    EXPECT_EQ(ListBackups("DTU-K3_12345678").size(), kBackupsKept);
}

}  // namespace
