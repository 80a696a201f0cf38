// The tab strip, the module tabs by device type, the page of a tab option and the channel
// switches.
#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

#include "form/ChannelSwitches.h"
#include "form/HiddenReason.h"
#include "form/TabStrip.h"
#include "tests/form/ChainCase.h"
#include "tests/form/UnitSession.h"
#include "ui/Container.h"
#include "ui/Controls.h"

namespace {

std::vector<std::string> VisibleButtons(FormHarness& h) {
    std::vector<std::string> names;
    for (const char* name : kTabButtonNames) {
        CControlUI* button = h.pm.FindControl(name);
        if (button && button->IsOwnVisible()) names.emplace_back(name);
    }
    return names;
}

int CurrentPage(FormHarness& h) {
    auto* pages = dynamic_cast<CTabLayoutUI*>(h.pm.FindControl("switch"));
    return pages ? pages->GetCurSel() : -2;
}

bool OptionChecked(FormHarness& h, const char* name) {
    auto* option = dynamic_cast<COptionUI*>(h.pm.FindControl(name));
    return option && option->IsSelected();
}

void Disable(FormHarness& h, const std::vector<int>& entries) {
    for (int i : entries) h.tabs[static_cast<std::size_t>(i)].enabled = false;
}

const std::vector<std::string> kAll(kTabButtonNames.begin(), kTabButtonNames.end());

std::vector<std::string> AllBut(const std::vector<std::string>& gone) {
    std::vector<std::string> names;
    for (const std::string& name : kAll) {
        if (std::find(gone.begin(), gone.end(), name) == gone.end()) names.push_back(name);
    }
    return names;
}

}  // namespace

using TabStripOnSkin = SkinTest;

TEST_P(TabStripOnSkin, RebuildShowsTheEnabledTabsAndKeepsThePageShown) {
    struct Row {
        const char* name;
        std::vector<int> disabled;
        const char* deviceType;  // null: a rebuild without a device type
        std::vector<std::string> visible;
        int page;
        const char* option;
        int shown = 0;  // the page shown before
    };
    // clang-format off
    const std::vector<Row> rows = {
        {"every tab enabled", {}, nullptr, kAll, 0, "WorkMode"},
        {"entry 0 disabled selects page 1", {0}, nullptr, AllBut({"WorkModeTab"}), 1, "Server"},
        {"entries 0 and 1 disabled select page 2", {0, 1}, nullptr,
         AllBut({"WorkModeTab", "ServerTab"}), 2, "Serial"},
        {"-L and -Z enable only LoRa", {}, "M5Z30-L-Z",
         AllBut({"ZigbeeTab", "GPSTab"}), 0, "WorkMode"},
        {"-Z enables ZigBee", {}, "M5Z30-Z", AllBut({"LoraTab", "GPSTab"}), 0, "WorkMode"},
        {"K3V61 enables GPS", {}, "K3V61", AllBut({"LoraTab", "ZigbeeTab"}), 0, "WorkMode"},
        {"no module mark hides all three", {}, "M5Z30",
         AllBut({"LoraTab", "ZigbeeTab", "GPSTab"}), 0, "WorkMode"},
        {"a device type keeps the other flags", {0}, "M5Z30-L",
         AllBut({"WorkModeTab", "ZigbeeTab", "GPSTab"}), 1, "Server"},
        {"the page shown stays", {}, "M5Z30", AllBut({"LoraTab", "ZigbeeTab", "GPSTab"}), 4,
         "Wireless", 4},
        {"a page whose tab went gives way to the first", {}, "M5Z30",
         AllBut({"LoraTab", "ZigbeeTab", "GPSTab"}), 0, "WorkMode", 7},
        {"a disabled page gives way to the first enabled", {0, 5}, nullptr,
         AllBut({"WorkModeTab", "GlobalTab"}), 1, "Server", 5},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FormHarness h(GetParam());
        ASSERT_TRUE(h.Ok()) << h.Error();
        Disable(h, row.disabled);
        if (auto* pages = dynamic_cast<CTabLayoutUI*>(h.pm.FindControl("switch")))
            pages->SelectItem(row.shown);
        if (row.deviceType)
            ApplyDeviceTypeTabs(h.pm, h.tabs, row.deviceType);
        else
            ScrollTabStrip(h.pm, h.tabs, kStripRebuild);
        EXPECT_EQ(VisibleButtons(h), row.visible);
        EXPECT_EQ(CurrentPage(h), row.page);
        EXPECT_TRUE(OptionChecked(h, row.option));
        if (row.deviceType) {
            const bool lora = std::string(row.deviceType).find("-L") != std::string::npos;
            EXPECT_EQ(h.tabs[7].enabled, lora);
        }
    }
}

TEST_P(TabStripOnSkin, OptionSelectsThePageOfTheFirstButtonNamingIt) {
    struct Row {
        const char* option;
        int index;
    };
    const Row rows[] = {
        {"IO", 3},  {"Server", 1}, {"GPS", 9},  {"Operation", 10},
        {"Tab", 0}, {"Lora", 7},   {"gps", -1}, {"", -1},
    };
    FormHarness h(GetParam());
    ASSERT_TRUE(h.Ok()) << h.Error();
    for (const Row& row : rows) {
        EXPECT_EQ(TabIndexForOption(h.tabs, row.option), row.index) << row.option;
        auto* pages = dynamic_cast<CTabLayoutUI*>(h.pm.FindControl("switch"));
        ASSERT_NE(pages, nullptr);
        pages->SelectItem(5);
        EXPECT_EQ(SelectPageForOption(h.pm, h.tabs, row.option), row.index >= 0) << row.option;
        EXPECT_EQ(pages->GetCurSel(), row.index >= 0 ? row.index : 5) << row.option;
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, TabStripOnSkin, testing::Values(SkinKind::Test, SkinKind::Real),
                         SkinName);

// A tab's caption with a count of pending edits is shown whole, never clipped at both ends, and
// the tab narrows again when the count goes.
TEST(TabStrip, ATabShowsItsCaptionWholeAndGoesBackToItsWidth) {
    for (SkinKind skin : {SkinKind::Real, SkinKind::RealChinese}) {
        FormHarness h(skin);
        ASSERT_TRUE(h.Ok()) << h.Error();
        h.pm.GetRoot()->Realize();
        std::array<int, kTabCount> widths{};  // with the count last shown
        struct Row {
            std::size_t tab;
            std::string count;  // behind the title; "" none
        };
        const Row rows[] = {{0, " (1)"}, {6, " (128)"}, {2, " (12)"}, {0, ""}, {6, ""}};
        for (const Row& row : rows) {
            TabEntry& tab = h.tabs[row.tab];
            const std::string text = PageTitle(h.form, static_cast<int>(row.tab)) + row.count;
            SCOPED_TRACE(text);
            SetTabCaption(h.pm, tab, text);
            QWidget* shown = h.pm.FindControl(TabOptionName(tab.name))->GetWidget();
            ASSERT_NE(shown, nullptr);
            QFont bold = shown->font();
            bold.setBold(true);
            EXPECT_LT(QFontMetrics(bold).horizontalAdvance(QString::fromStdString(text)),
                      shown->width() - 4);
            EXPECT_EQ(h.pm.FindControl(tab.name)->GetFixedWidth(), shown->width());
            // Without its count the tab gives the room back.
            if (row.count.empty()) {
                EXPECT_LE(shown->width(), widths[row.tab]);
            }
            widths[row.tab] = shown->width();
        }
    }
}

// Where the keyboard is shows on the caption's buttons and the tab strip, and the Times switch
// looks different on and off, in both skins.
TEST(TabStrip, TheSkinsShowTheFocusAndTheSwitchsState) {
    for (const char* folder : {"ConifgENRes", "ConifgRes"}) {
        SCOPED_TRACE(folder);
        formtest::UseRealSkin(folder);
        formtest::WholeFrame frame;
        frame.Create(nullptr, "DTU", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1400, 800);
        QWidget* window = frame.GetHWND();
        ASSERT_NE(window, nullptr);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(
            testsupport::WaitUntil([&] { return QApplication::activeWindow() == window; }, 3000));
        const auto focus = [](QWidget* w) { w->setFocus(Qt::TabFocusReason); };
        const auto toggle = [](QWidget* w) {
            auto* button = static_cast<QPushButton*>(w);
            button->setChecked(!button->isChecked());
        };
        const struct {
            const char* name;
            std::function<void(QWidget*)> change;
        } rows[] = {
            {"closebtn", focus}, {"helpbtn", focus}, {"Server", focus},
            {"WorkMode", focus}, {"Open", focus},    {"LogTimes", toggle},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            QWidget* shown = frame.paintManager.FindControl(row.name)->GetWidget();
            ASSERT_NE(shown, nullptr);
            window->setFocus();
            QCoreApplication::processEvents();
            const QImage before = shown->grab().toImage();
            row.change(shown);
            QCoreApplication::processEvents();
            EXPECT_NE(shown->grab().toImage(), before);
        }
    }
}

// Scrolling depends on the buttons' widths, which only the test skin fixes.
TEST(TabStrip, ScrollingHidesAndShowsButtonsAtTheLeft) {
    struct Row {
        const char* name;
        std::vector<int> widths;
        int stripWidth;
        std::vector<int> disabled;
        std::vector<int> modes;  // after a rebuild
        std::vector<std::string> visible;
    };
    const std::vector<int> w100(kTabCount, 100);
    const std::vector<int> w10(kTabCount, 10);
    // clang-format off
    const std::vector<Row> rows = {
        {"forward hides the first button", w100, 300, {}, {kStripForward}, AllBut({"WorkModeTab"})},
        {"forward twice hides two", w100, 300, {}, {kStripForward, kStripForward},
         AllBut({"WorkModeTab", "ServerTab"})},
        {"back after two forwards shows the second again", w100, 300, {},
         {kStripForward, kStripForward, kStripBack}, AllBut({"WorkModeTab"})},
        {"back at the leftmost shows the same button", w100, 300, {}, {kStripBack}, kAll},
        {"back skips a disabled entry", w100, 300, {1},
         {kStripForward, kStripForward, kStripBack}, AllBut({"WorkModeTab", "ServerTab"})},
        {"forward passes over disabled entries", w100, 300, {1}, {kStripForward},
         AllBut({"WorkModeTab", "ServerTab"})},
        {"forward when everything fits hides nothing", w10, 300, {}, {kStripForward}, kAll},
        {"an unknown mode does nothing", w100, 300, {}, {3, -1}, kAll},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FormHarness h(SkinKind::Test, row.widths, row.stripWidth);
        ASSERT_TRUE(h.Ok()) << h.Error();
        Disable(h, row.disabled);
        ScrollTabStrip(h.pm, h.tabs, kStripRebuild);
        for (int mode : row.modes) ScrollTabStrip(h.pm, h.tabs, mode);
        std::vector<std::string> expected = row.visible;
        for (int i : row.disabled) {
            expected.erase(std::remove(expected.begin(), expected.end(),
                                       kTabButtonNames[static_cast<std::size_t>(i)]),
                           expected.end());
        }
        EXPECT_EQ(VisibleButtons(h), expected);
    }
}

TEST(TabStrip, WithoutTheStripNothingChanges) {
    FormHarness h(SkinKind::Test);
    ASSERT_TRUE(h.Ok()) << h.Error();
    h.Run({Absent("HorizontalLayoutUI6")}, false);
    Disable(h, {0});
    ScrollTabStrip(h.pm, h.tabs, kStripRebuild);
    EXPECT_EQ(VisibleButtons(h), kAll);
    EXPECT_FALSE(OptionChecked(h, "Server"));
}

TEST(ChannelSwitches, TheImageNameIsTheState) {
    struct Row {
        const char* name;
        const char* control;
        const char* image;  // set first; null: leave the control as it is
        int set;            // -1: no SetSwitch; 0 off; 1 on
        bool on;
        const char* imageAfter;
    };
    // clang-format off
    const Row rows[] = {
        {"on stays on", "COM2Lora", "switch_enable.png", 1, true, "switch_enable.png"},
        {"off turns on", "Lora2COM", "switch_disable.png", 1, true, "switch_enable.png"},
        {"on turns off", "COM2Lora", "switch_enable.png", 0, false, "switch_disable.png"},
        {"off stays off", "Lora2COM", "switch_disable.png", 0, false, "switch_disable.png"},
        {"every occurrence is replaced", "Lora2COM", "enable/switch_enable.png", 0, false,
         "disable/switch_disable.png"},
        {"an image with neither word is off", "Lora2COM", "switch.png", -1, false, "switch.png"},
        {"a missing switch is off and skipped", "GPS2COM", nullptr, 1, false, nullptr},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FormHarness h(SkinKind::Test);
        ASSERT_TRUE(h.Ok()) << h.Error();
        CControlUI* control = h.pm.FindControl(row.control);
        if (row.image) {
            ASSERT_NE(control, nullptr);
            control->SetBkImage(row.image);
        }
        if (row.set >= 0) SetSwitch(h.pm, row.control, row.set == 1);
        EXPECT_EQ(IsSwitchOn(h.pm, row.control), row.on);
        if (row.imageAfter) {
            EXPECT_EQ(control->GetBkImage().str(), row.imageAfter);
        }
    }
}
