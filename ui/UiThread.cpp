#include "ui/UiThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <deque>

namespace ui {

namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 2);

// Functions for the UI thread wait in a queue of our own, under our own lock: what they hold
// passes between threads through that lock, visibly to a race detector (Qt's own event queue
// is not). A bare event only wakes the UI thread to run them, in the order they came.
struct CallQueue {
    std::mutex mutex;
    std::deque<std::function<void()>> calls;
    bool wakePosted = false;
};

CallQueue& Calls() {
    static CallQueue* queue = new CallQueue();  // outlives every thread that posts
    return *queue;
}

void RunQueuedCalls() {
    CallQueue& q = Calls();
    {
        std::lock_guard lock(q.mutex);
        q.wakePosted = false;
    }
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard lock(q.mutex);
            if (q.calls.empty()) return;
            fn = std::move(q.calls.front());
            q.calls.pop_front();
        }
        fn();
    }
}

class Dispatcher : public QObject {
  protected:
    bool event(QEvent* e) override {
        if (e->type() != kWakeEvent) return QObject::event(e);
        RunQueuedCalls();
        return true;
    }
};

bool PostCall(std::function<void()> fn) {
    static std::mutex mutex;
    static QPointer<Dispatcher> dispatcher;
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    CallQueue& q = Calls();
    bool wake;
    {
        std::lock_guard lock(q.mutex);
        q.calls.push_back(std::move(fn));
        wake = !q.wakePosted;
        q.wakePosted = true;
    }
    if (!wake) return true;
    std::lock_guard lock(mutex);
    if (!dispatcher) {
        // It lives for the rest of the process; whichever thread posts first makes it and
        // hands it to the UI thread.
        auto* d = new Dispatcher();
        d->moveToThread(app->thread());
        dispatcher = d;
    }
    QCoreApplication::postEvent(dispatcher.data(), new QEvent(kWakeEvent));
    return true;
}

}  // namespace

struct PendingCall {
    enum class State { Pending, Running, Done, Cancelled };
    std::mutex mutex;
    std::condition_variable changed;
    State state = State::Pending;
    std::intptr_t result = 0;
    std::function<std::intptr_t()> fn;

    // Marks a call that has not started as cancelled; true when it was.
    bool Cancel() {
        std::lock_guard lock(mutex);
        if (state != State::Pending) return false;
        state = State::Cancelled;
        changed.notify_all();
        return true;
    }
};

SendGate::~SendGate() {
    Close();
}

void SendGate::Close() {
    std::vector<std::shared_ptr<PendingCall>> calls;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        calls = pending_;
    }
    for (auto& call : calls) call->Cancel();
}

void SendGate::Reopen() {
    std::lock_guard lock(mutex_);
    closed_ = false;
}

bool SendGate::IsClosed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

std::size_t SendGate::Waiting() const {
    std::lock_guard lock(mutex_);
    return pending_.size();
}

bool SendGate::Enter(const std::shared_ptr<PendingCall>& call) {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    pending_.push_back(call);
    return true;
}

void SendGate::Leave(const std::shared_ptr<PendingCall>& call) {
    std::lock_guard lock(mutex_);
    pending_.erase(std::remove(pending_.begin(), pending_.end(), call), pending_.end());
}

bool IsUiThread() {
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

std::intptr_t RunOnUiThread(std::function<std::intptr_t()> fn,
                            std::initializer_list<SendGate*> gates) {
    for (SendGate* gate : gates) {
        if (gate && gate->IsClosed()) return 0;
    }
    if (IsUiThread()) return fn();
    auto* app = QCoreApplication::instance();
    if (!app) return 0;

    auto call = std::make_shared<PendingCall>();
    call->fn = std::move(fn);
    std::vector<SendGate*> entered;
    bool admitted = true;
    for (SendGate* gate : gates) {
        if (!gate) continue;
        if (!gate->Enter(call)) {
            admitted = false;
            break;
        }
        entered.push_back(gate);
    }
    if (admitted) {
        PostCall([call] {
            {
                std::lock_guard lock(call->mutex);
                if (call->state != PendingCall::State::Pending) return;
                call->state = PendingCall::State::Running;
            }
            std::intptr_t r = call->fn();
            std::lock_guard lock(call->mutex);
            call->result = r;
            call->state = PendingCall::State::Done;
            call->changed.notify_all();
        });
        std::unique_lock lock(call->mutex);
        call->changed.wait(lock, [&] {
            return call->state == PendingCall::State::Done ||
                   call->state == PendingCall::State::Cancelled;
        });
    }
    for (SendGate* gate : entered) gate->Leave(call);
    std::lock_guard lock(call->mutex);
    return call->state == PendingCall::State::Done ? call->result : 0;
}

bool PostToUiThread(std::function<void()> fn) {
    return PostCall(std::move(fn));
}

}  // namespace ui
