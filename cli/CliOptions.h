#pragma once
// The command line's subcommands and their options, as QCommandLineParser reads them.
//
// Threads: the main thread, before anything else runs.
#include <string>
#include <string_view>
#include <vector>

#include <QStringList>

// The exit statuses of the command line.
enum CliExit : int {
    kExitDone = 0,    // all done
    kExitUnit = 1,    // the unit answered ERROR, did not answer, or the session failed
    kExitUsage = 2,   // bad command line or a value that cannot be written
    kExitPort = 3,    // the port could not be opened
    kExitFile = 4,    // the file could not be read (or written) or is not a listing
    kExitNoPort = 5,  // --wait-for-port: the port did not appear in time
};

// One NAME=VALUE of "set": the control name and the value in the unit's terms.
struct Assignment {
    std::string name;
    std::string value;
};

struct CliOptions {
    std::string command;  // "ports", "read", "show", "diff", "apply", "history", "set", "provision"
    std::string
        file;  // show, diff, apply, provision: the .cfg file (diff, apply: or a backup's id)
    std::string secondFile;  // diff: the file to compare with, instead of the unit
    std::string unit;        // history: the unit whose backups are listed
    std::string port;        // the device path
    int baud = 9600;
    std::string format = "8N1";
    std::string output;  // read: the .cfg file to write
    bool json = false;
    bool dryRun = false;
    bool stay = false;       // leave the unit in its setting mode
    bool anyDevice = false;  // apply, provision: a file of another type of unit may be written
    bool noBackup = false;   // writes go ahead when the unit could not be backed up first
    double loginTimeoutSeconds = 10;
    double waitForPortSeconds = 0;  // 0: the port must be there already
    std::string logPath;
    std::vector<Assignment> assignments;
    // provision: every --port (port is the first), the units' CSV, the reports' folder.
    std::vector<std::string> ports;
    std::string unitsPath;
    std::string reportDir;
    bool loop = false;
    // provision's own run on one port: the unit's number on it (1, 2, ... with --loop), and
    // whether to wait for a unit's start-up prompt rather than log into one already there.
    int sequence = 1;
    bool awaitStart = false;
    // Whether the unit may be booting when the run begins (a rig's, with --loop), so that its
    // start-up prompt is worth waiting for a while.
    bool mayBoot = false;
};

// True when word is one of the command line's subcommands (not "sim", which has its own).
bool IsCliCommand(std::string_view word);

// Reads args (args[0] the program, args[1] the subcommand) into options. Returns true to go
// on; false when the run ends here with *exitCode: 0 after --help (printed to stdout), 2 after
// a usage error (printed to stderr).
bool ParseCliOptions(const QStringList& args, CliOptions* options, int* exitCode);

// The subcommands in a few lines, for "dtuconfig --help".
std::string_view CliCommandsHelp();
