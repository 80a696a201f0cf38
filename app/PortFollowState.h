#pragma once
// What the following of ports remembers (PortFollow.h), and the messages it is told by.
//
// Threads: UI thread only; the watcher's own thread only posts kMsgPortsChanged.
#include <optional>
#include <string>

#include "serial/PortWatcher.h"
#include "ui/Types.h"

// Posted by the watcher after device nodes came, went or changed permissions.
inline constexpr UINT kMsgPortsChanged = 1042;
// Posted when a port was picked: whether it is free is decided again, since a program may have
// taken it or let it go after the list was filled.
inline constexpr UINT kMsgRefreshPorts = 1043;

// An open port as it is known again when it comes back.
struct FollowedPort {
    std::string device;
    std::string stableName;   // by-id name, "" when none
    std::string usbIdentity;  // "vendor:product:serial", "" when not on USB
    std::string baud;         // the "BaudRate1" and "Checkcode" texts it was opened with
    std::string format;
};

struct PortFollowState {
    serial::PortWatcher watcher;
    // Reopen a lost port when it comes back ([Port] ReopenLostPort in config.ini).
    bool reopenLost = true;
    std::optional<FollowedPort> open;  // the port open now
    std::optional<FollowedPort> lost;  // the port lost while open, awaited back
    std::string accessNotice;          // the last no-access notice logged
    bool refilling = false;            // the port list is being rebuilt
    std::string chosen;                // the port last picked in the list
};
