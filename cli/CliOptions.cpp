#include "cli/CliOptions.h"

#include <QCommandLineParser>
#include <cstdio>
#include <set>

#include "serial/NetworkPort.h"

namespace {

// Which options a subcommand takes besides --help.
enum OptionGroup : unsigned {
    kDevice = 1,      // --port, --baud, --format, --login-timeout, --wait-for-port, --stay, --log
    kOutput = 2,      // --output
    kJson = 4,        // --json
    kDryRun = 8,      // --dry-run
    kProvision = 16,  // --units, --report, repeated --port
    kUnitRun = 32,    // provision's run on one port: --sequence, --await-start
    kLoop = 64,       // --loop
    kUnit = 128,      // --unit; the device options are optional beside it
    kWrites = 256,    // --no-backup
    kFile = 512,      // --any-device
};

struct CommandRow {
    const char* name;
    const char* arguments;  // the positional arguments, as the usage line shows them
    unsigned groups;
    int files;     // positional FILE.cfg arguments required (set takes NAME=VALUE instead)
    int maxFiles;  // more than `files`: the extra files stand in for the unit
    const char* description;
};

// clang-format off
constexpr CommandRow kCommands[] = {
    {"ports", "", 0, 0, 0,
     "Lists the serial ports, one a line: device path, description, the name that stays with\n"
     "the adapter (by-id) and why the port cannot be used, tab-separated."},
    {"read", "", kDevice | kOutput | kJson, 0, 0,
     "Reads every parameter of the unit. Prints \"name<TAB>value\" lines, or one JSON object\n"
     "with --json; --output writes the unit's listing to a .cfg file as the window's\n"
     "\"save to file\" does."},
    {"show", "FILE.cfg", kJson, 1, 1,
     "Prints the parameters a .cfg file holds (offline): \"name<TAB>value\" lines, or one JSON\n"
     "object with --json."},
    {"diff", "FILE.cfg [FILE2.cfg]", kDevice, 1, 2,
     "Reads the unit and prints what \"apply\" would write, one \"name<TAB>old<TAB>new\" line\n"
     "a parameter, without writing anything. With two files, no unit: prints every value the\n"
     "two listings give differently, \"name<TAB>first<TAB>second\". A FILE may be a backup's\n"
     "id as \"history\" lists it."},
    {"apply", "FILE.cfg", kDevice | kDryRun | kWrites | kFile, 1, 1,
     "Loads a .cfg file (or a backup's id as \"history\" lists it) into the form, reads the\n"
     "unit and writes every shown parameter that differs. Each write prints\n"
     "\"name<TAB>old<TAB>new<TAB>OK|ERROR|UNKNOWN|NOT SENT\"."},
    {"history", "", kDevice | kUnit, 0, 0,
     "Lists the automatic backups, oldest first, one \"id<TAB>time (UTC)<TAB>file\" line each:\n"
     "every unit's, the unit NAME's with --unit, or with --port the unit's on that port, read\n"
     "now, as \"id<TAB>time<TAB>N\" with N the number of values that differ from it."},
    {"set", "NAME=VALUE...", kDevice | kWrites, 0, 0,
     "Reads the unit, puts each VALUE (in the unit's terms, e.g. ActivateMethod=SMSD) into the\n"
     "control NAME as if the unit had sent it, then writes what differs, as \"Save\" does.\n"
     "Each write prints \"name<TAB>old<TAB>new<TAB>OK|ERROR|UNKNOWN|NOT SENT\"."},
    {"provision", "TEMPLATE.cfg", kDevice | kProvision | kLoop | kWrites | kFile, 1, 1,
     "Configures the unit on each --port at once, each port in a process of its own: waits\n"
     "for the unit's setting mode, reads it, writes what differs from the template plus the\n"
     "unit's row of --units (as \"set\" does, read back after), and leaves it. The CSV's\n"
     "header holds control names; its first column is the key that picks a unit's row:\n"
     "\"port\" (the row of the port's device path, for a fixed rig) or a parameter the\n"
     "unit reports (such as \"Modem'sID number\"), whose value is then never written.\n"
     "An empty cell keeps the template's value. Template and CSV are checked before any\n"
     "unit is touched (exit 2, every problem listed). Prints a line per port (a table\n"
     "updated in place on a terminal); --report writes DIR/PORT-N.json per unit and\n"
     "DIR/summary.csv. --loop waits on each port for the next unit (powered on after the\n"
     "last one was done) until interrupted: Ctrl-C stops the waiting ports at once and\n"
     "lets the units being configured finish. Exit 0 only when every unit was configured\n"
     "and verified; the failed units are listed."},
    {"provision-unit", "TEMPLATE.cfg", kDevice | kProvision | kUnitRun | kWrites | kFile, 1, 1,
     "(internal)"},
};
// clang-format on

constexpr const char* kExitHelp =
    "\nExit status: 0 all done; 1 the unit answered ERROR or did not answer; 2 usage error;\n"
    "3 the port could not be opened; 4 the file could not be read, is not a listing or is\n"
    "another type of unit's, or the unit could not be backed up;\n"
    "5 the port did not appear within --wait-for-port SECONDS.\n";

const CommandRow* FindCommand(std::string_view name) {
    for (const CommandRow& row : kCommands) {
        if (name == row.name) return &row;
    }
    return nullptr;
}

void Fail(const QString& text) {
    std::fprintf(stderr, "dtuconfig: %s (see --help)\n", text.toLocal8Bit().constData());
}

// The parser's help with our own usage line, which names the subcommand.
QString HelpText(const QCommandLineParser& parser, const CommandRow& row) {
    QString help = parser.helpText();
    const qsizetype firstLineEnd = help.indexOf('\n');
    QString usage = QString("Usage: dtuconfig %1%2 [options]")
                        .arg(row.name)
                        .arg(*row.arguments ? QString(" ") + row.arguments : QString());
    if ((row.groups & kDevice) && !(row.groups & kUnit)) {
        usage += row.maxFiles > row.files ? "   (--port is required with one file)"
                                          : "   (--port is required)";
    }
    return usage + help.mid(firstLineEnd) + kExitHelp;
}

bool ParseNumber(const QString& text, int* value) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n <= 0) return false;
    *value = n;
    return true;
}

// A character format as the port takes it: data bits, parity letter, stop bits ("8N1").
bool IsFormat(const QString& text) {
    return text.size() == 3 && text[0] >= '5' && text[0] <= '8' &&
           QString("NEOMS").contains(text[1]) && (text[2] == '1' || text[2] == '2');
}

bool ReadAssignments(const QStringList& words, CliOptions* options) {
    if (words.isEmpty()) {
        Fail("set needs at least one NAME=VALUE");
        return false;
    }
    for (const QString& word : words) {
        const QByteArray bytes = word.toUtf8();
        const qsizetype eq = bytes.indexOf('=');
        if (eq <= 0) {
            Fail(QString("\"%1\" is not NAME=VALUE").arg(word));
            return false;
        }
        options->assignments.push_back(
            {bytes.left(eq).toStdString(), bytes.mid(eq + 1).toStdString()});
    }
    return true;
}

}  // namespace

bool IsCliCommand(std::string_view word) {
    return FindCommand(word) != nullptr;
}

std::string_view CliCommandsHelp() {
    return "       dtuconfig ports\n"
           "       dtuconfig read  --port P [--baud B] [--format 8N1] [--output FILE.cfg] "
           "[--json]\n"
           "       dtuconfig show  FILE.cfg [--json]\n"
           "       dtuconfig diff  FILE.cfg --port P [...]\n"
           "       dtuconfig diff  FILE.cfg FILE2.cfg\n"
           "       dtuconfig apply FILE.cfg --port P [...] [--dry-run]\n"
           "       dtuconfig history [--port P [...] | --unit NAME]\n"
           "       dtuconfig set   --port P NAME=VALUE... [...]\n"
           "       dtuconfig provision TEMPLATE.cfg [--units UNITS.csv] --port P [--port P2 ...]\n"
           "                 [--report DIR] [--loop]\n"
           "  (each subcommand's --help describes its options)\n";
}

bool ParseCliOptions(const QStringList& args, CliOptions* options, int* exitCode) {
    *exitCode = kExitUsage;
    const CommandRow* row = args.size() > 1 ? FindCommand(args[1].toStdString()) : nullptr;
    if (!row) {
        Fail("unknown subcommand");
        return false;
    }
    options->command = row->name;

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(row->description);
    const QCommandLineOption help({"h", "help"}, "Shows this help.");
    const QCommandLineOption port(
        "port",
        "The serial port's device path, or a network serial server's port: "
        "rfc2217://HOST:PORT (the program sets its line) or tcp://HOST:PORT (raw).",
        "P");
    const QCommandLineOption baud("baud", "The baud rate (default 9600).", "B", "9600");
    const QCommandLineOption format("format", "The character format (default 8N1).", "FORMAT",
                                    "8N1");
    const QCommandLineOption loginTimeout(
        "login-timeout",
        "Gives up when the unit is not in its setting mode after SECONDS "
        "(default 10).",
        "SECONDS", "10");
    const QCommandLineOption waitForPort(
        "wait-for-port",
        "Waits up to SECONDS for the port to appear (an adapter plugged in later), then goes on.",
        "SECONDS", "0");
    const QCommandLineOption stay("stay", "Leaves the unit in its setting mode (no at+quit).");
    const QCommandLineOption log("log", "Writes the session log, a timestamp per line.", "FILE");
    const QCommandLineOption output("output", "Writes the unit's listing to this .cfg file.",
                                    "FILE.cfg");
    const QCommandLineOption json("json", "Prints one JSON object: control name to value.");
    const QCommandLineOption dryRun("dry-run", "Writes nothing: prints what would be written.");
    const QCommandLineOption units("units", "The units' CSV: a key column, then control names.",
                                   "UNITS.csv");
    const QCommandLineOption report("report", "Writes a JSON report per unit and summary.csv.",
                                    "DIR");
    const QCommandLineOption loop("loop", "Waits for the next unit on each port until Ctrl-C.");
    const QCommandLineOption sequence("sequence", "The unit's number on its port.", "N", "1");
    const QCommandLineOption awaitStart("await-start", "Waits for a unit's start-up prompt.");
    const QCommandLineOption mayBoot("may-boot", "Gives a booting unit time for its prompt.");
    const QCommandLineOption unit("unit", "Only this unit's backups (a name history lists).",
                                  "NAME");
    const QCommandLineOption noBackup(
        "no-backup", "Writes even when the unit could not be backed up first (a full disk).");
    const QCommandLineOption anyDevice(
        "any-device",
        "Writes a file of another type of unit (its \"Device Type\" differs); the parameters "
        "of a module the unit lacks are never written.");
    parser.addOption(help);
    if (row->groups & kDevice) {
        for (const auto& option : {port, baud, format, loginTimeout, waitForPort, stay, log})
            parser.addOption(option);
    }
    if (row->groups & kOutput) parser.addOption(output);
    if (row->groups & kJson) parser.addOption(json);
    if (row->groups & kDryRun) parser.addOption(dryRun);
    if (row->groups & kProvision) parser.addOptions({units, report});
    if (row->groups & kLoop) parser.addOption(loop);
    if (row->groups & kUnitRun) parser.addOptions({sequence, awaitStart, mayBoot});
    if (row->groups & kUnit) parser.addOption(unit);
    if (row->groups & kWrites) parser.addOption(noBackup);
    if (row->groups & kFile) parser.addOption(anyDevice);
    if (*row->arguments) parser.addPositionalArgument(row->arguments, "");

    QStringList rest = args;
    rest.removeAt(1);
    if (!parser.parse(rest)) {
        Fail(parser.errorText());
        return false;
    }
    if (parser.isSet(help)) {
        std::fputs(HelpText(parser, *row).toLocal8Bit().constData(), stdout);
        *exitCode = kExitDone;
        return false;
    }

    const QStringList positional = parser.positionalArguments();
    if (options->command == "set") {
        if (!ReadAssignments(positional, options)) return false;
    } else if (positional.size() < row->files || positional.size() > row->maxFiles) {
        Fail(row->maxFiles > row->files ? QString("%1 needs one or two FILE.cfg").arg(row->name)
             : row->files               ? QString("%1 needs one FILE.cfg").arg(row->name)
                                        : QString("%1 takes no arguments").arg(row->name));
        return false;
    } else if (row->files) {
        options->file = positional[0].toStdString();
        if (positional.size() > 1) options->secondFile = positional[1].toStdString();
    }

    if (row->groups & kDevice) {
        for (const QString& value : parser.values(port)) {
            options->ports.push_back(value.toStdString());
            serial::NetworkAddress address;
            if (serial::IsNetworkPortName(options->ports.back()) &&
                !serial::ParseNetworkPortName(options->ports.back(), &address)) {
                Fail(QString("%1: a network port is named rfc2217://HOST:PORT or tcp://HOST:PORT "
                             "(PORT 1 to 65535)")
                         .arg(value));
                return false;
            }
        }
        // Two files stand in for the unit; --unit names one instead of reaching it.
        const bool offline = !options->secondFile.empty();
        if (row->groups & kUnit) options->unit = parser.value(unit).toStdString();
        if (offline && parser.isSet(port)) {
            Fail(QString("%1 with two files compares them without a unit: no --port")
                     .arg(row->name));
            return false;
        }
        if (!options->unit.empty() && parser.isSet(port)) {
            Fail("--unit and --port exclude each other");
            return false;
        }
        // Only provision works on several ports; elsewhere a second --port would win unsaid.
        if (!(row->groups & kProvision) && parser.values(port).size() > 1) {
            Fail(QString("%1 works on one unit: --port is given more than once").arg(row->name));
            return false;
        }
        const bool portOptional = offline || (row->groups & kUnit) != 0;
        if ((row->groups & kDevice) && (parser.isSet(port) || !portOptional)) {
            options->port = parser.value(port).toStdString();
            if (options->port.empty()) {
                Fail("--port is required");
                return false;
            }
            if (!ParseNumber(parser.value(baud), &options->baud)) {
                Fail("--baud wants a positive number");
                return false;
            }
            if (!IsFormat(parser.value(format))) {
                Fail("--format wants data bits, parity and stop bits, such as 8N1");
                return false;
            }
            options->format = parser.value(format).toStdString();
            bool ok = false;
            options->loginTimeoutSeconds = parser.value(loginTimeout).toDouble(&ok);
            if (!ok || options->loginTimeoutSeconds <= 0) {
                Fail("--login-timeout wants a positive number of seconds");
                return false;
            }
            options->waitForPortSeconds = parser.value(waitForPort).toDouble(&ok);
            if (!ok || options->waitForPortSeconds < 0) {
                Fail("--wait-for-port wants a number of seconds");
                return false;
            }
            options->stay = parser.isSet(stay);
            options->logPath = parser.value(log).toStdString();
        }
    }
    if (row->groups & kOutput) options->output = parser.value(output).toStdString();
    if (row->groups & kJson) options->json = parser.isSet(json);
    if (row->groups & kDryRun) options->dryRun = parser.isSet(dryRun);
    if (row->groups & kProvision) {
        options->unitsPath = parser.value(units).toStdString();
        options->reportDir = parser.value(report).toStdString();
        const std::set<std::string> distinct(options->ports.begin(), options->ports.end());
        if (distinct.size() != options->ports.size()) {
            Fail("a --port is given twice");
            return false;
        }
    }
    if (row->groups & kLoop) options->loop = parser.isSet(loop);
    if (row->groups & kWrites) options->noBackup = parser.isSet(noBackup);
    if (row->groups & kFile) options->anyDevice = parser.isSet(anyDevice);
    if (row->groups & kUnitRun) {
        if (!ParseNumber(parser.value(sequence), &options->sequence)) {
            Fail("--sequence wants a positive number");
            return false;
        }
        options->awaitStart = parser.isSet(awaitStart);
        options->mayBoot = parser.isSet(mayBoot);
    }
    *exitCode = kExitDone;
    return true;
}
