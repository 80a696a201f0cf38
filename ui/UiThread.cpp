#include "ui/UiThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>
#include <algorithm>
#include <condition_variable>

namespace ui {

namespace {

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::User + 2);

// A function for the UI thread. The event owns it, and Qt deletes a posted event on the
// thread that received it, so everything the function holds is released on the UI thread.
class CallEvent : public QEvent {
  public:
    explicit CallEvent(std::function<void()> fn) : QEvent(kCallEvent), run(std::move(fn)) {}
    std::function<void()> run;
};

class Dispatcher : public QObject {
  protected:
    bool event(QEvent* e) override {
        if (e->type() != kCallEvent) return QObject::event(e);
        static_cast<CallEvent*>(e)->run();
        return true;
    }
};

// The object on the UI thread that runs posted functions; made with the application.
bool PostCall(std::function<void()> fn) {
    static std::mutex mutex;
    static QPointer<Dispatcher> dispatcher;
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    std::lock_guard lock(mutex);
    if (!dispatcher) {
        // It lives for the rest of the process; whichever thread posts first makes it and
        // hands it to the UI thread.
        auto* d = new Dispatcher();
        d->moveToThread(app->thread());
        dispatcher = d;
    }
    QCoreApplication::postEvent(dispatcher.data(), new CallEvent(std::move(fn)));
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
