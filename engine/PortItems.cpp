#include "engine/PortItems.h"

#include <algorithm>
#include <cctype>

#include "engine/OpenErrorText.h"
#include "serial/NetworkPort.h"
#include "serial/PortList.h"
#include "settings/System.h"

namespace {

constexpr const char* kSection = "PortList";
// Between the device path and what is said about it; a path never holds two blanks in a row.
constexpr const char* kApart = "  ";

}  // namespace

std::string PortUseReason(const serial::PortAccess& access) {
    switch (access.use) {
        case serial::PortUse::Free:
            return {};
        case serial::PortUse::NoPermission:
            return FilledLabel(kSection, "NoPermission",
                               {{"group", access.group}, {"user", sys::UserName()}});
        case serial::PortUse::InUse:
            if (access.holder.pid == 0) return LabelText(kSection, "InUseUnnamed").str();
            return FilledLabel(
                kSection, "InUse",
                {{"pid", std::to_string(access.holder.pid)}, {"program", access.holder.program}});
    }
    return {};
}

std::vector<ListedPort> ListPorts(const std::vector<std::string>& extraPorts,
                                  const PortRoots& roots) {
    std::vector<ListedPort> ports;
    const auto add = [&](ListedPort port) {
        const auto same = [&](const ListedPort& p) { return p.device == port.device; };
        if (port.device.empty() || std::any_of(ports.begin(), ports.end(), same)) return;
        // A port on a network server has no device node whose permissions or holder could tell.
        if (!serial::IsNetworkPortName(port.device))
            port.access = serial::CheckPortAccess(port.device, roots);
        ports.push_back(std::move(port));
    };
    const auto addExtra = [&](bool network) {
        for (const std::string& device : extraPorts) {
            if (serial::IsNetworkPortName(device) != network) continue;
            ListedPort port;
            port.device = device;
            add(std::move(port));
        }
    };
    addExtra(false);
    for (const PortInfo& info : serial::ListSerialPorts(roots)) {
        ListedPort port;
        port.device = info.device;
        port.stableName = info.stableName;
        port.usbIdentity = info.usbIdentity;
        port.system = true;
        add(std::move(port));
    }
    // The machine's own ports first: the network ones are picked on purpose.
    addExtra(true);
    return ports;
}

std::string PortItemText(const ListedPort& port) {
    std::string text = port.device;
    if (!port.stableName.empty()) text += kApart + port.stableName;
    const std::string reason = PortUseReason(port.access);
    if (!reason.empty()) text += kApart + reason;
    return text;
}

std::string PortItemDevice(const std::string& itemText) {
    std::string device = itemText.substr(0, itemText.find(kApart));
    const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
    device.erase(device.begin(), std::find_if_not(device.begin(), device.end(), space));
    device.erase(std::find_if_not(device.rbegin(), device.rend(), space).base(), device.end());
    return device;
}

std::string NoAccessNotice(const std::vector<ListedPort>& ports) {
    std::vector<std::string> groups;
    for (const ListedPort& port : ports) {
        if (!port.system) continue;
        if (port.access.use != serial::PortUse::NoPermission) return {};
        if (std::find(groups.begin(), groups.end(), port.access.group) == groups.end())
            groups.push_back(port.access.group);
    }
    if (groups.empty()) return {};
    std::string joined;
    for (const std::string& group : groups) joined += (joined.empty() ? "" : ",") + group;
    return FilledLabel(kSection, "NoAccess", {{"group", joined}, {"user", sys::UserName()}});
}
