#include "app/PortFollow.h"

#include "app/CommandState.h"
#include "app/Connect.h"
#include "app/FrameWnd.h"
#include "engine/ConfigMode.h"
#include "engine/OpenErrorText.h"
#include "engine/PortItems.h"
#include "serial/PortList.h"
#include "ui/Controls.h"
#include "ui/Log.h"

namespace {

constexpr const char* kSection = "Reopen";

std::string ComboText(CM5Z30FrameWnd& frame, const char* name) {
    CControlUI* box = frame.paintManager.FindControl(name);
    return box ? box->GetText().str() : std::string();
}

bool SelectText(CM5Z30FrameWnd& frame, const char* name, const std::string& text) {
    auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(name));
    for (int i = 0; combo && i < combo->GetCount(); ++i) {
        if (combo->GetItemAt(i)->GetText().str() == text) return combo->SelectItem(i);
    }
    return false;
}

void Log(CM5Z30FrameWnd& frame, const char* key, const FollowedPort& port,
         const std::string& device) {
    LogAppend(frame,
              FilledLabel(kSection, key,
                          {{"device", device}, {"baud", port.baud}, {"format", port.format}}) +
                  "\r\n");
}

// The listed port that is the lost one back: the same by-id name or USB adapter when the lost
// port had one, else the same path.
// Vendor, product and serial name one adapter only when the serial is there.
bool NamesOneAdapter(const std::string& usbIdentity) {
    return !usbIdentity.empty() && usbIdentity.back() != ':';
}

// The listed port that is the lost one back: the same by-id name, else the same USB adapter,
// when the lost port had them; else the same path. Only a path that is there counts.
const ListedPort* Returned(const FollowedPort& lost, const std::vector<ListedPort>& ports) {
    const auto there = [](const ListedPort& port) { return serial::PortExists(port.device); };
    const bool byId = !lost.stableName.empty();
    const bool byUsb = NamesOneAdapter(lost.usbIdentity);
    const auto same = [&](const ListedPort& port) {
        if (byId) return port.stableName == lost.stableName;
        if (byUsb) return port.usbIdentity == lost.usbIdentity;
        return port.device == lost.device;
    };
    for (const ListedPort& port : ports) {
        if (same(port) && there(port)) return &port;
    }
    // udev makes the by-id link a moment after the node: the adapter itself may say it is back.
    for (const ListedPort& port : ports) {
        if (byId && byUsb && port.usbIdentity == lost.usbIdentity && there(port)) return &port;
    }
    return nullptr;
}

}  // namespace

void StartPortFollow(CM5Z30FrameWnd& frame) {
    frame.portFollow.watcher.Start([&frame] { frame.PostMessage(kMsgPortsChanged, 0, 0); },
                                   frame.portRoots);
}

void NotePortOpened(CM5Z30FrameWnd& frame, const std::string& device) {
    FollowedPort port;
    port.device = device;
    port.baud = ComboText(frame, "BaudRate1");
    port.format = ComboText(frame, "Checkcode");
    for (const PortInfo& info : serial::ListSerialPorts(frame.portRoots)) {
        if (info.device != device) continue;
        port.stableName = info.stableName;
        port.usbIdentity = info.usbIdentity;
    }
    frame.portFollow.open = port;
    frame.portFollow.lost.reset();
}

void NotePortClosed(CM5Z30FrameWnd& frame) {
    frame.portFollow.open.reset();
    frame.portFollow.lost.reset();
}

void NotePortLost(CM5Z30FrameWnd& frame) {
    PortFollowState& follow = frame.portFollow;
    if (!follow.open || !follow.reopenLost || !follow.watcher.IsRunning()) return;
    // A pseudo-terminal's number is no identity: the next terminal made gets it again.
    if (serial::IsTransientPort(follow.open->device)) return;
    follow.lost = std::move(follow.open);
    follow.open.reset();
    // A path of its own (a test's link) is awaited where it was.
    follow.watcher.Follow(follow.lost->device);
    Log(frame, "Waiting", *follow.lost, follow.lost->device);
}

void OnPortsChanged(CM5Z30FrameWnd& frame) {
    if (!FillFramePortList(frame)) {
        // The last adapter went: nothing is left to choose.
        auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl("SerialPort"));
        if (combo) combo->RemoveAll();
    }
    PortFollowState& follow = frame.portFollow;
    if (!follow.lost || frame.serialPort.IsOpen()) return;
    const std::vector<ListedPort> ports = ListPorts(frame.extraPorts, frame.portRoots);
    const ListedPort* back = Returned(*follow.lost, ports);
    // Not back yet, or back before udev gave it its permissions: the next change tells.
    if (!back || back->access.use != serial::PortUse::Free) return;
    const FollowedPort lost = *follow.lost;
    const std::string device = back->device;
    Log(frame, "Back", lost, device);
    if (!SelectFramePort(frame, device) || !SelectText(frame, "BaudRate1", lost.baud) ||
        !SelectText(frame, "Checkcode", lost.format)) {
        return Log(frame, "NoSettings", lost, device);
    }
    ToggleFrameConnection(frame);
    if (!frame.serialPort.IsOpen()) return;  // still awaited: the next change may open it
    Log(frame, "LoggingIn", lost, device);
    Login(frame);
    WatchLogin(frame);
}
