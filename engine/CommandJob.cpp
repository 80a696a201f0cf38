#include "engine/CommandJob.h"

#include <iterator>

void JobQueue::PushJob(const CommandJob& job) {
    {
        std::lock_guard lock(queueLock_);
        if (only_ != JobType::None && job.type != only_) return;
        jobs_.push_back(job);
    }
    queued_.notify_all();
}

void JobQueue::AcceptOnly(JobType type) {
    std::lock_guard lock(queueLock_);
    only_ = type;
}

bool JobQueue::PopJob(CommandJob& job) {
    std::lock_guard lock(queueLock_);
    return PopLocked(job);
}

bool JobQueue::TakeJobToRun(CommandJob& job) {
    std::lock_guard lock(queueLock_);
    // In one step with the taking: the queue never looks idle while a job changes hands.
    inHand_ = PopLocked(job);
    return inHand_;
}

bool JobQueue::PopLocked(CommandJob& job) {
    if (held_) return false;
    if (jobs_.empty()) {
        std::deque<CommandJob>().swap(jobs_);
        return false;
    }
    job = std::move(jobs_.front());
    jobs_.pop_front();
    return true;
}

void JobQueue::JobDone() {
    std::lock_guard lock(queueLock_);
    inHand_ = false;
}

bool JobQueue::IsIdle() const {
    std::lock_guard lock(queueLock_);
    return jobs_.empty() && !inHand_;
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
    return queued_.wait_for(lock, stop, span, [this] { return !held_ && !jobs_.empty(); });
}

void JobQueue::Hold(bool held) {
    {
        std::lock_guard lock(queueLock_);
        held_ = held;
    }
    queued_.notify_all();
}

std::size_t JobQueue::CountOf(JobType type) const {
    std::lock_guard lock(queueLock_);
    std::size_t n = 0;
    for (const CommandJob& job : jobs_) n += job.type == type;
    return n;
}

std::vector<CommandJob> JobQueue::TakeAll() {
    std::lock_guard lock(queueLock_);
    std::vector<CommandJob> jobs(std::make_move_iterator(jobs_.begin()),
                                 std::make_move_iterator(jobs_.end()));
    std::deque<CommandJob>().swap(jobs_);
    return jobs;
}

std::vector<CommandJob> JobQueue::TakeAllBut(JobType kept) {
    std::lock_guard lock(queueLock_);
    std::vector<CommandJob> taken;
    std::deque<CommandJob> staying;
    for (CommandJob& job : jobs_) {
        if (job.type == kept) {
            staying.push_back(std::move(job));
        } else {
            taken.push_back(std::move(job));
        }
    }
    jobs_.swap(staying);
    return taken;
}
