#pragma once
// The port list as the user reads it: every port, its by-id name beside the device path, and
// why it cannot be used (the command that gives permission, or who has it).
//
// Threads: any (labels are read on each call).
#include <string>
#include <vector>

#include "serial/PortAccess.h"
#include "serial/PortRoots.h"

struct ListedPort {
    std::string device;
    std::string stableName;   // by-id name, "" when none
    std::string usbIdentity;  // "vendor:product:serial", "" when not on USB
    serial::PortAccess access;
    bool system = false;  // found by the system's listing, not one of the frame's extra ports
};

// The extra ports first (without duplicates), then the system's ports under roots, then the
// extra ports on a network server.
std::vector<ListedPort> ListPorts(const std::vector<std::string>& extraPorts,
                                  const PortRoots& roots);

// Why the port cannot be used (the command that gives permission, or who has it); "" when it
// can be.
std::string PortUseReason(const serial::PortAccess& access);
// An item's text: the device path, then, two blanks apart, its by-id name and its reason.
std::string PortItemText(const ListedPort& port);
// The device path at the start of an item's text.
std::string PortItemDevice(const std::string& itemText);

// The notice for a user who may use none of the system's ports for lack of permission, with the
// command that joins their group; "" when a port is usable or there is none.
std::string NoAccessNotice(const std::vector<ListedPort>& ports);
