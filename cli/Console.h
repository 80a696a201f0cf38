#pragma once
// What the command line needs of the system's console and processes, one implementation file
// per system (cli/posix/Console.cpp, cli/win32/Console.cpp): whether output goes to a
// terminal, stop requests (Ctrl-C and the like) brought to the event loop, and how a unit's
// child process is started and asked to stop.
//
// Threads: the main thread (the one that runs the event loop).
#include <QStringList>
#include <cstdio>
#include <functional>

class QProcess;

namespace console {

// True when the stream is a terminal (a console window on Windows).
bool IsTerminal(std::FILE* stream);
// Lets the console show the program's UTF-8 output and the progress line's escape sequences
// (Windows: code page 65001, virtual-terminal processing); nothing on Linux.
void UseUtf8Console();

// The program's arguments as the user typed them (on Windows from the wide command line, so a
// Chinese value survives whatever the console's code page).
QStringList Arguments(int argc, char** argv);

// From now on every stop request (Ctrl-C or SIGTERM; on Windows Ctrl-C, Ctrl-Break or the
// console closing) calls onStop on the event loop, instead of ending the process. Once. A unit's
// process passes terminalInterrupt false: the terminal's Ctrl-C is its parent's to decide (on
// Linux it keeps ignoring SIGINT; on Windows its process group gets no Ctrl-C).
void WatchStopRequests(std::function<void()> onStop, bool terminalInterrupt = true);

// Prepares a unit's process before it starts, so that only StopUnitProcess stops it (on
// Windows: a process group of its own, which the console's Ctrl-C does not reach).
void PrepareUnitProcess(QProcess& process);
// Called first thing in a unit's process: the terminal's Ctrl-C, which reaches the whole process
// group on Linux, is ignored here; the parent decides and stops the unit's run with SIGTERM.
void IgnoreTerminalInterrupt();
// Asks a started unit's process to stop (SIGTERM; on Windows Ctrl-Break to its group).
void StopUnitProcess(QProcess& process);

}  // namespace console
