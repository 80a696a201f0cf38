#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "cli/CliCommands.h"
#include "cli/Console.h"

namespace {

// Qt's own notes (the offscreen platform's, a missing runtime folder) would mix with the
// messages the user reads; they reach stderr only when DTU_QT_MESSAGES is set, errors always.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    const bool note = type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg;
    if (note && !std::getenv("DTU_QT_MESSAGES")) return;
    std::fprintf(stderr, "dtuconfig: Qt: %s\n", text.toLocal8Bit().constData());
}

}  // namespace

int RunCliCommand(int argc, char** argv) {
    // Headless: the frame's controls work without widgets, so no GUI application is made and a
    // widget made by mistake stops the program at once instead of costing every run.
    qInstallMessageHandler(QuietQtMessages);
    // Qt sees only the program's name, so none of our arguments is taken for one of its own.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QCoreApplication app(qtArgc, qtArgv);
    QCoreApplication::setApplicationName("dtuconfig");

    console::UseUtf8Console();
    const QStringList args = console::Arguments(argc, argv);
    CliOptions options;
    int exitCode = kExitUsage;
    if (!ParseCliOptions(args, &options, &exitCode)) return exitCode;

    if (options.command == "ports") return RunPorts(options);
    if (options.command == "show") return RunShow(options);
    if (options.command == "read") return RunRead(options);
    if (options.command == "set") return RunSet(options);
    if (options.command == "provision") return RunProvision(options);
    if (options.command == "provision-unit") return RunProvisionUnit(options);
    if (options.command == "history") return RunHistory(options);
    if (options.command == "diff" && !options.secondFile.empty()) return RunDiffFiles(options);
    return RunApply(options);
}
