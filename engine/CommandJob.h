#pragma once
// A command for the unit and the queue the worker takes it from.
//
// Threads: PushJob on the UI thread (button handlers, the receive path's follow-ups, the
// writes an apply collects); PopJob, TakeJobToRun and JobDone on the worker; Clear on the UI thread
// when the port closes; Size and IsIdle anywhere. All under queueLock.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

// A job's type; ModeProbe, Settling, None and AwaitPrompt are only ever pending kinds (what the
// receive path waits for), never the type of a queued job. Stored as the 32-bit signed number the
// unit's protocol documents give each type.
enum class JobType : std::int32_t {
    ModeProbe = -3,  // "AT" sent to learn whether the unit is in its setting mode already
    Settling = -2,   // a job waits for the line to fall quiet before it writes
    None = -1,       // nothing awaited
    AwaitPrompt = 0,
    ReadAll = 1,
    WriteParameter = 2,
    EnterConfig = 3,
    RestoreFactory = 4,
    ReadForSave = 5,
    ReadForApply = 6,
    Quit = 7,
    FindNetMode = 8,
    GetVersion = 9,
    QueryPin = 10,
    QuerySignal = 11,
    QuerySignalRetry = 12,
    ReadFileLog = 13,
    RawCommand = 15,
    ReadBack = 16,  // the listing after a run of writes, to see which ones the unit kept
    Resync = 17,    // "AT" after an answer was owed: once it is answered the line is in step
};

struct CommandJob {
    JobType type = JobType::None;
    std::string command;  // the exact bytes written, line ends included
    std::string key;      // WriteParameter: the parameter's control name
    std::string value;    // WriteParameter: the value written
};

class JobQueue {
  public:
    // Appends a copy at the back.
    void PushJob(const CommandJob& job);
    // Takes the front job; false when the queue is empty (its storage is then released).
    bool PopJob(CommandJob& job);
    // Drops every queued job; returns how many.
    std::size_t Clear();
    // The number of queued jobs.
    std::size_t Size() const;
    // Waits until a job is queued, stop is requested or the span passed; true when a job
    // waits. The worker's idle wait: a click's job starts at once, not at the next poll.
    bool WaitForJob(std::stop_token stop, std::chrono::milliseconds span);

    // While held, PopJob hands out nothing: a caller can look at what a collection queued
    // before the worker takes it.
    void Hold(bool held);
    // Takes every queued job, held or not, in order.
    std::vector<CommandJob> TakeAll();
    // Takes every queued job but those of type `kept`, which stay queued in their order; one
    // step under the lock, so the worker never sees the queue without them.
    std::vector<CommandJob> TakeAllBut(JobType kept);
    // How many queued jobs are of that type.
    std::size_t CountOf(JobType type) const;

    // From now on a push of any other type is dropped; JobType::None accepts every type again.
    // Nothing may follow the last command before the program ends (at+quit).
    void AcceptOnly(JobType type);
    // As PopJob, for the worker: the job taken is in hand until JobDone.
    bool TakeJobToRun(CommandJob& job);
    // The worker is done with the job it took last.
    void JobDone();
    // Whether no job is queued and none that was taken is still being run.
    bool IsIdle() const;

  private:
    bool PopLocked(CommandJob& job);

    mutable std::mutex queueLock_;
    std::condition_variable_any queued_;
    bool held_ = false;
    bool inHand_ = false;  // a job was taken and is not done yet
    JobType only_ = JobType::None;
    std::deque<CommandJob> jobs_;
};
