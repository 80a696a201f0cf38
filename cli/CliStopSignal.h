#pragma once
// Stop signals turned into calls on the event loop: the handler only writes a byte to a pipe,
// and the loop calls the function, where anything may be done. One watcher per process.
//
// Threads: Watch and the call on the main (UI) thread; the handler on whichever thread the
// signal lands.
#include <QSocketNotifier>
#include <functional>
#include <initializer_list>
#include <memory>

class CliStopSignal {
  public:
    // Calls onSignal on the event loop each time one of the signals arrives, from now on;
    // false when the pipe could not be made (the signals then keep what they did).
    bool Watch(std::initializer_list<int> signalNumbers, std::function<void()> onSignal);

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onSignal_;
};

// Has the terminal's interrupt (SIGINT) ignored by a child process about to be started; its
// parent decides what an interrupt means. Called in the child between fork and exec.
void IgnoreTerminalInterrupt();
