// set as a process: each value put into its control as if the unit had sent it and written
// back by the writing rules, and nothing written when the unit already holds it.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"

namespace {

using namespace clitest;

TEST(CliSet, WritesEachValueAsTheWritingRuleGivesIt) {
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string method = *host.StoredValue("AT+ACTI");
    const std::string port = *host.StoredValue("AT+PORT");
    ASSERT_NE(method, "SMSD");
    ASSERT_NE(port, "6001");

    struct Step {
        const char* what;
        std::vector<std::string> out;
        std::vector<std::string> written;
    };
    const Step steps[] = {
        {"first",
         {"ActivateMethod\t" + method + "\tSMSD\tOK", "Server's Port\t" + port + "\t6001\tOK"},
         {"AT+ACTI=SMSD", "AT+PORT=6001"}},
        {"again: the unit holds both", {}, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const std::size_t from = host.ReceivedCommands().size();
        const CliResult r = RunCli(QStringList{"set"} + PortArgs(host) +
                                   QStringList{"ActivateMethod=SMSD", "Server's Port=6001"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Lines(r.out), step.out);
        EXPECT_EQ(WritesSince(host, from), step.written);
    }
    EXPECT_EQ(host.StoredValue("AT+ACTI"), "SMSD");
    EXPECT_EQ(host.StoredValue("AT+PORT"), "6001");
}

// A unit whose values the form's lists lack and whose texts are GBK: set writes the one command
// it was given and every other value of the unit stays byte for byte.
TEST(CliSet, AHardUnitReceivesOnlyTheAssignment) {
    sim::UnitOptions options = FastUnit();
    options.hardValues = true;
    sim::VirtualUnitHost host(options);
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    std::map<std::string, std::string> expected = UnitValuesByName(host);
    ASSERT_EQ(expected["DIO1 interface"], "RS232");

    const std::size_t from = host.ReceivedCommands().size();
    const CliResult r =
        RunCli(QStringList{"set"} + PortArgs(host) + QStringList{"Server's Ip=10.9.8.7"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(WritesSince(host, from), std::vector<std::string>{"AT+IPAD=10.9.8.7"});
    expected["Server's Ip"] = "10.9.8.7";
    EXPECT_EQ(UnitValuesByName(host), expected);
}

TEST(CliSet, AValueTheUnitDidNotKeepIsReportedWithExitStatus1) {
    sim::UnitOptions options = FastUnit();
    options.keepOld = {"AT+PORT"};
    sim::VirtualUnitHost host(options);
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string port = *host.StoredValue("AT+PORT");
    const CliResult r =
        RunCli(QStringList{"set"} + PortArgs(host) + QStringList{"Server's Port=6001"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(Lines(r.out),
              (std::vector<std::string>{"Server's Port\t" + port + "\t6001\tOK",
                                        "Server's Port\t" + port + "\t6001\tNOT KEPT"}));
    EXPECT_EQ(host.StoredValue("AT+PORT"), port);
}

// The unit takes the first write and the line goes before its answer: that write is reported
// as sent with its outcome unknown, the others as not sent, and the user is told why.
TEST(CliSet, EveryWriteIsReportedWhenThePortGoesOnTheFirst) {
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    ASSERT_TRUE(host.AddFault("cut@AT+APN", &error)) << error;
    std::map<std::string, std::string> before = UnitValuesByName(host);
    const CliResult r =
        RunCli(QStringList{"set"} + PortArgs(host) +
               QStringList{"Access Point Name=apnK", "Server's Port=6001", "User Id=someone"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(Lines(r.out),
              (std::vector<std::string>{
                  "Access Point Name\t" + before["Access Point Name"] + "\tapnK\tUNKNOWN",
                  "Server's Port\t" + before["Server's Port"] + "\t6001\tNOT SENT",
                  "User Id\t" + before["User Id"] + "\tsomeone\tNOT SENT"}));
    EXPECT_NE(r.err.find("The port was lost"), std::string::npos) << r.err;
    EXPECT_EQ(host.StoredValue("AT+APN"), "apnK");
}

// Answers later than every time-out and grace: the first write's OK comes after its grace,
// the refused second write's ERROR as late. Each is credited to its own write or to none: the
// first is reported unknown, the second refused, the third confirmed.
TEST(CliSet, AnAnswerLaterThanTheGraceIsCreditedToNoLaterWrite) {
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    for (const char* fault : {"delay=7600@AT+APN/1", "delay=7600@AT+PORT/1", "error@AT+PORT"})
        ASSERT_TRUE(host.AddFault(fault, &error)) << error;
    std::map<std::string, std::string> before = UnitValuesByName(host);
    const CliResult r =
        RunCli(QStringList{"set"} + PortArgs(host) +
                   QStringList{"Access Point Name=apnK", "Server's Port=6001", "User Id=someone"},
               90000);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(Lines(r.out),
              (std::vector<std::string>{
                  "Access Point Name\t" + before["Access Point Name"] + "\tapnK\tUNKNOWN",
                  "Server's Port\t" + before["Server's Port"] + "\t6001\tERROR",
                  "User Id\t" + before["User Id"] + "\tsomeone\tOK"}));
    EXPECT_EQ(host.StoredValue("AT+APN"), "apnK");
    EXPECT_EQ(host.StoredValue("AT+PORT"), before["Server's Port"]);
    EXPECT_EQ(host.StoredValue("AT+USERNAME"), "someone");
}

}  // namespace
