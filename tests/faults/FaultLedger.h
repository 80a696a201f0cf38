#pragma once
// The suite's account: every scenario (a table row) is counted with its outcome, and the
// writes of its session are audited against the unit. A lost write is a write the log shows
// as saved that the unit does not hold; a false success is a write the frame took as done (its
// success logged, or its value in the frame's table) that the unit did not confirm; a lost
// confirmation is a write the unit carried out and confirmed before the next command went out
// whose success the frame did not log. At the end of the run one line sums it up, and every
// count must be 0.
//
// Threads: the test thread only.
#include <set>
#include <string>

namespace faulttest {

class Session;

struct WriteAudit {
    int lost = 0;
    int falseSuccesses = 0;
    int lostConfirmations = 0;
    std::string details;  // one line per finding
};

// Audits the writes in the session's log from offset logFrom on, and the frame's table.
// `unconfirmed` names the command words whose answers the unit withheld or refused in that
// part of the log (a success logged for one of them was never confirmed, whatever the unit
// holds).
WriteAudit AuditWrites(Session& s, const std::set<std::string>& unconfirmed = {},
                       std::size_t logFrom = 0);

// One scenario: counted when made, passed when it ends without a new failure.
class Scenario {
  public:
    explicit Scenario(std::string name);
    ~Scenario();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    // Audits the session's writes into the account and expects nothing lost or false.
    void Audit(Session& s, const std::set<std::string>& unconfirmed = {}, std::size_t logFrom = 0);

  private:
    std::string name_;
    int failuresBefore_;
};

}  // namespace faulttest
