// The automatic backup end to end over a pseudo-terminal: the first write of each connection
// leaves one backup holding exactly the listing last read, and no other write adds one.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "form/ListingValues.h"
#include "params/BackupStore.h"
#include "params/ConfigFileText.h"
#include "tests/form/UnitSession.h"
#include "ui/Dialogs.h"

namespace {

using namespace formtest;

std::size_t BackupCount() {
    std::size_t count = 0;
    for (const std::string& unit : BackedUpUnits()) count += ListBackups(unit).size();
    return count;
}

TEST(AutoBackup, TheFirstWriteOfEachConnectionBacksUpTheListingLastRead) {
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
        {"a second write", [] {}, "10.1.1.2", 1},
        {"a new connection's first write", reconnect, "10.1.1.3", 2},
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
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(testpaths::ReadFile(backups[0].path), listed);
    // The second connection's backup holds its own read: the first write is in it.
    EXPECT_NE(testpaths::ReadFile(backups[1].path).find("10.1.1.2"), std::string::npos);
    EXPECT_NE(s.frame.logView->GetText().str().find(backups[1].path), std::string::npos);
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
    ASSERT_EQ(BackupCount(), 1u);

    s.dialogs.reviews.clear();
    s.dialogs.chooseIndex = 0;
    const std::size_t from = s.host.ReceivedCommands().size();
    ASSERT_TRUE(s.Settle([&] { Click(s.frame, "History"); }));
    ASSERT_EQ(s.dialogs.choices.size(), 1u);
    const BackupFile backup = ListBackups(BackedUpUnits()[0])[0];
    EXPECT_EQ(s.dialogs.choices[0],
              std::vector<std::string>{BackupTimeText(backup) + ": differing from the unit: 2"});
    ASSERT_EQ(s.dialogs.reviews.size(), 1u);
    EXPECT_EQ(s.dialogs.reviews[0].rows.size(), 2u);
    std::vector<std::string> written = s.WritesSince(from);
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"AT+IPAD=" + ip, "AT+PORT=" + port}));
    EXPECT_EQ(s.UnitValues(), asBackedUp);
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
        const auto commands = s.host.ReceivedCommands();
        const bool sent = std::find(commands.begin() + static_cast<std::ptrdiff_t>(from),
                                    commands.end(), "AT+FACTORY") != commands.end();
        EXPECT_EQ(sent, step.restored);
    }
}

}  // namespace
