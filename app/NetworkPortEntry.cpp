#include "app/NetworkPortEntry.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "app/Connect.h"
#include "app/PortListEntries.h"
#include "engine/PortItems.h"
#include "serial/NetworkPort.h"
#include "settings/Labels.h"
#include "settings/NetworkPorts.h"
#include "settings/Settings.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Log.h"
#include "ui/PaintManager.h"

namespace {

CComboUI* PortList(AppWindow& frame) {
    return dynamic_cast<CComboUI*>(frame.paintManager.FindControl("SerialPort"));
}

std::string SettingsFile() {
    return ConfigIniPath(CPaintManagerUI::GetInstancePath().str());
}

// The frame lists these network ports, in this order, after its other extra ports.
void ListNetworkPorts(AppWindow& frame, const std::vector<std::string>& ports) {
    std::vector<std::string>& extra = frame.extraPorts;
    extra.erase(std::remove_if(extra.begin(), extra.end(),
                               [](const std::string& d) { return serial::IsNetworkPortName(d); }),
                extra.end());
    extra.insert(extra.end(), ports.begin(), ports.end());
    FillFramePortList(frame);
}

// The list as config.ini has it now (another window may have changed it), changed by edit.
template <typename Edit>
void Remember(AppWindow& frame, const std::string& device, Edit edit) {
    const std::string file = SettingsFile();
    if (file.empty() || !WriteNetworkPorts(file, edit(ReadNetworkPorts(file)))) {
        LogAppend(frame,
                  FilledLabel(kNetworkPortSection, "NotRemembered", {{"device", device}}) + "\r\n");
    }
}

void SelectQuietly(AppWindow& frame, const std::string& device) {
    CComboUI* combo = PortList(frame);
    if (!combo) return;
    int index = -1;
    for (int i = 0; !device.empty() && i < combo->GetCount(); ++i) {
        if (PortItemDevice(combo->GetItemAt(i)->GetText().str()) == device) index = i;
    }
    combo->SelectItemQuietly(index);
}

std::string FaultText(const NetworkName& parsed, const std::string& typed) {
    switch (parsed.fault) {
        case NetworkNameFault::None:
            break;
        case NetworkNameFault::Form:
            return FilledLabel(kNetworkPortSection, "BadForm", {{"text", typed}});
        case NetworkNameFault::NoHost:
            return FilledLabel(kNetworkPortSection, "NoHost", {{"text", typed}});
        case NetworkNameFault::BadHost:
            return FilledLabel(kNetworkPortSection, "BadHost",
                               {{"text", typed}, {"host", parsed.host}});
        case NetworkNameFault::BadPort:
            return FilledLabel(kNetworkPortSection, "BadPort", {{"text", typed}});
    }
    return {};
}

void AddNetworkPort(AppWindow& frame) {
    std::string typed;
    NetworkName parsed;
    // A mistyped address is asked for again as it was typed, to be corrected rather than retyped.
    for (;;) {
        if (!ui::Dialogs().AskText(PortListLabel("AddCaption"), PortListLabel("AddPrompt"),
                                   &typed)) {
            return SelectQuietly(frame, frame.portFollow.chosen);
        }
        parsed = ParseNetworkName(typed);
        if (parsed.fault == NetworkNameFault::None) break;
        ui::Dialogs().ShowMessageBox(FaultText(parsed, typed), ProgramTitle(),
                                     MB_OK | MB_ICONWARNING);
    }
    const std::string& name = parsed.name;
    ListNetworkPorts(frame, WithNetworkPortFirst(ListedNetworkPorts(frame), name));
    Remember(frame, name, [&](std::vector<std::string> ports) {
        return WithNetworkPortFirst(std::move(ports), name);
    });
    // As a pick of it: whether it can be used is asked again, and it becomes the port chosen.
    SelectFramePort(frame, name);
}

void RemoveNetworkPort(AppWindow& frame) {
    const std::vector<std::string> listed = ListedNetworkPorts(frame);
    int chosen = -1;
    if (listed.empty() ||
        !ui::Dialogs().ChooseItem(PortListLabel("RemoveCaption"), PortListLabel("RemovePrompt"),
                                  listed, &chosen)) {
        return SelectQuietly(frame, frame.portFollow.chosen);
    }
    const std::string name = listed[static_cast<std::size_t>(chosen)];
    const auto without = [&](std::vector<std::string> ports) {
        ports.erase(std::remove(ports.begin(), ports.end(), name), ports.end());
        return ports;
    };
    ListNetworkPorts(frame, without(listed));
    Remember(frame, name, without);
    if (frame.portFollow.chosen == name) return SelectFirstPort(frame);
    SelectQuietly(frame, frame.portFollow.chosen);
}

}  // namespace

void LoadRememberedNetworkPorts(AppWindow& frame, const std::string& configPath) {
    if (configPath.empty()) return;
    for (const std::string& device : ReadNetworkPorts(configPath)) {
        auto& extra = frame.extraPorts;
        if (std::find(extra.begin(), extra.end(), device) == extra.end()) extra.push_back(device);
    }
}

void SelectFirstPort(AppWindow& frame) {
    CComboUI* combo = PortList(frame);
    if (!combo) return;
    if (combo->GetCount() > 0 && !IsPortListEntry(combo->GetItemAt(0)->GetText().str())) {
        combo->SelectItem(0);
    } else {
        combo->SelectItemQuietly(-1);
    }
}

bool TakePortListEntry(AppWindow& frame) {
    CComboUI* combo = PortList(frame);
    if (!combo || combo->GetCurSel() < 0) return false;
    const std::string text = combo->GetText().str();
    if (!text.empty() && text == PortListLabel("AddEntry")) {
        AddNetworkPort(frame);
        return true;
    }
    if (!text.empty() && text == PortListLabel("RemoveEntry")) {
        RemoveNetworkPort(frame);
        return true;
    }
    frame.portFollow.chosen = PortItemDevice(text);
    return false;
}
