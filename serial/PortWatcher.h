#pragma once
// Follows the folders where device nodes come and go (/dev, /dev/serial/by-id, or a test's own
// folder) without polling: the kernel wakes a thread only when an entry is made, removed or has
// its permissions changed, and the owner is told with a posted message.
//
// Threads: Start, Watch, Stop and the destructor on the owner's thread (the UI thread). The
// watcher's own thread only reads the kernel's notices and posts the message.
#include <atomic>
#include <string>
#include <thread>

#include "ui/Types.h"

class CWindowWnd;

namespace serial {

class PortWatcher {
  public:
    PortWatcher() = default;
    ~PortWatcher();
    PortWatcher(const PortWatcher&) = delete;
    PortWatcher& operator=(const PortWatcher&) = delete;

    // Starts the thread that posts message (wParam 0, lParam 0) to owner after each burst of
    // changes in the watched folders; true when it runs (a running one is kept).
    bool Start(CWindowWnd* owner, UINT message);
    // Adds a folder; watching one twice is harmless. False when it cannot be watched (missing).
    bool Watch(const std::string& folder);
    // Ends and joins the thread; nothing is posted after it returns.
    void Stop();
    bool IsRunning() const { return thread_.joinable(); }

  private:
    void Run();

    int notices_ = -1;  // inotify descriptor
    int stop_ = -1;     // eventfd that ends the thread
    CWindowWnd* owner_ = nullptr;
    UINT message_ = 0;
    std::thread thread_;
};

// Blocks until path exists (a link counts once what it leads to exists) or timeoutMs passed,
// woken by the kernel when its folder changes; true when it exists. Any thread.
bool WaitForPath(const std::string& path, int timeoutMs);

}  // namespace serial
