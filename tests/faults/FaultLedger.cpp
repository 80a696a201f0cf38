#include "tests/faults/FaultLedger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>

#include "engine/AnswerMatch.h"
#include "tests/faults/FaultSession.h"

namespace faulttest {

namespace {

struct Account {
    int run = 0;
    int passed = 0;
    int lost = 0;
    int falseSuccesses = 0;
    int lostConfirmations = 0;
};

Account& TheAccount() {
    static Account account;
    return account;
}

int FailedParts() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    if (!test) return 0;
    const testing::TestResult* result = test->result();
    int failed = 0;
    for (int i = 0; i < result->total_part_count(); ++i) {
        failed += result->GetTestPartResult(i).failed() ? 1 : 0;
    }
    return failed;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A parameter write as the log shows it: the command line, and what followed it up to the
// next command.
struct LoggedWrite {
    std::string word;
    std::string value;
    bool saved = false;
    bool confirmed = false;  // the unit's OK, and no ERROR, came before the next command
};

std::vector<LoggedWrite> WritesInLog(Session& s, std::size_t logFrom) {
    const std::string log = s.frame.log.substr(std::min(logFrom, s.frame.log.size()));
    const std::string prefix = SendPrefix();
    const std::string saved = Label("WorkerJobThreadProc", "SaveSuccess");
    std::vector<LoggedWrite> writes;
    for (std::size_t at = log.find(prefix); at != std::string::npos;) {
        const std::size_t start = at + prefix.size();
        const std::size_t next = log.find(prefix, start);
        const std::size_t lineEnd = log.find("\r\n", start);
        const std::string line = log.substr(start, std::min(lineEnd, next) - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            LoggedWrite write{line.substr(0, equals), line.substr(equals + 1)};
            // Only the unit's parameters: the clock and other commands store nothing.
            if (s.host.StoredValue(write.word)) {
                const std::string segment = log.substr(start, next - start);
                write.saved = !saved.empty() && segment.find(saved) != std::string::npos;
                write.confirmed = HasOkLine(segment) && !HasErrorLine(segment);
                writes.push_back(write);
            }
        }
        at = next;
    }
    return writes;
}

// Prints the account once the whole run is over, and fails the run when a write went wrong.
class AccountEnvironment : public testing::Environment {
  public:
    void TearDown() override {
        const Account& a = TheAccount();
        std::printf(
            "faults: %d scenarios run, %d passed, writes lost: %d, false successes: %d, lost "
            "confirmations: %d\n",
            a.run, a.passed, a.lost, a.falseSuccesses, a.lostConfirmations);
        std::fflush(stdout);
        EXPECT_EQ(a.lost, 0);
        EXPECT_EQ(a.falseSuccesses, 0);
        EXPECT_EQ(a.lostConfirmations, 0);
        EXPECT_EQ(a.passed, a.run);
    }
};

[[maybe_unused]] testing::Environment* const kAccountEnvironment =
    testing::AddGlobalTestEnvironment(new AccountEnvironment);

}  // namespace

WriteAudit AuditWrites(Session& s, const std::set<std::string>& unconfirmed, std::size_t logFrom) {
    WriteAudit audit;
    std::set<std::string> unconfirmedWords;
    for (const std::string& word : unconfirmed) unconfirmedWords.insert(Upper(word));

    // The last write of each command decides what the unit must hold.
    std::map<std::string, LoggedWrite> last;
    for (const LoggedWrite& write : WritesInLog(s, logFrom)) {
        const std::string word = Upper(write.word);
        last[word] = write;
        const std::optional<std::string> held = s.host.StoredValue(word);
        if (!write.saved) {
            if (write.confirmed && held == write.value) {
                ++audit.lostConfirmations;
                audit.details += "confirmed by the unit, not logged as saved: " + write.word + "=" +
                                 write.value + "\n";
            }
            continue;
        }
        if (unconfirmedWords.count(word) || held != write.value) {
            ++audit.falseSuccesses;
            audit.details += "saved without the unit's confirmation: " + write.word + "=" +
                             write.value + " (unit holds " + held.value_or("nothing") + ")\n";
        }
    }
    for (const auto& [word, write] : last) {
        const std::optional<std::string> held = s.host.StoredValue(word);
        if (write.saved && held != write.value) {
            ++audit.lost;
            audit.details +=
                "saved but not held by the unit: " + write.word + "=" + write.value + "\n";
        }
    }
    // A value the frame took on since its first read must be the unit's.
    for (const auto& [name, entry] : s.frame.parameterTable) {
        if (entry.responseLabel.empty() || entry.atCommand.empty()) continue;
        auto before = s.readValues.find(name);
        if (before == s.readValues.end() || before->second == entry.value) continue;
        const auto held = s.host.StoredValueByLabel(UnitLabel(entry.responseLabel));
        if (held && *held != entry.value) {
            ++audit.falseSuccesses;
            audit.details +=
                "the frame holds " + name + "=" + entry.value + ", the unit " + *held + "\n";
        }
    }
    return audit;
}

Scenario::Scenario(std::string name) : name_(std::move(name)), failuresBefore_(FailedParts()) {
    ++TheAccount().run;
}

Scenario::~Scenario() {
    if (FailedParts() == failuresBefore_) {
        ++TheAccount().passed;
    } else {
        std::printf("faults: scenario failed: %s\n", name_.c_str());
    }
}

void Scenario::Audit(Session& s, const std::set<std::string>& unconfirmed, std::size_t logFrom) {
    const WriteAudit audit = AuditWrites(s, unconfirmed, logFrom);
    TheAccount().lost += audit.lost;
    TheAccount().falseSuccesses += audit.falseSuccesses;
    TheAccount().lostConfirmations += audit.lostConfirmations;
    EXPECT_EQ(audit.lost, 0) << name_ << "\n" << audit.details;
    EXPECT_EQ(audit.falseSuccesses, 0) << name_ << "\n" << audit.details;
    EXPECT_EQ(audit.lostConfirmations, 0) << name_ << "\n" << audit.details;
}

}  // namespace faulttest
