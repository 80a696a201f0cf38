#pragma once
// A frame on the virtual unit's port, ready to connect: shared by the session helpers of the
// test folders that drive the whole program against the unit.
#include <string>

#include "app/FrameWnd.h"
#include "sim/VirtualUnitHost.h"
#include "ui/Controls.h"

namespace testsupport {

// Lists the unit's port, creates the window, starts the worker and picks the baud rate; false
// with the reason in *error when any of it fails. The skin must be chosen first.
inline bool SetUpFrameOnUnit(CM5Z30FrameWnd& frame, const sim::VirtualUnitHost& host,
                             std::string* error, const std::string& baudRate = "115200",
                             const std::string& device = {}) {
    frame.extraPorts = {device.empty() ? host.DevicePath() : device};
    frame.Create(nullptr, "DTU", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1400, 800);
    if (!frame.logView || !frame.StartWorker()) {
        *error = "the skin did not load or the worker did not start";
        return false;
    }
    auto* baud = dynamic_cast<CComboUI*>(frame.paintManager.FindControl("BaudRate1"));
    for (int i = 0; baud && i < baud->GetCount(); ++i) {
        if (baud->GetItemAt(i)->GetText() == baudRate) baud->SelectItem(i);
    }
    if (!baud || baud->GetText() != baudRate) {
        *error = "no " + baudRate + " baud on the skin";
        return false;
    }
    return true;
}

}  // namespace testsupport
