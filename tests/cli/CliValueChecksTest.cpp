// Values checked before anything is sent ("set", "provision"), and texts that reach the unit in
// its own code page whatever command carries them.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;

struct Refusal {
    const char* assignment;
    const char* named;  // what stderr must name
};

// Nothing is sent for a value the unit must refuse: exit 2, the parameter named; a value with
// a space at an end, which the unit's listing would show back without it, likewise.
TEST(CliValueChecks, ValuesTheUnitMustRefuseAreNeverSent) {
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const Refusal refusals[] = {
        {"Server's Port=abc", "Server's Port"},
        {"Server's Port=70000", "Server's Port"},
        {"Server's Ip=999.1.1.1", "Server's Ip"},
        {"Max Tcp Frame Len=12x", "Max Tcp Frame Len"},
        {"Access Point Name= lead", "Access Point Name"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.assignment);
        const std::size_t from = host.ReceivedCommands().size();
        const CliResult run = RunCli(QStringList{"set"} + PortArgs(host) +
                                     QStringList{"Access Point Name=ok.apn", r.assignment});
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_NE(run.err.find(r.named), std::string::npos) << run.err;
        EXPECT_EQ(host.ReceivedCommands().size(), from) << "the unit is not even read";
    }
    // A CSV row holding one: provision stops before it reaches a unit.
    const std::string csv = testpaths::TempDir() + "/units.csv";
    WriteFile(csv, "port,Server's Port\n" + host.DevicePath() + ",70000\n");
    const std::string cfg = testpaths::TempDir() + "/template.cfg";
    WriteFile(cfg, CaptureListing(host.DevicePath()));
    const std::size_t from = host.ReceivedCommands().size();
    const CliResult run =
        RunCli(QStringList{"provision", cfg.c_str(), "--units", csv.c_str()} + PortArgs(host));
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("Server's Port"), std::string::npos) << run.err;
    EXPECT_EQ(host.ReceivedCommands().size(), from);
}

// Chinese typed on the command line reaches a GBK unit as GBK and a UTF-8 unit as UTF-8; the
// value a GBK unit holds already is no change; a character GBK lacks is refused as such.
TEST(CliValueChecks, TextReachesTheUnitInItsOwnCodePage) {
    struct Case {
        const char* what;
        bool gbkUnit;
        const char* apn;  // UTF-8
        int exitCode;
        std::vector<std::string> written;
        const char* err;  // stderr holds it; "" for nothing asked
    };
    const char* zhongwen = "\xE4\xB8\xAD\xE6\x96\x87\xE7\xBD\x91";  // 中文网
    const Case cases[] = {
        {"Chinese to a GBK unit", true, zhongwen, 0, {"AT+APN=\xD6\xD0\xCE\xC4\xCD\xF8"}, ""},
        {"what a GBK unit holds", true, "\xE7\xA7\xBB\xE5\x8A\xA8", 0, {}, ""},  // 移动
        {"an emoji to a GBK unit", true, "\xF0\x9F\x98\x80", 2, {}, "GBK"},
        {"Chinese to a UTF-8 unit", false, zhongwen, 0, {std::string("AT+APN=") + zhongwen}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::UnitOptions options = FastUnit();
        options.hardValues = c.gbkUnit;  // GBK texts, Access Point Name 移动 among them
        sim::VirtualUnitHost host(options);
        std::string error;
        ASSERT_TRUE(host.Start(&error)) << error;
        const CliResult run =
            RunCli(QStringList{"set"} + PortArgs(host) +
                   QStringList{QString("Access Point Name=") + QString::fromUtf8(c.apn)});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(WritesSince(host, 0), c.written) << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("cannot be shown"), std::string::npos) << run.err;
    }
}

}  // namespace
