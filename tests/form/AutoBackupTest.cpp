// The automatic backup end to end over a pseudo-terminal: every run of writes is preceded by a
// backup holding exactly the listing last read, unless the newest backup holds it already.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "form/BackupHistory.h"
#include "params/BackupStore.h"
#include "params/ConfigFileText.h"
#include "params/ListingValues.h"
#include "tests/form/UnitSession.h"
#include "ui/Dialogs.h"

namespace {

using namespace formtest;

std::size_t BackupCount() {
    std::size_t count = 0;
    for (const std::string& unit : BackedUpUnits()) count += ListBackups(unit).size();
    return count;
}

TEST(AutoBackup, EveryRunOfWritesBacksUpTheListingLastRead) {
    testpaths::FreshDataHome();
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    // The last read before the writes is a save to file: its file is what the backup must hold.
    const std::string reference = testpaths::TempDir() + "/reference.cfg";
    s.dialogs.pathToGive = reference;
    ASSERT_TRUE(s.Settle([&] { Click(s.frame, "SaveToFile"); }));
    const std::string listed = testpaths::ReadFile(reference);
    ASSERT_FALSE(listed.empty());

    const auto reconnect = [&] {
        Click(s.frame, "Open");
        Click(s.frame, "Open");
        Click(s.frame, "Login");
        ASSERT_TRUE(WaitUntil([&] { return s.frame.loggedIn.load(); }, 5000));
        ASSERT_TRUE(s.Read());
    };
    struct Step {
        const char* what;
        std::function<void()> before;
        const char* ip;  // typed into "Server's Ip" before Save; null: no edit
        std::size_t backups;
    };
    const Step steps[] = {
        {"a save without changes writes nothing", [] {}, nullptr, 0},
        {"the first write", [] {}, "10.1.1.1", 1},
        {"a second write, over what the first left", [] {}, "10.1.1.2", 2},
        {"a new connection's first write", reconnect, "10.1.1.3", 3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.before();
        if (step.ip) Control(s.frame, "Server's Ip")->SetText(step.ip);
        const std::vector<std::string> written = s.Save();
        EXPECT_EQ(written.size(), step.ip ? 1u : 0u);
        EXPECT_EQ(BackupCount(), step.backups);
    }
    const std::vector<BackupFile> backups =
        ListBackups(UnitNameOfListing(DecodeConfigText(listed)));
    ASSERT_EQ(backups.size(), 3u);
    EXPECT_EQ(testpaths::ReadFile(backups[0].path), listed);
    // Each later backup holds what the writes before it left (the read-back's listing).
    EXPECT_NE(testpaths::ReadFile(backups[1].path).find("10.1.1.1"), std::string::npos);
    EXPECT_NE(testpaths::ReadFile(backups[2].path).find("10.1.1.2"), std::string::npos);
    EXPECT_NE(s.frame.logView->GetText().str().find(backups[2].path), std::string::npos);
}

// The backup the first Save took, restored from History after further changes: exactly the
// differences are written back and the unit then holds the backup's values.
TEST(AutoBackup, HistoryWritesABackupBackAfterReview) {
    testpaths::FreshDataHome();
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    const std::map<std::string, std::string> asBackedUp = s.UnitValues();
    const std::string ip = *s.host.StoredValue("AT+IPAD");
    const std::string port = *s.host.StoredValue("AT+PORT");
    Control(s.frame, "Server's Ip")->SetText("10.5.5.5");
    ASSERT_EQ(s.Save().size(), 1u);
    Control(s.frame, "Server's Port")->SetText("7005");
    ASSERT_EQ(s.Save().size(), 1u);
    ASSERT_EQ(BackupCount(), 2u);

    s.dialogs.reviews.clear();
    s.dialogs.chooseIndex = 1;  // the oldest: the unit as it was first read
    const std::size_t from = s.host.ReceivedCommands().size();
    ASSERT_TRUE(s.Settle([&] { Click(s.frame, "History"); }));
    ASSERT_EQ(s.dialogs.choices.size(), 1u);
    const std::vector<BackupFile> backups = ListBackups(BackedUpUnits()[0]);
    EXPECT_EQ(
        s.dialogs.choices[0],
        (std::vector<std::string>{BackupLocalTime(backups[1]) + ": differing from the unit: 1",
                                  BackupLocalTime(backups[0]) + ": differing from the unit: 2"}));
    ASSERT_EQ(s.dialogs.reviews.size(), 1u);
    EXPECT_EQ(s.dialogs.reviews[0].rows.size(), 2u);
    std::vector<std::string> written = s.WritesSince(from);
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"AT+IPAD=" + ip, "AT+PORT=" + port}));
    EXPECT_EQ(s.UnitValues(), asBackedUp);
}

// History shows when a backup was taken on the engineer's clock; its name stays in UTC.
TEST(AutoBackup, HistoryTellsTheTimeInTheLocalZone) {
    struct Row {
        const char* zone;
        const char* name;
        const char* shown;
    };
    const Row rows[] = {
        {"UTC0", "20261208T160512.345Z", "2026-12-08 16:05:12"},
        {"CST-8", "20261208T160512.345Z_02", "2026-12-09 00:05:12"},
        {"EST5", "20260101T030000.000Z", "2025-12-31 22:00:00"},
        {"CST-8", "not a time", "not a time"},
    };
    const char* saved = std::getenv("TZ");
    const std::string before = saved ? saved : "";
    for (const Row& row : rows) {
        setenv("TZ", row.zone, 1);
        tzset();
        EXPECT_EQ(BackupLocalTime(BackupFile{"M5Z30_1", row.name, ""}), row.shown) << row.zone;
    }
    if (saved)
        setenv("TZ", before.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

// The factory restore asks first, naming the backup it has just taken; Cancel sends nothing.
TEST(AutoBackup, TheFactoryRestoreNamesItsBackupAndWaitsForOk) {
    testpaths::FreshDataHome();
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    struct Step {
        const char* what;
        int answer;
        bool restored;
    };
    const Step steps[] = {{"Cancel", IDCANCEL, false}, {"OK", IDOK, true}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        s.dialogs.boxes.clear();
        s.dialogs.boxAnswer = step.answer;
        const std::size_t from = s.host.ReceivedCommands().size();
        // Nothing queued after Cancel: the short wait only gives a wrong job time to go out.
        const bool settled =
            s.Settle([&] { Click(s.frame, "RestoreFactory"); }, step.restored ? 20000 : 500);
        EXPECT_EQ(settled, step.restored);
        EXPECT_EQ(s.frame.jobQueue.Size(), 0u);
        ASSERT_EQ(BackupCount(), 1u);  // taken once, at the first question
        const BackupFile backup = ListBackups(BackedUpUnits()[0])[0];
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        EXPECT_EQ(s.dialogs.boxes[0].text,
                  LabelText("Backup", "FactoryConfirm").str() + backup.path);
        EXPECT_EQ(s.dialogs.boxes[0].flags & MB_DEFBUTTON2, MB_DEFBUTTON2) << "Cancel the default";
        const auto commands = s.host.ReceivedCommands();
        const bool sent = std::find(commands.begin() + static_cast<std::ptrdiff_t>(from),
                                    commands.end(), "AT+FACTORY") != commands.end();
        EXPECT_EQ(sent, step.restored);
    }
}

// After a Load and two Saves the factory restore names a backup of what the unit holds then,
// not the one taken before the Saves; with nothing changed since, that same backup again.
TEST(AutoBackup, TheFactoryRestoreNamesABackupOfTheUnitAsItIsNow) {
    testpaths::FreshDataHome();
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    Control(s.frame, "Server's Ip")->SetText("10.6.6.6");
    ASSERT_EQ(s.Save().size(), 1u);
    Control(s.frame, "Server's Port")->SetText("7006");
    ASSERT_EQ(s.Save().size(), 1u);
    s.dialogs.boxAnswer = IDCANCEL;
    for (const char* what : {"after the Saves", "read again, nothing changed"}) {
        SCOPED_TRACE(what);
        s.dialogs.boxes.clear();
        Click(s.frame, "RestoreFactory");
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        const std::vector<BackupFile> backups = ListBackups(BackedUpUnits()[0]);
        ASSERT_EQ(backups.size(), 3u);
        EXPECT_EQ(s.dialogs.boxes[0].text,
                  LabelText("Backup", "FactoryConfirm").str() + backups.back().path);
        const std::string held = testpaths::ReadFile(backups.back().path);
        EXPECT_NE(held.find("Server's Ip:10.6.6.6"), std::string::npos);
        EXPECT_NE(held.find("Server's Port:7006"), std::string::npos);
        ASSERT_TRUE(s.Read());
    }
}

// A unit that cannot be backed up (a file where the backups' folder would be) is written only
// when the engineer says so, after a question that says why; Cancel is its default.
TEST(AutoBackup, NoBackupNoWriteUnlessTheEngineerSaysSo) {
    const std::string home = testpaths::FreshDataHome();
    testpaths::WriteFile(home + "/dtuconfig", "no folder");
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    const std::pair<int, std::vector<std::string>> answers[] = {{IDCANCEL, {}},
                                                                {IDOK, {"AT+IPAD=10.8.8.8"}}};
    for (const auto& [answer, written] : answers) {
        s.dialogs.boxes.clear();
        s.dialogs.boxAnswer = answer;
        Control(s.frame, "Server's Ip")->SetText("10.8.8.8");
        EXPECT_EQ(s.Save(), written);
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        EXPECT_NE(s.dialogs.boxes[0].text.find("dtuconfig"), std::string::npos)
            << s.dialogs.boxes[0].text;
        EXPECT_EQ(s.dialogs.boxes[0].flags & MB_DEFBUTTON2, MB_DEFBUTTON2);
    }
}

}  // namespace
