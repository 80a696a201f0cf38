#pragma once
// "dtuconfig sim": runs a virtual unit on a pseudo-terminal until SIGINT or SIGTERM (or until
// an unplug fault cuts the line) and prints the device path to open on stdout.
//
// Threads: called on the program's main thread; it starts the unit's I/O thread itself and
// changes the process's SIGINT and SIGTERM handlers while it runs.

namespace sim {

// Runs the sim command; argv[0] is "sim", the options follow. Returns the process exit code:
// 0 after a signal, an unplug or --help, 2 on bad arguments, 1 when the unit cannot start.
int RunSimCommand(int argc, char** argv);

}  // namespace sim
