// Pending edits end to end over a pseudo-terminal: two fields edited are marked, their tab
// counts them and the device box says how many; a write clears its mark; Revert puts the unit's
// values back, clears every mark and sends nothing.
#include <gtest/gtest.h>

#include "form/PendingEdits.h"
#include "tests/form/UnitSession.h"

namespace {

using namespace formtest;

// The engineer types into the field and leaves it.
void Type(Session& s, const char* field, const char* text) {
    CControlUI* control = Control(s.frame, field);
    ASSERT_NE(control, nullptr) << field;
    control->SetText(text);
    s.frame.paintManager.SendNotify(control, "killfocus");
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
    for (const char* skin : {"ConifgENRes", "ConifgRes"}) {
        SCOPED_TRACE(skin);
        Session s(sim::UnitVariant::None, skin);
        ASSERT_TRUE(s.ready) << s.error;
        const std::string ip = Control(s.frame, "Server's Ip")->GetText().str();
        const std::string tab = Control(s.frame, "Server")->GetText().str();
        const auto pending = [](int n) {
            const std::string text = LabelText("Review", "Pending").str();
            const std::size_t at = text.find("{count}");
            if (at == std::string::npos) return text;
            return text.substr(0, at) + std::to_string(n) + text.substr(at + 7);
        };
        EXPECT_EQ(WhatIsShown(s), (Shown{false, false, tab, ""}));

        Type(s, "Server's Ip", "10.4.4.4");
        EXPECT_EQ(WhatIsShown(s), (Shown{true, false, tab + " (1)", pending(1)}));
        Type(s, "Server's Port", "7004");
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

}  // namespace
