// Nothing is thrown away unasked: Load, Revert, a close and a language switch ask before pending
// edits go; a close or a restart during a run lets the command on the line finish, names the
// writes that were not sent and leaves the unit with at+quit before the window goes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "app/AboutHelp.h"
#include "tests/faults/FaultSession.h"
#include "tests/support/TestPaths.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"

namespace {

using namespace faulttest;

constexpr const char* kEdited = "198.51.100.77";

// Runs the message loop until the program ends it; 99 when it did not within the time.
int RunLoopUntilQuit(int ms = 10000) {
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    giveUp.start(ms);
    return CPaintManagerUI::MessageLoop();
}

void Edit(Session& s, const char* field, const std::string& text) {
    s.Control(field)->SetText(text);
    s.frame.paintManager.SendNotify(s.Control(field), "killfocus");
}

void PickLanguage(Session& s, int item) {
    static_cast<CComboUI*>(s.Control("Language"))->SelectItem(item);
}

struct AskCase {
    const char* what;
    const char* key;  // the question asked
    std::function<void(Session&)> act;
    bool letGo;
    bool edited;       // the field still shows the edit afterwards
    std::size_t sent;  // commands the unit received because of it
};

TEST(Leave, PendingEditsGoOnlyWhenTheEngineerLetsThem) {
    int restarts = 0;
    SetRestarter(
        [&](const std::string&, const std::vector<std::string>&) { return ++restarts, true; });
    const auto load = [](Session& s) { s.Click("Load"); };
    const AskCase cases[] = {
        {"Load, kept", "Load", load, false, true, 0},
        {"Load, let go", "Load", load, true, false, 1},
        {"Revert, kept", "Revert", [](Session& s) { s.Click("Revert"); }, false, true, 0},
        {"Revert, let go", "Revert", [](Session& s) { s.Click("Revert"); }, true, false, 0},
        {"close, kept", "Close", [](Session& s) { s.Click("closebtn"); }, false, true, 0},
        {"language, kept", "Language", [](Session& s) { PickLanguage(s, 1); }, false, true, 0},
    };
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    for (const AskCase& c : cases) {
        SCOPED_TRACE(c.what);
        Edit(s, "Server's Ip", kEdited);
        const std::size_t from = s.host.ReceivedCommands().size();
        s.dialogs.boxes.clear();
        s.dialogs.boxAnswer = c.letGo ? IDOK : IDCANCEL;
        c.act(s);
        RunEventsFor(200);
        ASSERT_TRUE(WaitUntil([&] { return s.frame.jobQueue.IsIdle(); }, 10000));
        ASSERT_EQ(s.dialogs.boxes.size(), 1u);
        // One edit is pending: the question for one change, not "1 changes".
        const std::string question = Label("Discard", (std::string(c.key) + "One").c_str());
        EXPECT_FALSE(question.empty());
        EXPECT_EQ(s.dialogs.boxes[0].text, question);
        EXPECT_EQ(s.Control("Server's Ip")->GetText().str() == kEdited, c.edited);
        EXPECT_EQ(s.CommandsSince(from).size(), c.sent);
        EXPECT_EQ(static_cast<CComboUI*>(s.Control("Language"))->GetCurSel(), 0);
        if (c.edited) Edit(s, "Server's Ip", s.readValues.at("Server's Ip"));
    }
    EXPECT_EQ(restarts, 0);
    SetRestarter(nullptr);
}

struct LeaveCase {
    const char* what;
    std::function<void(Session&)> leave;
    int restarts;
};

// Three writes queued; the window is left while the first is on the line.
TEST(Leave, ARunEndsWithTheCommandOnTheLineAndAtQuitBeforeTheWindowGoes) {
    int restarts = 0;
    SetRestarter(
        [&](const std::string&, const std::vector<std::string>&) { return ++restarts, true; });
    const LeaveCase cases[] = {
        {"close button", [](Session& s) { s.Click("closebtn"); }, 0},
        {"system close", [](Session& s) { s.frame.HandleMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
        {"language switch", [](Session& s) { PickLanguage(s, 1); }, 1},
    };
    for (const LeaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        restarts = 0;
        Session s;
        ASSERT_TRUE(s.ready) << s.error;
        // The language chosen goes into a config.ini of the test's own.
        CPaintManagerUI::SetInstancePath(testpaths::TempDir() + "/");
        Edit(s, "Access Point Name", "apn.leave.example");
        Edit(s, "Server's Ip", kEdited);
        Edit(s, "Server's Port", "7077");
        const std::size_t from = s.host.ReceivedCommands().size();
        const std::size_t logFrom = s.frame.log.size();
        bool left = false;
        bool cancelOffered = false;
        s.frame.afterMessage = [&] {
            // Cancel would drop the at+quit: it is not offered once the window is being left.
            cancelOffered = cancelOffered || (left && s.Control("CancelJobs")->IsVisible());
            if (left || s.frame.progressSteps.empty() ||
                !s.frame.progressSteps.back().text.starts_with("Writing 1 of 3")) {
                return;
            }
            left = true;
            c.leave(s);
        };
        s.Click("Save");
        EXPECT_EQ(RunLoopUntilQuit(), 0) << Tail(s.frame.log);
        s.frame.afterMessage = nullptr;
        ASSERT_TRUE(left);
        EXPECT_FALSE(cancelOffered);
        EXPECT_EQ(s.CommandsSince(from),
                  (std::vector<std::string>{"AT+APN=apn.leave.example", "at+quit"}));
        EXPECT_NE(
            s.frame.log.find("Not sent, the program is closing: Main server IP, Main server port.",
                             logFrom),
            std::string::npos)
            << Tail(s.frame.log);
        EXPECT_EQ(restarts, c.restarts);
    }
    SetRestarter(nullptr);
}

}  // namespace
