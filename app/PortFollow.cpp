#include "app/PortFollow.h"

#include "app/AppWindow.h"
#include "engine/OpenErrorText.h"
#include "engine/PortItems.h"
#include "serial/PortList.h"
#include "ui/Controls.h"
#include "ui/Log.h"

namespace {

constexpr const char* kSection = "Reopen";

std::string ComboText(AppWindow& frame, const char* name) {
    CControlUI* box = frame.paintManager.FindControl(name);
    return box ? box->GetText().str() : std::string();
}

}  // namespace

void StartPortFollow(AppWindow& frame) {
    frame.portFollow.watcher.Start([&frame] { frame.PostMessage(kMsgPortsChanged, 0, 0); },
                                   frame.portRoots);
}

void NotePortOpened(AppWindow& frame, const std::string& device) {
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

void NotePortClosed(AppWindow& frame) {
    frame.portFollow.open.reset();
    frame.portFollow.lost.reset();
}

void NotePortLost(AppWindow& frame) {
    PortFollowState& follow = frame.portFollow;
    if (!follow.open || !follow.reopenLost || !follow.watcher.IsRunning()) return;
    // A pseudo-terminal's number is no identity: the next terminal made gets it again.
    if (serial::IsTransientPort(follow.open->device)) return;
    follow.lost = std::move(follow.open);
    follow.open.reset();
    // A path of its own (a test's link) is awaited where it was.
    follow.watcher.Follow(follow.lost->device);
    LogFollowedPort(frame, "Waiting", *follow.lost, follow.lost->device);
}

void LogFollowedPort(AppWindow& frame, const char* key, const FollowedPort& port,
                     const std::string& device) {
    LogAppend(frame,
              FilledLabel(kSection, key,
                          {{"device", device}, {"baud", port.baud}, {"format", port.format}}) +
                  "\r\n");
}
