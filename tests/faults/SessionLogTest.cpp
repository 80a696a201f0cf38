// The log as the engineer keeps it: Save log writes the session with every password masked,
// and the time switch puts a stamp before each line only while it is on.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QSplitter>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "tests/faults/FaultSession.h"
#include "tests/support/TestPaths.h"
#include "ui/Splitter.h"

namespace {

using namespace faulttest;

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct SecretCase {
    const char* field;    // the form's control
    const char* command;  // what writes it
    const char* read;     // the unit holds it when the form is loaded
    const char* written;  // the form writes it; null: only read (hidden in the default layout)
};

TEST(SessionLog, SavedLogHoldsNoSecretValue) {
    const SecretCase cases[] = {
        {"Password", "AT+PASSWORD", "ReadPppSecret", "WrittenPppSecret"},
        {"DTU SMS configure password", "AT+SMSCPW", "ReadSmsSecret", nullptr},
    };
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    for (const SecretCase& c : cases) ASSERT_TRUE(s.host.SetStoredValue(c.command, c.read));
    ASSERT_TRUE(s.Read()) << Tail(s.frame.log);
    for (const SecretCase& c : cases) {
        if (c.written) s.Control(c.field)->SetText(c.written);
    }
    ASSERT_TRUE(s.Settle([&] { s.Click("Save"); })) << Tail(s.frame.log);

    const std::string path = testpaths::TempDir() + "/session.log";
    s.dialogs.pathToGive = path;
    s.Click("SaveLog");
    const std::string saved = FileText(path);
    ASSERT_FALSE(saved.empty());
    for (const SecretCase& c : cases) {
        SCOPED_TRACE(c.field);
        // The secrets did cross the line: the session log had them to hide.
        EXPECT_NE(s.frame.sessionLog.find(c.read), std::string::npos);
        EXPECT_EQ(saved.find(c.read), std::string::npos) << saved;
        if (!c.written) continue;
        EXPECT_EQ(*s.host.StoredValue(c.command), c.written);
        EXPECT_NE(s.frame.sessionLog.find(c.written), std::string::npos);
        EXPECT_EQ(saved.find(c.written), std::string::npos) << saved;
        EXPECT_NE(saved.find(std::string(c.command) + "=********"), std::string::npos);
    }
    // What is not secret stays as it was sent.
    EXPECT_NE(saved.find("AT+SHOW"), std::string::npos);
    EXPECT_TRUE(WaitUntil([&] { return Occurrences(s.frame.log, path) > 0; }, 5000));

    // A folder that is not there: the engineer is told, and no file is left half written.
    const std::string nowhere = testpaths::TempDir() + "/missing/session.log";
    s.dialogs.pathToGive = nowhere;
    s.Click("SaveLog");
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_NE(s.dialogs.boxes[0].text.find(nowhere), std::string::npos);
    EXPECT_TRUE(FileText(nowhere).empty());
}

TEST(SessionLog, TimeSwitchStampsEachLineWhileOn) {
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    auto* times = static_cast<QPushButton*>(s.Control("LogTimes")->GetWidget());
    const std::regex stamped(R"(^\d\d:\d\d:\d\d\.\d\d\d )");
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "on" : "off");
        if (times->isChecked() != on) times->click();
        ASSERT_EQ(times->isChecked(), on);
        const std::size_t from = s.frame.sessionLog.size();
        ASSERT_TRUE(s.Settle([&] { s.Click("CSQ"); })) << Tail(s.frame.log);
        std::istringstream lines(s.frame.sessionLog.substr(from));
        int count = 0;
        for (std::string line; std::getline(lines, line);) {
            if (line.empty() || line == "\r") continue;
            ++count;
            EXPECT_EQ(std::regex_search(line, stamped), on) << line;
        }
        EXPECT_GT(count, 1);
    }
}

TEST(SessionLog, SplitterKeepsBothPanesWholeAtTheLeastWindow) {
    Session s(ConfigurationUnit(), false);
    auto* control = dynamic_cast<CSplitterUI*>(s.Control("FormLogSplitter"));
    ASSERT_NE(control, nullptr);
    QSplitter* splitter = control->Splitter();
    ASSERT_EQ(splitter->count(), 2);
    QWidget* window = s.frame.GetHWND();
    window->show();
    const int leastLog = splitter->widget(0)->minimumWidth();
    const int leastForm = splitter->widget(1)->minimumSizeHint().width();
    ASSERT_GT(leastLog, 0);
    // The handle dragged: to give the log more room, and past where either pane would shrink.
    for (const int drag : {0, 300, -300, 5000}) {
        SCOPED_TRACE(drag);
        window->resize(1400, 800);
        RunEventsFor(50);
        const QList<int> before = splitter->sizes();
        splitter->setSizes({before[0] + drag, before[1] - drag});
        RunEventsFor(50);
        EXPECT_GE(splitter->sizes()[0], leastLog);
        EXPECT_GE(splitter->sizes()[1], leastForm);
        if (drag == 300) {
            EXPECT_GT(splitter->sizes()[0], before[0]);
        }
        window->resize(window->minimumSizeHint());
        RunEventsFor(50);
        EXPECT_GE(splitter->sizes()[0], leastLog);
        EXPECT_GE(splitter->sizes()[1], leastForm);
        EXPECT_LE(splitter->geometry().right(), window->width());
    }
}

}  // namespace
