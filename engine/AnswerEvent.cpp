#include "engine/AnswerEvent.h"

void AnswerEvent::Set() {
    std::lock_guard lock(mutex_);
    set_ = true;
    changed_.notify_all();
}

void AnswerEvent::Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool AnswerEvent::IsSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

bool AnswerEvent::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return set_; });
}
