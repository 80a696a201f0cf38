#pragma once
// The command line's subcommands, run headless on the same frame, engine, form and rules as
// the window: ports, read, show, diff, apply, history, set and provision (see CliOptions.cpp for
// their help).
//
// Threads: the main thread, which becomes the UI thread.
#include "cli/CliOptions.h"

// Runs "dtuconfig SUBCOMMAND ..." (argv[1] names it): creates the application on the
// offscreen platform, reads the options and runs the subcommand. Returns the exit status.
int RunCliCommand(int argc, char** argv);

// The subcommands, each returning its exit status. An application must exist.
int RunPorts(const CliOptions& options);
int RunShow(const CliOptions& options);
int RunRead(const CliOptions& options);
// "diff", and "apply" with or without --dry-run.
int RunApply(const CliOptions& options);
int RunSet(const CliOptions& options);
// "provision": checks the files, then runs "provision-unit" for each port as a child process.
int RunProvision(const CliOptions& options);
int RunProvisionUnit(const CliOptions& options);
// "history": the automatic backups, of every unit, of one, or of the unit on the port.
int RunHistory(const CliOptions& options);
// "diff A B": two listings compared without a unit.
int RunDiffFiles(const CliOptions& options);

// The file to read for a FILE argument: the file itself, or the backup its id names.
std::string ListingPath(const std::string& fileOrId);
