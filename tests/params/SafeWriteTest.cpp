// Writing a unit that speaks differently from the form, end to end over a pseudo-terminal: values
// its lists lack, a number past a list, GBK texts. Only what the engineer changed goes out, and
// nothing at all before the unit was read.
#include <gtest/gtest.h>

#include <functional>

#include "app/Labels.h"
#include "params/DeviceWrite.h"
#include "tests/params/UnitSession.h"

namespace {

using namespace formtest;

sim::UnitOptions HardUnit() {
    sim::UnitOptions options = Session::Options(sim::UnitVariant::None);
    options.hardValues = true;
    return options;
}

constexpr int kUnitItem = -1;

// Selects the list's item at `index`, or its unit's own item (kUnitItem), as a user picks it.
void Pick(CM5Z30FrameWnd& frame, const char* list, int index) {
    CComboUI* combo = Combo(frame, list);
    ASSERT_NE(combo, nullptr) << list;
    if (index == kUnitItem) index = combo->GetCount() - 1;
    ASSERT_TRUE(combo->SelectItem(index)) << list << " " << index;
}

TEST(SafeWrite, AHardUnitShowsItsOwnValuesAndSaveWritesOnlyWhatWasChanged) {
    for (const char* skin : {"ConifgENRes", "ConifgRes"}) {
        SCOPED_TRACE(skin);
        Session s(HardUnit(), skin);
        ASSERT_TRUE(s.ready) << s.error;

        // The lists that cannot place the unit's value show it as the unit's, selected.
        const std::pair<const char*, const char*> ownValues[] = {
            {"DIO1 interface", "RS232"}, {"Dtumanagetransferprotocol", "1"}, {"Debug Level", "7"}};
        for (const auto& [list, value] : ownValues) {
            CComboUI* combo = Combo(s.frame, list);
            ASSERT_NE(combo, nullptr) << list;
            const CListLabelElementUI* item = combo->GetItemAt(combo->GetCurSel());
            ASSERT_TRUE(item && item->IsUnitValue()) << list;
            EXPECT_EQ(item->UnitValue(), value) << list;
            EXPECT_EQ(item->GetText().str(),
                      std::string(value) + " " + LabelText("Notify", "UnitValueItem").str());
        }
        ASSERT_TRUE(IsOnScreen(s.frame, "Debug Level"));
        ASSERT_TRUE(IsOnScreen(s.frame, "Server's Ip"));

        std::map<std::string, std::string> expected = s.UnitValues();
        struct Step {
            const char* what;
            std::function<void()> edit;
            std::vector<std::string> written;
        };
        const Step steps[] = {
            {"no edit", [] {}, {}},
            {"a list picked away and back",
             [&] { Pick(s.frame, "Debug Level", 0), Pick(s.frame, "Debug Level", kUnitItem); },
             {}},
            {"one field",
             [&] { Control(s.frame, "Server's Ip")->SetText("10.9.8.7"); },
             {"AT+IPAD=10.9.8.7"}},
            {"a list picked", [&] { Pick(s.frame, "Debug Level", 1); }, {"AT+DEBUG=1"}},
            {"nothing more", [] {}, {}},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.what);
            step.edit();
            EXPECT_EQ(s.Save(), step.written) << s.frame.logView->GetText().str();
        }
        expected["Server's Ip:"] = "10.9.8.7";
        expected["Debug Level :"] = "1";
        EXPECT_EQ(s.UnitValues(), expected);
    }
}

TEST(SafeWrite, SaveBeforeAReadWritesNothingAndSaysWhy) {
    Session s(Session::Options(sim::UnitVariant::None), "ConifgENRes", false);
    ASSERT_TRUE(s.ready) << s.error;
    Control(s.frame, "Server's Ip")->SetText("10.9.8.7");
    EXPECT_EQ(s.Save(), std::vector<std::string>{});
    EXPECT_TRUE(WaitUntil(
        [&] {
            return s.frame.logView->GetText().Find(LabelText("Notify", "NoReadNotice").str()) != -1;
        },
        5000))
        << s.frame.logView->GetText().str();

    ASSERT_TRUE(s.Read());
    Control(s.frame, "Server's Ip")->SetText("10.9.8.7");
    EXPECT_EQ(s.Save(), std::vector<std::string>{"AT+IPAD=10.9.8.7"});
}

}  // namespace
