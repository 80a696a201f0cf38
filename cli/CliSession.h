#pragma once
// One session of the command line with a unit: the very frame of the window, built on the
// real skin but never shown, its port opened with the command line's settings through the
// "Open" logic, the unit brought into its setting mode, jobs run through the frame's queue
// and worker and waited for, and the unit left with at+quit.
//
// Threads: everything here runs on the main thread, which is the UI thread. The worker tells
// the session of each finished job through the frame's job observer, on the UI thread and
// while the worker waits for the observer to return; the job hook runs there too, so what it
// takes out of the queue or puts in cannot race the worker.
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/FrameWnd.h"
#include "cli/CliDialogs.h"
#include "cli/CliLogFile.h"
#include "cli/CliOptions.h"

class QTimer;

// The frame with a look at its messages: how many layout rules ran, and a call after each
// message so the session's waits can end as soon as what they wait for happened.
class CliFrame : public CM5Z30FrameWnd {
  public:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    int layoutRulesRun = 0;
    std::function<void()> afterMessage;
};

// A write as it was collected: the unit's value then and the value written.
struct PlannedWrite {
    std::string name;
    std::string oldValue;
    std::string newValue;
};

// A job outcome as the command line prints it: "OK" (confirmed), "ERROR" (refused), "UNKNOWN"
// (sent, and no answer came: no answer in time, or the port went) or "NOT SENT".
const char* OutcomeName(JobOutcome outcome);

class CliSession {
  public:
    using JobHook = std::function<void(const CommandJob& job, JobOutcome outcome)>;

    explicit CliSession(const CliOptions& options);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Opens the --log file and builds the frame on the skin config.ini chooses, as the window
    // starts; returns kExitDone, or an exit status after printing why.
    int Start();
    CM5Z30FrameWnd& frame() { return *frame_; }
    CliDialogs& dialogs() { return dialogs_; }
    // Called for every finished job (after the session's own bookkeeping). Set before
    // StartWorker.
    void SetJobHook(JobHook hook) { hook_ = std::move(hook); }

    // Puts the port settings into "SerialPort", "BaudRate1" and "Checkcode" and presses
    // "Open", after waiting for the port with --wait-for-port; kExitDone, kExitNoPort when it
    // did not appear in time, or kExitPort with the log's reason printed.
    int Connect();
    // Waits for the unit's setting mode: the frame answers a start-up prompt by itself; "+++"
    // follows after a short while and again now and then. kExitDone, or kExitUnit after the
    // login time-out.
    int LogIn();
    // Starts the worker and the progress display; false (printed) when it cannot start.
    bool StartWorker();
    // Runs the posted events until a round runs no layout rule: the rules set off by a filled
    // form, and those they set off, are done.
    void SettleLayout();

    // The number of jobs of that type finished so far.
    int Finished(JobType type) const;
    // Waits until more than `before` jobs of that type finished; returns the last one's
    // outcome (Timeout when the port went away or the wait's own limit passed).
    JobOutcome WaitForJob(JobType type, int before);
    // Queues the job and waits for it.
    JobOutcome RunJob(const CommandJob& job);

    // Takes every job out of the queue. Only inside the job hook, where the worker waits.
    std::vector<CommandJob> TakeQueuedJobs();
    // The writes among jobs, with the unit's values as the parameter table holds them now.
    std::vector<PlannedWrite> PlanWrites(const std::vector<CommandJob>& jobs) const;
    // Queues the jobs back; each write prints its line when it finishes.
    void QueueWrites(const std::vector<CommandJob>& jobs);
    // Waits until every queued write finished, then for the read-back that follows confirmed
    // writes (or until the port went away); a read-back that does not come fails the session.
    void WaitForWrites();

    // Records a failure; the first one decides the exit status.
    void Fail(int code);
    int ExitCode() const { return exitCode_; }
    // Leaves the unit with at+quit (unless --stay) and closes the port; returns the exit
    // status of the session.
    int Finish();
    // Ends a session whose writes were collected from a listing: without one (listed false)
    // nothing was written and the session fails; otherwise waits for the writes first.
    int FinishWrites(bool listed);

  private:
    // --wait-for-port: true once the port exists, false (printed) after the time given.
    bool WaitForPort();
    void OnJobFinished(const CommandJob& job, JobOutcome outcome);
    void OnWriteFinished(const CommandJob& job, JobOutcome outcome);
    // Prints a NOT KEPT line for each write the read-back found the unit does not hold.
    void OnReadBackFinished(JobOutcome outcome);
    void OnLog(std::string_view text);
    void ShowListingProgress();
    bool PortOpen() const;
    // Runs the event loop until done() holds or the limit passes; returns done().
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    const CliOptions& options_;
    CliDialogs dialogs_;
    ui::ScopedDialogs scopedDialogs_{&dialogs_};
    CliLogFile logFile_;
    std::string logText_;      // the whole session's log
    std::string valueNotice_;  // the log's line for a value refused for its control bytes
    std::vector<std::string> backupNotices_;  // the log's lines about the automatic backup
    std::string lostNotice_;                  // the log's line for a port that went
    std::unique_ptr<CliFrame> frame_;
    std::unique_ptr<QTimer> progressTimer_;
    JobHook hook_;
    std::function<void()> waker_;
    std::map<JobType, int> finished_;
    std::map<JobType, JobOutcome> lastOutcome_;
    std::deque<PlannedWrite> planned_;
    int writesQueued_ = 0;
    bool readBackDue_ = false;  // a write was confirmed: a read-back follows the writes
    int writesDone_ = 0;
    int exitCode_ = kExitDone;
    bool tapSet_ = false;
};
