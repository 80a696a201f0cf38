// The line is cut (the pseudo-terminal's far side closes) while the unit is talking: the
// frame reports the loss once, closes the port and goes quiet, and nothing it did not see
// confirmed is taken as written, in the form or in a backup file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/faults/FaultLedger.h"
#include "tests/faults/FaultSession.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace faulttest;

enum class During { Read, Writes, FileSave };

struct UnplugCase {
    const char* what;
    During during;
    const char* cut;  // the line is cut after this many more bytes from the unit
};

struct Edit {
    const char* field;
    const char* value;
};

// Four fields on screen that a save writes in this order (the table's key order).
constexpr Edit kEdits[] = {
    {"Access Point Name", "apn.cut.example"},
    {"PhoneNO.", "13900000022"},
    {"Server's Ip", "198.51.100.21"},
    {"Server's Port", "7021"},
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(Unplug, TheLossIsReportedOnceAndNothingUnconfirmedCounts) {
    const UnplugCase cases[] = {
        {"during a read", During::Read, "unplug=2000"},
        // Two answers of six bytes, then the third one is cut after its first three.
        {"during a run of writes", During::Writes, "unplug=15"},
        {"during a file save", During::FileSave, "unplug=2000"},
    };
    const std::string lost = Label("OnStartCom", "LostNotice");
    ASSERT_FALSE(lost.empty());
    for (const UnplugCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario row(c.what);
        Session s;
        ASSERT_TRUE(s.ready) << s.error;
        const std::string folder = testpaths::TempDir();
        const std::string backup = folder + "/unit.cfg";
        const std::string oldBytes = "the backup made last week\r\r\n";
        std::ofstream(backup, std::ios::binary) << oldBytes;
        const auto unitBefore = s.host.Counters();
        const std::size_t from = s.frame.log.size();
        const std::size_t finishedFrom = s.frame.finished.size();

        ASSERT_TRUE(s.AddFault(c.cut)) << s.error;
        switch (c.during) {
            case During::Read:
                s.Click("Load");
                break;
            case During::Writes:
                for (const Edit& edit : kEdits) s.Control(edit.field)->SetText(edit.value);
                s.Click("Save");
                // The worker may have taken the first; the next waits for its answer.
                ASSERT_GE(s.frame.jobQueue.Size() + 1, std::size(kEdits));
                break;
            case During::FileSave:
                s.dialogs.pathToGive = backup;
                s.Click("SaveToFile");
                break;
        }
        // The unit's side notes the time once its end of the line is closed.
        ASSERT_TRUE(WaitUntil(
            [&] { return s.frame.log.find(lost, from) != std::string::npos && s.cutAtNs != 0; },
            5000))
            << Tail(s.frame.log.substr(from));
        EXPECT_GT(s.host.Counters().bytesOut, unitBefore.bytesOut) << "the unit had begun";

        // Reported soon after the cut (from the hang-up, not from a job's time-out), by a port
        // that is closed now.
        const SteadyTime cut{std::chrono::nanoseconds(s.cutAtNs.load())};
        for (const FaultFrame::LogBlock& block : s.frame.logBlocks) {
            if (block.text.find(lost) == std::string::npos) continue;
            EXPECT_LT(block.at - cut, std::chrono::seconds(3));
        }
        EXPECT_FALSE(s.frame.serialPort.IsOpen());
        EXPECT_FALSE(s.frame.loggedIn);
        EXPECT_EQ(s.Control("Open")->GetText(), Label("OnStartCom", "Open"));
        EXPECT_EQ(s.frame.jobQueue.Size(), 0u);
        // The form is back to choosing a port: no command can be started.
        RunEventsFor(50);
        for (const char* button : {"Load", "Save", "SaveToFile", "LoadFromFile", "Login"}) {
            EXPECT_FALSE(s.Control(button)->IsEnabled()) << button;
        }
        EXPECT_TRUE(s.Control("SerialPort")->IsEnabled());

        // The job that was on the line ended with the port, and nothing is said of it later,
        // not even once its time-out has passed.
        ASSERT_TRUE(s.ExpireWaitsUntil([&] { return s.clock.Subscribers() == 0; }));
        RunEventsFor(100);
        EXPECT_EQ(Occurrences(s.frame.log.substr(from), Label("WorkerJobThreadProc", "OutTime")), 0)
            << Tail(s.frame.log.substr(from));
        // Every job ended exactly once: what was confirmed, the one on the line as port lost
        // (unknown), the queued ones as not sent.
        std::vector<JobOutcome> outcomes;
        for (std::size_t i = finishedFrom; i < s.frame.finished.size(); ++i)
            outcomes.push_back(s.frame.finished[i].outcome);
        const std::vector<JobOutcome> expected =
            c.during == During::Writes
                ? std::vector<JobOutcome>{JobOutcome::Ok, JobOutcome::Ok, JobOutcome::PortLost,
                                          JobOutcome::NotSent, JobOutcome::NotSent}
                : std::vector<JobOutcome>{JobOutcome::PortLost};
        EXPECT_EQ(outcomes, expected);
        const double cpuBefore = ProcessCpuMs();
        RunEventsFor(1000);
        EXPECT_LT(ProcessCpuMs() - cpuBefore, 400.0) << "busy after the loss";
        EXPECT_EQ(Occurrences(s.frame.log.substr(from), lost), 1);

        switch (c.during) {
            case During::Read:
                EXPECT_EQ(s.frame.parsedListings, 1);
                EXPECT_EQ(s.Values(), s.readValues);
                break;
            case During::Writes: {
                // The first two were confirmed, the third was carried out but its OK was cut,
                // the fourth never went out.
                EXPECT_EQ(Occurrences(s.frame.log.substr(from),
                                      Label("WorkerJobThreadProc", "SaveSuccess")),
                          2);
                for (std::size_t i = 0; i < std::size(kEdits); ++i) {
                    const Edit& edit = kEdits[i];
                    const ParameterEntry* entry = s.frame.parameterTable.FindParameter(edit.field);
                    EXPECT_EQ(entry->value, i < 2 ? edit.value : s.readValues[edit.field])
                        << edit.field;
                    EXPECT_EQ(*s.host.StoredValue(entry->atCommand),
                              i < 3 ? edit.value : s.readValues[edit.field])
                        << edit.field;
                }
                break;
            }
            case During::FileSave:
                EXPECT_EQ(ReadBytes(backup), oldBytes);
                EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"unit.cfg"});
                break;
        }
        row.Audit(s);
    }
}

}  // namespace
