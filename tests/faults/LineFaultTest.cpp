// Answers spoilt on the line: noise bytes, zero bytes, answers in single-byte pieces, values
// that hold the letters OK, and more text than the receive buffer holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ReceivePath.h"
#include "tests/faults/FaultLedger.h"
#include "tests/faults/FaultSession.h"

namespace {

using namespace faulttest;

// Every edit field on the form shows the value its entry holds.
std::vector<std::string> FieldsNotShowingTheirValue(Session& s) {
    std::vector<std::string> wrong;
    for (const auto& [name, entry] : s.frame.parameterTable) {
        if (entry.kind != ControlKind::Edit || entry.responseLabel.empty()) continue;
        CControlUI* field = s.Control(name.c_str());
        if (field && field->GetText().str() != entry.value) {
            wrong.push_back(name + ": " + field->GetText().str() + " | " + entry.value);
        }
    }
    return wrong;
}

struct LineCase {
    const char* what;
    std::vector<const char*> faults;
    bool fillsBuffer;  // the answer is longer than the receive buffer
};

TEST(LineFaults, AReadStillFillsEveryValueAsTheUnitHoldsIt) {
    const LineCase cases[] = {
        {"noise before every answer", {"noise=64"}, false},
        {"zero bytes inside the answers", {"zeros=3"}, false},
        {"noise and zero bytes together", {"noise=16", "zeros=1"}, false},
        {"the listing in single bytes", {"split=1@AT+SHOW"}, false},
        {"noise past the receive buffer's size",
         {"noise=4000@AT+SHOW", "noise=4000@AT+SHOW", "noise=4000@AT+SHOW", "noise=4000@AT+SHOW",
          "noise=4000@AT+SHOW", "noise=4000@AT+SHOW", "noise=4000@AT+SHOW", "noise=4000@AT+SHOW",
          "noise=4000@AT+SHOW"},
         true},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario row(c.what);
        Session s;
        ASSERT_TRUE(s.ready) << s.error;
        // Values the first read did not see, so only the spoilt read can bring them.
        ASSERT_TRUE(s.host.SetStoredValue("AT+APN", "internet.example"));
        ASSERT_TRUE(s.host.SetStoredValue("AT+IPAD", "203.0.113.9"));
        ASSERT_TRUE(s.host.SetStoredValue("AT+PORT", "6100"));
        for (const char* fault : c.faults) ASSERT_TRUE(s.AddFault(fault)) << s.error;
        ASSERT_TRUE(s.Read()) << Tail(s.frame.log);
        EXPECT_EQ(ValuesDifferingFromUnit(s), std::vector<std::string>{});
        EXPECT_EQ(FieldsNotShowingTheirValue(s), std::vector<std::string>{});
        ASSERT_FALSE(s.frame.rxLengthAtParse.empty());
        if (c.fillsBuffer) {
            // Only the newest text is kept, and the listing is at its end.
            EXPECT_EQ(s.frame.rxLengthAtParse.back(), kRxCapacity);
        } else {
            EXPECT_LT(s.frame.rxLengthAtParse.back(), kRxCapacity);
        }
        row.Audit(s);
    }
}

struct OkInValueCase {
    const char* what;
    const char* fault;
    const char* resultKey;  // the [WorkerJobThreadProc] label the write ends with
    bool timesOut;
    bool unitStores;
};

// The unit echoes what it receives, so the value "BOOK" comes back in front of every answer.
sim::UnitOptions EchoingUnit() {
    sim::UnitOptions options = ConfigurationUnit();
    options.echo = true;
    return options;
}

TEST(LineFaults, AListedValueHoldingOkIsReadWhole) {
    Scenario row("a listed value holding OK");
    Session s(EchoingUnit());
    ASSERT_TRUE(s.ready) << s.error;
    ASSERT_TRUE(s.host.SetStoredValue("AT+APN", "BOOK"));
    ASSERT_TRUE(s.Read()) << Tail(s.frame.log);
    EXPECT_EQ(s.frame.parameterTable.FindParameter("Access Point Name")->value, "BOOK");
    EXPECT_EQ(s.Control("Access Point Name")->GetText(), "BOOK");
    EXPECT_EQ(ValuesDifferingFromUnit(s), std::vector<std::string>{});
    row.Audit(s);
}

TEST(LineFaults, AWriteOfAValueHoldingOkIsJudgedByTheWholeOkLine) {
    const OkInValueCase cases[] = {
        {"a write of BOOK accepted", nullptr, "SaveSuccess", false, true},
        {"a write of BOOK refused", "error@AT+APN/1", "SaveError", false, false},
        {"a write of BOOK unanswered but echoed", "mute@AT+APN/1", "OutTime", true, true},
    };
    for (const OkInValueCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scenario row(c.what);
        Session s(EchoingUnit());
        ASSERT_TRUE(s.ready) << s.error;
        const std::string before = *s.host.StoredValue("AT+APN");
        if (c.fault) {
            ASSERT_TRUE(s.AddFault(c.fault)) << s.error;
        }
        s.Control("Access Point Name")->SetText("BOOK");
        const int idle = s.frame.idleNotices;
        const std::size_t sent = s.host.ReceivedCommands().size();
        s.Click("Save");
        const auto idleAgain = [&] { return s.frame.idleNotices > idle; };
        if (c.timesOut) {
            ASSERT_TRUE(s.TimeOutWhenSent("AT+APN=BOOK", std::chrono::seconds(5)));
            ASSERT_TRUE(s.ExpireWaitsUntil(idleAgain)) << Tail(s.frame.log);
        } else {
            ASSERT_TRUE(WaitUntil(idleAgain, 5000)) << Tail(s.frame.log);
        }
        // A confirmed write is followed by the read-back that checks it.
        std::vector<std::string> commands = {"AT+APN=BOOK"};
        if (std::string(c.resultKey) == "SaveSuccess") commands.push_back("AT+SHOW");
        EXPECT_EQ(s.CommandsSince(sent), commands);
        const std::string& log = s.frame.log;
        // Once on the command line, once as the unit's echo; the echo of a command that timed
        // out may still be on its way when the worker goes idle.
        WaitUntil([&] { return Occurrences(log, "AT+APN=BOOK") >= 2; }, 2000);
        EXPECT_EQ(Occurrences(log, "AT+APN=BOOK"), 2);
        for (const char* key : {"SaveSuccess", "SaveError", "OutTime"}) {
            EXPECT_EQ(Occurrences(log, Label("WorkerJobThreadProc", key)), key == c.resultKey)
                << key;
        }
        const bool stored = std::string(c.resultKey) == "SaveSuccess";
        EXPECT_EQ(s.frame.parameterTable.FindParameter("Access Point Name")->value,
                  stored ? "BOOK" : before);
        EXPECT_EQ(*s.host.StoredValue("AT+APN"), c.unitStores ? "BOOK" : before);
        row.Audit(s, stored ? std::set<std::string>{} : std::set<std::string>{"AT+APN"});
    }
}

TEST(LineFaults, AListingLongerThanTheBufferIsNotTakenForOne) {
    Scenario row("a value pushing the listing's start out of the buffer");
    Session s;
    ASSERT_TRUE(s.ready) << s.error;
    // Longer than the buffer with the rest of the listing: the start is lost on the way.
    ASSERT_TRUE(s.host.SetStoredValue("AT+APN", std::string(kRxCapacity, 'A')));
    const int idle = s.frame.idleNotices;
    s.Click("Load");
    ASSERT_TRUE(WaitUntil([&] { return s.frame.rxLength == kRxCapacity; }, 5000));
    // The whole listing is in: its OK line did not complete the read.
    const auto answered = [&] {
        const std::size_t ok = s.frame.log.rfind("\r\nOK\r\n");
        return ok != std::string::npos && ok > s.frame.log.rfind(SendPrefix());
    };
    ASSERT_TRUE(WaitUntil(answered, 5000));
    EXPECT_EQ(s.frame.pendingJobType, JobType::ReadAll);
    ASSERT_TRUE(s.ExpireWaitsUntil([&] { return s.frame.idleNotices > idle; }));
    EXPECT_EQ(Occurrences(s.frame.log, Label("WorkerJobThreadProc", "OutTime")), 1);
    EXPECT_EQ(s.frame.parsedListings, 1);
    EXPECT_EQ(s.Values(), s.readValues);
    EXPECT_LE(s.frame.rxLength, kRxCapacity);
    EXPECT_EQ(s.frame.rxBuffer[s.frame.rxLength], '\0');

    // A listing that fits is read again.
    ASSERT_TRUE(s.host.SetStoredValue("AT+APN", "CMNET"));
    ASSERT_TRUE(s.Read()) << Tail(s.frame.log);
    EXPECT_EQ(ValuesDifferingFromUnit(s), std::vector<std::string>{});
    row.Audit(s);
}

}  // namespace
