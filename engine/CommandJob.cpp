#include "engine/CommandJob.h"

void JobQueue::PushJob(const CommandJob& job) {
    {
        std::lock_guard lock(queueLock_);
        jobs_.push_back(job);
    }
    queued_.notify_all();
}

bool JobQueue::PopJob(CommandJob& job) {
    std::lock_guard lock(queueLock_);
    if (jobs_.empty()) {
        std::deque<CommandJob>().swap(jobs_);
        return false;
    }
    job = std::move(jobs_.front());
    jobs_.pop_front();
    return true;
}

std::size_t JobQueue::Clear() {
    std::lock_guard lock(queueLock_);
    std::size_t n = jobs_.size();
    std::deque<CommandJob>().swap(jobs_);
    return n;
}

std::size_t JobQueue::Size() const {
    std::lock_guard lock(queueLock_);
    return jobs_.size();
}

bool JobQueue::WaitForJob(std::stop_token stop, std::chrono::milliseconds span) {
    std::unique_lock lock(queueLock_);
    return queued_.wait_for(lock, stop, span, [this] { return !jobs_.empty(); });
}
