// The review before Save, end to end over a pseudo-terminal: two fields edited give exactly two
// rows with the labels the form shows; unchecking one writes the other alone; Cancel writes
// nothing; a change on a hidden row is listed greyed and never written. Choices are listed as
// the form shows them, in the order of the pages and their rows.
#include <gtest/gtest.h>

#include "form/ChannelSwitches.h"
#include "form/FormContext.h"
#include "form/ShowLayout.h"
#include "form/WriteReview.h"
#include "tests/form/UnitSession.h"
#include "ui/Controls.h"
#include "ui/ReviewDialog.h"

namespace {

using namespace formtest;

struct ReviewedRow {
    std::string label, unitValue, newValue;
    bool greyed;
    bool operator==(const ReviewedRow&) const = default;
};

std::vector<ReviewedRow> RowsOf(const ui::ReviewSpec& spec) {
    std::vector<ReviewedRow> rows;
    for (const ui::ReviewRow& r : spec.rows) {
        rows.push_back({r.label, r.unitValue, r.newValue, !r.notWritten.empty()});
    }
    return rows;
}

TEST(WriteReview, SaveWritesOnlyTheRowsKeptChecked) {
    Session s(sim::UnitVariant::None);
    ASSERT_TRUE(s.ready) << s.error;
    const std::string ip = *s.host.StoredValue("AT+IPAD");
    const std::string port = *s.host.StoredValue("AT+PORT");
    const std::vector<ReviewedRow> twoRows = {
        {FormLabelOf(s.frame, "Server's Ip"), ip, "10.2.2.2", false},
        {FormLabelOf(s.frame, "Server's Port"), port, "7002", false},
    };
    ASSERT_NE(twoRows[0].label, "Server's Ip");  // the form's own text in front of the field

    struct Step {
        const char* what;
        bool write;
        std::vector<int> unchecks;
        std::vector<std::string> written;
    };
    const Step steps[] = {
        {"Cancel", false, {}, {}},
        {"the port unchecked", true, {1}, {"AT+IPAD=10.2.2.2"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        Control(s.frame, "Server's Ip")->SetText("10.2.2.2");
        Control(s.frame, "Server's Port")->SetText("7002");
        s.dialogs.reviews.clear();
        s.dialogs.reviewWrites = step.write;
        s.dialogs.reviewUnchecks = step.unchecks;
        EXPECT_EQ(s.Save(), step.written);
        ASSERT_EQ(s.dialogs.reviews.size(), 1u);
        EXPECT_EQ(RowsOf(s.dialogs.reviews[0]), twoRows);
        EXPECT_EQ(ui::ReviewCounts(s.dialogs.reviews[0]),
                  "2 of 2 changes will be written.");  // as shown, before any box is unchecked
    }
    EXPECT_EQ(s.host.StoredValue("AT+IPAD"), "10.2.2.2");
    EXPECT_EQ(s.host.StoredValue("AT+PORT"), port);

    // A change the layout hides is listed greyed, with its reason, and not written.
    s.dialogs.reviews.clear();
    s.dialogs.reviewUnchecks.clear();
    Control(s.frame, "Server's Port")->SetText("7003");
    FormContext form = FrameFormContext(s.frame);
    ShowLayout(form, "ServiceHorizontalLayout0", false);
    EXPECT_EQ(s.Save(), std::vector<std::string>{});
    EXPECT_TRUE(s.dialogs.reviews.empty());  // nothing to write: no review
    Control(s.frame, "Secondary Server's Ip")->SetText("10.3.3.3");
    ShowLayout(form, "ServiceHorizontalLayout1", true);
    std::vector<std::string> written = s.Save();
    ASSERT_EQ(s.dialogs.reviews.size(), 1u);
    const std::vector<ui::ReviewRow>& rows = s.dialogs.reviews[0].rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].newValue, "7003");
    EXPECT_EQ(rows[1].notWritten, LabelText("Review", "Hidden").str());
    EXPECT_EQ(ui::ReviewCounts(s.dialogs.reviews[0]), "1 of 1 changes will be written.");
    EXPECT_EQ(written, std::vector<std::string>{"AT+IPSEC=10.3.3.3"});

    // A value its parameter cannot take is listed greyed with the reason and never written.
    s.dialogs.reviews.clear();
    Control(s.frame, "Secondary Server's Ip")->SetText("999.1.1.1");
    Control(s.frame, "Server's Ip")->SetText("10.4.4.4");
    // The read-back showed the port's row again, its edit still pending: taken back.
    Control(s.frame, "Server's Port")->SetText(port);
    written = s.Save();
    ASSERT_EQ(s.dialogs.reviews.size(), 1u);
    std::string reason;
    for (const ui::ReviewRow& row : s.dialogs.reviews[0].rows) {
        if (row.newValue == "999.1.1.1") reason = row.notWritten;
    }
    EXPECT_NE(reason.find(LabelText("ValueCheck", "NotAddress").str()), std::string::npos)
        << reason;
    EXPECT_EQ(written, std::vector<std::string>{"AT+IPAD=10.4.4.4"});
}

// A list by its items' texts and a transfer-channel switch by its caption and state, each with
// the unit's value beside it; the rows in the order of the pages and their rows (the list and
// the field on one page, the switch on a later one), not of the parameters' names.
TEST(WriteReview, ChoicesAreListedAsTheFormShowsThemInTheFormsOrder) {
    Session s(sim::UnitVariant::Lora, "ConifgRes");
    ASSERT_TRUE(s.ready) << s.error;
    CPaintManagerUI& pm = s.frame.paintManager;
    auto* echo = dynamic_cast<CComboUI*>(pm.FindControl("LCP ECHO"));
    ASSERT_NE(echo, nullptr);
    echo->SelectItem(0);
    const char* heartbeat = "Heartbeat poll time seconds";
    const std::string unitHeartbeat = s.frame.parameterTable.ParameterAt(heartbeat).value;
    Control(s.frame, heartbeat)->SetText("77");
    ASSERT_FALSE(IsSwitchOn(pm, "Lora2GPRS"));
    SetSwitch(pm, "Lora2GPRS", true);
    s.dialogs.reviewWrites = false;
    EXPECT_EQ(s.Save(), std::vector<std::string>{});
    ASSERT_EQ(s.dialogs.reviews.size(), 1u);
    const std::vector<ReviewedRow> rows = {
        {"LCP回显检测", "开启（1）", "关闭（0）", false},
        {"心跳周期(秒)", unitHeartbeat, "77", false},
        {"数据传输通道", "LoRa → 网络：关闭（3）", "LoRa → 网络：开启（19）", false},
    };
    EXPECT_EQ(RowsOf(s.dialogs.reviews[0]), rows);
}

}  // namespace
