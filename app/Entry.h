#pragma once
// The program's start-up and tear-down around the one window.
#include <string>
#include <vector>

struct GuiOptions {
    std::string screenshotPath;  // render the window into this PNG and quit
    int screenshotPage = -1;     // with a screenshot: the form page to show first
    // With a screenshot: combo selections to make first, "name=index", in order.
    std::vector<std::string> screenshotSelections;
    bool simulate = false;  // run a virtual unit and select its port
    std::string simulateVariant = "none";
    std::string selectPort;  // the port to select instead (a device path), when listed
    std::string openFile;    // a .cfg file to show in the form at start
};

// Runs the window until the quit message; returns the exit code. A QApplication must exist.
int RunGui(const GuiOptions& options);
