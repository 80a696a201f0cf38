// Every exit status of the command line, each case against its own unit and all of them run
// at once: usage errors and refused values before the port is touched, a port that cannot be
// opened, a unit that refuses, does not answer or never logs in, and files that are no listing.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;

constexpr const char* kPort = "@PORT";  // replaced by the case's unit's options
constexpr const char* kFile = "@FILE";  // replaced by a file holding no listing

struct StatusCase {
    const char* what;
    QStringList args;
    const char* fault;  // armed on the case's unit; null: none
    sim::UnitStart start;
    int exitCode;
    const char* expected;  // "err:" or "out:" and a part of that stream; null: nothing
    bool untouched;        // the unit received not a single byte
};

constexpr auto kConfig = sim::UnitStart::Configuration;
constexpr auto kWorking = sim::UnitStart::Working;

TEST(CliExitStatus, EachOutcomeHasItsStatus) {
    // clang-format off
    const StatusCase cases[] = {
        // what             arguments                           fault         start   status
        //                  expected on stderr ("err:") or stdout ("out:")        untouched
        {"help",            {"--help"},                         nullptr,         kConfig,  0,
                            "out:dtuconfig apply FILE.cfg",                       true},
        {"subcommand help", {"set", "--help"},                  nullptr,         kConfig,  0,
                            "out:--login-timeout",                                true},
        {"read help",       {"read", "--help"},                 nullptr,         kConfig,  0,
                            "out:--wait-for-port SECONDS",                        true},
        {"ports",           {"ports"},                          nullptr,         kConfig,  0,
                            nullptr,                                              true},
        {"unknown option",  {"read", kPort, "--colour"},        nullptr,         kConfig,  2,
                            "err:colour",                                         true},
        {"no port",         {"read"},                           nullptr,         kConfig,  2,
                            "err:--port",                                         true},
        {"bad format",      {"read", kPort, "--format", "8X1"}, nullptr,         kConfig,  2,
                            "err:--format",                                       true},
        {"unknown name",    {"set", kPort, "Server Ip=1.2.3.4"}, nullptr,        kConfig,  2,
                            "err:Server Ip",                                      true},
        {"CR LF in a value", {"set", kPort, "Server's Ip=1.2.3.4\r\nAT+FACTORY"}, nullptr,
                                                                                 kConfig,  2,
                            "err:control character",                              true},
        {"unshowable value", {"set", kPort, "ActivateMethod=SOMETIMES"}, nullptr, kConfig, 2,
                            "err:ActivateMethod=SOMETIMES",                       false},
        {"port missing",    {"read", "--port", "/dev/no-such-dtu"}, nullptr,     kConfig,  3,
                            "err:could not be opened",                            true},
        {"bad network name", {"read", "--port", "tcp://127.0.0.1"}, nullptr,     kConfig,  2,
                            "err:tcp://HOST:PORT",                                true},
        {"server refuses",  {"read", "--port", "tcp://127.0.0.1:1"}, nullptr,    kConfig,  3,
                            "err:the server refused the connection",              true},
        {"bad wait",        {"read", kPort, "--wait-for-port", "soon"}, nullptr, kConfig, 2,
                            "err:--wait-for-port",                                true},
        {"port never came", {"read", "--port", "/dev/no-such-dtu", "--wait-for-port", "0.5"},
                                                                nullptr,         kConfig,  5,
                            "err:did not appear within 0.5 s",                    true},
        {"write refused",   {"set", kPort, "Server's Port=6001"}, "error@AT+PORT", kConfig, 1,
                            "out:\t6001\tERROR",                                  false},
        {"write unanswered", {"set", kPort, "Server's Port=6001"}, "mute@AT+PORT", kConfig, 1,
                            "out:\t6001\tUNKNOWN",                                false},
        {"never logs in",   {"read", kPort, "--login-timeout", "2"}, "error@+++", kWorking, 1,
                            "err:setting mode",                                   false},
        {"show: no file",   {"show", "/no/such/file.cfg"},      nullptr,         kConfig,  4,
                            "err:cannot read",                                    true},
        {"apply: no listing", {"apply", kFile, kPort},          nullptr,         kConfig,  4,
                            "err:not a listing",                                  true},
        {"diff: two files and a port", {"diff", kFile, kFile, kPort}, nullptr,   kConfig,  2,
                            "err:without a unit",                                 true},
        {"diff: no listing", {"diff", kFile, kFile},            nullptr,         kConfig,  4,
                            "err:not a listing",                                  true},
        {"read: two ports", {"read", kPort, "--port", "/dev/other"}, nullptr,    kConfig,  2,
                            "err:--port is given more than once",                 true},
        {"history: unit and port", {"history", "--unit", "U", kPort}, nullptr,   kConfig,  2,
                            "err:exclude each other",                             true},
        {"apply: no such backup", {"apply", "U/20261208T160512.000Z", kPort}, nullptr, kConfig, 4,
                            "err:cannot read",                                    true},
    };
    // clang-format on
    const std::string notListing = testpaths::TempDir() + "/notes.cfg";
    WriteFile(notListing, "these are not the unit's settings\r\r\n");

    struct Running {
        std::unique_ptr<sim::VirtualUnitHost> host;
        std::unique_ptr<CliRun> run;
    };
    std::vector<Running> running;
    for (const StatusCase& c : cases) {
        Running r;
        r.host = std::make_unique<sim::VirtualUnitHost>(FastUnit(sim::UnitVariant::None, c.start));
        std::string error;
        if (c.fault) {
            EXPECT_TRUE(r.host->AddFault(c.fault, &error)) << c.what << ": " << error;
        }
        EXPECT_TRUE(r.host->Start(&error)) << c.what << ": " << error;
        QStringList args;
        for (const QString& arg : c.args) {
            if (arg == kPort) {
                args << PortArgs(*r.host);
            } else if (arg == kFile) {
                args << QString::fromStdString(notListing);
            } else {
                args << arg;
            }
        }
        r.run = std::make_unique<CliRun>(args);
        running.push_back(std::move(r));
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const StatusCase& c = cases[i];
        SCOPED_TRACE(c.what);
        const CliResult r = running[i].run->Finish();
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        if (c.expected) {
            const std::string expected(c.expected);
            const std::string& stream = expected.starts_with("err:") ? r.err : r.out;
            EXPECT_NE(stream.find(expected.substr(4)), std::string::npos) << r.out << r.err;
        }
        const sim::VirtualUnitHost& host = *running[i].host;
        if (c.untouched) {
            EXPECT_EQ(host.Counters().bytesIn, 0u);
        } else {
            EXPECT_GT(host.Counters().bytesIn, 0u);
        }
        // Nothing but what the case asked for is ever written.
        for (const std::string& write : WritesSince(host, 0)) {
            EXPECT_EQ(write, "AT+PORT=6001");
        }
    }
}

}  // namespace
