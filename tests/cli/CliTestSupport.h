#pragma once
// What the command-line tests share: the built dtuconfig run as a process, a virtual unit on a
// pseudo-terminal at 115200 baud, the unit's own listing read by a plain terminal client, and
// the unit's values by control name.
#include <QProcess>
#include <QStringList>
#include <map>
#include <memory>
#include <string>

#include "sim/VirtualUnitHost.h"
#include "tests/support/TestPaths.h"

namespace clitest {

// The unit speaks this fast in every test; the command line is told the same.
inline constexpr int kBaud = 115200;

struct CliResult {
    int exitCode = -1;  // -1: did not finish in time or crashed
    std::string out;
    std::string err;
};

// One run of dtuconfig; several may run at once.
class CliRun {
  public:
    // Starts the program with the arguments (UTF-8); with ownGroup in a session and process
    // group of its own, as a shell's job is, so that InterruptGroup reaches it and its children.
    explicit CliRun(const QStringList& args, bool ownGroup = false);
    // Waits for the end (at most timeoutMs) and returns what it printed and its exit status.
    CliResult Finish(int timeoutMs = 40000);
    // Waits until the program has written text to stderr (kept for Finish); false after
    // timeoutMs or when it ended first.
    bool WaitForStderr(const std::string& text, int timeoutMs);
    // Sends the program SIGINT.
    void Interrupt();
    // Sends SIGINT to the program's whole process group, as Ctrl-C on a terminal does.
    void InterruptGroup();

  private:
    std::unique_ptr<QProcess> process_;
    std::string errSoFar_;
};

// Runs dtuconfig to its end.
CliResult RunCli(const QStringList& args, int timeoutMs = 40000);

// A unit already in its setting mode (or started as `start` says), at the tests' speed.
sim::UnitOptions FastUnit(sim::UnitVariant variant = sim::UnitVariant::None,
                          sim::UnitStart start = sim::UnitStart::Configuration);

// The device options for the host's port: --port PATH --baud 115200.
QStringList PortArgs(const sim::VirtualUnitHost& host);

// Sends "\r\nAT+SHOW\r\n" from a raw terminal client on the device and returns exactly what the
// unit answered up to its final OK line; empty when nothing complete came in time. The unit
// must be in its setting mode and nobody else may hold the port.
std::string CaptureListing(const std::string& device, int timeoutMs = 5000);

// The parameters whose label the unit lists, by control name, with the unit's stored values.
std::map<std::string, std::string> UnitValuesByName(const sim::VirtualUnitHost& host);

// The control name of the parameter the command writes (first in key order), or empty.
std::string NameOfCommand(const std::string& atCommand);

// A JSON object of strings as a map; false when the text is not one.
bool ParseJsonObject(const std::string& text, std::map<std::string, std::string>* values);

// The lines of the text without their ends.
std::vector<std::string> Lines(const std::string& text);

// The commands the unit received from index `from` on that write a value ("WORD=value").
std::vector<std::string> WritesSince(const sim::VirtualUnitHost& host, std::size_t from);

using testpaths::ReadFile;
using testpaths::WriteFile;

}  // namespace clitest
