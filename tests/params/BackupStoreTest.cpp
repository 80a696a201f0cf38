// The backup store: at most kBackupsKept a unit with the newest always kept, the same bytes a
// .cfg file has, and ids that reach no file outside the store.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <set>
#include <thread>

#include "params/BackupStore.h"
#include "params/ConfigFileText.h"
#include "tests/support/TestPaths.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::system_clock;

// 2026-12-08 16:05:12 UTC plus `ms`.
system_clock::time_point At(long long ms) {
    return system_clock::time_point(milliseconds(1796745912000LL + ms));
}

std::vector<std::string> Times(const std::vector<BackupFile>& backups) {
    std::vector<std::string> times;
    for (const BackupFile& b : backups) times.push_back(b.time);
    return times;
}

TEST(BackupStore, WithoutADataFolderNothingIsStoredAndTheReasonIsGiven) {
    const std::string home = testpaths::FreshDataHome();
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    std::string error;
    const bool stored =
        StoreBackup("DTU_1", "Access Point Name:cmnet\r\nOK\r\n", At(0), nullptr, &error);
    const std::string root = BackupRoot();
    setenv("HOME", savedHome.c_str(), 1);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    EXPECT_FALSE(stored);
    EXPECT_EQ(root, "");
    EXPECT_NE(error.find("no folder for backups"), std::string::npos) << error;
    EXPECT_NE(error.find("HOME"), std::string::npos) << error;
}

TEST(BackupStore, KeepsTheNewestFiftyAndAlwaysTheOneJustStored) {
    const std::string home = testpaths::FreshDataHome();
    EXPECT_EQ(BackupRoot(), home + "/dtuconfig/backups");
    const std::string listing = "\r\nAT+SHOW\r\nAccess Point Name:cmnet\r\nOK\r\n";
    std::vector<std::string> expected;
    for (int i = 0; i < 52; ++i) {
        BackupFile stored;
        std::string error;
        ASSERT_TRUE(StoreBackup("DTU_1", listing, At(i * 1000), &stored, &error)) << error;
        expected.push_back(stored.time);
    }
    expected.erase(expected.begin(), expected.begin() + 2);
    EXPECT_EQ(Times(ListBackups("DTU_1")), expected);
    EXPECT_EQ(expected.front(), "20261208T160514.000Z");

    // A clock set back: the backup just taken is older than all, yet it stays.
    BackupFile early;
    std::string error;
    ASSERT_TRUE(StoreBackup("DTU_1", listing, At(-3600 * 1000), &early, &error)) << error;
    const std::vector<std::string> times = Times(ListBackups("DTU_1"));
    ASSERT_EQ(times.size(), kBackupsKept);
    EXPECT_EQ(times.front(), early.time);
    EXPECT_EQ(times[1], expected[1]);  // the oldest other went instead
    EXPECT_EQ(times.back(), expected.back());
}

TEST(BackupStore, HoldsTheFileBytesAndNamesTwoBackupsOfOneMillisecondApart) {
    testpaths::FreshDataHome();
    const std::string listing = "\r\nAT+SHOW\r\nAccess Point Name:cmnet\r\nOK\r\n";
    BackupFile first;
    BackupFile second;
    std::string error;
    ASSERT_TRUE(StoreBackup("U", listing, At(5), &first, &error)) << error;
    ASSERT_TRUE(StoreBackup("U", listing, At(5), &second, &error)) << error;
    EXPECT_EQ(first.time, "20261208T160512.005Z");
    EXPECT_EQ(second.time, "20261208T160512.005Z_02");
    EXPECT_EQ(testpaths::ReadFile(first.path), EncodeConfigText(listing));
    EXPECT_EQ(BackupTimeText(second), "2026-12-08 16:05:12 UTC");
    // Other files in the folder are no backups and are never counted or removed.
    testpaths::WriteFile(BackupRoot() + "/U/notes.cfg", "x");
    EXPECT_EQ(Times(ListBackups("U")), (std::vector<std::string>{first.time, second.time}));
    EXPECT_EQ(BackedUpUnits(), std::vector<std::string>{"U"});
}

TEST(BackupStore, IdsFindOnlyStoredBackups) {
    testpaths::FreshDataHome();
    BackupFile stored;
    std::string error;
    ASSERT_TRUE(StoreBackup("U", "x", At(0), &stored, &error)) << error;
    testpaths::WriteFile(BackupRoot() + "/20261208T160512.000Z.cfg", "outside");
    const std::pair<std::string, bool> cases[] = {
        {stored.Id(), true},
        {"U/20261208T160512.001Z", false},   // no such backup
        {"../20261208T160512.000Z", false},  // outside the units' folders
        {"U/../../20261208T160512.000Z", false},
        {"U", false},
        {stored.path, false},  // a path is no id
    };
    for (const auto& [id, found] : cases) {
        SCOPED_TRACE(id);
        const std::optional<BackupFile> backup = FindBackup(id);
        ASSERT_EQ(backup.has_value(), found);
        if (found) {
            EXPECT_EQ(backup->path, stored.path);
        }
    }
    EXPECT_FALSE(StoreBackup("..", "x", At(0), nullptr, &error));
}

// Four writers at once, all in one millisecond (four "set"s on four units of one type and ID
// number): every backup gets a name of its own, none is replaced, each is its owner's alone.
TEST(BackupStore, WritersAtOnceNeverShareANameOrReplaceABackup) {
    testpaths::FreshDataHome();
    constexpr int kWriters = 4;
    constexpr int kEach = 5;
    std::vector<std::thread> writers;
    std::vector<std::vector<BackupFile>> stored(kWriters);
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([w, &stored] {
            for (int i = 0; i < kEach; ++i) {
                BackupFile backup;
                std::string error;
                const std::string listing =
                    "writer " + std::to_string(w) + " #" + std::to_string(i);
                if (StoreBackup("U", listing, At(7), &backup, &error)) stored[w].push_back(backup);
            }
        });
    }
    for (std::thread& writer : writers) writer.join();
    std::set<std::string> paths;
    for (int w = 0; w < kWriters; ++w) {
        ASSERT_EQ(stored[w].size(), static_cast<std::size_t>(kEach));
        for (int i = 0; i < kEach; ++i) {
            const BackupFile& backup = stored[w][i];
            EXPECT_TRUE(paths.insert(backup.path).second) << backup.path;
            EXPECT_EQ(testpaths::ReadFile(backup.path),
                      "writer " + std::to_string(w) + " #" + std::to_string(i));
            struct stat st {};
            stat(backup.path.c_str(), &st);
            EXPECT_EQ(st.st_mode & 0777, 0600u);
        }
    }
    EXPECT_EQ(ListBackups("U").size(), static_cast<std::size_t>(kWriters * kEach));
}

// The backup being applied and the one just stored survive pruning; a listing the newest
// backup holds already is found there.
TEST(BackupStore, PruningSparesTheBackupAppliedAndTheNewestHoldsWhatItHolds) {
    testpaths::FreshDataHome();
    std::string error;
    BackupFile oldest;
    ASSERT_TRUE(StoreBackup("U", "listing 0", At(0), &oldest, &error)) << error;
    for (int i = 1; i < static_cast<int>(kBackupsKept); ++i) {
        ASSERT_TRUE(StoreBackup("U", "listing " + std::to_string(i), At(i), nullptr, &error));
    }
    BackupFile newest;
    ASSERT_TRUE(StoreBackup("U", "now", At(1000), &newest, &error, oldest.path)) << error;
    const std::vector<BackupFile> kept = ListBackups("U");
    ASSERT_EQ(kept.size(), kBackupsKept);
    EXPECT_EQ(kept.front().path, oldest.path);
    EXPECT_EQ(kept.back().path, newest.path);
    EXPECT_EQ(NewestBackupHolding("U", "now")->path, newest.path);
    EXPECT_FALSE(NewestBackupHolding("U", "listing 0").has_value());
    EXPECT_FALSE(NewestBackupHolding("V", "now").has_value());
}

}  // namespace
