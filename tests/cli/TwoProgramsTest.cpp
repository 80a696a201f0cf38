// One table of command-line cases against two programs on the same virtual unit: the Linux
// program on the unit's pseudo-terminal, and, when the Windows stage of scripts/test provides
// it (DTU_WINDOWS_PROGRAM: dtuconfig.com; WINEPREFIX: a prefix whose wineserver runs;
// DTU_WINE_PRELOAD: tests/wine/modem_lines.c built), the Windows program under wine on the same
// pseudo-terminal seen as COM5. So the two cannot drift apart.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "params/ConfigFileText.h"
#include "params/SecretValues.h"
#include "tests/cli/CliTestSupport.h"

namespace {

using namespace clitest;
using Clock = std::chrono::steady_clock;

// The COM port the Windows program finds the unit on.
constexpr const char* kComPort = "COM5";

struct Program {
    std::string name;
    QString executable;
    QStringList leading;  // arguments before the program's own
    bool windows = false;
};

std::vector<Program> Programs() {
    std::vector<Program> programs{
        {"Linux", QString::fromStdString(testpaths::BinaryDir() + "/dtuconfig"), {}, false}};
    const char* exe = std::getenv("DTU_WINDOWS_PROGRAM");
    const char* prefix = std::getenv("WINEPREFIX");
    if (exe && *exe && prefix && *prefix) programs.push_back({"Windows", "wine", {exe}, true});
    return programs;
}

// The unit's port as the program names it; for wine the COM port is linked to the terminal.
QString PortOf(const Program& program, const sim::VirtualUnitHost& host) {
    if (!program.windows) return QString::fromStdString(host.DevicePath());
    const std::filesystem::path link =
        std::filesystem::path(std::getenv("WINEPREFIX")) / "dosdevices" / "com5";
    std::error_code ec;
    std::filesystem::remove(link, ec);
    std::filesystem::create_symlink(host.DevicePath(), link, ec);
    return kComPort;
}

struct ProgramRun {
    CliResult result;
    Clock::time_point ended;
};

ProgramRun RunProgram(const Program& program, const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(testpaths::TempDir()));
    // Wine asks a pseudo-terminal for modem lines it lacks: the stage's shim answers for it.
    if (const char* shim = std::getenv("DTU_WINE_PRELOAD"); program.windows && shim)
        env.insert("LD_PRELOAD", shim);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QString::fromStdString(testpaths::TempDir()));
    process.start(program.executable, program.leading + args);
    ProgramRun run;
    const bool finished = process.waitForFinished(60000);
    run.ended = Clock::now();
    if (!finished) process.kill(), process.waitForFinished(2000);
    run.result.out = process.readAllStandardOutput().toStdString();
    run.result.err = process.readAllStandardError().toStdString();
    // The console's line ends, where the program runs under Windows.
    for (std::string* text : {&run.result.out, &run.result.err}) {
        for (std::size_t at; (at = text->find("\r\n")) != std::string::npos;) text->erase(at, 1);
    }
    if (finished && process.exitStatus() == QProcess::NormalExit)
        run.result.exitCode = process.exitCode();
    return run;
}

struct Case {
    const char* what;
    std::function<void(sim::UnitOptions&)> unit;  // how the unit is made, before it starts
    std::function<QStringList(const QString& port, sim::VirtualUnitHost&)> args;
    std::function<void(const ProgramRun&, sim::VirtualUnitHost&, std::size_t from)> check;
};

QStringList PortArgs(const QString& port) {
    return {"--port", port, "--baud", QString::number(kBaud)};
}

TEST(TwoPrograms, EveryCommandLineCaseHoldsForEachProgram) {
    const std::string file = testpaths::TempDir() + "/golden.cfg";
    std::atomic<Clock::rep> cutAt{0};
    const Case cases[] = {
        {"read prints every parameter", nullptr,
         [](const QString& port, sim::VirtualUnitHost&) {
             return QStringList{"read"} + PortArgs(port);
         },
         [](const ProgramRun& r, sim::VirtualUnitHost& host, std::size_t) {
             ASSERT_EQ(r.result.exitCode, 0) << r.result.err;
             std::vector<std::string> expected;
             for (const auto& [name, value] : UnitValuesByName(host))
                 expected.push_back(name + "\t" + std::string(ShownValue(name, value)));
             EXPECT_EQ(Lines(r.result.out), expected);
         }},
        {"set sends exactly its writes", nullptr,
         [](const QString& port, sim::VirtualUnitHost&) {
             return QStringList{"set"} + PortArgs(port) +
                    QStringList{"ActivateMethod=SMSD", "Server's Port=6001"};
         },
         [](const ProgramRun& r, sim::VirtualUnitHost& host, std::size_t from) {
             ASSERT_EQ(r.result.exitCode, 0) << r.result.err;
             EXPECT_EQ(WritesSince(host, from),
                       (std::vector<std::string>{"AT+ACTI=SMSD", "AT+PORT=6001"}));
             EXPECT_EQ(Lines(r.result.out).size(), 2u) << r.result.out;
         }},
        {"apply writes what the file changes", nullptr,
         [&file](const QString& port, sim::VirtualUnitHost& host) {
             std::string listing = CaptureListing(host.DevicePath());
             const std::string label = "\r\nServer's Ip:";
             const std::size_t at = listing.find(label) + label.size();
             listing.replace(at, listing.find("\r\n", at) - at, "10.7.7.7");
             WriteFile(file, EncodeConfigText(listing));
             return QStringList{"apply", QString::fromStdString(file)} + PortArgs(port);
         },
         [](const ProgramRun& r, sim::VirtualUnitHost& host, std::size_t from) {
             ASSERT_EQ(r.result.exitCode, 0) << r.result.err;
             EXPECT_EQ(WritesSince(host, from), std::vector<std::string>{"AT+IPAD=10.7.7.7"});
         }},
        {"a value not kept ends with NOT KEPT and status 1",
         [](sim::UnitOptions& o) { o.keepOld = {"AT+PORT"}; },
         [](const QString& port, sim::VirtualUnitHost&) {
             return QStringList{"set"} + PortArgs(port) + QStringList{"Server's Port=6001"};
         },
         [](const ProgramRun& r, sim::VirtualUnitHost& host, std::size_t) {
             EXPECT_EQ(r.result.exitCode, 1) << r.result.err;
             const std::vector<std::string> lines = Lines(r.result.out);
             ASSERT_FALSE(lines.empty()) << r.result.err;
             EXPECT_EQ(lines.back().substr(lines.back().rfind('\t') + 1), "NOT KEPT");
         }},
        {"a Chinese value reaches a GBK unit as GBK", nullptr,
         [](const QString& port, sim::VirtualUnitHost& host) {
             // A value in GBK ("你好") makes the unit a GBK one.
             EXPECT_TRUE(host.SetStoredValue("AT+LINKRGST", "\xC4\xE3\xBA\xC3"));
             return QStringList{"set"} + PortArgs(port) +
                    QStringList{QString::fromUtf8("Access Point Name=中文网")};
         },
         [](const ProgramRun& r, sim::VirtualUnitHost& host, std::size_t) {
             ASSERT_EQ(r.result.exitCode, 0) << r.result.err;
             EXPECT_EQ(host.StoredValue("AT+APN"), "\xD6\xD0\xCE\xC4\xCD\xF8");
         }},
        {"the unit going away mid-listing is reported within 3 s with status 1", nullptr,
         [&cutAt](const QString& port, sim::VirtualUnitHost& host) {
             std::string error;
             EXPECT_TRUE(host.AddFault("unplug=2000", &error)) << error;
             return QStringList{"read"} + PortArgs(port);
         },
         [&cutAt](const ProgramRun& r, sim::VirtualUnitHost&, std::size_t) {
             EXPECT_EQ(r.result.exitCode, 1) << r.result.err;
             ASSERT_NE(cutAt.load(), 0);
             const auto late = r.ended - Clock::time_point(Clock::duration(cutAt.load()));
             EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(late).count(), 3000);
         }},
    };
    for (const Program& program : Programs()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(program.name + ": " + c.what);
            sim::UnitOptions options = FastUnit();
            if (c.unit) c.unit(options);
            sim::VirtualUnitHost host(options);
            cutAt = 0;
            host.SetUnplugCallback([&cutAt] { cutAt = Clock::now().time_since_epoch().count(); });
            std::string error;
            ASSERT_TRUE(host.Start(&error)) << error;
            const QString port = PortOf(program, host);
            const QStringList args = c.args(port, host);
            const std::size_t from = host.ReceivedCommands().size();
            c.check(RunProgram(program, args), host, from);
        }
    }
}

// The port list of each program: the Windows one from the registry, where the stage has put
// the unit's COM port.
TEST(TwoPrograms, PortsListsTheSystemsPorts) {
    for (const Program& program : Programs()) {
        SCOPED_TRACE(program.name);
        const ProgramRun r = RunProgram(program, {"ports"});
        ASSERT_EQ(r.result.exitCode, 0) << r.result.err;
        for (const std::string& line : Lines(r.result.out))
            EXPECT_NE(line.find('\t'), std::string::npos) << line;
        if (program.windows) {
            EXPECT_NE(r.result.out.find(std::string(kComPort) + "\t"), std::string::npos)
                << r.result.out;
        }
    }
}

}  // namespace
