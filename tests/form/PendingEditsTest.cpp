// Pending edits end to end over a pseudo-terminal: two fields edited are marked, their tab
// counts them and the device box says how many; a write clears its mark; Revert puts the unit's
// values back, clears every mark and sends nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

#include "form/PendingEdits.h"
#include "params/BackupStore.h"
#include "tests/form/UnitSession.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace formtest;

// The engineer types into the field and leaves it, or presses Enter in it ("return").
void Type(Session& s, const char* field, const char* text, const char* done = "killfocus") {
    CControlUI* control = Control(s.frame, field);
    ASSERT_NE(control, nullptr) << field;
    control->SetText(text);
    s.frame.paintManager.SendNotify(control, done);
}

struct Shown {
    bool ipMarked, portMarked;
    std::string serverTab, pending;
    bool operator==(const Shown&) const = default;
};

Shown WhatIsShown(Session& s) {
    return {Control(s.frame, "Server's Ip")->HasPendingMark(),
            Control(s.frame, "Server's Port")->HasPendingMark(),
            Control(s.frame, "Server")->GetText().str(),
            Control(s.frame, "PendingChanges")->GetText().str()};
}

TEST(PendingEdits, MarksAndCountsFollowTheEditsAndRevertClearsThem) {
    struct Skin {
        const char* folder;
        std::string one, two;  // the counts as the device box says them
    };
    const Skin skins[] = {{"ConifgENRes", "1 change pending", "2 changes pending"},
                          {"ConifgRes", "1 项修改待写入", "2 项修改待写入"}};
    for (const Skin& skin : skins) {
        SCOPED_TRACE(skin.folder);
        Session s(sim::UnitVariant::None, skin.folder);
        ASSERT_TRUE(s.ready) << s.error;
        const std::string ip = Control(s.frame, "Server's Ip")->GetText().str();
        const std::string tab = Control(s.frame, "Server")->GetText().str();
        const auto pending = [&skin](int n) { return n == 1 ? skin.one : skin.two; };
        EXPECT_EQ(WhatIsShown(s), (Shown{false, false, tab, ""}));

        Type(s, "Server's Ip", "10.4.4.4");
        EXPECT_EQ(WhatIsShown(s), (Shown{true, false, tab + " (1)", pending(1)}));
        // Enter in the field counts at once, the field still being edited.
        Type(s, "Server's Port", "7004", "return");
        EXPECT_EQ(WhatIsShown(s), (Shown{true, true, tab + " (2)", pending(2)}));
        // Typed back to the unit's value: no longer pending.
        Type(s, "Server's Port", s.host.StoredValue("AT+PORT")->c_str());
        EXPECT_EQ(WhatIsShown(s), (Shown{true, false, tab + " (1)", pending(1)}));

        const std::size_t from = s.host.ReceivedCommands().size();
        Click(s.frame, "Revert");
        EXPECT_EQ(WhatIsShown(s), (Shown{false, false, tab, ""}));
        EXPECT_EQ(Control(s.frame, "Server's Ip")->GetText().str(), ip);
        EXPECT_EQ(s.host.ReceivedCommands().size(), from);

        // A confirmed write is what the unit holds: its mark goes.
        Type(s, "Server's Ip", "10.4.4.5");
        EXPECT_EQ(s.Save(), std::vector<std::string>{"AT+IPAD=10.4.4.5"});
        EXPECT_EQ(WhatIsShown(s), (Shown{false, false, tab, ""}));
    }
}

// The marks are worked out when a value changes, not at every call the worker makes on the UI
// thread (its length polls included): a query that changes no value costs no walk.
TEST(PendingEdits, WorkedOutOnlyWhenAValueChanges) {
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    const int before = s.frame.pendingEditWalks;
    ASSERT_TRUE(s.Settle([&] { Click(s.frame, "CSQ"); }));
    EXPECT_EQ(s.frame.pendingEditWalks, before);
    Type(s, "Server's Ip", "10.4.4.6");
    EXPECT_EQ(s.frame.pendingEditWalks, before + 1);
}

// What the window says is pending: the count, the marked fields and the rows Save's review
// would list. A hidden list's side value is none of them.
struct PendingSays {
    int count, marked, reviewRows;
    bool operator==(const PendingSays&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const PendingSays& p) {
        return out << "count " << p.count << ", marked " << p.marked << ", review rows "
                   << p.reviewRows;
    }
};

PendingSays WhatIsPending(Session& s) {
    PendingSays says{0, 0, 0};
    says.count = std::atoi(Control(s.frame, "PendingChanges")->GetText().str().c_str());
    for (const auto& [name, entry] : s.frame.parameterTable) {
        CControlUI* control = Control(s.frame, name.c_str());
        says.marked += control && control->HasPendingMark();
    }
    const std::size_t reviews = s.dialogs.reviews.size();
    s.dialogs.reviewWrites = false;
    Click(s.frame, "Save");
    if (s.dialogs.reviews.size() > reviews) {
        says.reviewRows = static_cast<int>(s.dialogs.reviews.back().rows.size());
    }
    return says;
}

TEST(PendingEdits, CountMarksAndReviewAgreeAfterACancelledApplyAndRevert) {
    testpaths::FreshDataHome();
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    // Two Saves: the backup holds the address and port they changed.
    Type(s, "Server's Ip", "10.6.6.6");
    ASSERT_EQ(s.Save().size(), 1u);
    Type(s, "Server's Port", "7006");
    ASSERT_EQ(s.Save().size(), 1u);
    ASSERT_EQ(BackedUpUnits().size(), 1u);
    // Each Save backed the unit up first; the oldest backup, the last in History's list, holds
    // the values both Saves changed.
    const std::vector<BackupFile> backups = ListBackups(BackedUpUnits()[0]);
    const std::string backup = backups.front().path;
    s.dialogs.chooseIndex = static_cast<int>(backups.size()) - 1;
    s.dialogs.pathToGive = backup;
    s.dialogs.boxAnswer = IDOK;

    struct Step {
        const char* what;
        const char* click;
        bool readsTheUnit;
        int pending;
    };
    const Step steps[] = {
        {"History, review cancelled", "History", true, 2},
        {"Revert", "Revert", false, 0},
        {"LoadFromFile, review cancelled", "LoadFromFile", true, 2},
        {"Revert again", "Revert", false, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        s.dialogs.reviewWrites = false;
        if (step.readsTheUnit) {
            ASSERT_TRUE(s.Settle([&] { Click(s.frame, step.click); }));
        } else {
            Click(s.frame, step.click);
        }
        PumpFor(100);
        EXPECT_EQ(WhatIsPending(s), (PendingSays{step.pending, step.pending, step.pending}));
    }
    EXPECT_EQ(s.WritesSince(0).size(), 2u) << "only the two Saves wrote";
}

}  // namespace
