#pragma once
// AppWindow: the application's part of the window, above the form's (FormWindow.h) and the
// engine's (EngineWindow.h): the caption's buttons and the log view, the run under way, the
// ports followed, what the command line observes, the leaving, and the worker thread. The
// controllers take this part; the frame (FrameWnd.h) adds the routing of messages to them.
//
// Threads: UI thread only, but for the worker thread it starts.
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/PortFollowState.h"
#include "app/RunProgress.h"
#include "engine/EngineHooks.h"
#include "form/FormWindow.h"
#include "serial/PortRoots.h"

class CControlUI;
class CRichEditUI;
class COptionUI;

class AppWindow : public FormWindow {
  public:
    // Starts the worker thread; false when it cannot be started. UI thread.
    bool StartWorker();
    // Stops the worker and waits for it; sends it is waiting in return 0. UI thread.
    void StopWorker();
    bool HasWorker() const { return worker_.joinable(); }

    CControlUI* closeButton = nullptr;
    CControlUI* maxButton = nullptr;
    CControlUI* restoreButton = nullptr;
    CControlUI* minButton = nullptr;
    CRichEditUI* logView = nullptr;
    // The switch that puts the time before each log line.
    COptionUI* logTimes = nullptr;
    // The run of jobs under way, for the progress bar.
    RunProgress progress;
    // Ports listed besides the system's, such as a virtual unit's pseudo-terminal.
    std::vector<std::string> extraPorts;
    // Where the port list looks: the system's trees unless a test gives its own.
    PortRoots portRoots;
    // Adapters followed while the program runs.
    PortFollowState portFollow;
    // Optional (the command line sets it): told how every job ended, after the progress bar.
    // Set before StartWorker and left alone after.
    JobObserver jobObserver;
    // While the line is wound down before the window goes: what runs once it is (Leave.h).
    std::function<void()> leaveThen;

  private:
    std::jthread worker_;
};
