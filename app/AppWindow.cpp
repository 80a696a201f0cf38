#include "app/AppWindow.h"

#include <system_error>

#include "engine/Worker.h"

bool AppWindow::StartWorker() {
    if (worker_.joinable()) return true;
    // A worker stopped before closed the gate its sends pass.
    ReopenSendGate();
    try {
        worker_ = std::jthread([this](std::stop_token stop) { WorkerJobThreadProc(this, stop); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void AppWindow::StopWorker() {
    if (!worker_.joinable()) return;
    worker_.request_stop();
    // A worker blocked in a send to this window would wait for a UI thread that now waits
    // for it: release its sends first.
    CloseSendGate();
    worker_.join();
    // A job the stopped worker left on the line has nobody to end it.
    jobOnLine.reset();
}
