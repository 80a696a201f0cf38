// Finding a parameter on the real skins: by label in the window's language, by control name
// and by command word, the page it is on, why a hidden one is hidden, and the find field in the
// window (Ctrl+F, the list, Enter going to the control).
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

#include "form/FindParameter.h"
#include "form/HiddenReason.h"
#include "form/SettleRules.h"
#include "form/TabStrip.h"
#include "tests/form/FormHarness.h"
#include "tests/form/UnitSession.h"
#include "ui/Container.h"

namespace {

using testsupport::WaitUntil;

int ShownPage(CPaintManagerUI& pm) {
    auto* pages = dynamic_cast<CTabLayoutUI*>(pm.FindControl("switch"));
    return pages ? pages->GetCurSel() : -1;
}

// The match of that control among what the text finds, or an empty match.
FindMatch MatchOf(FormHarness& h, const std::string& text, const std::string& name) {
    for (FindMatch& m : FindParameters(h.form, text)) {
        if (m.name == name) return m;
    }
    return {};
}

struct FindCase {
    SkinKind skin;
    const char* text;
    const char* name;  // the first match
    int page;
    MatchedBy by;
};

TEST(FindParameter, FirstMatchAndItsPageByLabelNameAndCommandInBothLanguages) {
    constexpr SkinKind kEn = SkinKind::Real;
    constexpr SkinKind kZh = SkinKind::RealChinese;
    // clang-format off
    const FindCase cases[] = {
        {kEn, "main SERVER ip", "Server's Ip",       1, MatchedBy::Label},
        {kZh, "主服务器",        "Server's Ip",       1, MatchedBy::Label},
        {kEn, "phone number",   "PhoneNO.",          0, MatchedBy::Label},
        {kZh, "手机号码",        "PhoneNO.",          0, MatchedBy::Label},
        {kEn, "phoneno",        "PhoneNO.",          0, MatchedBy::Name},
        {kZh, "phoneno",        "PhoneNO.",          0, MatchedBy::Name},
        {kEn, "ipad",           "Server's Ip",       1, MatchedBy::Command},
        {kZh, "IPAD",           "Server's Ip",       1, MatchedBy::Command},
        {kEn, "at+apn",         "Access Point Name", 4, MatchedBy::Command},
        {kZh, "AT+APN",         "Access Point Name", 4, MatchedBy::Command},
    };
    // clang-format on
    for (const FindCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.skin == kZh ? " (Chinese)" : " (English)"));
        FormHarness h(c.skin);
        ASSERT_TRUE(h.Ok()) << h.Error();
        SettleLayoutRules(h.form);
        const std::vector<FindMatch> found = FindParameters(h.form, c.text);
        ASSERT_FALSE(found.empty());
        EXPECT_EQ(found[0].name, c.name);
        EXPECT_EQ(found[0].page, c.page);
        EXPECT_EQ(found[0].by, c.by);
        EXPECT_EQ(found[0].hiddenBecause, "");
        // Going there shows its page, as the tab strip would.
        EXPECT_EQ(SwitchToMatch(h.form, found[0]), h.pm.FindControl(c.name));
        EXPECT_EQ(ShownPage(h.pm), c.page);
    }
}

TEST(FindParameter, ListIsCappedLabelsFirstAndBlankFindsNothing) {
    FormHarness h(SkinKind::Real);
    ASSERT_TRUE(h.Ok()) << h.Error();
    EXPECT_TRUE(FindParameters(h.form, "  ").empty());
    EXPECT_TRUE(FindParameters(h.form, "no such parameter").empty());
    const std::vector<FindMatch> found = FindParameters(h.form, "e");
    EXPECT_EQ(found.size(), kMaxFindMatches);
    for (std::size_t i = 1; i < found.size(); ++i) EXPECT_LE(found[i - 1].by, found[i].by);
}

struct HiddenCase {
    SkinKind skin;
    std::vector<Step> steps;
    const char* name;
    const char* reason;
};

TEST(FindParameter, HiddenMatchSaysWhichChoiceHidesItAndIsNotShown) {
    constexpr SkinKind kEn = SkinKind::Real;
    // clang-format off
    const HiddenCase cases[] = {
        {kEn, {PickText("Protocolmodel", "DCTCP")},    "Modem'sID number",
         "hidden while Work mode is DCTCP"},
        {SkinKind::RealChinese, {PickText("Protocolmodel", "DCTCP")}, "Modem'sID number",
         "“工作模式”为“DCTCP”时隐藏"},
        {kEn, {PickText("Protocolmodel", "TRNS")},     "Server's Ip",
         "page Servers is off while Work mode is TRNS"},
        {kEn, {PickText("Debug Level", "Off")},        "Debugging  port",
         "hidden while Debug level is Off"},
        {kEn, {PickText("ThePPPauthentication", "1")}, "Server2's Ip",
         "hidden while Number of servers is 1"},
        {kEn, {PickText("ThePPPauthentication", "5")}, "Server2's Ip", ""},
        {kEn, {PickIndex("ActivateMethod", 0)},       "SMSActivationNO.",
         "hidden while Activation method is AUTO (always online)"},
        {kEn, {PickLabel("DIO1 workmode", "Text1")},  "DIO1 protocol",
         "hidden while DIO1 Work mode is Off"},
        {kEn, {PickLabel("DIO1 workmode", "Text2"), PickIndex("DIO1 interface", 0)},
         "DIO1 SMS number", "hidden while DIO1 Interface is GPRS"},
        {SkinKind::RealChinese, {PickLabel("DIO2 workmode", "Text1")}, "DIO2 protocol",
         "“DIO2 工作模式”为“关闭”时隐藏"},
        {kEn, {PickIndex("ActivateMethod", 5), PickIndex("IOactivationmethods", 0),
               PickIndex("I/O selection", 0)},        "DIO1 workmode",
         "hidden while Activation input is DIO1"},
    };
    // clang-format on
    for (const HiddenCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.reason);
        FormHarness h(c.skin);
        ASSERT_TRUE(h.Ok()) << h.Error();
        SettleLayoutRules(h.form);
        h.Run(c.steps);
        const FindMatch m = MatchOf(h, c.name, c.name);
        ASSERT_EQ(m.name, c.name);
        EXPECT_EQ(m.hiddenBecause, c.reason);
        if (*c.reason == '\0') continue;
        const int page = ShownPage(h.pm);
        EXPECT_EQ(SwitchToMatch(h.form, m), nullptr);
        EXPECT_EQ(ShownPage(h.pm), page);
    }
}

TEST(FindParameter, TwinLabelsOfAPageAreListedByTheirBoxAndPagesWithoutTheirCount) {
    struct Row {
        SkinKind skin;
        const char* text;
        std::vector<std::string> labels;  // of the matches, in order
    };
    const Row rows[] = {
        {SkinKind::Real,
         "report method",
         {"DIO1 Report method", "DIO2 Report method", "DIO3 Report method"}},
        {SkinKind::Real, "sms number", {"DIO1 SMS number", "DIO2 SMS number", "DIO3 SMS number"}},
        {SkinKind::RealChinese, "上报方式", {"DIO1 上报方式", "DIO2 上报方式", "DIO3 上报方式"}},
        {SkinKind::Real, "phone number", {"Phone number"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        FormHarness h(row.skin);
        ASSERT_TRUE(h.Ok()) << h.Error();
        // A page with pending edits shows their count on its tab, never in the page's name.
        h.pm.FindControl("IO")->SetText(PageTitle(h.form, 3) + " (12)");
        h.pm.FindControl("WorkMode")->SetText(PageTitle(h.form, 0) + " (1)");
        std::vector<std::string> labels;
        for (const FindMatch& m : FindParameters(h.form, row.text)) {
            labels.push_back(m.label);
            EXPECT_EQ(PageTitle(h.form, m.page).find('('), std::string::npos);
        }
        EXPECT_EQ(labels, row.labels);
    }
}

TEST(FindParameter, ModulePageOfAnotherDeviceSaysSo) {
    FormHarness h(SkinKind::Real);
    ASSERT_TRUE(h.Ok()) << h.Error();
    ApplyDeviceTypeTabs(h.pm, h.tabs, "M5Z30-Z");
    EXPECT_EQ(MatchOf(h, "LORA Mode", "LORA Mode").hiddenBecause,
              "page LoRa is offered only for a unit with that module");
    EXPECT_EQ(MatchOf(h, "ZigBee_Type", "ZigBee_Type").hiddenBecause, "");
}

void Key(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(to, &press);
}

TEST(FindField, CtrlFFocusesTheFieldAndEnterGoesToTheControlOnItsPage) {
    formtest::UseRealSkin("ConifgENRes");
    formtest::WholeFrame frame;
    frame.Create(nullptr, "DTU", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1400, 800);
    QWidget* window = frame.GetHWND();
    ASSERT_NE(window, nullptr);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == window; }, 3000));
    auto* line = qobject_cast<QLineEdit*>(frame.paintManager.FindControl("FindParam")->GetWidget());
    ASSERT_NE(line, nullptr);

    Key(window->focusWidget() ? window->focusWidget() : window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(WaitUntil([&] { return line->hasFocus(); }, 2000));

    for (QChar c : QString("ipad")) Key(line, c.toUpper().unicode(), Qt::NoModifier, c);
    QAbstractItemView* list = line->findChild<QCompleter*>()->popup();
    ASSERT_TRUE(WaitUntil([&] { return list->isVisible(); }, 2000));
    EXPECT_TRUE(list->model()->index(0, 0).data().toString().startsWith("Main server IP"));

    Key(list, Qt::Key_Return);
    CControlUI* ip = frame.paintManager.FindControl("Server's Ip");
    EXPECT_EQ(ShownPage(frame.paintManager), 1);
    ASSERT_NE(ip->GetWidget(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ip->GetWidget()->hasFocus(); }, 2000));
    EXPECT_NE(window->findChild<QWidget*>("FindFlash"), nullptr);
    EXPECT_EQ(line->text(), "ipad");

    // Under TRNS the servers' page is off: choosing the match leaves the form as it is and
    // the note says why.
    auto* mode = dynamic_cast<CComboUI*>(frame.paintManager.FindControl("Protocolmodel"));
    mode->SelectItem(3);
    testsupport::RunEventsFor(50);
    const int page = ShownPage(frame.paintManager);
    line->selectAll();
    for (QChar c : QString("ipad")) Key(line, c.toUpper().unicode(), Qt::NoModifier, c);
    ASSERT_TRUE(WaitUntil([&] { return list->isVisible(); }, 2000));
    EXPECT_TRUE(list->model()->index(0, 0).data().toString().endsWith(
        "page Servers is off while Work mode is TRNS"));
    Key(list, Qt::Key_Return);
    EXPECT_EQ(ShownPage(frame.paintManager), page);
    EXPECT_EQ(frame.paintManager.FindControl("FindNote")->GetText().str(),
              "Main server IP: page Servers is off while Work mode is TRNS");
}

}  // namespace
