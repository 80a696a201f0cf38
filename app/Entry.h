#pragma once
// The program's start-up and tear-down around the one window.
#include <string>

struct GuiOptions {
    std::string screenshotPath;  // render the window into this PNG and quit
    bool simulate = false;       // run a virtual unit and select its port
    std::string simulateVariant = "none";
};

// Runs the window until the quit message; returns the exit code. A QApplication must exist.
int RunGui(const GuiOptions& options);
