#pragma once
// Calls from the worker and the monitor threads onto the UI thread.
//
// Threads: RunOnUiThread and PostToUiThread may be called from any thread. SendGate::Close
// and Reopen are called by the owner of the gate, normally on the UI thread; a call that is
// already running on the UI thread is never cut short, so data a pending call refers to stays
// valid until RunOnUiThread has returned in the calling thread.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <vector>

namespace ui {

struct PendingCall;

// A door that synchronous calls pass through. Closing it releases every call waiting
// behind it that has not started yet (they return 0 without running) and refuses new ones,
// so that a thread being joined is never stuck in a send to a UI thread that waits for it.
class SendGate {
  public:
    SendGate() = default;
    ~SendGate();
    SendGate(const SendGate&) = delete;
    SendGate& operator=(const SendGate&) = delete;

    // Releases the waiting calls and refuses new ones until Reopen. Any thread.
    void Close();
    // Lets calls through again (a port that is opened anew). Any thread.
    void Reopen();
    bool IsClosed() const;
    // Calls waiting behind the gate that have not started yet. Any thread.
    std::size_t Waiting() const;

  private:
    friend std::intptr_t RunOnUiThread(std::function<std::intptr_t()>,
                                       std::initializer_list<SendGate*>);
    bool Enter(const std::shared_ptr<PendingCall>& call);
    void Leave(const std::shared_ptr<PendingCall>& call);

    mutable std::mutex mutex_;
    bool closed_ = false;
    std::vector<std::shared_ptr<PendingCall>> pending_;
};

// True on the thread that runs the application's event loop.
bool IsUiThread();

// Runs fn on the UI thread and returns its result. On the UI thread fn runs at once; from any
// other thread the caller waits until the UI thread has run it. Returns 0 without running fn
// when a gate is or becomes closed before fn starts, or when there is no application.
std::intptr_t RunOnUiThread(std::function<std::intptr_t()> fn,
                            std::initializer_list<SendGate*> gates = {});

// Queues fn to run on the UI thread; returns at once. False when there is no application.
bool PostToUiThread(std::function<void()> fn);

}  // namespace ui
