// The COM ports from HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, each described by
// SetupAPI's friendly name and, for a USB adapter, its vendor, product and serial number.
#include <windows.h>
// clang-format off: SetupAPI's headers need <windows.h> first, devguid.h <initguid.h>.
#include <cfgmgr32.h>
#include <devguid.h>
#include <initguid.h>
#include <setupapi.h>
// clang-format on

#include <algorithm>
#include <cctype>
#include <map>

#include "serial/NetworkPort.h"
#include "serial/PortList.h"
#include "serial/win32/PortNames.h"
#include "sim/InProcessLine.h"

namespace {

struct DeviceFacts {
    std::string friendlyName;  // "USB Serial Port (COM3)"
    std::string usbIdentity;   // "0403:6001:A50285BI"
};

std::string RegistryText(HKEY key, const char* name) {
    char value[256] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return std::string(value, strnlen(value, sizeof value));
}

// "USB\VID_0403&PID_6001\A50285BI" as "0403:6001:A50285BI"; "" when not a USB device.
std::string UsbIdentityOf(const std::string& instance) {
    std::string upper = instance;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const size_t vid = upper.find("VID_");
    const size_t pid = upper.find("PID_");
    if (upper.rfind("USB\\", 0) != 0 || vid == std::string::npos || pid == std::string::npos)
        return {};
    const size_t serialAt = instance.rfind('\\');
    std::string serial = instance.substr(serialAt + 1);
    // Windows makes up an instance id with '&' for an adapter without a serial number.
    if (serial.find('&') != std::string::npos) serial.clear();
    return instance.substr(vid + 4, 4) + ":" + instance.substr(pid + 4, 4) + ":" + serial;
}

// What SetupAPI says of each port, by its name ("COM3").
std::map<std::string, DeviceFacts> PortFacts() {
    std::map<std::string, DeviceFacts> facts;
    HDEVINFO set = SetupDiGetClassDevsA(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return facts;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        const std::string name = RegistryText(key, "PortName");
        RegCloseKey(key);
        if (name.empty()) continue;
        DeviceFacts& f = facts[name];
        char text[512] = {};
        if (SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_FRIENDLYNAME, nullptr,
                                              reinterpret_cast<BYTE*>(text), sizeof text - 1,
                                              nullptr))
            f.friendlyName = text;
        char instance[512] = {};
        // The USB device is the port's parent for most adapters, the port itself for CDC ACM.
        if (SetupDiGetDeviceInstanceIdA(set, &device, instance, sizeof instance, nullptr)) {
            f.usbIdentity = UsbIdentityOf(instance);
            DEVINST parent = 0;
            char parentId[512] = {};
            if (f.usbIdentity.empty() && CM_Get_Parent(&parent, device.DevInst, 0) == CR_SUCCESS &&
                CM_Get_Device_IDA(parent, parentId, sizeof parentId, 0) == CR_SUCCESS)
                f.usbIdentity = UsbIdentityOf(parentId);
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return facts;
}

// COM2 before COM10.
bool NaturalLess(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& s) {
        size_t digits = s.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(s[digits - 1]))) --digits;
        return std::pair(s.substr(0, digits),
                         s.size() - digits > 9 ? 0ul : std::stoul("0" + s.substr(digits)));
    };
    return split(a) < split(b);
}

}  // namespace

namespace serial {

std::vector<PortInfo> ListSerialPorts(const PortRoots&) {
    std::vector<PortInfo> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return ports;
    DWORD values = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                     &longestName, &longestData, nullptr, nullptr);
    const std::map<std::string, DeviceFacts> facts = PortFacts();
    for (DWORD i = 0; i < values; ++i) {
        // Sized from the key itself: COM100 and beyond fit as well as COM1.
        std::string name(longestName + 1, '\0');
        std::string data(longestData + 1, '\0');
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.data()), &dataSize) != ERROR_SUCCESS ||
            type != REG_SZ)
            continue;
        data.resize(strnlen(data.c_str(), data.size()));
        if (data.empty()) continue;
        PortInfo port;
        port.device = data;
        auto f = facts.find(data);
        if (f != facts.end()) {
            port.description = f->second.friendlyName;
            port.usbIdentity = f->second.usbIdentity;
        }
        if (port.description.empty()) port.description = name.c_str();  // "\Device\Serial0"
        ports.push_back(std::move(port));
    }
    RegCloseKey(key);
    std::sort(ports.begin(), ports.end(),
              [](const PortInfo& a, const PortInfo& b) { return NaturalLess(a.device, b.device); });
    return ports;
}

bool PortExists(const std::string& device) {
    if (sim::InProcessLine::IsLineName(device)) return sim::InProcessLine::Find(device) != nullptr;
    // A network port is there when its server takes a connection.
    if (IsNetworkPortName(device)) return NetworkPortAnswers(device, 1000);
    char target[512];
    return QueryDosDeviceA(win32::PortKey(device).c_str(), target, sizeof target) != 0;
}

bool IsTransientPort(const std::string&) {
    return false;
}

}  // namespace serial
