#include "app/Connect.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "app/PortFollow.h"
#include "app/PortListEntries.h"
#include "engine/FrameTimers.h"
#include "engine/JobEnd.h"
#include "engine/OpenErrorText.h"
#include "engine/PortItems.h"
#include "form/ChangedWrites.h"
#include "serial/PortList.h"
#include "settings/Labels.h"
#include "ui/Controls.h"
#include "ui/Log.h"

namespace {

constexpr const char* kSection = "OnStartCom";
// The prompt is answered this often until the unit shows it.
constexpr unsigned kPromptAnswerMs = 300;
// The line events the port reports and its transmit buffer.
constexpr UINT kPortEventMask = EV_RXCHAR | EV_CTS;
constexpr UINT kPortTxBufferSize = 8192;
// Time-outs grow for lines slower than this.
constexpr int kReferenceBaud = 9600;

CControlUI* Find(AppWindow& frame, const char* name) {
    return frame.paintManager.FindControl(name);
}

void SetOpenButtonText(AppWindow& frame, const char* key) {
    if (CControlUI* button = Find(frame, "Open")) button->SetText(LabelText(kSection, key));
}

void LogNotice(AppWindow& frame, const char* key) {
    LogAppend(frame, LabelText(kSection, key, "\r\n").str());
}

void LogOpenError(AppWindow& frame, const std::string& reason) {
    LogNotice(frame, "OpenError");
    if (!reason.empty()) LogAppend(frame, reason + "\r\n");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The character format as data bits digit, parity letter, stop bits digit ("8N1").
bool IsCharacterFormat(const std::string& text) {
    return text.size() >= 3 && IsDigit(text[0]) && IsDigit(text[2]);
}

void Disconnect(AppWindow& frame, const char* notice) {
    frame.serialPort.Close();
    ForgetFormAsRead(frame);
    SetOpenButtonText(frame, "Open");
    LogNotice(frame, notice);
    EndJobsOfLostLine(frame);
    frame.KillTimer(kPromptTimer);
    frame.loggedIn = false;
    frame.PostMessage(kMsgCommandState, 0, 1);
}

void Connect(AppWindow& frame) {
    CControlUI* portBox = Find(frame, "SerialPort");
    if (!portBox) return;
    const std::string device = PortItemDevice(portBox->GetText().str());
    CControlUI* baudBox = Find(frame, "BaudRate1");
    if (!baudBox) return;
    frame.pendingJobType = JobType::AwaitPrompt;
    const std::string baudText = baudBox->GetText().str();
    const int baud = std::atoi(baudText.c_str());
    CControlUI* formatBox = Find(frame, "Checkcode");
    if (!formatBox) return;
    const std::string format = formatBox->GetText().str();

    // Settings that cannot describe a line are refused before anything is divided or opened.
    if (device.empty()) return LogOpenError(frame, FillOpenText("NoPort", {}));
    if (baud <= 0) return LogOpenError(frame, FillOpenText("BadBaud", {{"text", baudText}}));
    if (!IsCharacterFormat(format)) {
        return LogOpenError(frame, FillOpenText("BadFormat", {{"text", format}}));
    }

    frame.timeoutFactor = std::max(1, kReferenceBaud / baud);
    frame.serialPort.OpenPort(
        &frame, device, static_cast<UINT>(baud), format[1], static_cast<UINT>(format[0] - '0'),
        static_cast<UINT>(format[2] - '0'), kPortEventMask, kPortTxBufferSize);
    if (!frame.serialPort.IsOpen()) {
        return LogOpenError(frame, DescribeOpenFailure(device, frame.serialPort.LastOpenFailure()));
    }

    // A unit just opened owes nothing, and how slowly it answers is yet to be seen.
    frame.lineSync = LineSync{};
    frame.serialPort.StartMonitor();
    NotePortOpened(frame, device);
    ForgetFormAsRead(frame);
    LogNotice(frame, "OpenNotice");
    SetOpenButtonText(frame, "Close");
    StartPromptTimer(frame, kPromptAnswerMs);
    frame.PostMessage(kMsgCommandState, 1, 3);
}

}  // namespace

int FillFramePortList(AppWindow& frame) {
    // The extra ports first: a virtual unit that was asked for is the port meant.
    const std::vector<ListedPort> ports = ListPorts(frame.extraPorts, frame.portRoots);
    const std::string notice = NoAccessNotice(ports);
    if (notice != frame.portFollow.accessNotice && !notice.empty())
        LogAppend(frame, notice + "\r\n");
    frame.portFollow.accessNotice = notice;

    auto* combo = dynamic_cast<CComboUI*>(Find(frame, "SerialPort"));
    if (!combo || (ports.empty() && !HasPortListEntries())) return 0;
    const std::string selected =
        combo->GetCurSel() >= 0 ? PortItemDevice(combo->GetText().str()) : "";
    // Emptying the list raises a pick of no item, which must not ask for another refill.
    frame.portFollow.refilling = true;
    combo->RemoveAll();
    frame.portFollow.refilling = false;
    for (const ListedPort& port : ports) combo->Add(new CListLabelElementUI(PortItemText(port)));
    AddPortListEntries(frame, *combo);
    // A refill keeps the port chosen, quietly: nobody picked anything.
    for (int i = 0; !selected.empty() && i < combo->GetCount(); ++i) {
        if (PortItemDevice(combo->GetItemAt(i)->GetText().str()) == selected)
            combo->SelectItemQuietly(i);
    }
    return 1;
}

bool SelectFramePort(AppWindow& frame, const std::string& device) {
    auto* combo = dynamic_cast<CComboUI*>(Find(frame, "SerialPort"));
    if (!combo) return false;
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (PortItemDevice(combo->GetItemAt(i)->GetText().str()) == device) {
            return combo->SelectItem(i);
        }
    }
    return false;
}

void ToggleFrameConnection(AppWindow& frame) {
    if (frame.serialPort.IsOpen()) {
        NotePortClosed(frame);
        Disconnect(frame, "CloseNotice");
    } else {
        Connect(frame);
    }
}

void OnPortLost(AppWindow& frame) {
    if (!frame.serialPort.IsOpen()) return;
    frame.progress.portLost = true;
    Disconnect(frame, "LostNotice");
    NotePortLost(frame);
}
