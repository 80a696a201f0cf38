#pragma once
// CM5Z30FrameWnd: the program's one window and the owner of all shared state. Its window
// procedure routes the system's messages and the program's own (1034, 2124 to 2132) to the
// subsystems; the operations on the state live in the subsystems' folders.
//
// Threads: the frame lives on the UI thread. The worker reaches it only through synchronous
// sends (SendMessage) and posted log blocks; the serial port's monitor through 1034 sends.
// Members the worker reads are atomic; everything else, the parameter table and the receive
// state included, is touched on the UI thread only.
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/PortFollow.h"
#include "app/Progress.h"
#include "engine/CommandJob.h"
#include "engine/EngineWindow.h"
#include "engine/FrameMessages.h"
#include "form/AutoBackup.h"
#include "form/Questions.h"
#include "form/TabTable.h"
#include "params/Listing.h"
#include "params/ParameterTable.h"
#include "serial/PortRoots.h"
#include "serial/SerialPort.h"
#include "ui/Log.h"
#include "ui/Notify.h"
#include "ui/PaintManager.h"
#include "ui/StdString.h"
#include "ui/Window.h"

class CControlUI;
class CRichEditUI;
class COptionUI;

// How a job ended. A write is exactly one of: confirmed (Ok: its answer held an OK line),
// refused (Error: an ERROR line), not sent (NotSent: never written, because it was dropped
// from the queue, cancelled, the port went before it or took only part of it), or sent with
// its outcome unknown (Timeout: no answer within its time-out and the grace after it;
// PortLost: the port went, lost or closed, while the command awaited its answer).
enum class JobOutcome { Ok, Error, Timeout, PortLost, NotSent };
// Whether the command went out and nobody can tell what the unit made of it.
constexpr bool OutcomeUnknown(JobOutcome outcome) {
    return outcome == JobOutcome::Timeout || outcome == JobOutcome::PortLost;
}
// Told of every job exactly once, on the UI thread: by the worker after the job's result step
// and while it waits (the queue holds exactly what that step queued); for a job the port's
// going or Cancel ended (the one on the line, those dropped from the queue), at that moment.
using JobObserver = std::function<void(const CommandJob& job, JobOutcome outcome)>;

// The main window. Its receive state, job queue and port are the engine's (EngineWindow.h).
class CM5Z30FrameWnd : public EngineWindow, public INotifyUI {
  public:
    CM5Z30FrameWnd();
    ~CM5Z30FrameWnd() override;

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Notify(TNotifyUI& msg) override;

    // Starts the worker thread; false when it cannot be started. UI thread.
    bool StartWorker();
    // Stops the worker and waits for it; sends it is waiting in return 0. UI thread.
    void StopWorker();
    bool HasWorker() const { return worker_.joinable(); }

    // Window initialisation, after the skin is loaded. UI thread.
    void SetUpWindow();

    // --- shared state ---
    TabTable tabTable;
    ParameterTable parameterTable;
    CStdString configFilePath;
    CPaintManagerUI paintManager;
    int language = 0;
    CControlUI* closeButton = nullptr;
    CControlUI* maxButton = nullptr;
    CControlUI* restoreButton = nullptr;
    CControlUI* minButton = nullptr;
    CRichEditUI* logView = nullptr;
    // The switch that puts the time before each log line, and the session log Save log writes.
    COptionUI* logTimes = nullptr;
    std::string sessionLog;
    std::string loraVersion;
    // The parameters the last loaded .cfg file held: applying it writes no others.
    std::optional<std::set<std::string>> loadedFileParameters;
    // The loaded file's values while the form shows that file; emptied when a read refills it.
    std::map<std::string, std::string> fileValues;
    // A file opened at start is shown but not yet applied: the first Save before a read applies
    // it, as LoadFromFile would have at once.
    bool fileAwaitsApply = false;
    // What the form gave each parameter after the last complete read on the open port, by
    // source and parameter (ChangedWrites.h); none before such a read.
    std::optional<std::map<std::string, std::string>> formAsRead;
    // Whether formAsRead comes from a read on the port open now: only then do writes go out.
    bool formReadOnPort = false;
    // Writes the unit confirmed since the last read-back, by parameter: the value sent.
    std::map<std::string, std::string> confirmedWrites;
    // The values the last collection of writes refused (WriteRefusal.h), by parameter.
    std::vector<std::string> refusedWrites;
    // The last read-back's writes the unit answered OK to but does not hold: sent, held.
    std::map<std::string, std::pair<std::string, std::string>> notKept;
    // The run of jobs under way, for the progress bar.
    RunProgress progress;
    // The last complete listing on the open port and the backup taken from it (AutoBackup.h).
    ConnectionBackup connectionBackup;
    // Ports listed besides the system's, such as a virtual unit's pseudo-terminal.
    std::vector<std::string> extraPorts;
    // Where the port list looks: the system's trees unless a test gives its own.
    PortRoots portRoots;
    // Adapters followed while the program runs.
    PortFollowState portFollow;
    // Optional (the command line sets it); set before StartWorker and left alone after, so
    // the worker reads it without a lock.
    JobObserver jobObserver;
    // Optional: answers the questions asked before a write (Questions.h) instead of a box; the
    // command line answers from its options. UI thread.
    QuestionAnswer questionAnswer;
    // A value of the form, of the unit or of what was read changed: the pending edits are
    // shown anew once the message that changed it is handled (PendingEdits.h).
    bool pendingMarksDue = false;
    // How often the pending edits were worked out, for the tests and benchmarks.
    int pendingEditWalks = 0;
    // While the line is wound down before the window goes: what runs once it is (Leave.h).
    std::function<void()> leaveThen;

    // The frame the timer procedure and the tests find.
    static CM5Z30FrameWnd* Instance();

  protected:
    const char* GetWindowClassName() const override { return "M5Z30"; }
    UINT GetClassStyle() const override { return 8; }  // CS_DBLCLKS
    void OnFinalMessage(QWidget* hwnd) override;

  private:
    LRESULT OnCreate();
    LRESULT OnNcHitTest(LPARAM lParam);
    LRESULT OnSystemCommand(WPARAM wParam, LPARAM lParam, bool& handled);
    // The maximise and restore buttons as the window's state is now.
    void ShowZoomButtons();
    LRESULT OnCloseRequest();
    void ShowPendingEditsIfDue();
    LRESULT OnLogBlock(WPARAM wParam, LPARAM lParam);

    std::jthread worker_;
};
