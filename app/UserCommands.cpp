#include "app/UserCommands.h"

#include <span>
#include <string>
#include <string_view>

#include "app/AppWindow.h"
#include "app/CommandState.h"
#include "app/Connect.h"
#include "app/Leave.h"
#include "app/PortFollow.h"
#include "app/Progress.h"
#include "engine/ConfigMode.h"
#include "engine/JobTypes.h"
#include "engine/RouteSwitch.h"
#include "form/AutoBackup.h"
#include "form/BackupHistory.h"
#include "form/ChangedWrites.h"
#include "form/DeviceWrite.h"
#include "form/PendingEdits.h"
#include "form/SelectionRules.h"
#include "form/SessionLog.h"
#include "form/TabStrip.h"
#include "form/WriteReview.h"
#include "params/ValueCheck.h"
#include "settings/Labels.h"
#include "ui/Container.h"
#include "ui/Controls.h"
#include "ui/Log.h"

namespace {

enum class Click {
    Toggle,
    ClearLog,
    SaveLog,
    Push,
    ConfirmPush,  // Push once the user confirmed it (the factory restore)
    Read,         // Push once pending edits may go (the listing replaces them)
    Collect,
    Revert,
    History,
    Login,
    PostSave,
    PostLoad,
    SetTime,
    Cancel,
    Quit,
    TabBack,
    TabForward,
    Help,  // the help shown or hidden again
    RouteSwitch,
};

struct ClickRow {
    const char* name;
    Click action;
    JobType jobType =
        JobType::None;  // Click::Push: the job type, whose command the job table holds
};

// clang-format off
// The buttons by name, tested in this order; a name holding "AT+" is tested between the two
// tables.
constexpr ClickRow kCommandRows[] = {
    {"Open",           Click::Toggle},
    {"Clear",          Click::ClearLog},
    {"SaveLog",        Click::SaveLog},
    {"Load",           Click::Read, JobType::ReadAll},
    {"Save",           Click::Collect},
    {"Revert",         Click::Revert},
    {"History",        Click::History},
    {"RestoreFactory", Click::ConfirmPush, JobType::RestoreFactory},
    {"Login",          Click::Login},
    {"SaveToFile",     Click::PostSave},
    {"LoadFromFile",   Click::PostLoad},
    {"SetTime",        Click::SetTime},
    {"CancelJobs",     Click::Cancel},
    {"READFILELOG",    Click::Push, JobType::ReadFileLog},
    {"CPIN",           Click::Push, JobType::QueryPin},
    {"CSQ",            Click::Push, JobType::QuerySignal},
    {"GetVer",         Click::Push, JobType::GetVersion},
};
constexpr ClickRow kFormRows[] = {
    {"quit",           Click::Quit},
    {"TabLeft",        Click::TabBack},
    {"TabRight",       Click::TabForward},
    {"helpbtn",        Click::Help},
    {"COM2Zigbee", Click::RouteSwitch}, {"Zigbee2COM", Click::RouteSwitch},
    {"COM2GPS",    Click::RouteSwitch}, {"GPS2COM",    Click::RouteSwitch},
    {"Zigbee2GPRS",Click::RouteSwitch}, {"GPRS2Zigbee",Click::RouteSwitch},
    {"COM2Lora",   Click::RouteSwitch}, {"Lora2COM",   Click::RouteSwitch},
    {"Lora2GPRS",  Click::RouteSwitch}, {"GPRS2Lora",  Click::RouteSwitch},
    {"GPS2GPRS",   Click::RouteSwitch}, {"GPRS2GPS",   Click::RouteSwitch},
    {"GPRS2COM",   Click::RouteSwitch}, {"COM2GPRS",   Click::RouteSwitch},
};
// clang-format on

constexpr const char* kPortList = "SerialPort";

void Push(AppWindow& frame, JobType type, std::string command) {
    frame.jobQueue.PushJob(CommandJob{type, std::move(command), {}, {}});
}

const ClickRow* FindRow(std::span<const ClickRow> rows, const std::string& name) {
    for (const ClickRow& row : rows) {
        if (name == row.name) return &row;
    }
    return nullptr;
}

void RunClick(AppWindow& frame, CControlUI& sender, const ClickRow& row) {
    switch (row.action) {
        case Click::Toggle:
            ToggleFrameConnection(frame);
            break;
        case Click::ClearLog:
            if (frame.logView) frame.logView->SetText("");
            frame.sessionLog.clear();
            break;
        case Click::SaveLog:
            SaveSessionLog(frame);
            break;
        case Click::Push:
            Push(frame, row.jobType, std::string(JobCommand(row.jobType)));
            break;
        case Click::ConfirmPush:
            if (ConfirmFactoryRestore(frame)) {
                Push(frame, row.jobType, std::string(JobCommand(row.jobType)));
            }
            break;
        case Click::Read:
            if (MayDiscardPendingEdits(frame, "Load")) {
                Push(frame, row.jobType, std::string(JobCommand(row.jobType)));
            }
            break;
        case Click::History:
            ShowHistory(frame);
            break;
        case Click::Revert:
            if (MayDiscardPendingEdits(frame, "Revert")) RevertForm(frame);
            break;
        case Click::Collect:
            ReviewAndSave(frame);
            break;
        case Click::Login:
            Login(frame);
            WatchLogin(frame);
            break;
        case Click::PostSave:
            frame.PostMessage(kMsgSaveToFile, 0, 0);
            break;
        case Click::PostLoad:
            frame.PostMessage(kMsgLoadFromFile, 0, 0);
            break;
        case Click::SetTime:
            Push(frame, JobType::WriteParameter,
                 CStdString::Formatted("AT+EXCCLK=\"%s\",5\r\n", LocalTimeStamp().GetData()).str());
            break;
        case Click::Cancel:
            CancelRun(frame);
            break;
        case Click::Quit:
            Push(frame, JobType::Quit, std::string(JobCommand(JobType::Quit)));
            frame.PostMessage(kMsgCommandState, 0, 0);
            break;
        case Click::TabBack:
            ScrollTabStrip(frame, kStripBack);
            break;
        case Click::TabForward:
            ScrollTabStrip(frame, kStripForward);
            break;
        case Click::Help:
            ToggleHelp(frame);
            break;
        case Click::RouteSwitch:
            ToggleRouteSwitch(sender);
            frame.pendingMarksDue = true;  // the switch is a bit of a value
            break;
    }
}

void OnClick(AppWindow& frame, CControlUI& sender) {
    if (&sender == frame.closeButton) {
        return RequestClose(frame, [] { CWindowWnd::PostQuitMessage(0); });
    }
    if (&sender == frame.minButton) {
        frame.PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    if (&sender == frame.maxButton) {
        frame.PostMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        return;
    }
    if (&sender == frame.restoreButton) {
        frame.PostMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
        return;
    }
    const std::string name = sender.GetName().str();
    if (const ClickRow* row = FindRow(kCommandRows, name)) return RunClick(frame, sender, *row);
    // The name is the command, whatever the caption says.
    if (name.find("AT+") != std::string::npos)
        return Push(frame, JobType::RawCommand, name + "\r\n");
    if (const ClickRow* row = FindRow(kFormRows, name)) return RunClick(frame, sender, *row);
}

void OnSelectChanged(AppWindow& frame, CControlUI& sender) {
    const std::string name = sender.GetName().str();
    // Every tab name would contain an empty one.
    if (name.empty()) return;
    auto* pages = dynamic_cast<CTabLayoutUI*>(frame.paintManager.FindControl("switch"));
    if (!pages) return;
    for (std::size_t i = 0; i < frame.tabTable.size(); ++i) {
        if (frame.tabTable[i].name.find(name) != std::string::npos) {
            pages->SelectItem(static_cast<int>(i));
            return;
        }
    }
}

void OnItemSelect(AppWindow& frame, CControlUI& sender) {
    const std::string name = sender.GetName().str();
    if (name == "Language") {
        frame.PostMessage(kMsgSwitchLanguage, 0, 0);
        return;
    }
    if (name == kPortList) {
        if (!frame.portFollow.refilling) frame.PostMessage(kMsgRefreshPorts, 0, 0);
        return;
    }
    const auto* list = dynamic_cast<CComboUI*>(&sender);
    for (const PostedRule& rule : RulesForSelection(name, list ? list->GetCurSel() : -1))
        frame.PostMessage(kMsgLayoutRule, static_cast<WPARAM>(rule.code), rule.argument);
}

// The port list is filled anew each time it opens: who holds a port is never remembered.
void OnDropDown(AppWindow& frame, CControlUI& sender) {
    if (sender.GetName() == kPortList) FillFramePortList(frame);
}

void OnSetFocus(AppWindow& frame, CControlUI& sender) {
    if (sender.GetName() == "FINDNETMODE" && frame.loggedIn) {
        Push(frame, JobType::FindNetMode, std::string(JobCommand(JobType::FindNetMode)));
    }
}

void OnKillFocus(AppWindow& frame, CControlUI& sender) {
    // Blanks around an address, a port or a number are a slip of the keyboard, never part of
    // it; what is still wrong is marked on the field (ShowPendingEdits), never in a box that
    // would come back at every focus change.
    if (ValueKindOf(sender.GetName().str()) == ValueKind::Any) return;
    std::string text = sender.GetText().str();
    const std::size_t first = text.find_first_not_of(' ');
    text = first == std::string::npos ? std::string() : text.substr(first);
    text.erase(text.find_last_not_of(' ') + 1);
    if (text != sender.GetText().str()) sender.SetText(text);
}

}  // namespace

void DispatchNotify(AppWindow& frame, TNotifyUI& msg) {
    if (!msg.pSender) return;
    CControlUI& sender = *msg.pSender;
    const CStdString& type = msg.sType;
    if (type == "click") {
        OnClick(frame, sender);
    } else if (type == "selectchanged") {
        OnSelectChanged(frame, sender);
    } else if (type == "itemselect") {
        OnItemSelect(frame, sender);
    } else if (type == "setfocus") {
        OnSetFocus(frame, sender);
    } else if (type == "killfocus" || type == "return") {
        OnKillFocus(frame, sender);
    } else if (type == "dropdown") {
        OnDropDown(frame, sender);
    }
}
