#include "app/PortReturn.h"

#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "app/CommandState.h"
#include "app/Connect.h"
#include "app/PortFollow.h"
#include "engine/ConfigMode.h"
#include "engine/PortItems.h"
#include "serial/PortList.h"
#include "ui/Controls.h"

namespace {

bool SelectText(AppWindow& frame, const char* name, const std::string& text) {
    auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl(name));
    for (int i = 0; combo && i < combo->GetCount(); ++i) {
        if (combo->GetItemAt(i)->GetText().str() == text) return combo->SelectItem(i);
    }
    return false;
}

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

void OnPortsChanged(AppWindow& frame) {
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
    LogFollowedPort(frame, "Back", lost, device);
    if (!SelectFramePort(frame, device) || !SelectText(frame, "BaudRate1", lost.baud) ||
        !SelectText(frame, "Checkcode", lost.format)) {
        return LogFollowedPort(frame, "NoSettings", lost, device);
    }
    ToggleFrameConnection(frame);
    if (!frame.serialPort.IsOpen()) return;  // still awaited: the next change may open it
    LogFollowedPort(frame, "LoggingIn", lost, device);
    Login(frame);
    WatchLogin(frame);
}
