#pragma once
// What the engine works on: the receive state, the job queue and the port, on the window its
// posts, sends and timers go to. The frame is one; the receive path's tests and fuzz target
// make a bare one, without the application.
//
// Threads: as each member says; the window's own rules in ui/Window.h.
#include <atomic>
#include <chrono>
#include <optional>

#include "engine/AnswerEvent.h"
#include "engine/CommandJob.h"
#include "engine/EngineHooks.h"
#include "engine/LineSync.h"
#include "params/Listing.h"
#include "serial/SerialPort.h"
#include "ui/Window.h"

// What the unit sent since the worker last emptied it, and the kind of answer awaited. The
// worker resets it before it writes a command; until the answer is complete only the receive
// path (UI thread) writes it.
struct ReceiveState {
    char rxBuffer[kRxBufferSize] = {};
    int rxLength = 0;
    // When the last block arrived (UI thread): a line still busy is not a new command's yet.
    std::chrono::steady_clock::time_point lastReceivedAt{};
    // When the last awaited answer was complete: a line whose last block ended an answer is
    // quiet, not still busy.
    std::chrono::steady_clock::time_point answeredAt{};
    AnswerEvent answerEvent;
    JobType pendingJobType = JobType::None;
    // The job whose command went out, from its write until it ended (UI thread): the port's
    // going ends it then and there, so no later dialogue can complete it.
    std::optional<CommandJob> jobOnLine;
    // The answers the commands written on this line are still owed (UI thread).
    LineSync lineSync;
};

class EngineWindow : public CWindowWnd, public ReceiveState {
  public:
    JobQueue jobQueue;
    CSerialPort serialPort;
    std::atomic<bool> loggedIn{false};
    // Counts the unit's entries into its setting mode (UI thread writes, the worker reads): a
    // new login is told that nothing runs, even one right after a reconnect.
    std::atomic<int> logins{0};
    std::atomic<int> timeoutFactor{1};
    // What the application does at the job's turns; filled before the worker starts.
    EngineHooks hooks;
};
