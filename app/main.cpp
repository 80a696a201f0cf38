// dtuconfig: configures data terminal units over a serial line.
//
//   dtuconfig [FILE.cfg]           the window (with a .cfg file in the form)
//   dtuconfig --simulate[=VARIANT] the window with a virtual unit on a pseudo-terminal
//   dtuconfig --screenshot FILE    render the window into FILE (PNG) and quit
//   dtuconfig sim [...]            run a virtual unit until stopped
//   dtuconfig ports|read|show|diff|apply|set [...]   the command line, headless
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/AboutHelp.h"
#include "app/Entry.h"
#include "cli/CliCommands.h"
#include "sim/SimCommand.h"

namespace {

void PrintUsage() {
    std::printf(
        "Usage: dtuconfig [--simulate[=none|lora|zigbee|gps]] [--screenshot FILE.png] [FILE.cfg]\n"
        "       dtuconfig sim [--help] [options]   run a virtual unit on a pseudo-terminal\n"
        "%s"
        "\n"
        "  --simulate[=VARIANT]  start a virtual unit and select its port in the window\n"
        "  --select-port=DEVICE  select this port instead (a device path such as /dev/ttyUSB0)\n"
        "  --screenshot FILE     render the window into a PNG file and quit (works without a\n"
        "                        display, on the offscreen platform)\n"
        "  --page N              with --screenshot: show form page N (0 work mode .. 10)\n"
        "  --select NAME=INDEX   with --screenshot: pick item INDEX of combo NAME first\n"
        "  FILE.cfg              show this configuration file in the form, as LoadFromFile\n"
        "                        does; nothing is written to a unit until Save\n"
        "  --version             the program's version\n"
        "  --help                this text\n",
        std::string(CliCommandsHelp()).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "sim") == 0) return sim::RunSimCommand(argc - 1, argv + 1);
    if (argc > 1 && IsCliCommand(argv[1])) return RunCliCommand(argc, argv);

    GuiOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintUsage();
            return 0;
        } else if (arg == "--version") {
            std::printf("dtuconfig %s\n", kPackageVersion);
            return 0;
        } else if (arg == "--screenshot" && i + 1 < argc) {
            options.screenshotPath = argv[++i];
        } else if (arg == "--page" && i + 1 < argc) {
            options.screenshotPage = std::atoi(argv[++i]);
        } else if (arg == "--select" && i + 1 < argc) {
            options.screenshotSelections.push_back(argv[++i]);
        } else if (arg == "--simulate") {
            options.simulate = true;
        } else if (arg.rfind("--select-port=", 0) == 0) {
            options.selectPort = arg.substr(std::strlen("--select-port="));
        } else if (arg.rfind("--simulate=", 0) == 0) {
            options.simulate = true;
            options.simulateVariant = arg.substr(std::strlen("--simulate="));
        } else if (arg.rfind("-", 0) != 0 && options.openFile.empty()) {
            options.openFile = arg;
        } else {
            std::fprintf(stderr, "dtuconfig: unknown option '%s' (see --help)\n", arg.c_str());
            return 2;
        }
    }
    // Without a display the window can still be rendered: on the offscreen platform.
    if (!options.screenshotPath.empty() && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName("dtuconfig");
    return RunGui(options);
}
