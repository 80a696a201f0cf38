// read and show as processes: the .cfg file byte for byte as the unit sent its listing, the
// JSON and the lines equal to what the unit holds, and the session log.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>

#include "params/ConfigFileText.h"
#include "params/SecretValues.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace clitest;

// The unit's values as the command line prints them: a password masked.
std::map<std::string, std::string> Printed(std::map<std::string, std::string> values) {
    for (auto& [name, value] : values) value = ShownValue(name, value);
    return values;
}

TEST(CliRead, WritesTheUnitsListingAndPrintsItsValues) {
    sim::VirtualUnitHost host(FastUnit(sim::UnitVariant::Lora));
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string listing = CaptureListing(host.DevicePath());
    ASSERT_FALSE(listing.empty());

    const std::string cfg = testpaths::TempDir() + "/unit.cfg";
    const CliResult r = RunCli(QStringList{"read"} + PortArgs(host) +
                               QStringList{"--output", cfg.c_str(), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(cfg), EncodeConfigText(listing));

    std::map<std::string, std::string> json;
    ASSERT_TRUE(ParseJsonObject(r.out, &json)) << r.out;
    const std::map<std::string, std::string> unit = Printed(UnitValuesByName(host));
    EXPECT_GT(unit.size(), 150u);
    EXPECT_EQ(json, unit);

    // Left as the window's quit button leaves it.
    EXPECT_EQ(host.ReceivedCommands().back(), "at+quit");
    EXPECT_EQ(host.Mode(), sim::UnitMode::Working);

    // The file shows offline exactly what the unit held.
    const CliResult shown = RunCli({"show", cfg.c_str(), "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    std::map<std::string, std::string> fromFile;
    ASSERT_TRUE(ParseJsonObject(shown.out, &fromFile)) << shown.out;
    EXPECT_EQ(fromFile, unit);
}

TEST(CliRead, PrintsLinesAnswersThePromptAndCanStay) {
    sim::VirtualUnitHost host(FastUnit(sim::UnitVariant::None, sim::UnitStart::PowerOn));
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string log = testpaths::TempDir() + "/session.log";
    const CliResult r =
        RunCli(QStringList{"read"} + PortArgs(host) + QStringList{"--stay", "--log", log.c_str()});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    // One "name<TAB>value" line per parameter, in key order.
    const std::map<std::string, std::string> unit = Printed(UnitValuesByName(host));
    std::vector<std::string> expected;
    for (const auto& [name, value] : unit) expected.push_back(name + "\t" + value);
    EXPECT_EQ(Lines(r.out), expected);

    // The prompt was answered with "s" (no "+++"), and the unit was left in its setting mode.
    EXPECT_EQ(host.Mode(), sim::UnitMode::Configuration);
    EXPECT_EQ(host.ReceivedCommands(), std::vector<std::string>{"AT+SHOW"});
    EXPECT_EQ(host.Counters().configEntries, 1u);

    // The session log: what the log view showed, each line after its time stamp.
    const std::vector<std::string> lines = Lines(ReadFile(log));
    ASSERT_GT(lines.size(), 100u);
    const std::regex stamped(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}  .*)");
    for (const std::string& line : lines) EXPECT_TRUE(std::regex_match(line, stamped)) << line;
    const std::string text = ReadFile(log);
    EXPECT_NE(text.find("  Send:"), std::string::npos) << text;
    EXPECT_NE(text.find("AT+SHOW"), std::string::npos);
    EXPECT_NE(text.find("Access Point Name:"), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(CliRead, WaitsForAPortPluggedInAfterItStarted) {
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const std::string link = testpaths::TempDir() + "/ttyLATER";
    CliRun run({"read", "--port", QString::fromStdString(link), "--baud", QString::number(kBaud),
                "--wait-for-port", "20"});
    ASSERT_TRUE(run.WaitForStderr("waiting up to 20 s", 15000)) << run.Finish().err;
    std::filesystem::create_symlink(host.DevicePath(), link);
    const CliResult r = run.Finish();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GT(host.Counters().bytesIn, 0u);
}

// However the unit was found, it is brought into its setting mode: booting (its prompt is
// answered), running (it is sent "+++"), or left in its setting mode by a run with --stay and
// deaf to "+++" there, as some units are (an "AT" finds it in its setting mode).
TEST(CliRead, TheUnitIsFoundInEachStateItCanBeIn) {
    const struct {
        const char* what;
        sim::UnitStart start;
        const char* fault;
    } cases[] = {
        {"booting", sim::UnitStart::PowerOn, nullptr},
        {"running", sim::UnitStart::Working, nullptr},
        {"left in its setting mode, deaf to +++", sim::UnitStart::Configuration, "mute@+++"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim::VirtualUnitHost host(FastUnit(sim::UnitVariant::None, c.start));
        std::string error;
        if (c.fault) {
            ASSERT_TRUE(host.AddFault(c.fault, &error)) << error;
        }
        ASSERT_TRUE(host.Start(&error)) << error;
        // Twice, the first leaving the unit in its setting mode for the second.
        for (const char* run : {"read --stay", "read"}) {
            SCOPED_TRACE(run);
            QStringList args = QStringList{"read"} + PortArgs(host);
            if (std::string(run) == "read --stay") args << "--stay";
            const CliResult r = RunCli(args);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(Lines(r.out).size(), UnitValuesByName(host).size());
        }
        EXPECT_EQ(host.Mode(), sim::UnitMode::Working);
    }
}

}  // namespace

// A listing that stops midway fails once it stalled, not after the time-out a whole listing at
// the slowest baud rate is given (27 s here before).
TEST(CliRead, AListingThatStallsFailsSoon) {
    sim::VirtualUnitHost host(FastUnit());
    std::string error;
    ASSERT_TRUE(host.AddFault("stall=600@AT+SHOW/1", &error)) << error;
    ASSERT_TRUE(host.Start(&error)) << error;
    const auto started = std::chrono::steady_clock::now();
    const CliResult r = RunCli(QStringList{"read"} + PortArgs(host));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(took).count(), 12) << r.err;
}
