#include "app/CommandState.h"

#include <span>
#include <string_view>

#include "app/AppWindow.h"
#include "app/Progress.h"
#include "engine/FrameTimers.h"
#include "engine/JobTypes.h"
#include "settings/Labels.h"
#include "ui/Control.h"
#include "ui/Log.h"

namespace {

// A control of a group and whether it follows the group's state or takes the opposite.
struct StateRow {
    const char* name;
    bool inverted;
};

constexpr bool kSame = false;
constexpr bool kOpposite = true;

// clang-format off
constexpr StateRow kLoginGroup[] = {
    {"Save", kSame}, {"Load", kSame}, {"RestoreFactory", kSame}, {"LoadFromFile", kSame},
    {"SaveToFile", kSame}, {"SetTime", kSame}, {"GetVer", kSame}, {"Login", kOpposite},
    {"READFILELOG", kSame}, {"CPIN", kSame}, {"CSQ", kSame}, {"quit", kSame},
    {"Revert", kSame}, {"History", kSame},
};
constexpr StateRow kPortGroup[] = {
    {"Save", kSame}, {"Load", kSame}, {"RestoreFactory", kSame}, {"LoadFromFile", kSame},
    {"SaveToFile", kSame}, {"SetTime", kSame}, {"Login", kSame}, {"READFILELOG", kSame},
    {"CPIN", kSame}, {"CSQ", kSame}, {"GetVer", kSame}, {"quit", kSame},
    {"Checkcode", kOpposite}, {"BaudRate1", kOpposite}, {"SerialPort", kOpposite},
    {"Revert", kSame}, {"History", kSame},
};
constexpr StateRow kBusyGroup[] = {
    {"Save", kSame}, {"Load", kSame}, {"RestoreFactory", kSame}, {"LoadFromFile", kSame},
    {"SaveToFile", kSame}, {"SetTime", kSame}, {"READFILELOG", kSame}, {"CPIN", kSame},
    {"CSQ", kSame}, {"GetVer", kSame}, {"quit", kSame}, {"Revert", kSame}, {"History", kSame},
};
constexpr StateRow kOpenedGroup[] = {
    {"Login", kSame}, {"Checkcode", kOpposite}, {"BaudRate1", kOpposite},
    {"SerialPort", kOpposite},
};
// clang-format on

struct GroupRow {
    std::span<const StateRow> controls;
    bool setsDeviceState;
};

const GroupRow kGroups[] = {
    {kLoginGroup, true},
    {kPortGroup, true},
    {kBusyGroup, false},
    {kOpenedGroup, false},
};

void EnableByName(AppWindow& frame, const char* name, bool enabled) {
    if (CControlUI* control = frame.paintManager.FindControl(name)) control->SetEnabled(enabled);
}

// The control holds at most this many characters of the network mode.
constexpr std::size_t kNetModeLimit = 39;
// Longer answers are not a network-mode answer.
constexpr int kNetModeAnswerLimit = 100;

}  // namespace

LRESULT ShowCommandState(AppWindow& frame, WPARAM wParam, LPARAM lParam) {
    if (lParam < 0 || lParam >= static_cast<LPARAM>(std::size(kGroups))) return 0;
    const bool enabled = wParam == 1;
    // The worker's idle notice was decided on its thread; a logout or a closed port handled
    // since then wins.
    if (lParam == kBusyGroupIndex && enabled && (!frame.loggedIn || !frame.serialPort.IsOpen())) {
        return 0;
    }
    const GroupRow& group = kGroups[lParam];
    for (const StateRow& row : group.controls) {
        EnableByName(frame, row.name, row.inverted ? !enabled : enabled);
    }
    if (group.setsDeviceState) SetDeviceState(frame, enabled);
    // The run of jobs is over when the queue ran dry or the unit logged out; with the port
    // closed there is nothing left to show.
    if ((lParam == kBusyGroupIndex && enabled) || (lParam == kLoginGroupIndex && !enabled)) {
        EndRunProgress(frame);
    }
    if (lParam == kPortGroupIndex && !enabled) HideRunProgress(frame);
    return 0;
}

void ToggleHelp(AppWindow& frame) {
    if (CControlUI* help = frame.paintManager.FindControl("helpGroupBox"))
        help->SetVisible(!help->IsOwnVisible());
}

void ShowNetMode(AppWindow& frame) {
    CControlUI* field = frame.paintManager.FindControl("FINDNETMODE");
    if (!field || frame.rxLength > kNetModeAnswerLimit) return;
    const std::string_view text(frame.rxBuffer, static_cast<std::size_t>(frame.rxLength));
    constexpr std::string_view kTag = "+FINDNETMODE:";
    const std::size_t tag = text.find(kTag);
    if (tag == std::string_view::npos) return;
    const std::size_t start = tag + kTag.size();
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) return;
    // The field was made for 39 characters; a longer value is shown cut rather than dropped.
    field->SetText(CStdString(text.substr(start, std::min(end - start, kNetModeLimit))));
}

void WatchLogin(AppWindow& frame) {
    const auto limit = JobTimeout(JobType::EnterConfig, frame.timeoutFactor.load());
    frame.SetTimer(kLoginTimer, static_cast<UINT>(limit.count()), [&frame, limit](UINT) {
        frame.KillTimer(kLoginTimer);
        if (frame.pendingJobType != JobType::EnterConfig || frame.loggedIn ||
            !frame.serialPort.IsOpen()) {
            return;
        }
        // Nothing is awaited any more: the next command need not wait for a greeting.
        frame.pendingJobType = JobType::None;
        const std::string seconds = std::to_string(limit.count() / 1000);
        LogAppend(frame, FilledLabel("Login", "NoAnswer", {{"seconds", seconds}}) + "\r\n");
        ShowDeviceStateNote(frame, "NoAnswer");
    });
}
