// The bar under the device box: a Load moves by the listing's bytes, a Save by its writes, both
// end at 100 % with "Done"; Cancel stops between two commands, never inside one, and the unit
// then holds exactly the writes that went out, checked by the read-back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/faults/FaultSession.h"
#include "ui/Controls.h"

namespace {

using namespace faulttest;

struct Edit {
    const char* field;
    const char* command;
    const char* value;
};
constexpr Edit kEdits[] = {
    {"Access Point Name", "AT+APN", "apn.progress.example"},
    {"Server's Ip", "AT+IPAD", "198.51.100.31"},
    {"Server's Port", "AT+PORT", "7031"},
};

std::vector<std::string> StepTexts(const Session& s) {
    std::vector<std::string> texts;
    for (const auto& step : s.frame.progressSteps) texts.push_back(step.text);
    return texts;
}

TEST(Progress, ALoadAndASaveEndAtDoneThroughTheirSteps) {
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    auto* bar = dynamic_cast<CProgressUI*>(s.Control("JobProgress"));
    ASSERT_NE(bar, nullptr);
    const std::string reading = Label("Progress", "Reading").substr(0, 10);

    s.frame.progressSteps.clear();
    ASSERT_TRUE(s.Read());
    ASSERT_FALSE(s.frame.progressSteps.empty());
    const std::vector<std::string> texts = StepTexts(s);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [&](const std::string& text) { return text.starts_with(reading); }));
    EXPECT_EQ(s.frame.progressSteps.back().percent, 100);
    EXPECT_EQ(s.frame.progressSteps.back().text, Label("Progress", "Done"));
    // The listing is as long as the one read at connection: it ends at its own size.
    EXPECT_EQ(s.frame.progress.expectedListing, s.frame.rxLength);

    s.frame.progressSteps.clear();
    for (const Edit& edit : kEdits) s.Control(edit.field)->SetText(edit.value);
    ASSERT_TRUE(s.Settle([&] { s.Click("Save"); })) << Tail(s.frame.log);
    std::vector<std::string> writes;
    for (const std::string& text : StepTexts(s)) {
        if (text.starts_with("Writing")) writes.push_back(text);
    }
    // Named as the form labels them.
    EXPECT_EQ(writes,
              (std::vector<std::string>{"Writing 1 of 3: APN", "Writing 2 of 3: Main server IP",
                                        "Writing 3 of 3: Main server port"}));
    EXPECT_EQ(s.frame.progressSteps.back().percent, 100);
    EXPECT_EQ(bar->GetValue(), 100);
}

TEST(Progress, CancelLetsTheCommandOnTheLineFinishAndSendsNothingMore) {
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    for (const Edit& edit : kEdits) s.Control(edit.field)->SetText(edit.value);
    const std::size_t from = s.host.ReceivedCommands().size();
    const std::size_t logFrom = s.frame.log.size();
    // The engineer clicks Cancel the moment the first write is shown.
    bool clicked = false;
    s.frame.afterMessage = [&] {
        if (!clicked && !s.frame.progressSteps.empty() &&
            s.frame.progressSteps.back().text.starts_with("Writing 1 of 3")) {
            clicked = true;
            s.Click("CancelJobs");
        }
    };
    ASSERT_TRUE(s.Settle([&] { s.Click("Save"); })) << Tail(s.frame.log);
    s.frame.afterMessage = nullptr;
    ASSERT_TRUE(clicked);

    // The first write went out whole and was checked by the read-back; nothing else was sent.
    EXPECT_EQ(s.CommandsSince(from),
              (std::vector<std::string>{std::string("AT+APN=") + kEdits[0].value, "AT+SHOW"}));
    EXPECT_EQ(*s.host.StoredValue("AT+APN"), kEdits[0].value);
    EXPECT_NE(*s.host.StoredValue("AT+IPAD"), kEdits[1].value);
    EXPECT_NE(
        s.frame.log.find("Written: APN. Not sent: Main server IP, Main server port.", logFrom),
        std::string::npos)
        << Tail(s.frame.log);
    EXPECT_FALSE(s.Control("CancelJobs")->IsVisible());
    // What was not sent is still the engineer's: shown and pending over the read-back.
    for (const Edit& edit : {kEdits[1], kEdits[2]}) {
        EXPECT_EQ(s.Control(edit.field)->GetText().str(), edit.value) << edit.field;
        EXPECT_TRUE(s.Control(edit.field)->HasPendingMark()) << edit.field;
    }
    EXPECT_FALSE(s.Control(kEdits[0].field)->HasPendingMark());
}

// A lone read has nothing Cancel could drop: the button is not offered while it runs.
TEST(Progress, ALoadOffersNoCancel) {
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    bool offered = false;
    s.frame.afterMessage = [&] { offered = offered || s.Control("CancelJobs")->IsVisible(); };
    ASSERT_TRUE(s.Read());
    s.frame.afterMessage = nullptr;
    EXPECT_FALSE(offered);
}

}  // namespace
