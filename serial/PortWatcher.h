#pragma once
// Follows serial ports coming and going without polling: the system wakes a thread only when a
// port appears, goes or changes its permissions (inotify on the device folders on Linux, the
// device-change notifications on Windows), and the owner is told through a callback.
//
// Threads: Start, Follow, Stop and the destructor on the owner's thread (the UI thread). The
// callback runs on the watcher's own thread: it should only post a message.
#include <functional>
#include <memory>
#include <string>

#include "serial/PortRoots.h"

namespace serial {

class PortWatcher {
  public:
    PortWatcher();
    ~PortWatcher();
    PortWatcher(const PortWatcher&) = delete;
    PortWatcher& operator=(const PortWatcher&) = delete;

    // Starts the thread that calls changed after each burst of changes to the ports found where
    // roots says; true when it runs (a running one is kept).
    bool Start(std::function<void()> changed, const PortRoots& roots = {});
    // Also tells when this port (a name of its own, such as a test's link) comes or goes.
    void Follow(const std::string& device);
    // Ends and joins the thread; changed is not called after it returns.
    void Stop();
    bool IsRunning() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// Blocks until the port exists or timeoutMs passed, woken by the system when ports change;
// true when it exists. Any thread.
bool WaitForPort(const std::string& device, int timeoutMs);

}  // namespace serial
