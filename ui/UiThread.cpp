#include "ui/UiThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <condition_variable>

namespace ui {

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

SendGate::~SendGate() { Close(); }

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
        QMetaObject::invokeMethod(
            app,
            [call] {
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
            },
            Qt::QueuedConnection);
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
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
    return true;
}

}  // namespace ui
