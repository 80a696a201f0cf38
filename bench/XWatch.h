#pragma once
// Watches an X display from outside, so the start-up of any program can be timed the same
// way: when its top-level window is mapped, and when something is first drawn into it (the
// DAMAGE extension reports the first change to the window's contents).
//
// Threads: one thread; the watch owns its display connection.
#include <X11/Xlib.h>

#include <chrono>
#include <map>
#include <optional>
#include <regex>
#include <string>

namespace bench {

class XWatch {
  public:
    using Clock = std::chrono::steady_clock;

    struct Sighting {
        Window window = 0;
        Clock::time_point mapped;  // the MapNotify for the window arrived
        Clock::time_point drawn;   // the first damage to its contents arrived
    };

    XWatch() = default;
    ~XWatch();
    XWatch(const XWatch&) = delete;
    XWatch& operator=(const XWatch&) = delete;

    // Connects to $DISPLAY and starts listening to the root window's children; false with a
    // reason when there is no display or it lacks the DAMAGE extension.
    bool Open(std::string* error);
    // Forgets the windows seen so far; call right before starting the program to watch.
    void Reset();
    // Waits until a top-level window whose name matches `name` is mapped and then drawn into;
    // false when the deadline passes first.
    bool WaitForWindow(const std::regex& name, Clock::time_point deadline, Sighting* out);
    // Asks the window to close, as a window manager's close button does (WM_DELETE_WINDOW).
    void RequestClose(Window window);

  private:
    // Waits for the next event until the deadline; false on time-out.
    bool NextEvent(Clock::time_point deadline, XEvent* event, Clock::time_point* at);
    std::string NameOf(Window window);

    struct WindowState {
        unsigned long damage = 0;  // the DAMAGE object watching the window's contents
        std::optional<Clock::time_point> mapped;
        std::optional<Clock::time_point> drawn;
    };

    Display* display = nullptr;
    std::map<Window, WindowState> windows;
    int damageEvent = 0;
    int damageError = 0;
};

}  // namespace bench
