#pragma once
// The serial ports this machine has, for the port list, each with a description the user can
// recognise the adapter by. The listing itself is the system's (serial/posix/PortList.cpp reads
// sysfs; serial/win32/PortList.cpp the registry and SetupAPI).
//
// Threads: any.
#include <string>
#include <vector>

#include "serial/PortRoots.h"

struct PortInfo {
    std::string device;       // "/dev/ttyUSB0", "COM3": the item text and what OpenPort takes
    std::string description;  // "FTDI FT232R USB UART (0403:6001, serial A50285BI)"
    // A name that stays the same wherever the adapter is plugged in (the by-id name on Linux);
    // "" when it has none.
    std::string stableName;
    // USB vendor, product and serial ("0403:6001:A50285BI"); "" for a port not on USB.
    std::string usbIdentity;
};

namespace serial {

// The system's ports, sorted by name with numbers in numeric order (ttyS2 before ttyS10, COM2
// before COM10).
std::vector<PortInfo> ListSerialPorts(const PortRoots& roots = {});

// Whether the port is there now (its device exists, or its network server accepts a connection,
// which may take a second), listed or not.
bool PortExists(const std::string& device);

// A port whose name is no identity, because the next such port made gets it again (a
// pseudo-terminal): never awaited back after it was lost.
bool IsTransientPort(const std::string& device);

}  // namespace serial
