// The console's control handler, the C runtime's isatty, and unit processes in process groups
// of their own, which get Ctrl-Break when they are to stop.
#include <windows.h>
// clang-format off
#include <io.h>
#include <shellapi.h>
// clang-format on

#include <QCoreApplication>
#include <QMetaObject>
#include <QProcess>

#include "cli/Console.h"

namespace console {

namespace {

std::function<void()>& StopCallback() {
    static std::function<void()> callback;
    return callback;
}

// Runs on a thread of its own that Windows makes for the event: the loop is told, nothing more.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [] { StopCallback()(); }, Qt::QueuedConnection);
    return TRUE;
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

void UseUtf8Console() {
    SetConsoleOutputCP(CP_UTF8);
    // The progress line is redrawn with the terminal's escape sequences.
    for (DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE handle = GetStdHandle(which);
        DWORD mode = 0;
        if (handle && GetConsoleMode(handle, &mode))
            SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
}

QStringList Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    QStringList args;
    for (int i = 0; wide && i < count; ++i) args << QString::fromWCharArray(wide[i]);
    if (wide) LocalFree(wide);
    if (args.size() != argc) {
        // The command line did not match argv after all: take argv as it is.
        args.clear();
        for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    }
    return args;
}

void WatchStopRequests(std::function<void()> onStop, bool) {
    if (StopCallback()) return;
    StopCallback() = std::move(onStop);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void PrepareUnitProcess(QProcess& process) {
    // The console's Ctrl-C then reaches the provisioning process only, which decides.
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        arguments->flags |= CREATE_NEW_PROCESS_GROUP;
    });
}

// Its process group of its own gets no Ctrl-C from the console.
void IgnoreTerminalInterrupt() {}

void StopUnitProcess(QProcess& process) {
    GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, static_cast<DWORD>(process.processId()));
}

}  // namespace console
