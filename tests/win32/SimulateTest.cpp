// dtuconfig.exe --simulate: the window on the real skin against the virtual unit running inside
// the program (Windows has no pseudo-terminal), driven as the user drives it: Load, an edit,
// Save with its review, and the read-back after the writes.
#include <gtest/gtest.h>

#include "tests/form/UnitSession.h"

namespace {

using namespace formtest;

TEST(Simulate, TheWindowLoadsEditsAndSavesTheInProcessUnit) {
    for (const char* skin : {"ConifgENRes", "ConifgRes"}) {
        SCOPED_TRACE(skin);
        Session s(Session::Options(sim::UnitVariant::None), skin);
        ASSERT_TRUE(s.ready) << s.error;
        EXPECT_EQ(s.host.DevicePath().rfind("VIRTUAL", 0), 0u) << s.host.DevicePath();
        Control(s.frame, "Server's Ip")->SetText("10.9.8.7");
        EXPECT_EQ(s.Save(), std::vector<std::string>{"AT+IPAD=10.9.8.7"});
        EXPECT_EQ(s.dialogs.reviews.size(), 1u);
        EXPECT_EQ(s.host.StoredValue("AT+IPAD"), "10.9.8.7");
        // Read back after the write: the unit kept it, so nothing is reported as not kept.
        EXPECT_EQ(s.frame.logView->GetText().Find(LabelText("Notify", "NotKept").str()), -1);
        EXPECT_EQ(s.frame.parameterTable.FindParameter("Server's Ip")->value, "10.9.8.7");
    }
}

}  // namespace
