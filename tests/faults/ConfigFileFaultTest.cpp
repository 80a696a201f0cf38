// Backups that are not what they should be (empty, binary, cut short, holding a zero byte,
// ten megabytes long) and a backup made over a noisy line: a file is refused or read only as
// far as it holds sound lines, and nothing is written to the unit that the file did not hold.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "form/TabTable.h"
#include "params/ConfigFileText.h"
#include "sim/UnitParameters.h"
#include "tests/faults/FaultLedger.h"
#include "tests/faults/FaultSession.h"
#include "tests/support/TestPaths.h"
#include "ui/Controls.h"

namespace {

using namespace faulttest;

constexpr std::size_t kTenMegabytes = 10u << 20;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// What a file gives each of the unit's parameters, by the unit's own command word: every
// complete "label:value" line of the listing text a reader may use (the first 8192 characters
// after line-end translation, up to a zero byte).
std::map<std::string, std::string> ValuesInFile(const std::string& fileBytes) {
    std::string text = DecodeConfigText(fileBytes);
    text = text.substr(0, text.find('\0'));
    std::map<std::string, std::string> values;
    for (const sim::UnitParameter& p : sim::UnitParameters()) {
        if (p.command.empty()) continue;
        const std::string label = "\r\n" + std::string(p.label);
        const std::size_t at = text.find(label);
        if (at == std::string::npos) continue;
        const std::size_t start = at + label.size();
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) continue;
        values[std::string(p.command)] = text.substr(start, end - start);
    }
    return values;
}

// The writes among commands that the file did not hold, or held with another value.
std::vector<std::string> WritesNotFromFile(const std::vector<std::string>& commands,
                                           const std::map<std::string, std::string>& file) {
    std::vector<std::string> foreign;
    for (const std::string& command : commands) {
        const std::size_t equals = command.find('=');
        if (equals == std::string::npos) continue;
        const int index = sim::FindParameterByCommand(command.substr(0, equals));
        if (index < 0) {
            foreign.push_back(command);
            continue;
        }
        const auto held = file.find(std::string(sim::UnitParameters()[index].command));
        if (held == file.end() || held->second != command.substr(equals + 1)) {
            foreign.push_back(command);
        }
    }
    return foreign;
}

// The command of a parameter listed late in the listing that a save would write: an edit
// field that is shown on an enabled tab.
std::string LateWritableCommand(Session& s) {
    const auto parameters = sim::UnitParameters();
    for (auto p = parameters.rbegin(); p != parameters.rend(); ++p) {
        if (p->command.empty()) continue;
        for (const auto& [name, entry] : s.frame.parameterTable) {
            if (UnitLabel(entry.responseLabel) != p->label) continue;
            if (entry.kind == ControlKind::Edit && entry.shown &&
                IsTabEnabled(s.frame.tabTable, entry.tab) && s.Control(name.c_str())) {
                return std::string(p->command);
            }
        }
    }
    return {};
}

std::string Padding(std::size_t size) {
    const std::string line = std::string(98, '#') + "\r\r\n";
    std::string padding;
    padding.reserve(size + line.size());
    while (padding.size() < size) padding += line;
    return padding;
}

struct FileCase {
    const char* what;
    std::function<std::string(const std::string& backup)> make;
    bool refused;
    bool lateHeld;  // the file holds the late parameter
};

TEST(ConfigFileFaults, AFileIsAppliedOnlyAsFarAsItHoldsSoundLines) {
    const FileCase cases[] = {
        {"an empty file", [](const std::string&) { return std::string(); }, true, false},
        {"a binary file",
         [](const std::string&) {
             std::mt19937 random(7);
             std::string bytes(4096, '\0');
             for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
             return bytes;
         },
         true, false},
        {"a file cut in the middle of a line",
         [](const std::string& backup) {
             std::size_t cut = backup.size() * 45 / 100;
             while (backup[cut - 1] == '\r' || backup[cut - 1] == '\n') ++cut;
             return backup.substr(0, cut);
         },
         false, false},
        {"a zero byte in the middle",
         [](const std::string& backup) {
             std::string bytes = backup;
             bytes.insert(bytes.size() / 2, 1, '\0');
             return bytes;
         },
         false, false},
        {"10 MB, the listing first",
         [](const std::string& backup) { return backup + Padding(kTenMegabytes); }, false, true},
        {"10 MB, the listing after the padding",
         [](const std::string& backup) { return Padding(kTenMegabytes) + backup; }, true, false},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario row(c.what);
        Session s;
        ASSERT_TRUE(s.ready) << s.error;
        const std::string folder = testpaths::TempDir();
        s.dialogs.pathToGive = folder + "/backup.cfg";
        ASSERT_TRUE(s.Settle([&] { s.Click("SaveToFile"); }));
        const std::string backup = ReadBytes(folder + "/backup.cfg");
        ASSERT_GT(backup.size(), 3000u);

        // The unit changed since the backup: a parameter listed first and one listed late.
        const std::string late = LateWritableCommand(s);
        ASSERT_FALSE(late.empty());
        const std::string apnBackup = *s.host.StoredValue("AT+APN");
        const std::string lateBackup = *s.host.StoredValue(late);
        ASSERT_TRUE(s.host.SetStoredValue("AT+APN", "changed.example"));
        ASSERT_TRUE(s.host.SetStoredValue(late, lateBackup + "9"));

        const std::string file = c.make(backup);
        const auto fileValues = ValuesInFile(file);
        EXPECT_EQ(fileValues.count(late) == 1, c.lateHeld) << late;
        s.dialogs.pathToGive = folder + "/faulty.cfg";
        WriteBytes(s.dialogs.pathToGive, file);
        const std::size_t from = s.host.ReceivedCommands().size();
        const std::size_t logFrom = s.frame.log.size();
        const auto valuesBefore = s.Values();
        const std::string readError = Label("onLoadFrommFile", "ReadError");

        if (c.refused) {
            s.Click("LoadFromFile");
            ASSERT_TRUE(WaitUntil(
                [&] {
                    return s.frame.logView->GetText().str().find(readError) != std::string::npos;
                },
                3000));
            RunEventsFor(300);
            EXPECT_EQ(s.CommandsSince(from), std::vector<std::string>{});
            EXPECT_EQ(s.frame.jobQueue.Size(), 0u);
            EXPECT_EQ(s.Values(), valuesBefore);
        } else {
            ASSERT_TRUE(s.Settle([&] { s.Click("LoadFromFile"); }))
                << Tail(s.frame.log.substr(logFrom));
            EXPECT_EQ(s.frame.logView->GetText().str().find(readError), std::string::npos);
            EXPECT_EQ(*s.host.StoredValue("AT+APN"), apnBackup);
            EXPECT_EQ(*s.host.StoredValue(late), c.lateHeld ? lateBackup : lateBackup + "9");
        }
        EXPECT_EQ(WritesNotFromFile(s.CommandsSince(from), fileValues), std::vector<std::string>{});
        row.Audit(s, {}, logFrom);
    }
}

TEST(ConfigFileFaults, ABackupOverANoisyLineHoldsTheUnitsValues) {
    Scenario row("a backup made over noise and zero bytes");
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.AddFault("noise=16")) << s.error;
    ASSERT_TRUE(s.AddFault("zeros=3")) << s.error;
    const std::string path = testpaths::TempDir() + "/noisy.cfg";
    s.dialogs.pathToGive = path;
    ASSERT_TRUE(s.Settle([&] { s.Click("SaveToFile"); })) << Tail(s.frame.log);
    const auto fileValues = ValuesInFile(ReadBytes(path));
    std::size_t compared = 0;
    for (const sim::UnitParameter& p : sim::UnitParameters()) {
        if (p.command.empty()) continue;
        const auto held = fileValues.find(std::string(p.command));
        ASSERT_NE(held, fileValues.end()) << p.label;
        EXPECT_EQ(held->second, *s.host.StoredValue(p.command)) << p.label;
        ++compared;
    }
    EXPECT_GT(compared, 100u);
    row.Audit(s);
}

}  // namespace

namespace {

// The apply reads the unit before it writes; when that read is not answered the frame must
// still know the unit's values, so that a save then writes what the form shows.
TEST(ConfigFileFaults, AnUnansweredApplyLeavesTheUnitsValuesInTheFrame) {
    Scenario row("the read of an apply unanswered");
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    const std::string folder = testpaths::TempDir();
    s.dialogs.pathToGive = folder + "/backup.cfg";
    ASSERT_TRUE(s.Settle([&] { s.Click("SaveToFile"); }));
    const std::string apnBackup = *s.host.StoredValue("AT+APN");
    // The unit changed and the frame read it so.
    ASSERT_TRUE(s.host.SetStoredValue("AT+APN", "changed.example"));
    ASSERT_TRUE(s.Read());
    s.readValues = s.Values();

    ASSERT_TRUE(s.AddFault("mute@AT+SHOW/1")) << s.error;
    const std::size_t from = s.host.ReceivedCommands().size();
    const int idle = s.frame.idleNotices;
    s.Click("LoadFromFile");
    ASSERT_TRUE(s.TimeOutWhenSent("AT+SHOW", std::chrono::seconds(24)));
    ASSERT_TRUE(s.ExpireWaitsUntil([&] { return s.frame.idleNotices > idle; }));
    EXPECT_EQ(s.CommandsSince(from), std::vector<std::string>{"AT+SHOW"});
    // The form shows the file; the frame still holds what the unit holds.
    EXPECT_EQ(s.Control("Access Point Name")->GetText(), apnBackup);
    EXPECT_EQ(s.frame.parameterTable.FindParameter("Access Point Name")->value, "changed.example");
    row.Audit(s);

    // So a save writes what the form shows, once a probe's wait for the listing that never came
    // has passed.
    const int idleAgain = s.frame.idleNotices;
    const std::size_t logFrom = s.frame.log.size();
    s.Click("Save");
    // The unit answers the probe at once, and that answer pays the listing's debt; the probe's
    // time-out may pass only once the frame has it, or the probe heard nothing.
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::size_t probe = s.frame.log.find("AT\r\n", logFrom);
            return probe != std::string::npos && s.frame.log.find("OK", probe) != std::string::npos;
        },
        5000))
        << Tail(s.frame.log);
    ASSERT_TRUE(s.TimeOutWhenSent("AT", std::chrono::minutes(1))) << Tail(s.frame.log);
    ASSERT_TRUE(WaitUntil([&] { return s.frame.idleNotices > idleAgain; }, 15000))
        << Tail(s.frame.log);
    EXPECT_EQ(*s.host.StoredValue("AT+APN"), apnBackup) << Tail(s.frame.log);
    EXPECT_EQ(s.frame.parameterTable.FindParameter("Access Point Name")->value, apnBackup);
}

}  // namespace
